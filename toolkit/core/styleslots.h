#pragma once

#include "stylerecords.h"

#include <json/value.h>

#include <QString>

#include <array>
#include <functional>
#include <vector>

namespace OrvQtLib {

/// Four records of one kind, one per visual state (OrvQControlState).
template <class Record>
struct OrvQStateStyles {
    std::array<Record, 4> records; ///<< one record per OrvQControlState

    /// Sets all four states' records.
    void setAll(const Record &record) { records.fill(record); }
    /// Sets one state's record; a state outside 0..3 is ignored.
    void set(int state, const Record &record)
    {
        if (state >= 0 && state < 4)
            records[size_t(state)] = record;
    }
    /// The indexing of public style setters: 0 to 3 replace one state's
    /// record, 4 replaces all four, any other index is ignored.
    void setAt(int index, const Record &record)
    {
        if (index == 4)
            setAll(record);
        else
            set(index, record);
    }
    /// The record of `state`, held to 0..3.
    Record &operator[](int state) { return records[size_t(qBound(0, state, 3))]; }
    /// The record of `state`, held to 0..3.
    const Record &operator[](int state) const { return records[size_t(qBound(0, state, 3))]; }
};

/// Four rect styles, one per visual state.
using OrvQStateRectStyles = OrvQStateStyles<OrvQRectStyle>;
/// Four font styles, one per visual state.
using OrvQStateFontStyles = OrvQStateStyles<OrvQFontStyle>;

/// Walks an element's "style" key: an array of entries in order, or an object
/// whose member values are entries, in ascending member-name order. Each entry
/// is [style name, integer (unused), slot index]; entries of another shape are
/// skipped.
void forEachStyleEntry(const Json::Value &element, const std::function<void(const QString &name, int slot)> &visit);

/// One row of a control's style slot table: which slot index, looked up as a
/// rect or font style, goes to which record of the owner (an Impl). A row for
/// a per-state group either fills all four states or one state.
template <class Owner>
struct OrvQStyleSlot {
    /// Where a slot's style goes.
    enum Target { Rect, RectGroup, Font, FontGroup };

    int slot = 0; ///<< first slot index of the row
    int lastSlot = 0; ///< the row serves slots `slot` to `lastSlot`
    Target target = Rect; ///<< where the style goes
    OrvQRectStyle Owner::*rect = nullptr; ///<< for Rect: the record
    OrvQStateRectStyles Owner::*rectGroup = nullptr; ///<< for RectGroup: the group
    OrvQFontStyle Owner::*font = nullptr; ///<< for Font: the record
    OrvQStateFontStyles Owner::*fontGroup = nullptr; ///<< for FontGroup: the group
    int state = -1; ///< -1: all four states
    const char *role = ""; ///< what the slot styles, for the tools that list slots

    /// Slot `slot` looked up as a rect style into `record`.
    static OrvQStyleSlot rectSlot(int slot, OrvQRectStyle Owner::*record, const char *role = "")
    {
        return rectSlots(slot, slot, record, role);
    }
    /// One record for a run of slots, e.g. every slot from 0 up.
    static OrvQStyleSlot rectSlots(int first, int last, OrvQRectStyle Owner::*record, const char *role = "")
    {
        OrvQStyleSlot row;
        row.slot = first;
        row.lastSlot = last;
        row.target = Rect;
        row.rect = record;
        row.role = role;
        return row;
    }
    /// Slot `slot` looked up as a rect style into one state of `group`, or into
    /// all four for state -1.
    static OrvQStyleSlot rectStates(int slot, OrvQStateRectStyles Owner::*group, int state = -1,
                                    const char *role = "")
    {
        OrvQStyleSlot row;
        row.slot = row.lastSlot = slot;
        row.target = RectGroup;
        row.rectGroup = group;
        row.state = state;
        row.role = role;
        return row;
    }
    /// Slot `slot` looked up as a font style into `record`.
    static OrvQStyleSlot fontSlot(int slot, OrvQFontStyle Owner::*record, const char *role = "")
    {
        OrvQStyleSlot row;
        row.slot = row.lastSlot = slot;
        row.target = Font;
        row.font = record;
        row.role = role;
        return row;
    }
    /// Slot `slot` looked up as a font style into one state of `group`, or into
    /// all four for state -1.
    static OrvQStyleSlot fontStates(int slot, OrvQStateFontStyles Owner::*group, int state = -1,
                                    const char *role = "")
    {
        OrvQStyleSlot row;
        row.slot = row.lastSlot = slot;
        row.target = FontGroup;
        row.fontGroup = group;
        row.state = state;
        row.role = role;
        return row;
    }

    /// Whether the slot is looked up as a font style.
    bool isFont() const { return target == Font || target == FontGroup; }
};

template <class Owner>
/// A control's style slot table.
using OrvQStyleSlotTable = std::vector<OrvQStyleSlot<Owner>>;

/// Looks a style up by name in the loaded skin; false leaves `out` untouched.
bool lookUpRectStyle(const QString &name, OrvQRectStyle &out);
/// As lookUpRectStyle(), for a font style.
bool lookUpFontStyle(const QString &name, OrvQFontStyle &out);

/// Applies the element's "style" entries to `owner` through `table`. Entries
/// apply in iteration order, so a later entry for the same slot wins; an
/// unknown slot or style name changes nothing. Several rows may share a slot.
template <class Owner>
void applyStyleSlots(const Json::Value &element, const OrvQStyleSlotTable<Owner> &table, Owner &owner)
{
    forEachStyleEntry(element, [&](const QString &name, int slot) {
        for (const OrvQStyleSlot<Owner> &row : table) {
            if (slot < row.slot || slot > row.lastSlot)
                continue;
            switch (row.target) {
            case OrvQStyleSlot<Owner>::Rect:
                lookUpRectStyle(name, owner.*row.rect);
                break;
            case OrvQStyleSlot<Owner>::RectGroup: {
                OrvQRectStyle record = (owner.*row.rectGroup)[row.state < 0 ? 0 : row.state];
                if (lookUpRectStyle(name, record)) {
                    if (row.state < 0)
                        (owner.*row.rectGroup).setAll(record);
                    else
                        (owner.*row.rectGroup).set(row.state, record);
                }
                break;
            }
            case OrvQStyleSlot<Owner>::Font:
                lookUpFontStyle(name, owner.*row.font);
                break;
            case OrvQStyleSlot<Owner>::FontGroup: {
                OrvQFontStyle record = (owner.*row.fontGroup)[row.state < 0 ? 0 : row.state];
                if (lookUpFontStyle(name, record)) {
                    if (row.state < 0)
                        (owner.*row.fontGroup).setAll(record);
                    else
                        (owner.*row.fontGroup).set(row.state, record);
                }
                break;
            }
            }
        }
    });
}

} // namespace OrvQtLib
