#include "controlbase.h"

#include "resourcemanager.h"

#include <QCache>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QImage>
#include <QLinearGradient>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QStaticText>
#include <QTextOption>

#include <algorithm>
#include <cmath>

namespace OrvQtLib {

namespace {

// QPainter::drawImage reads a source width or height of 0 or less as "to the
// edge of the image", so both rectangles are checked before every part. The
// source is in logical pixels of an image drawn at `scale` pixels to one.
void drawPart(QPainter *painter, const QImage &image, const QRect &target, const QRect &source, qreal scale)
{
    if (target.width() < 1 || target.height() < 1 || source.width() < 1 || source.height() < 1)
        return;
    if (scale == 1)
        painter->drawImage(target, image, source);
    else
        painter->drawImage(QRectF(target), image,
                           QRectF(source.x() * scale, source.y() * scale, source.width() * scale,
                                  source.height() * scale));
}

// An intermediate image for rotated text larger than this would cost more
// memory than any screen needs; such text is drawn on the rotated painter.
constexpr qint64 MaxRotatedTextPixels = qint64(4096) * 4096;

// The last font built.
struct LastFont {
    OrvQFontStyle style;
    QFont font;
    bool valid = false;
};

} // namespace

QFont OrvQControlBaseImpl::fontOf(const OrvQFontStyle &style)
{
    // Every label load and every text paint asks for a font, mostly the same
    // one in a row; the last one built is kept.
    LastFont &last = applicationCache<LastFont>();
    if (last.valid && last.style.size == style.size && last.style.bold == style.bold
        && last.style.italic == style.italic && last.style.underline == style.underline
        && last.style.family == style.family)
        return last.font;

    QFont font;
    // QFont complains about sizes below 1; such a style keeps the default size.
    if (style.size > 0)
        font.setPixelSize(style.size);
    font.setFamily(style.family);
    font.setWeight(style.bold ? QFont::Bold : QFont::Normal);
    font.setStyle(style.italic ? QFont::StyleItalic : QFont::StyleNormal);
    font.setUnderline(style.underline);
    last.style = style;
    last.font = font;
    last.valid = true;
    return font;
}

Qt::Alignment OrvQControlBaseImpl::alignmentOf(const OrvQFontStyle &style)
{
    return style.alignment();
}


void OrvQControlBaseImpl::drawBackground(QPainter *painter, const OrvQRectStyle &style, const QRect &rect)
{
    drawBackground(painter, style, rect.x(), rect.y(), rect.width(), rect.height());
}

void OrvQControlBaseImpl::drawBackground(QPainter *painter, const OrvQRectStyle &style, int x, int y, int w, int h)
{
    if (!painter || !style.nonEmpty)
        return;
    if (style.colorMode)
        drawColorRect(painter, style, x, y, w, h);
    else
        drawNineGrid(painter, style, x, y, w, h);
}

void OrvQControlBaseImpl::drawColorRect(QPainter *painter, const OrvQRectStyle &style, int x, int y, int w, int h)
{
    if (!painter)
        return;
    const int bs = style.borderSize;
    const int r = style.round;

    painter->setPen(QPen(QBrush(style.borderColor), bs, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    // addRoundedRect would mirror a negative rectangle; an empty one has no area.
    if (w <= 0 || h <= 0)
        return;

    const auto gradient = [&] {
        QLinearGradient horizontal(x, 0, qreal(x) + w, 0);
        horizontal.setColorAt(0, style.color);
        horizontal.setColorAt(1, style.color2);
        return QBrush(horizontal);
    };

    if (r != 0) {
        painter->setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        path.addRoundedRect(QRectF(x, y, w, h), r, r, Qt::AbsoluteSize);
        if (style.gradient) {
            painter->fillPath(path, gradient());
        } else {
            painter->setBrush(QBrush(style.color));
            painter->fillPath(path, painter->brush());
        }
    } else if (style.gradient) {
        painter->fillRect(QRect(x, y, w, h), gradient());
    } else {
        painter->setBrush(QBrush(style.color));
        painter->fillRect(QRect(x, y, w, h), painter->brush());
    }

    if (!style.border || bs == 0)
        return;

    // The outline is a line only: filling it again would paint a gradient over
    // with an old brush and double a translucent colour.
    const QBrush fillBrush = painter->brush();
    painter->setBrush(Qt::NoBrush);
    if (style.leftBorder && style.topBorder && style.rightBorder && style.bottomBorder) {
        if (r != 0) {
            const QRect inner(x + bs, y + bs, w - 2 * bs, h - 2 * bs);
            if (inner.width() > 0 && inner.height() > 0)
                painter->drawRoundedRect(inner, r, r, Qt::RelativeSize);
        } else {
            const QRect outline(x, y, w - bs, h - bs);
            painter->drawRects(&outline, 1);
        }
    } else {
        // Each side is the square-capped line of width bs from corner to
        // corner, filled as the rectangle it covers: the raster engine strokes
        // a line pixel by pixel, some hundred times slower than a fill, and
        // rows of a list draw these separators by the thousand.
        const int right = x + w - bs;
        const int bottom = y + h - bs;
        const int half = bs / 2;
        const QBrush border(style.borderColor);
        const auto horizontal = [&](int row) {
            painter->fillRect(QRect(x - half, row - half, right - x + bs, bs), border);
        };
        const auto vertical = [&](int column) {
            painter->fillRect(QRect(column - half, y - half, bs, bottom - y + bs), border);
        };
        if (style.bottomBorder)
            horizontal(bottom);
        if (style.topBorder)
            horizontal(y);
        if (style.rightBorder)
            vertical(right);
        if (style.leftBorder)
            vertical(x);
    }
    painter->setBrush(fillBrush);
}

void OrvQControlBaseImpl::drawNineGrid(QPainter *painter, const OrvQRectStyle &style, int x, int y, int w, int h)
{
    drawNineGrid(painter, style.image, style.grid, x, y, w, h);
}

void OrvQControlBaseImpl::drawNineGrid(QPainter *painter, const QString &imageName, const OrvQNineGrid &grid,
                                       int x, int y, int w, int h)
{
    if (!painter || w <= 0 || h <= 0)
        return;
    const QImage *found = imageFor(painter, imageName);
    if (!found || found->isNull())
        return;
    const QImage &image = *found;
    // The grid is in logical pixels, a variant's N times as many in its own.
    const qreal scale = image.devicePixelRatio();
    const QSize logical = logicalSize(image);
    const int iw = logical.width();
    const int ih = logical.height();

    // Margins wider than the image would give parts outside it.
    const int L = std::clamp(grid.left, 0, iw);
    const int R = std::clamp(grid.right, 0, iw - L);
    const int T = std::clamp(grid.top, 0, ih);
    const int B = std::clamp(grid.bottom, 0, ih - T);

    if (T > 0)
        drawPart(painter, image, QRect(x + L, y, w - L - R, T), QRect(L, 0, iw - L - R, T), scale);
    if (B > 0)
        drawPart(painter, image, QRect(x + L, y + h - B, w - L - R, B), QRect(L, ih - B, iw - L - R, B), scale);
    if (L > 0)
        drawPart(painter, image, QRect(x, y + T, L, h - T - B), QRect(0, T, L, ih - T - B), scale);
    if (R > 0)
        drawPart(painter, image, QRect(x + w - R, y + T, R, h - T - B), QRect(iw - R, T, R, ih - T - B), scale);
    if (T > 0 && L > 0)
        drawPart(painter, image, QRect(x, y, L, T), QRect(0, 0, L, T), scale);
    if (T > 0 && R > 0)
        drawPart(painter, image, QRect(x + w - R, y, R, T), QRect(iw - R, 0, R, T), scale);
    if (B > 0 && L > 0)
        drawPart(painter, image, QRect(x, y + h - B, L, B), QRect(0, ih - B, L, B), scale);
    if (B > 0 && R > 0)
        drawPart(painter, image, QRect(x + w - R, y + h - B, R, B), QRect(iw - R, ih - B, R, B), scale);

    const QRect target(x + L, y + T, w - L - R, h - T - B);
    const QRect source(L, T, iw - L - R, ih - T - B);
    if (target.width() < 1 || target.height() < 1 || source.width() < 1 || source.height() < 1)
        return;

    if (!grid.repeatCenter) {
        drawPart(painter, image, target, source, scale);
        return;
    }

    // Unscaled tiles from the target's top-left corner, clipped to the
    // target: one textured fill instead of a draw call per tile. A variant's
    // tile keeps its ratio, so it tiles at its logical size.
    QImage tile = image.copy(scale == 1 ? source
                                        : QRect(qRound(source.x() * scale), qRound(source.y() * scale),
                                                qRound(source.width() * scale), qRound(source.height() * scale)));
    tile.setDevicePixelRatio(scale);
    painter->save();
    painter->setClipRect(target, Qt::ReplaceClip);
    painter->setPen(Qt::NoPen);
    painter->setBrushOrigin(target.topLeft());
    painter->fillRect(target, QBrush(tile));
    painter->restore();
}

void OrvQControlBaseImpl::drawImageAligned(QPainter *painter, const QString &image, const OrvQImageAlign &align,
                                           const QRect &rect)
{
    drawImageAligned(painter, image, align, rect.x(), rect.y(), rect.width(), rect.height());
}

void OrvQControlBaseImpl::drawImageAligned(QPainter *painter, const QString &imageName, const OrvQImageAlign &align,
                                           int x, int y, int w, int h)
{
    if (!painter)
        return;
    const QImage *image = imageFor(painter, imageName);
    if (!image || image->width() == 0 || image->height() == 0)
        return;
    const QSize logical = logicalSize(*image);
    const int iw = logical.width();
    const int ih = logical.height();

    int X = 0;
    switch (align.hor) {
    case 0: X = x; break;
    case 1: X = x + (w - iw) / 2; break;
    case 2: X = x + w - iw; break;
    default: break;
    }
    int Y = 0;
    switch (align.ver) {
    case 0: Y = y; break;
    case 1: Y = y + (h - ih) / 2; break;
    case 2: Y = y + h - ih; break;
    default: break;
    }
    painter->drawImage(QPoint(X + align.x, Y + align.y), *image);
}

qreal OrvQControlBaseImpl::deviceRatio(const QPainter *painter)
{
    // The engine's device is where the pixels go: the window's backing store,
    // or the image a widget is rendered into, whose ratio the widget's own
    // device does not know.
    const QPaintEngine *engine = painter ? painter->paintEngine() : nullptr;
    const QPaintDevice *device = engine ? engine->paintDevice() : nullptr;
    if (!device && painter)
        device = painter->device();
    return device ? device->devicePixelRatioF() : 1;
}

const QImage *OrvQControlBaseImpl::imageFor(const QPainter *painter, const QString &name)
{
    return OrvQResourceManager::instance().image(name, deviceRatio(painter));
}

QSize OrvQControlBaseImpl::logicalSize(const QImage &image)
{
    const qreal scale = image.devicePixelRatio();
    if (scale == 1)
        return image.size();
    return QSize(qRound(image.width() / scale), qRound(image.height() / scale));
}

namespace {

// True when `text` surely fits in `width` pixels: printable Latin-1 whose
// summed character advances, with a pixel to spare for kerning, are within
// it. Per-character advances are cached by the font engine, so this costs a
// fraction of shaping the text.
bool plainlyFits(const QFont &font, const QString &text, int width)
{
    constexpr int MaxQuickLength = 128;
    if (text.size() > MaxQuickLength || width <= 0)
        return false;
    const QFontMetricsF metrics(font);
    if (metrics.maxWidth() * text.size() + 1 <= width)
        return true;
    qreal advance = 1;
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u < 0x20 || (u >= 0x7f && u < 0xa0) || u == 0xad || u >= 0x100)
            return false;
        advance += metrics.horizontalAdvance(c);
        if (advance > width)
            return false;
    }
    return true;
}

} // namespace

namespace {

struct TextLineKey {
    QString text;
    QFont font;
    bool operator==(const TextLineKey &other) const { return text == other.text && font == other.font; }
};

uint qHash(const TextLineKey &key, uint seed = 0)
{
    return ::qHash(key.text, seed) ^ ::qHash(key.font, seed);
}

// Laid-out lines by text and font; the least recently drawn go first.
struct TextLineCache {
    static constexpr int Lines = 1024;
    QCache<TextLineKey, QStaticText> lines{Lines};
};

bool isSingleLine(const QString &text)
{
    constexpr int MaxCachedLength = 256;
    if (text.isEmpty() || text.size() > MaxCachedLength)
        return false;
    for (const QChar c : text) {
        // Line breaks, tabs and other controls lay out unlike one line;
        // right-to-left text takes its direction from the layout.
        if (c.unicode() < 0x20 || c.category() == QChar::Other_Format || c.direction() == QChar::DirR
            || c.direction() == QChar::DirAL || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            return false;
    }
    return true;
}

} // namespace

bool OrvQControlBaseImpl::drawTextLine(QPainter *painter, const QRect &rect, Qt::Alignment alignment,
                                       const QFont &font, const QString &text)
{
    constexpr Qt::Alignment Handled = Qt::AlignLeft | Qt::AlignRight | Qt::AlignHCenter | Qt::AlignAbsolute
        | Qt::AlignTop | Qt::AlignBottom | Qt::AlignVCenter;
    if (!painter || (alignment & ~Handled) || painter->layoutDirection() == Qt::RightToLeft
        || painter->transform().type() > QTransform::TxTranslate || !isSingleLine(text))
        return false;

    TextLineKey key{text, font};
    QCache<TextLineKey, QStaticText> &lines = applicationCache<TextLineCache>().lines;
    QStaticText *line = lines.object(key);
    if (!line) {
        line = new QStaticText(text);
        line->setTextFormat(Qt::PlainText);
        line->prepare(QTransform(), font);
        lines.insert(std::move(key), line);
    }

    const QSizeF size = line->size();
    qreal x = rect.left();
    if (alignment & Qt::AlignRight)
        x = rect.left() + rect.width() - size.width();
    else if (alignment & Qt::AlignHCenter)
        x = rect.left() + (rect.width() - size.width()) / 2;
    qreal y = rect.top();
    if (alignment & Qt::AlignBottom)
        y = rect.top() + rect.height() - size.height();
    else if (alignment & Qt::AlignVCenter)
        y = rect.top() + (rect.height() - size.height()) / 2;

    // Text larger than its rectangle is cut at it, as drawText cuts it.
    const bool overflows = size.width() > rect.width() || size.height() > rect.height();
    if (overflows) {
        painter->save();
        painter->setClipRect(rect, Qt::IntersectClip);
    }
    painter->setFont(font);
    painter->drawStaticText(QPointF(x, y), *line);
    if (overflows)
        painter->restore();
    return true;
}

QString OrvQControlBaseImpl::elidedText(const QFont &font, const QString &text, Qt::TextElideMode mode, int width)
{
    if (plainlyFits(font, text, width))
        return text;
    return QFontMetrics(font).elidedText(text, mode, width);
}

void OrvQControlBaseImpl::drawStyledText(QPainter *painter, const QString &text, const OrvQFontStyle &style,
                                         const QRect &rect)
{
    drawStyledText(painter, text, style, rect.x(), rect.y(), rect.width(), rect.height(), style.isHor);
}

void OrvQControlBaseImpl::drawStyledText(QPainter *painter, const QString &text, const OrvQFontStyle &style,
                                         int x, int y, int w, int h, Qt::Orientation orientation)
{
    drawStyledText(painter, text, style, x, y, w, h, orientation != Qt::Vertical);
}

void OrvQControlBaseImpl::drawStyledText(QPainter *painter, const QString &text, const OrvQFontStyle &style,
                                         int x, int y, int w, int h, bool horizontal)
{
    if (!painter)
        return;
    const QRect textRect(x + style.x, y + style.y, w - style.x, h - style.y);
    const QFont font = fontOf(style);

    painter->setBrush(QBrush(style.color));
    painter->setRenderHint(QPainter::TextAntialiasing);
    QTextOption option;
    option.setAlignment(alignmentOf(style));

    if (horizontal) {
        painter->setPen(style.color);
        painter->setFont(font);
        const QString shown = style.elideMode == Qt::ElideNone ? text : elidedText(font, text, Qt::ElideRight, w - 2);
        // A line that fits needs no wrapping, so it can come from the cache.
        if (textRect.width() > 0 && plainlyFits(font, shown, textRect.width())
            && drawTextLine(painter, textRect, option.alignment(), font, shown))
            return;
        painter->drawText(QRectF(textRect), shown, option);
        return;
    }

    painter->setFont(font);
    if (w <= 0 || h <= 0)
        return;

    // Rotating by 90 degrees about (x + w, y) maps the h × w image onto
    // (x, y, w, h) with the text running from top to bottom.
    if (qint64(w) * h > MaxRotatedTextPixels) {
        painter->save();
        painter->translate(x + w, y);
        painter->rotate(90);
        painter->setPen(style.color);
        painter->drawText(QRectF(0, 0, h, w), text, option);
        painter->restore();
        return;
    }

    QImage image(h, w, QImage::Format_ARGB32);
    image.fill(0);
    {
        QPainter imagePainter(&image);
        imagePainter.setRenderHint(QPainter::TextAntialiasing);
        imagePainter.setPen(style.color);
        imagePainter.setFont(font);
        imagePainter.drawText(QRectF(0, 0, h, w), text, option);
    }
    painter->save();
    painter->translate(x + w, y);
    painter->rotate(90);
    painter->drawImage(QPoint(0, 0), image);
    painter->restore();
}

QSize OrvQControlBaseImpl::textSize(const OrvQFontStyle &style, const QString &text)
{
    const QFontMetrics metrics(fontOf(style));
    return QSize(metrics.horizontalAdvance(text), metrics.height());
}

int OrvQControlBaseImpl::filledLength(qint64 value, qint64 minimum, qint64 maximum, int full)
{
    const qint64 range = maximum - minimum;
    if (full <= 0 || range <= 0)
        return 0;
    // Integers, so that 29 of 100 is 29 %: a share of at most 2^32 times an
    // int stays inside 64 bits.
    const qint64 share = qBound<qint64>(0, value - minimum, range);
    return int(share * full / range);
}

int OrvQControlBaseImpl::rangePercent(qint64 value, qint64 minimum, qint64 maximum)
{
    return filledLength(value, minimum, maximum, 100);
}

void OrvQControlBaseImpl::drawViewportBackground(QPainter *painter, const OrvQRectStyle &style,
                                                 const QWidget *viewport, const QRegion &region)
{
    if (!painter || !viewport)
        return;
    painter->save();
    painter->setClipRegion(region, Qt::IntersectClip);
    drawBackground(painter, style, viewport->rect());
    painter->restore();
}

bool OrvQControlBaseImpl::coversOpaquely(const OrvQRectStyle &style)
{
    return style.nonEmpty && style.colorMode && style.round == 0 && style.color.alpha() == 255
        && (!style.gradient || style.color2.alpha() == 255);
}

} // namespace OrvQtLib
