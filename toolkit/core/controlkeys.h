#pragma once

#include "jsonreaders.h"
#include "styleslots.h"

#include <QVariant>

#include <climits>
#include <functional>
#include <optional>
#include <type_traits>
#include <vector>

namespace OrvQtLib {

/// How a key's value is read. Every read goes through the safe readers: a
/// value of another type counts as absent.
enum class OrvQKeyType {
    Bool,
    Int,     // held to the row's minimum and maximum
    Text,    // UTF-8: names, paths, image names
    GbkText, // user-visible text stored as GBK bytes
    Color,   // hexadecimal RGB text, or a number taken as a QRgb
};

/// What one key is: the part of a row that the loader, the description
/// fuzzer's dictionary and the designers' tools all read.
struct OrvQKeyInfo {
    const char *name = ""; ///<< the key as descriptions spell it
    OrvQKeyType type = OrvQKeyType::Int; ///<< how the value is read
    /// Applied when the key is absent; invalid: absence leaves things as they are.
    QVariant fallback;
    int minimum = INT_MIN; ///<< smallest value kept; smaller ones are clamped
    int maximum = INT_MAX; ///<< largest value kept; larger ones are clamped
    const char *effect = ""; ///<< what the key does, for the control reference
    /// A text that names an image of the skin.
    bool image = false;
};

/// The value of `info`'s key in `object`, converted and clamped; nullopt when
/// absent or of the wrong type.
std::optional<QVariant> readKeyValue(const Json::Value &object, const OrvQKeyInfo &info);

/// One row of a control's key table. Rows apply in table order, so a key that
/// depends on another comes after it.
template <class Owner>
struct OrvQKey {
    OrvQKeyInfo info; ///<< the key itself
    /// Gets the value read, else the fallback. With `whenAbsent`, a key absent
    /// without fallback still calls it, with an invalid value: for defaults
    /// that follow another key.
    std::function<void(Owner &, const QVariant &)> apply;
    bool whenAbsent = false; ///<< call `apply` also when the key is absent

