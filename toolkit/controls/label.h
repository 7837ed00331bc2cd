#pragma once

#include "control.h"
#include "controlkeys.h"

#include <QLabel>
#include <QTextDocument>

class QResizeEvent;

namespace OrvQtLib {

/// A text read-out: font, colour and alignment from a font style; the text
/// elided to the width.
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

private:
    OrvQFontStyle m_textStyle;
    QString m_fullText;
};

/// A label paints as QLabel does, from the font, palette and alignment its
/// style gave it.
inline constexpr OrvQEventRoutes LabelEventRoutes = PaintOnlyEventRoutes.withPaint(OrvQRoute::BaseOnly);

/// A skinned label: font, colour and alignment from a font style, the text
/// elided to the width.
class OrvQLabel : public OrvQControl<QLabel, OrvQLabelImpl, LabelEventRoutes>
{
    Q_OBJECT
    Q_INTERFACES(OrvQtLib::IOrvQControlBase)
    /// The full text, not the elided one QLabel's own property holds.
    Q_PROPERTY(QString text READ fullText WRITE setText NOTIFY textChanged)

public:
    /// An empty label, owned by `parent`.
    explicit OrvQLabel(QWidget *parent = nullptr);
    ~OrvQLabel() override;

    /// The type name descriptions use, "qtlabel".
    static QString staticTypeName() { return QStringLiteral("qtlabel"); }
    QString typeName() const override { return staticTypeName(); }

    /// The unelided text.
    QString fullText() const;
    /// Applies the font style's font, colour and alignment to the widget.
    void applyTextStyle();

public slots:
    /// Hides QLabel::setText: the full text is kept for eliding. Text set
    /// through a QLabel pointer is picked up at the next resize.
    void setText(const QString &text);

signals:
    /// The full text changed.
    void textChanged(const QString &text);

protected:
    bool loadControlKeys(const Json::Value &element) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    /// True when QLabel would paint nothing but one line of plain text.
    bool isPlainTextLine() const;

    QString m_shownText;
};

/// A position in a document: block, line of the block's layout, character.
struct OrvQTextPosition {
    int block = -1; ///<< block number; -1 when invalid
    int line = -1; ///<< line of the block's layout; -1 when invalid
    int position = -1; ///<< character position in the block; -1 when invalid

    /// True when all three parts are set.
    bool isValid() const { return block != -1 && line != -1 && position != -1; }
    /// Equal when all three parts are.
    friend bool operator==(const OrvQTextPosition &a, const OrvQTextPosition &b)
    {
        return a.block == b.block && a.line == b.line && a.position == b.position;
    }
    /// Not equal.
    friend bool operator!=(const OrvQTextPosition &a, const OrvQTextPosition &b) { return !(a == b); }
    /// Document order.
    friend bool operator<(const OrvQTextPosition &a, const OrvQTextPosition &b)
    {
        if (a.block != b.block)
            return a.block < b.block;
        if (a.line != b.line)
            return a.line < b.line;
        return a.position < b.position;
    }
};

/// Plain text in a document, with a mouse selection painted as a highlight.
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

private:
    OrvQFontStyle m_textStyle;
    QTextDocument m_document;
    OrvQTextPosition m_start;
    OrvQTextPosition m_end;
};

/// Entering and leaving change nothing; the text handlers below select.
inline constexpr OrvQEventRoutes LabelExEventRoutes =
    OrvQEventRoutes().withEnter(OrvQRoute::BaseOnly).withLeave(OrvQRoute::BaseOnly);

/// A read-only rich-text label whose text can be selected with the mouse.
class OrvQLabelEx : public OrvQControl<QLabel, OrvQLabelExImpl, LabelExEventRoutes>
{
    Q_OBJECT
    Q_INTERFACES(OrvQtLib::IOrvQControlBase)
    /// The text as plain text.
    Q_PROPERTY(QString plainText READ toPlainText WRITE setPlainText NOTIFY plainTextChanged)

public:
    /// An empty label, owned by `parent`.
    explicit OrvQLabelEx(QWidget *parent = nullptr);
    ~OrvQLabelEx() override;

    /// The type name descriptions use, "qtlabelex".
    static QString staticTypeName() { return QStringLiteral("qtlabelex"); }
    QString typeName() const override { return staticTypeName(); }

    /// Replaces the text with plain text.
    void setPlainText(const QString &text);
    /// The text as plain text.
    QString toPlainText() const;
    /// The text as HTML.
    QString toHtml() const;

    /// The text position under a widget point; invalid when there is none.
    OrvQTextPosition positionAt(const QPoint &point);
    /// The first position of any text.
    static OrvQTextPosition startPosition() { return {0, 0, 0}; }
    /// The position after the last character.
    OrvQTextPosition endPosition();
    /// Selects the text between two positions, in either order; invalid
    /// positions clear the selection.
    void setSelection(const OrvQTextPosition &a, const OrvQTextPosition &b);
    /// Clears the selection.
    void clearSelection();

signals:
    /// The text changed.
    void plainTextChanged(const QString &text);

protected:
    bool loadControlKeys(const Json::Value &element) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
};

} // namespace OrvQtLib
