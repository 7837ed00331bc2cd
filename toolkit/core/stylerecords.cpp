#include "stylerecords.h"

#include "controlbase.h"
#include "jsonreaders.h"

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
    style.border = readBool(record, "border", false);
    style.borderSize = readInt(record, "borderSize", 1);
    style.borderColor = rectColorFromHex(readString(record, "borderclr", "ffffffff"));
    style.colorMode = !readBool(record, "drawImg", true);
    style.color = rectColorFromHex(readString(record, "clr", "ffffffff"));
    style.image = readUtf8(record, "img");
    style.round = readInt(record, "round", 0);
    style.leftBorder = readBool(record, "leftBorder", true);
    style.rightBorder = readBool(record, "rightBorder", true);
    style.topBorder = readBool(record, "topBorder", true);
    style.bottomBorder = readBool(record, "bottomBorder", true);
    style.grid.repeatLeft = readBool(record, "repeatLeft", false);
    style.grid.repeatTop = readBool(record, "repeatTop", false);
    style.grid.repeatRight = readBool(record, "repeatRight", false);
    style.grid.repeatBottom = readBool(record, "repeatBottom", false);
    style.grid.repeatCenter = readBool(record, "repeatCenter", false);
    const Json::Value &margin = jsonArray(record, "margin");
    if (margin.isArray()) {
        const auto at = [&margin](Json::ArrayIndex i) { return jsonToInt(jsonAt(margin, i)).value_or(0); };
        style.grid.top = at(0);
        style.grid.right = at(1);
        style.grid.bottom = at(2);
        style.grid.left = at(3);
    }
    style.nonEmpty = true;
    return style;
}

OrvQFontStyle readFontStyle(const Json::Value &record)
{
    OrvQFontStyle style;
    style.color = colorFromHex(readString(record, "clr", "ffffffff"));
    style.hor = readInt(record, "hor", 0);
    style.ver = readInt(record, "ver", 1);
    style.x = readInt(record, "x", 0);
    style.y = readInt(record, "y", 0);
    style.bold = readBool(record, "bold", false);
    style.underline = readBool(record, "underline", false);
    style.italic = readBool(record, "italic", false);
    style.isHor = readBool(record, "isHor", true);
    style.size = readInt(record, "size", 12);
    // The file's family is GBK bytes; the default is already text.
    style.family = readGbk(record, "family", OrvQFontStyle::defaultFamily());
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
        if (*type == 1)
            tables.rects.emplace(name, readRectStyle(record));
        else if (*type == 2)
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
