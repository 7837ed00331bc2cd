#include "controlkeys.h"

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
        if (const auto value = readBoundedInt(object, info.name, info.minimum, info.maximum))
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
    case OrvQKeyType::Items:
        if (auto value = readDescribedItems(jsonMember(object, info.name), info.name))
            return QVariant::fromValue(std::move(*value));
        break;
    }
    return std::nullopt;
}

} // namespace OrvQtLib
