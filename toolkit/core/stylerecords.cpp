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

Qt::Alignment Internal::alignmentOfCodes(int hor, int ver)
{
    // A code outside 0..2 places nothing on its axis.
    static constexpr Qt::AlignmentFlag horizontal[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    static constexpr Qt::AlignmentFlag vertical[] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
    Qt::Alignment flags;
    if (hor >= 0 && hor <= 2)
        flags |= horizontal[hor];
    if (ver >= 0 && ver <= 2)
        flags |= vertical[ver];
    return flags;
}

void Internal::setAlignmentCodes(Qt::Alignment alignment, int &hor, int &ver)
{
    if (alignment & Qt::AlignLeft)
        hor = 0;
    else if (alignment & Qt::AlignHCenter)
        hor = 1;
    else if (alignment & Qt::AlignRight)
        hor = 2;
    if (alignment & Qt::AlignTop)
        ver = 0;
    else if (alignment & Qt::AlignVCenter)
        ver = 1;
    else if (alignment & Qt::AlignBottom)
        ver = 2;
}

} // namespace OrvQtLib
