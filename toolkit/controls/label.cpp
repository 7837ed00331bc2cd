#include "label.h"

#include "jsonreaders.h"
#include "styleslots.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QStyleOption>
#include <QTextDocument>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

#include <algorithm>
#include <optional>

namespace OrvQtLib {

namespace {

const QString &initialText()
{
    static const QString text = QStringLiteral("label");
    return text;
}

// x of a character on its line; a position kept from an older layout is
// clamped to the line.
qreal xOfPosition(const QTextLine &line, int position)
{
    const int first = line.textStart();
    return line.cursorToX(std::clamp(position, first, first + line.textLength()));
}

// The palette with the text colour; a window's labels mostly share one
// style, so the last palette built is reused rather than detached again.
struct LastPalette {
    qint64 baseKey = 0;
    QColor colour;
    QPalette palette;
};

QPalette textPalette(const QPalette &base, const QColor &colour)
{
    LastPalette &last = applicationCache<LastPalette>();
    if (last.baseKey != base.cacheKey() || last.colour != colour || !last.colour.isValid()) {
        last.palette = base;
        last.palette.setBrush(QPalette::All, QPalette::WindowText, QBrush(colour));
        last.baseKey = base.cacheKey();
        last.colour = colour;
    }
    return last.palette;
}

} // namespace

// ---- OrvQLabelImpl -----------------------------------------------------------

OrvQLabelImpl::OrvQLabelImpl(QWidget *widget)
    : OrvQControlBaseImpl(widget)
    , m_fullText(initialText())
{
}

OrvQLabelImpl::~OrvQLabelImpl() = default;

const OrvQStyleSlotTable<OrvQLabelImpl> &OrvQLabelImpl::styleSlots()
{
    static const OrvQStyleSlotTable<OrvQLabelImpl> table{
        OrvQStyleSlot<OrvQLabelImpl>::fontSlot(0, &OrvQLabelImpl::m_textStyle, "text"),
    };
    return table;
}

const OrvQKeyTable<OrvQLabelImpl> &OrvQLabelImpl::attrKeys()
{
    static const OrvQKeyTable<OrvQLabelImpl> keys{
        OrvQKey<OrvQLabelImpl>::gbkText("text", &OrvQLabelImpl::m_fullText, std::nullopt, "the text"),
    };
    return keys;
}

bool OrvQLabelImpl::load(const Json::Value &element)
{
    const bool loaded = loadAttributes(element);
    applyStyleSlots(element, styleSlots(), *this);
    applyAttrKeys(element, attrKeys(), *this);
    return loaded;
}

void OrvQLabelImpl::restyled()
{
    if (auto *label = qobject_cast<OrvQLabel *>(m_widget)) {
        label->applyTextStyle();
        label->elideToWidth();
    }
}

void OrvQLabelImpl::draw(QPainter *painter, const QRect &rect)
{
    if (const auto *label = qobject_cast<QLabel *>(m_widget))
        drawStyledText(painter, label->text(), m_textStyle, rect);
}

// ---- OrvQLabel ---------------------------------------------------------------

OrvQLabel::OrvQLabel(QWidget *parent)
    : OrvQControl(parent)
{
    QLabel::setText(initialText());
    m_shownText = initialText();
}

OrvQLabel::~OrvQLabel() = default;

QString OrvQLabel::fullText() const
{
    // Text set through QLabel::setText since the last resize replaces ours.
    return text() != m_shownText ? text() : m_impl->fullText();
}

void OrvQLabel::setText(const QString &text)
{
    notifyOnChange(this, &OrvQLabel::fullText, [&] {
        m_impl->setFullText(text);
        m_shownText = text;
        QLabel::setText(text);
    }, &OrvQLabel::textChanged);
}

bool OrvQLabel::loadControlKeys(const Json::Value &element)
{
    const bool loaded = m_impl->load(element);
    setText(m_impl->fullText());
    applyTextStyle();
    return loaded;
}

void OrvQLabel::applyTextStyle()
{
    const OrvQFontStyle &style = m_impl->textStyle();
    setFont(OrvQControlBaseImpl::fontOf(style));
    setPalette(textPalette(palette(), style.color));
    setAlignment(OrvQControlBaseImpl::alignmentOf(style));
}

void OrvQLabel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    if (!m_impl)
        return;
    elideToWidth();
}

void OrvQLabel::elideToWidth()
{
    if (text() != m_shownText)
        m_impl->setFullText(text());
    m_shownText = text();

    const int mode = m_impl->textStyle().elideMode;
    if (mode < Qt::ElideLeft || mode > Qt::ElideMiddle)
        return;
    const QString shown = OrvQControlBaseImpl::elidedText(OrvQControlBaseImpl::fontOf(m_impl->textStyle()),
                                                          m_impl->fullText(), Qt::TextElideMode(mode), width());
    if (shown != text())
        QLabel::setText(shown);
    m_shownText = shown;
}

