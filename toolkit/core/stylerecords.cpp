#include "stylerecords.h"

#include "controlbase.h"
#include "jsonreaders.h"
#include "stylekeys.h"

#include <cstdlib>

namespace OrvQtLib {

quint32 hexColorValue(const std::string &text)
{
    // strtoul saturates at ULONG_MAX, which is 64 bits wide on most hosts;
    // clamp so that every host gives the 32-bit result.
    const unsigned long value = std::strtoul(text.c_str(), nullptr, 16);
    return value > 0xffffffffUL ? 0xffffffffU : quint32(value);
}

QColor colorFromHex(const std::string &text)
{
    return QColor(QRgb(hexColorValue(text)));
}

QColor rectColorFromHex(const std::string &text)
{
    QColor color;
    color.setRgba(QRgb(hexColorValue(text)));
    return color;
}

OrvQRectStyle readRectStyle(const Json::Value &record)
{
    OrvQRectStyle style;
    applyKeys(record, rectStyleKeys(), style);
    style.nonEmpty = true;
    return style;
}

OrvQFontStyle readFontStyle(const Json::Value &record)
{
    OrvQFontStyle style;
    applyKeys(record, fontStyleKeys(), style);
    return style;
}

void parseStyles(const Json::Value &styles, OrvQStyleTables &tables)
{
    if (!styles.isArray() && !styles.isObject())
        return;
    // Iterating an object visits its members in ascending name order.
    for (const Json::Value &record : styles) {
        if (!record.isObject())
            continue;
        const std::optional<int> type = readInt(record, "type");
        if (!type)
            continue;
        const QString name = readUtf8(record, "name");
        if (*type == RectStyleRecord)
            tables.rects.emplace(name, readRectStyle(record));
        else if (*type == FontStyleRecord)
            tables.fonts.emplace(name, readFontStyle(record));
    }
}

} // namespace OrvQtLib
