#include "controlkeys.h"

#include <QWidget>
#include "describeditems.h"

namespace OrvQtLib {

std::optional<QVariant> readKeyValue(const Json::Value &object, const OrvQKeyInfo &info)
{
    switch (info.type) {
    case OrvQKeyType::Bool:
        if (const auto value = readBool(object, info.name))
            return QVariant(*value);
        break;
    case OrvQKeyType::Int:
        if (const auto value = info.exact ? readInt(object, info.name)
                                          : readBoundedInt(object, info.name, info.minimum, info.maximum))
            return QVariant(*value);
        break;
    case OrvQKeyType::Text:
        if (const auto value = jsonToUtf8(jsonMember(object, info.name)))
            return QVariant(*value);
        break;
    case OrvQKeyType::GbkText:
        if (const auto value = readDescribedText(jsonMember(object, info.name)))
            return QVariant(*value);
        break;
    case OrvQKeyType::Color:
        if (const auto value = readColor(object, info.name))
            return QVariant(*value);
        break;
    case OrvQKeyType::ColorText:
        if (const auto value = readString(object, info.name))
            return QVariant(QString::fromLatin1(value->c_str()));
        break;
    case OrvQKeyType::IntList: {
        // Elements that are not integers read as 0, as the nine-grid always has.
        const Json::Value &array = jsonArray(object, info.name);
        if (!array.isArray())
            break;
        // Lists are short; a hostile one of millions is cut rather than copied.
        QVariantList numbers;
        for (Json::ArrayIndex i = 0; i < array.size() && i < MaxIntListLength; ++i)
            numbers.append(jsonToInt(array[i]).value_or(0));
        return QVariant(numbers);
    }
    case OrvQKeyType::Object:
        if (jsonMember(object, info.name).isObject())
            return QVariant(true);
        break;
    case OrvQKeyType::Array:
        if (jsonMember(object, info.name).isArray())
            return QVariant(true);
        break;
    case OrvQKeyType::Items:
        if (auto value = readDescribedItems(jsonMember(object, info.name), info.name))
            return QVariant::fromValue(std::move(*value));
        break;
    }
    return std::nullopt;
}

const std::vector<OrvQKeyInfo> &commonElementKeyTable()
{
    constexpr int Far = QWIDGETSIZE_MAX;
    static const std::vector<OrvQKeyInfo> keys{
        {"type", OrvQKeyType::Text, {}, INT_MIN, INT_MAX,
         "the control's type name, such as `qtbutton`; without one the element and its children are skipped"},
        {"name", OrvQKeyType::Text, {}, INT_MIN, INT_MAX,
         "the widget's object name: what a host finds it by (`findChild` finds the first of a name)"},
        {"x", OrvQKeyType::Int, 0, -Far, Far, "left edge in the parent, in pixels (fixed placement)"},
        {"y", OrvQKeyType::Int, 0, -Far, Far, "top edge in the parent, in pixels (fixed placement)"},
        {"w", OrvQKeyType::Int, 0, -Far, Far, "width in pixels (fixed placement, and anchor layouts with wType 0)"},
        {"h", OrvQKeyType::Int, 0, -Far, Far, "height in pixels (fixed placement, and anchor layouts with hType 0)"},
        {"layout", OrvQKeyType::Object, {}, INT_MIN, INT_MAX,
         "placement that follows the parent's size; absent: fixed at x, y, w, h"},
        {"visibility", OrvQKeyType::Bool, true, INT_MIN, INT_MAX, "false: built hidden; a host may show it"},
        {"enable", OrvQKeyType::Bool, true, INT_MIN, INT_MAX,
         "false: built disabled, drawn in its disabled slots, takes no input"},
        {"tooltip", OrvQKeyType::GbkText, {}, INT_MIN, INT_MAX, "the tip shown when the mouse rests on it"},
        {"attr", OrvQKeyType::Object, {}, INT_MIN, INT_MAX, "the control's own keys (see docs/controls.md)"},
        {"style", OrvQKeyType::Array, {}, INT_MIN, INT_MAX,
         "entries [style name, index, slot] that fill the control's style slots"},
        {"child", OrvQKeyType::Array, {}, INT_MIN, INT_MAX, "elements built inside this one, in order"},
    };
    return keys;
}

const std::vector<OrvQKeyInfo> &layoutKeyTable()
{
    static const std::vector<OrvQKeyInfo> keys{
        {"type", OrvQKeyType::Int, 0, 0, INT_MAX,
         "0 anchor, 1 fill, 2 managed by the parent, 3 fixed at the element's x, y, w, h"},
        {"x", OrvQKeyType::Int, {}, INT_MIN, INT_MAX, "anchor: horizontal offset; fill: left margin"},
        {"y", OrvQKeyType::Int, {}, INT_MIN, INT_MAX, "anchor: vertical offset; fill: top margin"},
        {"r", OrvQKeyType::Int, {}, INT_MIN, INT_MAX,
         "anchor: right margin (given, it sets wType 1); fill: right margin"},
        {"b", OrvQKeyType::Int, {}, INT_MIN, INT_MAX,
         "anchor: bottom margin (given, it sets hType 1); fill: bottom margin"},
        {"hor", OrvQKeyType::Int, {}, INT_MIN, INT_MAX,
         "anchor: 0 from the left edge, 1 centred (x shifts it), 2 from the right edge"},
        {"ver", OrvQKeyType::Int, {}, INT_MIN, INT_MAX,
         "anchor: 0 from the top edge, 1 centred (y shifts it), 2 from the bottom edge"},
        {"wType", OrvQKeyType::Int, {}, INT_MIN, INT_MAX,
         "anchor: 0 width is the element's w, 1 width stretches to r from the right, other values width 0"},
        {"hType", OrvQKeyType::Int, {}, INT_MIN, INT_MAX,
         "anchor: 0 height is the element's h, 1 height stretches to b from the bottom, other values height 0"},
    };
    return keys;
}

} // namespace OrvQtLib
