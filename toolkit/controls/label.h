#pragma once

#include "control.h"
#include "controlkeys.h"

#include <QLabel>
#include <QTextDocument>

class QResizeEvent;

namespace OrvQtLib {

// A text read-out: font, colour and alignment from a font style; the text
// elided to the width.
class OrvQLabelImpl : public OrvQControlBaseImpl
{
    Q_OBJECT

public:
    explicit OrvQLabelImpl(QWidget *widget);
    ~OrvQLabelImpl() override;

    static const OrvQKeyTable<OrvQLabelImpl> &attrKeys();
    static const OrvQStyleSlotTable<OrvQLabelImpl> &styleSlots();

    bool load(const Json::Value &element);
    void draw(QPainter *painter, const QRect &rect) override;

    const OrvQFontStyle &textStyle() const { return m_textStyle; }
    void setTextStyle(const OrvQFontStyle &style) { m_textStyle = style; }
    QString fullText() const { return m_fullText; }
    void setFullText(const QString &text) { m_fullText = text; }

protected:
    void restyled() override;

private:
    OrvQFontStyle m_textStyle;
    QString m_fullText;
};

// A label paints as QLabel does, from the font, palette and alignment its
// style gave it.
inline constexpr OrvQEventRoutes LabelEventRoutes = PaintOnlyEventRoutes.withPaint(OrvQRoute::BaseOnly);

class OrvQLabel : public OrvQControl<QLabel, OrvQLabelImpl, LabelEventRoutes>
{
    Q_OBJECT
    Q_INTERFACES(OrvQtLib::IOrvQControlBase)

public:
    explicit OrvQLabel(QWidget *parent = nullptr);
    ~OrvQLabel() override;

    static QString staticTypeName() { return QStringLiteral("qtlabel"); }
    QString typeName() const override { return staticTypeName(); }

    // The unelided text.
    QString fullText() const;
    // Applies the font style's font, colour and alignment to the widget.
    void applyTextStyle();

public slots:
    // Hides QLabel::setText: the full text is kept for eliding. Text set
    // through a QLabel pointer is picked up at the next resize.
    void setText(const QString &text);

protected:
    bool loadControlKeys(const Json::Value &element) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    friend class OrvQLabelImpl;

    // True when QLabel would paint nothing but one line of plain text.
    bool isPlainTextLine() const;
    // Shows the full text elided to the width, as the style's mode asks.
    void elideToWidth();

    QString m_shownText;
};

// A position in a document: block, line of the block's layout, character.
struct OrvQTextPosition {
    int block = -1;
    int line = -1;
    int position = -1;

    bool isValid() const { return block != -1 && line != -1 && position != -1; }
    friend bool operator==(const OrvQTextPosition &a, const OrvQTextPosition &b)
    {
        return a.block == b.block && a.line == b.line && a.position == b.position;
    }
    friend bool operator!=(const OrvQTextPosition &a, const OrvQTextPosition &b) { return !(a == b); }
    friend bool operator<(const OrvQTextPosition &a, const OrvQTextPosition &b)
    {
        if (a.block != b.block)
            return a.block < b.block;
        if (a.line != b.line)
            return a.line < b.line;
        return a.position < b.position;
    }
};

// Plain text in a document, with a mouse selection painted as a highlight.
class OrvQLabelExImpl : public OrvQControlBaseImpl
{
    Q_OBJECT

public:
    explicit OrvQLabelExImpl(QWidget *widget);
    ~OrvQLabelExImpl() override;

    static const OrvQKeyTable<OrvQLabelExImpl> &attrKeys();
    static const OrvQStyleSlotTable<OrvQLabelExImpl> &styleSlots();

    bool load(const Json::Value &element);
    void draw(QPainter *painter, const QRect &rect) override;
    void mousePress(QMouseEvent *event) override;
    void mouseRelease(QMouseEvent *event) override;
    void mouseMove(QMouseEvent *event) override;
    void mouseDoubleClick(QMouseEvent *event) override;

    QTextDocument &document() { return m_document; }
    const OrvQFontStyle &textStyle() const { return m_textStyle; }
    void setTextStyle(const OrvQFontStyle &style);

    OrvQTextPosition positionAt(const QPoint &point);
    OrvQTextPosition endPosition();
    void setSelection(const OrvQTextPosition &a, const OrvQTextPosition &b);
    void clearSelection();
    OrvQTextPosition selectionStart() const { return m_start; }
    OrvQTextPosition selectionEnd() const { return m_end; }

protected:
    void restyled() override;

private:
    OrvQFontStyle m_textStyle;
    QTextDocument m_document;
    OrvQTextPosition m_start;
    OrvQTextPosition m_end;
};

// Entering and leaving change nothing; the text handlers below select.
inline constexpr OrvQEventRoutes LabelExEventRoutes =
    OrvQEventRoutes().withEnter(OrvQRoute::BaseOnly).withLeave(OrvQRoute::BaseOnly);

class OrvQLabelEx : public OrvQControl<QLabel, OrvQLabelExImpl, LabelExEventRoutes>
{
    Q_OBJECT
    Q_INTERFACES(OrvQtLib::IOrvQControlBase)

public:
    explicit OrvQLabelEx(QWidget *parent = nullptr);
    ~OrvQLabelEx() override;

    static QString staticTypeName() { return QStringLiteral("qtlabelex"); }
    QString typeName() const override { return staticTypeName(); }

    void setPlainText(const QString &text);
    QString toPlainText() const;
    QString toHtml() const;

    OrvQTextPosition positionAt(const QPoint &point);
    static OrvQTextPosition startPosition() { return {0, 0, 0}; }
    OrvQTextPosition endPosition();
    void setSelection(const OrvQTextPosition &a, const OrvQTextPosition &b);
    void clearSelection();

protected:
    bool loadControlKeys(const Json::Value &element) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
};

} // namespace OrvQtLib
