#pragma once

#include "control.h"
#include "controlkeys.h"

#include <QWidget>

namespace OrvQtLib {

/// A one-pixel line frame with a title set into its top edge. It holds child
/// controls without arranging them.
class OrvQGroupBoxImpl : public OrvQControlBaseImpl
{
    Q_OBJECT

public:
    explicit OrvQGroupBoxImpl(QWidget *widget);
    ~OrvQGroupBoxImpl() override;

    static const OrvQKeyTable<OrvQGroupBoxImpl> &attrKeys();
    static const OrvQStyleSlotTable<OrvQGroupBoxImpl> &styleSlots();

    bool load(const Json::Value &element);
    void draw(QPainter *painter, const QRect &rect) override;

    /// Where the title is drawn in a widget rectangle: never wider or taller
    /// than the widget.
    QRect titleRect(const QRect &rect) const;

    bool showText() const { return m_showText; }
    QString title() const { return m_title; }
    void setTitle(const QString &title) { m_title = title; }
    QColor lineColor() const { return m_lineColor; }
    int bottomInset() const { return m_bottomInset; }

private:
    QSize titleSize() const;

    bool m_showText = true;
    QString m_title;
    OrvQFontStyle m_titleStyle;
    QColor m_lineColor = QColor::fromRgba(0xFF000000);
    int m_bottomInset = 1;
};

/// Mouse events take QWidget's way, so they pass on to the parent.
class OrvQGroupBox : public OrvQControl<QWidget, OrvQGroupBoxImpl, PaintOnlyEventRoutes>
{
    Q_OBJECT
    Q_INTERFACES(OrvQtLib::IOrvQControlBase)

public:
    /// A group box with the built-in look, owned by `parent`.
    explicit OrvQGroupBox(QWidget *parent = nullptr);
    ~OrvQGroupBox() override;

    /// The type name descriptions use, "qtgroupbox".
    static QString staticTypeName() { return QStringLiteral("qtgroupbox"); }
    QString typeName() const override { return staticTypeName(); }

protected:
    bool loadControlKeys(const Json::Value &element) override;
};

} // namespace OrvQtLib
