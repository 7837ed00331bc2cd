#include "container.h"

#include "jsonreaders.h"

#include <QPainter>
#include <QResizeEvent>

#include <algorithm>
#include <limits>
#include <optional>

namespace OrvQtLib {

namespace {

int clampToInt(qint64 value)
{
    return int(std::clamp<qint64>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// Moves a child through its layout: anchored children take the position as
// their offsets, fixed ones as their rectangle's corner; other kinds keep
// their geometry.
void placeThroughLayout(IOrvQControlBase *control, std::optional<qint64> x, std::optional<qint64> y)
{
    OrvQLayoutParams *params = control->layoutData();
    if (!params)
        return;
    if (control->layoutType() == LayoutAnchor) {
        OrvQLayoutParams anchored = *params;
        if (x)
            anchored.p5 = clampToInt(*x);
        if (y)
            anchored.p6 = clampToInt(*y);
        control->setAnchorLayout(anchored);
    } else if (control->layoutType() == LayoutFixed) {
        if (x)
            params->p1 = clampToInt(*x);
        if (y)
            params->p2 = clampToInt(*y);
    }
}

} // namespace

// ---- OrvQContainerImpl -------------------------------------------------------

OrvQContainerImpl::OrvQContainerImpl(QWidget *widget)
    : OrvQControlBaseImpl(widget)
{
    m_normalStyle.color = QColor(128, 128, 128);
    m_disabledStyle = m_normalStyle;
}

OrvQContainerImpl::~OrvQContainerImpl() = default;

std::vector<OrvQTrap> OrvQContainerImpl::traps()
{
    return {{OrvQTrap::SlotEmpty, 0,
             "no style in slot 0: the container paints grey rgb(128, 128, 128); give it a style (\"empty\" paints "
             "nothing)"}};
}

const OrvQStyleSlotTable<OrvQContainerImpl> &OrvQContainerImpl::styleSlots()
{
    using Slot = OrvQStyleSlot<OrvQContainerImpl>;
    static const OrvQStyleSlotTable<OrvQContainerImpl> table{
        Slot::rectSlot(0, &OrvQContainerImpl::m_normalStyle, "background"),
        Slot::rectSlot(0, &OrvQContainerImpl::m_disabledStyle, "background"),
        Slot::rectSlot(1, &OrvQContainerImpl::m_disabledStyle, "background while disabled"),
    };
    return table;
}

const OrvQKeyTable<OrvQContainerImpl> &OrvQContainerImpl::attrKeys()
{
    using Key = OrvQKey<OrvQContainerImpl>;
    static const OrvQKeyTable<OrvQContainerImpl> keys{
        Key::custom({"childLayout", OrvQKeyType::Int, int(ChildNone), INT_MIN, INT_MAX,
                     "children in 0 a row, 1 a column, 2 wrapped rows, 3 wrapped columns; else where they are"},
                    [](OrvQContainerImpl &impl, const QVariant &value) {
                        const int mode = value.toInt();
                        impl.m_childLayout = mode >= ChildRow && mode <= ChildWrapColumns ? mode : ChildNone;
                    }),
        Key::number("space", &OrvQContainerImpl::m_space, 0, INT_MIN, INT_MAX, "gap between arranged children"),
    };
    return keys;
}

bool OrvQContainerImpl::load(const Json::Value &element)
{
    const bool loaded = loadAttributes(element);
    applyStyleSlots(element, styleSlots(), *this);
    applyAttrKeys(element, attrKeys(), *this);
    updateOpaque();
    return loaded;
}

void OrvQContainerImpl::draw(QPainter *painter, const QRect &rect)
{
    const bool enabled = m_widget && m_widget->isEnabled();
    drawBackground(painter, enabled ? m_normalStyle : m_disabledStyle, rect);
}

void OrvQContainerImpl::restyled()
{
    updateOpaque();
}

void OrvQContainerImpl::setNormalStyle(const OrvQRectStyle &style)
{
    m_normalStyle = style;
    updateOpaque();
}

void OrvQContainerImpl::updateOpaque()
{
    // Filled edge to edge in opaque colour, the container hides what lies
    // beneath it, and Qt skips painting that: a window's own background, or
    // a parent's fill under a bar.
    if (m_widget)
        m_widget->setAttribute(Qt::WA_OpaquePaintEvent, coversOpaquely(m_normalStyle) && coversOpaquely(m_disabledStyle));
}

bool OrvQContainerImpl::arrangeChildren()
{
    if (!m_widget || m_childLayout < ChildRow || m_childLayout > ChildWrapColumns)
        return false;

    // 64 bits: a hostile space value must not overflow the running position.
    const qint64 s = m_space;
    const qint64 W = m_widget->width();
    const qint64 H = m_widget->height();
    qint64 x = s;
    qint64 y = s;

    const QObjectList children = m_widget->children();
    for (QObject *object : children) {
        if (!object->isWidgetType())
            continue;
        const QWidget *child = static_cast<QWidget *>(object);
        IOrvQControlBase *control = controlInterface(object);
        const qint64 cw = child->width();
        const qint64 ch = child->height();

        switch (m_childLayout) {
        case ChildRow:
            if (!control)
                break;
            placeThroughLayout(control, x, std::nullopt);
            x += cw + s;
            break;
        case ChildColumn:
            if (!control)
                break;
            placeThroughLayout(control, std::nullopt, y);
            y += ch + s;
            break;
        case ChildWrapRows:
            if (cw + s + x > W) {
                x = s;
                y += ch + s;
            }
            if (!control)
                break;
            placeThroughLayout(control, x, y);
            x += cw + s;
            break;
        case ChildWrapColumns:
            if (ch + s + y > H) {
                y = s;
                x += cw + s;
            }
            if (!control)
                break;
            placeThroughLayout(control, x, y);
            y += ch + s;
            break;
        }
    }
    return true;
}

// ---- OrvQContainer -----------------------------------------------------------

OrvQContainer::OrvQContainer(QWidget *parent)
    : OrvQControl(parent)
{
    setMouseTracking(true);
}

OrvQContainer::~OrvQContainer() = default;

bool OrvQContainer::loadControlKeys(const Json::Value &element)
{
    return m_impl->load(element);
}

void OrvQContainer::updateLayout()
{
    m_base.applyLayout();
}

void OrvQContainer::setNormalStyle(const OrvQRectStyle &style)
{
    m_impl->setNormalStyle(style);
}

void OrvQContainer::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // Laying itself out may resize the container again; the run in progress
    // already works with the newest size.
    if (m_inResize || !m_impl)
        return;
    m_inResize = true;
    QPointer<QObject> alive(this);

    // A layout pass from an ancestor that set this size has laid the subtree
    // out for it already; doing it again would cost nodes times depth.
    if (m_base.childLayoutSize() != size())
        m_base.applyLayout();

    if (alive && m_impl->arrangeChildren() && parentWidget()) {
        // Arranging moves the children only, so their subtrees stay as they
        // are unless a child's size follows its new position.
        const QObjectList children = this->children();
        for (QObject *child : children) {
            IOrvQControlBase *control = controlInterface(child);
            OrvQControlBase *base = control ? control->controlBase() : nullptr;
            if (!base || !base->widget())
                continue;
            base->applyOwnLayout();
            if (base->widget() && base->childLayoutSize() != base->widget()->size())
                base->applyLayout();
        }
    }
    if (alive)
        m_inResize = false;
}

} // namespace OrvQtLib
