#include "tabbar.h"

#include "controlregistry.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace OrvQtLib {

OrvQTabWidgetImpl::OrvQTabWidgetImpl(QWidget *widget)
    : OrvQControlBaseImpl(widget)
{
}

OrvQTabWidgetImpl::~OrvQTabWidgetImpl() = default;

const OrvQStyleSlotTable<OrvQTabWidgetImpl> &OrvQTabWidgetImpl::styleSlots()
{
    using Slot = OrvQStyleSlot<OrvQTabWidgetImpl>;
    using Impl = OrvQTabWidgetImpl;
    static const OrvQStyleSlotTable<OrvQTabWidgetImpl> table{
        Slot::rectSlot(0, &Impl::m_backgroundStyle, "background behind the items"),
        Slot::rectStates(1, &Impl::m_itemStyles, -1, "item"),
        Slot::rectStates(2, &Impl::m_itemStyles, StateHover, "item under the pointer"),
        Slot::rectStates(3, &Impl::m_itemStyles, StatePressed, "current item"),
        Slot::rectStates(4, &Impl::m_itemStyles, StateDisabled, "kept, never drawn"),
        Slot::fontStates(5, &Impl::m_itemFonts, -1, "item text"),
        Slot::fontStates(6, &Impl::m_itemFonts, StateHover, "text of the item under the pointer"),
        Slot::fontStates(7, &Impl::m_itemFonts, StatePressed, "text of the current item"),
        Slot::fontStates(8, &Impl::m_itemFonts, StateDisabled, "kept, never drawn"),
    };
    return table;
}

const OrvQKeyTable<OrvQTabWidgetImpl> &OrvQTabWidgetImpl::attrKeys()
{
    using Key = OrvQKey<OrvQTabWidgetImpl>;
    using Impl = OrvQTabWidgetImpl;
    static const OrvQKeyTable<OrvQTabWidgetImpl> keys{
        Key::number("itemSize", &Impl::m_itemSize, std::nullopt, 0, QWIDGETSIZE_MAX,
                    "width of an item (height when vertical)"),
        // Every "attr" without "isHor" sets the bar back to left to right.
        Key::custom({"isHor", OrvQKeyType::Bool, true, INT_MIN, INT_MAX,
                     "true: items left to right; false: top to bottom"},
                    [](Impl &impl, const QVariant &hor) { impl.m_vertical = !hor.toBool(); }),
        Key::number("itemSpace", &Impl::m_itemSpace, std::nullopt, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX,
                    "pixels between items"),
        Key::custom({"showText", OrvQKeyType::Int, {}, INT_MIN, INT_MAX, "non-zero: draw the item texts"},
                    [](Impl &impl, const QVariant &show) { impl.m_showText = show.toInt() != 0; }),
        Key::custom({"hasIcon", OrvQKeyType::Int, {}, INT_MIN, INT_MAX, "non-zero: items have icons (not drawn)"},
                    [](Impl &impl, const QVariant &has) { impl.m_hasIcon = has.toInt() != 0; }),
    };
    return keys;
}

bool OrvQTabWidgetImpl::load(const Json::Value &element)
{
    if (!loadAttributes(element))
        return false;
    applyStyleSlots(element, styleSlots(), *this);
    applyAttrKeys(element, attrKeys(), *this);
    return true;
}

void OrvQTabWidgetImpl::loadFinished()
{
    if (!isPreviewMode())
        return;
    for (const char *text : {"item1", "item2", "item3"})
        addItem(QString(), QString::fromLatin1(text));
}

QRect OrvQTabWidgetImpl::itemRect(int index) const
{
    // Size and space are clamped when read; the product is not, so it is
    // taken in 64 bits and held to widget coordinates.
    const qint64 offset = qint64(index) * (qint64(m_itemSize) + m_itemSpace);
    const int at = int(std::clamp<qint64>(offset, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    if (m_vertical)
        return QRect(0, at, m_widget->width(), m_itemSize);
    return QRect(at, 0, m_itemSize, m_widget->height());
}

int OrvQTabWidgetImpl::itemAt(const QPoint &pos) const
{
    return firstItemAt(count(), [this](int i) { return itemRect(i); }, pos);
}

void OrvQTabWidgetImpl::draw(QPainter *painter, const QRect &rect)
{
    drawBackground(painter, m_backgroundStyle, rect);
    for (int i = 0; i < count(); ++i) {
        const QRect cell = itemRect(i);
        if (!cell.intersects(rect))
            continue;
        const int look = i == m_current ? StatePressed : i == m_hover.index() ? StateHover : StateNormal;
        drawBackground(painter, m_itemStyles[look], cell);
        if (m_showText)
            drawStyledText(painter, m_items[size_t(i)].text, m_itemFonts[look], cell.x(), cell.y(), cell.width(),
                           cell.height(), true);
    }
}

int OrvQTabWidgetImpl::pressAt(const QPoint &pos)
{
    const int hit = itemAt(pos);
    if (hit >= 0) {
        m_current = hit;
        m_widget->update();
    }
    return hit;
}

void OrvQTabWidgetImpl::pointerAt(const QPoint &pos)
{
    m_hover.pointerAt(itemAt(pos), m_widget);
}

void OrvQTabWidgetImpl::pointerLeft()
{
    m_hover.pointerLeft(m_widget);
}

void OrvQTabWidgetImpl::addItem(const QString &iconName, const QString &text)
{
    m_items.push_back({iconName, text});
    m_widget->update();
}

bool OrvQTabWidgetImpl::setCurrentIndex(int index)
{
    if (index < -1 || index >= count())
        return false;
    m_current = index;
    m_widget->update();
    return true;
}

OrvQTabWidget::OrvQTabWidget(QWidget *parent)
    : OrvQControl(parent)
{
    setAttribute(Qt::WA_MouseTracking);
}

OrvQTabWidget::~OrvQTabWidget() = default;

void OrvQTabWidget::addItem(const QString &iconName, const QString &text)
{
    m_impl->addItem(iconName, text);
    emit countChanged(count());
}

int OrvQTabWidget::count() const
{
    return m_impl->count();
}

int OrvQTabWidget::currentIndex() const
{
    return m_impl->currentIndex();
}

bool OrvQTabWidget::setCurrentIndex(int index)
{
    const int before = currentIndex();
    if (!m_impl->setCurrentIndex(index))
        return false;
    if (index != before)
        emit currentIndexChanged(index);
    return true;
}

bool OrvQTabWidget::loadControlKeys(const Json::Value &element)
{
    return m_impl->load(element);
}

void OrvQTabWidget::mousePressEvent(QMouseEvent *event)
{
    // The repaint is asked for before the signal: a slot may delete the bar,
    // so nothing is touched after it.
    const int before = currentIndex();
    const int hit = m_impl->pressAt(event->pos());
    if (hit < 0)
        return;
    if (hit != before && !survives(this, [&] { emit currentIndexChanged(hit); }))
        return;
    emit currentChanged(hit);
}

void OrvQTabWidget::mouseMoveEvent(QMouseEvent *event)
{
    m_impl->pointerAt(event->pos());
}

void OrvQTabWidget::leaveEvent(QEvent *)
{
    m_impl->pointerLeft();
}

} // namespace OrvQtLib