bool OrvQLabel::isPlainTextLine() const
{
    const Qt::TextInteractionFlags controlled =
        Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard | Qt::TextEditable;
    return frameShape() == QFrame::NoFrame && margin() == 0 && indent() <= 0 && !wordWrap() && !buddy()
        && !(textInteractionFlags() & controlled) && layoutDirection() == Qt::LeftToRight
        && (textFormat() == Qt::PlainText || (textFormat() == Qt::AutoText && !Qt::mightBeRichText(text())));
}

void OrvQLabel::paintEvent(QPaintEvent *event)
{
    // A plain line is drawn as QLabel draws it, with its layout kept from
    // the last paint: rows of item views repaint the same labels often.
    if (isPlainTextLine()) {
        if (text().isEmpty())
            return;
        QStyleOption option;
        option.initFrom(this);
        QPainter painter(this);
        painter.setPen(QPen(option.palette.brush(foregroundRole()), 0));
        if (OrvQControlBaseImpl::drawTextLine(&painter, contentsRect(), alignment(), font(), text()))
            return;
        // The widget takes one painter at a time.
        painter.end();
    }
    OrvQControl::paintEvent(event);
}

// ---- OrvQLabelExImpl ---------------------------------------------------------

OrvQLabelExImpl::OrvQLabelExImpl(QWidget *widget)
    : OrvQControlBaseImpl(widget)
{
    m_document.setPlainText(initialText());
    m_document.setDefaultFont(fontOf(m_textStyle));
}

OrvQLabelExImpl::~OrvQLabelExImpl() = default;

const OrvQStyleSlotTable<OrvQLabelExImpl> &OrvQLabelExImpl::styleSlots()
{
    static const OrvQStyleSlotTable<OrvQLabelExImpl> table{
        OrvQStyleSlot<OrvQLabelExImpl>::fontSlot(0, &OrvQLabelExImpl::m_textStyle, "text"),
    };
    return table;
}

const OrvQKeyTable<OrvQLabelExImpl> &OrvQLabelExImpl::attrKeys()
{
    static const OrvQKeyTable<OrvQLabelExImpl> keys{
        OrvQKey<OrvQLabelExImpl>::custom({"text", OrvQKeyType::GbkText, {}, INT_MIN, INT_MAX, "the text"},
                                         [](OrvQLabelExImpl &impl, const QVariant &text) {
                                             impl.m_document.setPlainText(text.toString());
                                         }),
    };
    return keys;
}

bool OrvQLabelExImpl::load(const Json::Value &element)
{
    const bool loaded = loadAttributes(element);
    applyStyleSlots(element, styleSlots(), *this);
    applyAttrKeys(element, attrKeys(), *this);
    m_document.setDefaultFont(fontOf(m_textStyle));
    return loaded;
}

void OrvQLabelExImpl::setTextStyle(const OrvQFontStyle &style)
{
    m_textStyle = style;
    m_document.setDefaultFont(fontOf(m_textStyle));
}

void OrvQLabelExImpl::restyled()
{
    m_document.setDefaultFont(fontOf(m_textStyle));
}

namespace {

// Setting the page size lays the whole document out again, even when the
// size is the same.
void setPageSize(QTextDocument &document, const QSizeF &size)
{
    if (document.pageSize() != size)
        document.setPageSize(size);
}

} // namespace

void OrvQLabelExImpl::draw(QPainter *painter, const QRect &rect)
{
    painter->save();
    painter->setRenderHint(QPainter::TextAntialiasing);
    painter->translate(rect.topLeft());
    setPageSize(m_document, rect.size());

    const QTextLayout *layout = m_document.firstBlock().layout();
    if (m_start.isValid() && m_end.isValid() && layout) {
        // Positions may come from an older text or width, and the pointer may
        // have been dragged backwards.
        const OrvQTextPosition first = std::min(m_start, m_end);
        const OrvQTextPosition last = std::max(m_start, m_end);
        const int lines = layout->lineCount();
        for (int i = std::max(first.line, 0); i <= last.line && i < lines; ++i) {
            const QTextLine line = layout->lineAt(i);
            const qreal from = i == first.line ? xOfPosition(line, first.position) : 0;
            const qreal to = i == last.line ? xOfPosition(line, last.position) : line.horizontalAdvance();
            if (to > from)
                painter->fillRect(QRectF(from + 5, line.y() + 5, to - from, line.height()), QColor(155, 202, 239));
        }
    }

    QAbstractTextDocumentLayout::PaintContext context;
    context.cursorPosition = -1;
    context.palette.setBrush(QPalette::Text, QBrush(m_textStyle.color));
    m_document.documentLayout()->draw(painter, context);
    painter->restore();
}

