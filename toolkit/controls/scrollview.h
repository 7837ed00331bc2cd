#pragma once

#include "control.h"
#include "controlkeys.h"
#include "scrollarea.h"

#include <QScrollArea>

class QResizeEvent;

namespace OrvQtLib {

/// The background of a scroll view. Its "attr" keys are kept in the generic
/// attribute table only: none of them has an effect.
class OrvQScrollViewImpl : public OrvQControlBaseImpl
{
    Q_OBJECT

public:
    explicit OrvQScrollViewImpl(QWidget *widget);
    ~OrvQScrollViewImpl() override;

    static const OrvQStyleSlotTable<OrvQScrollViewImpl> &styleSlots();

    bool load(const Json::Value &element);
    void draw(QPainter *painter, const QRect &rect) override;

    /// The scrolled widget, as the scroll area holds it now: never a pointer
    /// the host's setWidget() or a deletion could have left dangling.
    QWidget *content() const;
    const OrvQRectStyle &backgroundStyle() const { return m_background; }

private:
    OrvQRectStyle m_background;
};

/// A scroll area whose content is the first container of its description.
/// The background has no states, so the mouse goes to Qt alone.
class OrvQScrollView
    : public OrvQScrollAreaControl<QScrollArea, OrvQScrollViewImpl, ScrollViewScrollArea, ScrollAreaPaintOnlyRoutes>
{
    Q_OBJECT
    Q_INTERFACES(OrvQtLib::IOrvQControlBase)

public:
    /// An empty scroll view, owned by `parent`.
    explicit OrvQScrollView(QWidget *parent = nullptr);
    ~OrvQScrollView() override;

    /// The type name descriptions use, "qtscrollview".
    static QString staticTypeName() { return QStringLiteral("qtscrollview"); }
    QString typeName() const override { return staticTypeName(); }

    /// Takes the first container child as the content, once.
    void loadFinished() override;
    /// Sizes the content by its layout inside the viewport, lays out its
    /// controls and brings the scroll range up to date.
    void layoutContent();

signals:
    /// Every scroll movement, in pixels: positive when the content moves
    /// right or down.
    void scrollPosChanged(int dx, int dy);

protected:
    bool loadControlKeys(const Json::Value &element) override;
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void settleScrollRange();
};

} // namespace OrvQtLib
