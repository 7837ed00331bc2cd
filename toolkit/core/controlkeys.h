#pragma once

#include "jsonreaders.h"
#include "styleslots.h"

#include <QVariant>

#include <climits>
#include <functional>
#include <memory>
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
    GbkText, // user-visible text: UTF-8 when valid, else GBK (fromSkinText)
    Color,   // hexadecimal RGB text, or a number taken as a QRgb
    ColorText, ///< hexadecimal text only, as style.json writes colours
    IntList,   ///< an array of integers, such as a nine-grid's "margin"
    Object,    ///< a JSON object read key by key ("attr", "layout")
    Array,     ///< a JSON array ("child", "style")
    Items,   // array of texts or objects, read as OrvQDescribedItems
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
    /// An integer beyond the int range counts as absent instead of clamping,
    /// as style.json records have always read them.
    bool exact = false;
};

/// An IntList key reads at most this many elements.
constexpr Json::ArrayIndex MaxIntListLength = 16;

/// The value of `info`'s key in `object`, converted and clamped; nullopt when
/// absent or of the wrong type.
std::optional<QVariant> readKeyValue(const Json::Value &object, const OrvQKeyInfo &info);

/// The keys every element may carry, read by the loader and OrvQControlBase.
/// A static table: the loader keeps its own one-pass scan; the checker, the
/// fuzzer's dictionary and the format guide read these rows.
const std::vector<OrvQKeyInfo> &commonElementKeyTable();
/// The keys of an element's "layout" object.
const std::vector<OrvQKeyInfo> &layoutKeyTable();

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

/// The image-name keys a table applied to one owner, with their values: a
/// skin switch applies them again, for what an owner derives from the image
/// (a size), without reading the description again.
template <class Owner>
class OrvQImageKeyRecord : public OrvQSkinRecord
{
public:
    /// Records for `owner`, whose keys `table` read.
    OrvQImageKeyRecord(Owner &owner, const OrvQKeyTable<Owner> &table) : m_owner(owner), m_table(table) {}

    /// Remembers that row `row` was applied with `value`.
    void add(size_t row, const QVariant &value) { m_applied.emplace_back(row, value); }
    /// Whether no row was remembered.
    bool isEmpty() const { return m_applied.empty(); }
    /// Applies every remembered row again, in order.
    void reapply() override
    {
        for (const auto &applied : m_applied)
            m_table[applied.first].apply(m_owner, applied.second);
    }

private:
    Owner &m_owner;
    const OrvQKeyTable<Owner> &m_table;
    std::vector<std::pair<size_t, QVariant>> m_applied;
};

/// Reads every key of `table` from `object`, in table order. An owner that
/// remembers its skin keeps what its image-name keys were given, and a
/// reference to `table`: a static table.
template <class Owner>
void applyKeys(const Json::Value &object, const OrvQKeyTable<Owner> &table, Owner &owner)
{
    std::unique_ptr<OrvQImageKeyRecord<Owner>> images;
    for (size_t i = 0; i < table.size(); ++i) {
        const OrvQKey<Owner> &key = table[i];
        QVariant value;
        if (const std::optional<QVariant> read = readKeyValue(object, key.info))
            value = *read;
        else if (key.info.fallback.isValid())
            value = key.info.fallback;
        else if (!key.whenAbsent)
            continue;
        key.apply(owner, value);
        if constexpr (Internal::RemembersSkin<Owner>::value) {
            if (key.info.image) {
                if (!images)
                    images = std::make_unique<OrvQImageKeyRecord<Owner>>(owner, table);
                images->add(i, value);
            }
        }
    }
    if constexpr (Internal::RemembersSkin<Owner>::value) {
        if (images)
            owner.rememberSkin(std::move(images));
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

/// A look the toolkit draws on purpose that surprises designers; skins may
/// rely on it, so it stays, and the checker warns where a description meets it.
struct OrvQTrap {
    /// What a description does to meet the trap.
    enum When {
        SlotEmpty, ///< no "style" entry fills `slot`
        Disabled,  ///< the element has "enable": false
    };
    When when = SlotEmpty; ///< the condition
    int slot = 0; ///< for SlotEmpty: the slot a style must fill
    const char *message = ""; ///< what the designer sees, and the remedy
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
    /// Looks the checker warns about where a description meets them.
    std::vector<OrvQTrap> traps;
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
struct HasTraps : std::false_type {};
template <class T>
struct HasTraps<T, std::void_t<decltype(T::traps())>> : std::true_type {};
template <class T, class = void>
struct HasElementKeys : std::false_type {};
template <class T>
struct HasElementKeys<T, std::void_t<decltype(T::elementKeys())>> : std::true_type {};
} // namespace Internal

/// The schema of an Impl class from its static attrKeys(), styleSlots(),
/// elementKeys() (keys read from the element itself) and traps(), whichever
/// it has.
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
    if constexpr (Internal::HasTraps<Impl>::value)
        schema.traps = Impl::traps();
    return schema;
}

} // namespace OrvQtLib