OrvQTextPosition OrvQLabelExImpl::positionAt(const QPoint &point)
{
    if (m_widget)
        setPageSize(m_document, m_widget->size());
    m_document.documentLayout()->documentSize(); // lays the document out

    int blockIndex = 0;
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next(), ++blockIndex) {
        const QTextLayout *layout = block.layout();
        if (!layout)
            continue;
        // Lines are placed relative to their block, the block inside the
        // document's margin.
        const QPointF origin = layout->position();
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            if (line.rect().translated(origin).contains(point))
                return {blockIndex, i, line.xToCursor(point.x() - origin.x())};
        }
    }
    return {};
}

OrvQTextPosition OrvQLabelExImpl::endPosition()
{
    const int width = m_widget ? m_widget->width() : 0;
    const int height = m_widget ? m_widget->height() : 0;
    setPageSize(m_document, QSizeF(width + 20, height + 10));
    m_document.documentLayout()->documentSize();

    const int blocks = m_document.blockCount();
    const QTextLayout *layout = m_document.firstBlock().layout();
    if (!layout || layout->lineCount() == 0)
        return {blocks, -1, -1};
    QTextCursor cursor(&m_document);
    cursor.movePosition(QTextCursor::End);
    return {blocks, layout->lineCount() - 1, cursor.position()};
}

void OrvQLabelExImpl::setSelection(const OrvQTextPosition &a, const OrvQTextPosition &b)
{
    m_start = std::min(a, b);
    m_end = std::max(a, b);
}

void OrvQLabelExImpl::clearSelection()
{
    m_start = {};
    m_end = {};
}

void OrvQLabelExImpl::mousePress(QMouseEvent *event)
{
    // A new press starts a new selection; the old end would pair with it.
    m_start = positionAt(event->pos());
    m_end = {};
    if (m_widget)
        m_widget->update();
}

void OrvQLabelExImpl::mouseMove(QMouseEvent *event)
{
    const OrvQTextPosition position = positionAt(event->pos());
    if (position == m_end)
        return;
    m_end = position;
    if (m_widget)
        m_widget->update();
}

void OrvQLabelExImpl::mouseRelease(QMouseEvent *)
{
    if (!m_widget)
        return;
    m_widget->setMouseTracking(false);
    m_widget->update();
}

void OrvQLabelExImpl::mouseDoubleClick(QMouseEvent *)
{
    m_start = {0, 0, 0};
    m_end = endPosition();
    if (m_widget)
        m_widget->update();
}

// ---- OrvQLabelEx -------------------------------------------------------------

OrvQLabelEx::OrvQLabelEx(QWidget *parent)
    : OrvQControl(parent)
{
}

OrvQLabelEx::~OrvQLabelEx() = default;

bool OrvQLabelEx::loadControlKeys(const Json::Value &element)
{
    return m_impl->load(element);
}

void OrvQLabelEx::setPlainText(const QString &text)
{
    notifyOnChange(this, &OrvQLabelEx::toPlainText, [&] {
        m_impl->document().setPlainText(text);
        update();
    }, &OrvQLabelEx::plainTextChanged);
}

QString OrvQLabelEx::toPlainText() const
{
    return m_impl->document().toPlainText();
}

QString OrvQLabelEx::toHtml() const
{
    return m_impl->document().toHtml();
}

OrvQTextPosition OrvQLabelEx::positionAt(const QPoint &point)
{
    return m_impl->positionAt(point);
}

OrvQTextPosition OrvQLabelEx::endPosition()
{
    return m_impl->endPosition();
}

void OrvQLabelEx::setSelection(const OrvQTextPosition &a, const OrvQTextPosition &b)
{
    m_impl->setSelection(a, b);
}

void OrvQLabelEx::clearSelection()
{
    m_impl->clearSelection();
}

void OrvQLabelEx::mousePressEvent(QMouseEvent *event)
{
    if (textInteractionFlags() != Qt::NoTextInteraction)
        m_impl->mousePress(event);
}

void OrvQLabelEx::mouseReleaseEvent(QMouseEvent *event)
{
    if (textInteractionFlags() != Qt::NoTextInteraction)
        m_impl->mouseRelease(event);
}

void OrvQLabelEx::mouseMoveEvent(QMouseEvent *event)
{
    if (textInteractionFlags() != Qt::NoTextInteraction)
        m_impl->mouseMove(event);
}

void OrvQLabelEx::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (textInteractionFlags() != Qt::NoTextInteraction)
        m_impl->mouseDoubleClick(event);
}

void OrvQLabelEx::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
}

} // namespace OrvQtLib