    /// A boolean key stored in `member`.
    static OrvQKey flag(const char *name, bool Owner::*member, std::optional<bool> fallback, const char *effect)
    {
        return {{name, OrvQKeyType::Bool, fallback ? QVariant(*fallback) : QVariant(), INT_MIN, INT_MAX, effect},
                [member](Owner &owner, const QVariant &value) { owner.*member = value.toBool(); }};
    }
    /// An integer key stored in `member`, clamped to `minimum`..`maximum`.
    static OrvQKey number(const char *name, int Owner::*member, std::optional<int> fallback, int minimum,
                          int maximum, const char *effect)
    {
        return {{name, OrvQKeyType::Int, fallback ? QVariant(*fallback) : QVariant(), minimum, maximum, effect},
                [member](Owner &owner, const QVariant &value) { owner.*member = value.toInt(); }};
    }
    /// An int field of a record member, such as an icon alignment's offset.
    template <class Record, class Holder>
    static OrvQKey numberIn(const char *name, Record Holder::*record, int Record::*field, std::optional<int> fallback,
                            int minimum, int maximum, const char *effect)
    {
        return {{name, OrvQKeyType::Int, fallback ? QVariant(*fallback) : QVariant(), minimum, maximum, effect},
                [record, field](Owner &owner, const QVariant &value) { (owner.*record).*field = value.toInt(); }};
    }
    /// A UTF-8 text key stored in `member`.
    static OrvQKey text(const char *name, QString Owner::*member, std::optional<QString> fallback,
                        const char *effect)
    {
        return {{name, OrvQKeyType::Text, fallback ? QVariant(*fallback) : QVariant(), INT_MIN, INT_MAX, effect},
                [member](Owner &owner, const QVariant &value) { owner.*member = value.toString(); }};
    }
    /// A GBK text key, decoded with fromGbk(), stored in `member`.
    static OrvQKey gbkText(const char *name, QString Owner::*member, std::optional<QString> fallback,
                           const char *effect)
    {
        return {{name, OrvQKeyType::GbkText, fallback ? QVariant(*fallback) : QVariant(), INT_MIN, INT_MAX, effect},
                [member](Owner &owner, const QVariant &value) { owner.*member = value.toString(); }};
    }
    /// A text naming an image of the skin.
    static OrvQKey image(const char *name, QString Owner::*member, std::optional<QString> fallback,
                         const char *effect)
    {
        OrvQKey key = text(name, member, std::move(fallback), effect);
        key.info.image = true;
        return key;
    }
    /// Any type, any effect.
    static OrvQKey custom(OrvQKeyInfo info, std::function<void(Owner &, const QVariant &)> apply,
                          bool whenAbsent = false)
    {
        return {std::move(info), std::move(apply), whenAbsent};
    }
};

template <class Owner>
/// A control's "attr" key table, applied in order.
using OrvQKeyTable = std::vector<OrvQKey<Owner>>;

/// Reads every key of `table` from `object`, in table order.
template <class Owner>
void applyKeys(const Json::Value &object, const OrvQKeyTable<Owner> &table, Owner &owner)
{
    for (const OrvQKey<Owner> &key : table) {
        if (const std::optional<QVariant> value = readKeyValue(object, key.info))
            key.apply(owner, *value);
        else if (key.info.fallback.isValid())
            key.apply(owner, key.info.fallback);
        else if (key.whenAbsent)
            key.apply(owner, QVariant());
    }
}

/// A control's "attr" keys: read only when the element has an "attr" object.
template <class Owner>
void applyAttrKeys(const Json::Value &element, const OrvQKeyTable<Owner> &table, Owner &owner)
{
    const Json::Value &attr = jsonObject(element, "attr");
    if (attr.isObject())
        applyKeys(attr, table, owner);
}

/// One style slot as the tools see it.
struct OrvQSlotInfo {
    int slot = 0; ///<< first slot index of the row
    int lastSlot = 0; ///< a row may serve a run of slots
    bool font = false; ///< looked up as a font style, else as a rect style
    int state = -1; ///< in a per-state group: the state it fills, -1 all four
    bool group = false; ///<< the row fills a per-state group
    const char *role = ""; ///<< what the slot styles, for the control reference
};

/// What a control reads from its element besides the common keys: made from
/// its key and slot tables, never written by hand.
struct OrvQControlSchema {
    std::vector<OrvQKeyInfo> keys; ///<< the "attr" keys, in table order
    std::vector<OrvQSlotInfo> styleSlots; ///<< the "style" slots
    /// Keys read from the element itself besides the common ones.
    std::vector<OrvQKeyInfo> elementKeys;
    /// Child elements whose type contains "scrollbar" skin the control's bars.
    bool scrollBarElements = false;
};

/// Marks a key row as naming an image of the skin.
template <class Owner>
OrvQKey<Owner> imageKey(OrvQKey<Owner> key)
{
    key.info.image = true;
    return key;
}

template <class Owner>
/// The key descriptions of a key table, for the tools.
std::vector<OrvQKeyInfo> keyInfoOf(const OrvQKeyTable<Owner> &table)
{
    std::vector<OrvQKeyInfo> infos;
    infos.reserve(table.size());
    for (const OrvQKey<Owner> &key : table)
        infos.push_back(key.info);
    return infos;
}

template <class Owner>
/// The slot descriptions of a style slot table, for the tools.
std::vector<OrvQSlotInfo> slotInfoOf(const OrvQStyleSlotTable<Owner> &table)
{
    std::vector<OrvQSlotInfo> infos;
    infos.reserve(table.size());
    using Slot = OrvQStyleSlot<Owner>;
    for (const Slot &row : table) {
        const bool group = row.target == Slot::RectGroup || row.target == Slot::FontGroup;
        infos.push_back({row.slot, row.lastSlot, row.isFont(), group ? row.state : -1, group, row.role});
    }
    return infos;
}

namespace Internal {
template <class T, class = void>
struct HasAttrKeys : std::false_type {};
template <class T>
struct HasAttrKeys<T, std::void_t<decltype(T::attrKeys())>> : std::true_type {};
template <class T, class = void>
struct HasStyleSlots : std::false_type {};
template <class T>
struct HasStyleSlots<T, std::void_t<decltype(T::styleSlots())>> : std::true_type {};
template <class T, class = void>
struct HasElementKeys : std::false_type {};
template <class T>
struct HasElementKeys<T, std::void_t<decltype(T::elementKeys())>> : std::true_type {};
} // namespace Internal

/// The schema of an Impl class from its static attrKeys(), styleSlots() and
/// elementKeys() (keys read from the element itself), whichever it has.
template <class Impl>
OrvQControlSchema schemaOf()
{
    OrvQControlSchema schema;
    if constexpr (Internal::HasAttrKeys<Impl>::value)
        schema.keys = keyInfoOf(Impl::attrKeys());
    if constexpr (Internal::HasStyleSlots<Impl>::value)
        schema.styleSlots = slotInfoOf(Impl::styleSlots());
    if constexpr (Internal::HasElementKeys<Impl>::value)
        schema.elementKeys = keyInfoOf(Impl::elementKeys());
    return schema;
}

} // namespace OrvQtLib
