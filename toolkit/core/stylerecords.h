#pragma once

#include <QColor>
#include <QString>

#include <json/value.h>

#include <map>
#include <string>

namespace OrvQtLib {

namespace Internal {
/// The 0/1/2 codes of a record's horizontal (left, centre, right) and
/// vertical (top, centre, bottom) alignment, and Qt's flags for them.
Qt::Alignment alignmentOfCodes(int hor, int ver);
/// An axis the flags do not place (AlignJustify alone, say) keeps its code.
void setAlignmentCodes(Qt::Alignment alignment, int &hor, int &ver);
} // namespace Internal

/// The nine-grid part of a rect style: widths of the image's edge columns and
/// rows, and whether parts are tiled instead of stretched.
struct OrvQNineGrid {
    int left = 0; ///<< width of the left column, in image pixels
    int right = 0; ///<< width of the right column
    int top = 0; ///<< height of the top row
    int bottom = 0; ///<< height of the bottom row
    bool repeatLeft = false; ///<< tile the left column instead of stretching it
    bool repeatRight = false; ///<< tile the right column
    bool repeatTop = false; ///<< tile the top row
    bool repeatBottom = false; ///<< tile the bottom row
    bool repeatCenter = false; ///<< tile the centre
};

/// How to paint an area: a colour fill (optionally a gradient, rounded, with
/// border lines) or a nine-grid image. Defaults are those of a record built in
/// code; records read from style.json start from other key defaults.
struct OrvQRectStyle {
    bool nonEmpty = true; ///<< false: the record paints nothing
    bool colorMode = true; ///<< true: colour fill; false: nine-grid image
    QColor color = QColor(255, 255, 255); ///<< fill colour, and the gradient's first
    QColor color2 = QColor(255, 255, 255); ///<< the gradient's second colour
    QColor borderColor = QColor(128, 128, 128); ///<< colour of the border lines
    bool gradient = false; ///<< vertical gradient from color to color2
    int round = 0; ///<< corner radius in pixels
    int borderSize = 0; ///<< width of the border lines
    bool border = true; ///<< draw border lines at all
    bool leftBorder = true; ///<< draw the left border line
    bool topBorder = true; ///<< draw the top border line
    bool rightBorder = true; ///<< draw the right border line
    bool bottomBorder = true; ///<< draw the bottom border line
    QString image; ///<< image name, for the nine-grid mode
    OrvQNineGrid grid; ///<< how the image is cut
};

/// How to draw a text.
struct OrvQFontStyle {
    bool bold = false; ///<< bold weight
    bool italic = false; ///<< italic
    int size = 12; ///<< size in pixels
    bool underline = false; ///<< underlined
    QString family = defaultFamily(); ///<< font family
    QColor color; ///< invalid until a style sets it
    int x = 0; ///<< horizontal offset of the text
    int y = 0; ///<< vertical offset of the text
    bool isHor = true; ///<< false: drawn top to bottom
    int hor = 0; ///< 0 left, 1 centre, 2 right
    int ver = 1; ///< 0 top, 1 centre, 2 bottom
    int elideMode = Qt::ElideRight; ///<< a Qt::TextElideMode value

    /// The text direction as Qt's enum.
    Qt::Orientation orientation() const { return isHor ? Qt::Horizontal : Qt::Vertical; }
    /// Any value but the two orientations is ignored.
    /// Sets the text direction; any value but the two orientations is ignored.
    void setOrientation(Qt::Orientation orientation)
    {
        if (orientation == Qt::Horizontal || orientation == Qt::Vertical)
            isHor = orientation == Qt::Horizontal;
    }
    /// `hor` and `ver` as Qt's alignment flags; a code outside 0..2 gives no flag
    /// for its axis.
    Qt::Alignment alignment() const { return Internal::alignmentOfCodes(hor, ver); }
    /// An axis the flags do not place keeps its value.
    /// Sets `hor` and `ver` from Qt's alignment flags; an axis the flags do not
    /// place (Qt::AlignJustify alone, say) keeps its value.
    void setAlignment(Qt::Alignment alignment) { Internal::setAlignmentCodes(alignment, hor, ver); }
    /// `elideMode` as Qt's enum; Qt::ElideRight for a value outside it.
    Qt::TextElideMode textElideMode() const
    {
        return elideMode >= Qt::ElideLeft && elideMode <= Qt::ElideNone ? Qt::TextElideMode(elideMode)
                                                                        : Qt::ElideRight;
    }
    /// A value outside Qt::TextElideMode is ignored.
    void setTextElideMode(Qt::TextElideMode mode)
    {
        if (mode >= Qt::ElideLeft && mode <= Qt::ElideNone)
            elideMode = mode;
    }

    /// The toolkit's default font family, "Microsoft YaHei" in its own script.
    /// The toolkit's default font family, "Microsoft YaHei" in its own script.
    static QString defaultFamily() { return QStringLiteral("\u5FAE\u8F6F\u96C5\u9ED1"); }
};

/// Where an icon goes inside a rectangle.
struct OrvQImageAlign {
    int x = 0; ///<< horizontal offset of the icon
    int y = 0; ///<< vertical offset of the icon
    int hor = 0; ///< 0 left, 1 centre, 2 right
    int ver = 0; ///< 0 top, 1 centre, 2 bottom

    /// `hor` and `ver` as Qt's alignment flags.
    Qt::Alignment alignment() const { return Internal::alignmentOfCodes(hor, ver); }
    /// An axis the flags do not place keeps its value.
    /// Sets `hor` and `ver` from Qt's alignment flags; an axis the flags do not
    /// place keeps its value.
    void setAlignment(Qt::Alignment alignment) { Internal::setAlignmentCodes(alignment, hor, ver); }
};

/// The number of a colour text: hexadecimal digits read the way strtoul reads
/// base 16 (leading blanks, an optional sign and 0x, stop at the first other
/// character, 0 without digits), clamped to 0xffffffff.
quint32 hexColorValue(const std::string &text);
/// Colour text as a font style reads it: the top byte is ignored, so the
/// colour is always opaque.
QColor colorFromHex(const std::string &text);
/// Colour text as a rect style reads it: AARRGGBB, so "ff0000" is transparent.
QColor rectColorFromHex(const std::string &text);

/// Records as style.json describes them; a key that is absent or of the wrong
/// type takes its key default, which differs from the record default for
/// "border", "borderSize" and "borderclr".
OrvQRectStyle readRectStyle(const Json::Value &record);
/// As readRectStyle(), for a font style record.
OrvQFontStyle readFontStyle(const Json::Value &record);

/// The rect and font styles of a skin, by name.
struct OrvQStyleTables {
    std::map<QString, OrvQRectStyle> rects; ///<< rect styles by name
    std::map<QString, OrvQFontStyle> fonts; ///<< font styles by name
};

/// Adds the records of a style.json "style" value (an array of records, or an
/// object whose member values are records, in member-name order) to `tables`.
/// Records that are not objects or have no type 1 or 2 are skipped; the first
/// record of a name wins.
void parseStyles(const Json::Value &styles, OrvQStyleTables &tables);

} // namespace OrvQtLib
