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
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
    bool repeatLeft = false;
    bool repeatRight = false;
    bool repeatTop = false;
    bool repeatBottom = false;
    bool repeatCenter = false;
};

/// How to paint an area: a colour fill (optionally a gradient, rounded, with
/// border lines) or a nine-grid image. Defaults are those of a record built in
/// code; records read from style.json start from other key defaults.
struct OrvQRectStyle {
    bool nonEmpty = true;
    bool colorMode = true;
    QColor color = QColor(255, 255, 255);
    QColor color2 = QColor(255, 255, 255);
    QColor borderColor = QColor(128, 128, 128);
    bool gradient = false;
    int round = 0;
    int borderSize = 0;
    bool border = true;
    bool leftBorder = true;
    bool topBorder = true;
    bool rightBorder = true;
    bool bottomBorder = true;
    QString image;
    OrvQNineGrid grid;
};

/// How to draw a text.
struct OrvQFontStyle {
    bool bold = false;
    bool italic = false;
    int size = 12;
    bool underline = false;
    QString family = defaultFamily();
    QColor color; ///< invalid until a style sets it
    int x = 0;
    int y = 0;
    bool isHor = true;
    int hor = 0; ///< 0 left, 1 centre, 2 right
    int ver = 1; ///< 0 top, 1 centre, 2 bottom
    int elideMode = Qt::ElideRight;

    Qt::Orientation orientation() const { return isHor ? Qt::Horizontal : Qt::Vertical; }
    /// Any value but the two orientations is ignored.
    void setOrientation(Qt::Orientation orientation)
    {
        if (orientation == Qt::Horizontal || orientation == Qt::Vertical)
            isHor = orientation == Qt::Horizontal;
    }
    Qt::Alignment alignment() const { return Internal::alignmentOfCodes(hor, ver); }
    /// An axis the flags do not place keeps its value.
    void setAlignment(Qt::Alignment alignment) { Internal::setAlignmentCodes(alignment, hor, ver); }
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
    static QString defaultFamily() { return QStringLiteral("\u5FAE\u8F6F\u96C5\u9ED1"); }
};

/// Where an icon goes inside a rectangle.
struct OrvQImageAlign {
    int x = 0;
    int y = 0;
    int hor = 0; ///< 0 left, 1 centre, 2 right
    int ver = 0; ///< 0 top, 1 centre, 2 bottom

    Qt::Alignment alignment() const { return Internal::alignmentOfCodes(hor, ver); }
    /// An axis the flags do not place keeps its value.
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
OrvQFontStyle readFontStyle(const Json::Value &record);

struct OrvQStyleTables {
    std::map<QString, OrvQRectStyle> rects;
    std::map<QString, OrvQFontStyle> fonts;
};

/// Adds the records of a style.json "style" value (an array of records, or an
/// object whose member values are records, in member-name order) to `tables`.
/// Records that are not objects or have no type 1 or 2 are skipped; the first
/// record of a name wins.
void parseStyles(const Json::Value &styles, OrvQStyleTables &tables);

} // namespace OrvQtLib
