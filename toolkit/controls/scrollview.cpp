#include "scrollview.h"

#include "container.h"

#include <QScrollBar>

#include <climits>

namespace OrvQtLib {

OrvQScrollViewImpl::OrvQScrollViewImpl(QWidget *widget)
    : OrvQControlBaseImpl(widget)
{
}

OrvQScrollViewImpl::~OrvQScrollViewImpl() = default;

const OrvQStyleSlotTable<OrvQScrollViewImpl> &OrvQScrollViewImpl::styleSlots()
{
    using Slot = OrvQStyleSlot<OrvQScrollViewImpl>;
    static const OrvQStyleSlotTable<OrvQScrollViewImpl> table{
        Slot::rectSlots(0, INT_MAX, &OrvQScrollViewImpl::m_background, "background"),
    };
    return table;
}

bool OrvQScrollViewImpl::load(const Json::Value &element)
{
    const bool loaded = loadAttributes(element);
    applyStyleSlots(element, styleSlots(), *this);
    return loaded;
}

void OrvQScrollViewImpl::draw(QPainter *painter, const QRect &rect)
{
    drawBackground(painter, m_background, rect);
}

QWidget *OrvQScrollViewImpl::content() const
{
    const auto *area = qobject_cast<const QScrollArea *>(m_widget);
    return area ? area->widget() : nullptr;
}

OrvQScrollView::OrvQScrollView(QWidget *parent)
    : OrvQScrollAreaControl(parent)
{
}

OrvQScrollView::~OrvQScrollView() = default;

bool OrvQScrollView::loadControlKeys(const Json::Value &element)
{
    const bool loaded = m_impl->load(element);
    m_skin.applyScrollBarElements(element);
    return loaded;
}

void OrvQScrollView::loadFinished()
{
    OrvQScrollAreaControl::loadFinished();
    if (widget())
        return;
    // Found first and set after the walk: setWidget() moves the container
    // out of children(). Further containers stay where the description put
    // them, children of the view.
    OrvQContainer *content = nullptr;
    for (QObject *child : children()) {
        if ((content = qobject_cast<OrvQContainer *>(child)))
            break;
    }
    if (!content)
        return;
    // The view's own rectangle now rather than at the layout pass, so that
    // the viewport, and with it the range, is right before the view shows.
    m_base.applyOwnLayout();
    // QScrollArea fills its content with the palette; a container paints its
    // own style, and a see-through one shows the view's background.
    const bool autoFill = content->autoFillBackground();
    setWidget(content);
    content->setAutoFillBackground(autoFill);
    layoutContent();
}

void OrvQScrollView::layoutContent()
{
    // In the viewport the loader's layout pass no longer reaches the content.
    IOrvQControlBase *control = controlInterface(widget());
    OrvQControlBase *base = control ? control->controlBase() : nullptr;
    if (!base || !base->widget())
        return;
    base->applyOwnLayout();
    // Its controls follow its size only; its resize handler may have laid
    // them out for this size already.
    if (base->widget() && base->childLayoutSize() != base->widget()->size())
        base->applyLayout();
    settleScrollRange();
}

void OrvQScrollView::settleScrollRange()
{
    // Recomputes the range for the viewport as it is and puts the content
    // back at the scroll position, which its layout may have moved.
    setWidgetResizable(false);
    if (isVisible())
        return;
    // A hidden view gets no resize events, so Qt would lay the bars and the
    // viewport out only at show. Do it now: a range shows or hides a bar,
    // which changes the viewport and so the range.
    for (int pass = 0; pass < 3; ++pass) {
        const QSize before = viewport()->size();
        setViewportMargins(viewportMargins());
        if (viewport()->size() == before)
            break;
        setWidgetResizable(false);
    }
}

void OrvQScrollView::scrollContentsBy(int dx, int dy)
{
    if (survives(this, [&] { QScrollArea::scrollContentsBy(dx, dy); }))
        emit scrollPosChanged(dx, dy);
}

void OrvQScrollView::resizeEvent(QResizeEvent *event)
{
    if (survives(this, [&] { QScrollArea::resizeEvent(event); }))
        layoutContent();
}

} // namespace OrvQtLib
