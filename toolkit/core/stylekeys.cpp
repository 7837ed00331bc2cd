#include "stylekeys.h"

namespace OrvQtLib {

namespace {

using RectKey = OrvQKey<OrvQRectStyle>;
using FontKey = OrvQKey<OrvQFontStyle>;

template <class Style>
OrvQKey<Style> colourText(const char *name, QColor Style::*member, QColor (*convert)(const std::string &),
                          const char *effect)
{
    return OrvQKey<Style>::custom({name, OrvQKeyType::ColorText, QStringLiteral("ffffffff"), INT_MIN, INT_MAX, effect},
                                  [member, convert](Style &style, const QVariant &value) {
                                      style.*member = convert(value.toString().toStdString());
                                  });
}

// Style records read integers whole: one beyond the int range is absent.
template <class Style>
OrvQKey<Style> wholeNumber(const char *name, int Style::*member, int fallback, const char *effect)
{
    OrvQKey<Style> key = OrvQKey<Style>::number(name, member, fallback, INT_MIN, INT_MAX, effect);
    key.info.exact = true;
    return key;
}

RectKey gridFlag(const char *name, bool OrvQNineGrid::*member, const char *effect)
{
    return RectKey::custom({name, OrvQKeyType::Bool, false, INT_MIN, INT_MAX, effect},
                           [member](OrvQRectStyle &style, const QVariant &value) {
                               style.grid.*member = value.toBool();
                           });
}

} // namespace

const OrvQKeyTable<OrvQRectStyle> &rectStyleKeys()
{
    static const OrvQKeyTable<OrvQRectStyle> table{
        RectKey::custom({"drawImg", OrvQKeyType::Bool, true, INT_MIN, INT_MAX,
                         "true: paint the nine-grid image `img`; false: paint the colour fill"},
                        [](OrvQRectStyle &s, const QVariant &v) { s.colorMode = !v.toBool(); }),
        colourText<OrvQRectStyle>("clr", &OrvQRectStyle::color, rectColorFromHex,
                                  "fill colour, AARRGGBB: `ff` first for opaque"),
        colourText<OrvQRectStyle>("clr2", &OrvQRectStyle::color2, rectColorFromHex,
                                  "with `gradient`: the colour at the right edge, AARRGGBB"),
        RectKey::flag("gradient", &OrvQRectStyle::gradient, false,
                      "true: fill with a horizontal gradient from `clr` at the left to `clr2` at the right"),
        wholeNumber<OrvQRectStyle>("round", &OrvQRectStyle::round, 0, "corner radius in pixels; 0 square"),
        RectKey::flag("border", &OrvQRectStyle::border, false, "draw a border line"),
        wholeNumber<OrvQRectStyle>("borderSize", &OrvQRectStyle::borderSize, 1, "border width in pixels"),
        colourText<OrvQRectStyle>("borderclr", &OrvQRectStyle::borderColor, rectColorFromHex,
                                  "border colour, AARRGGBB"),
        RectKey::flag("leftBorder", &OrvQRectStyle::leftBorder, true, "with `border`: draw the left side"),
        RectKey::flag("topBorder", &OrvQRectStyle::topBorder, true, "with `border`: draw the top side"),
        RectKey::flag("rightBorder", &OrvQRectStyle::rightBorder, true, "with `border`: draw the right side"),
        RectKey::flag("bottomBorder", &OrvQRectStyle::bottomBorder, true, "with `border`: draw the bottom side"),
        imageKey(RectKey::text("img", &OrvQRectStyle::image, QString(), "the nine-grid image, a package member")),
        RectKey::custom({"margin", OrvQKeyType::IntList, {}, INT_MIN, INT_MAX,
                         "the image's edge widths in pixels [top, right, bottom, left]; missing or non-integer "
                         "elements read as 0; absent: no edges, the whole image stretches"},
                        [](OrvQRectStyle &s, const QVariant &v) {
                            const QVariantList m = v.toList();
                            s.grid.top = m.value(0).toInt();
                            s.grid.right = m.value(1).toInt();
                            s.grid.bottom = m.value(2).toInt();
                            s.grid.left = m.value(3).toInt();
                        }),
        gridFlag("repeatLeft", &OrvQNineGrid::repeatLeft, "tile the left column instead of stretching it"),
        gridFlag("repeatTop", &OrvQNineGrid::repeatTop, "tile the top row instead of stretching it"),
        gridFlag("repeatRight", &OrvQNineGrid::repeatRight, "tile the right column instead of stretching it"),
        gridFlag("repeatBottom", &OrvQNineGrid::repeatBottom, "tile the bottom row instead of stretching it"),
        gridFlag("repeatCenter", &OrvQNineGrid::repeatCenter, "tile the centre instead of stretching it"),
    };
    return table;
}

const OrvQKeyTable<OrvQFontStyle> &fontStyleKeys()
{
    static const OrvQKeyTable<OrvQFontStyle> table{
        colourText<OrvQFontStyle>("clr", &OrvQFontStyle::color, colorFromHex,
                                  "text colour, RRGGBB; always opaque (a leading alpha byte is ignored)"),
        wholeNumber<OrvQFontStyle>("hor", &OrvQFontStyle::hor, 0, "0 left, 1 centre, 2 right"),
        wholeNumber<OrvQFontStyle>("ver", &OrvQFontStyle::ver, 1, "0 top, 1 centre, 2 bottom"),
        wholeNumber<OrvQFontStyle>("x", &OrvQFontStyle::x, 0, "horizontal offset of the text in pixels"),
        wholeNumber<OrvQFontStyle>("y", &OrvQFontStyle::y, 0, "vertical offset of the text in pixels"),
        FontKey::flag("bold", &OrvQFontStyle::bold, false, "bold"),
        FontKey::flag("underline", &OrvQFontStyle::underline, false, "underlined"),
        FontKey::flag("italic", &OrvQFontStyle::italic, false, "italic"),
        FontKey::flag("isHor", &OrvQFontStyle::isHor, true, "false: the text runs top to bottom"),
        wholeNumber<OrvQFontStyle>("size", &OrvQFontStyle::size, 12, "pixel size of the font"),
        FontKey::gbkText("family", &OrvQFontStyle::family, OrvQFontStyle::defaultFamily(), "font family name"),
    };
    return table;
}

const std::vector<OrvQKeyInfo> &styleRecordKeys()
{
    static const std::vector<OrvQKeyInfo> keys{
        {"type", OrvQKeyType::Int, {}, INT_MIN, INT_MAX, "1 a rect style, 2 a font style; other records are skipped"},
        {"name", OrvQKeyType::Text, QString(), INT_MIN, INT_MAX,
         "what descriptions call it by; a later record of the same name is ignored"},
    };
    return keys;
}

bool isBuiltinRectStyle(const QString &name)
{
    return name == QLatin1String("empty") || name == QLatin1String("emptyRect");
}

} // namespace OrvQtLib
