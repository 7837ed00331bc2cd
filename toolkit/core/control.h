#pragma once

#include "controlbase.h"
#include "controlkeys.h"
#include "qtcompat.h"

#include <QPointer>

#include <memory>
#include <type_traits>
#include <utility>

class QEvent;
class QMouseEvent;
class QPaintEvent;

namespace OrvQtLib {

/// Where one Qt event handler of a control goes: to the Qt base handler, to
/// the Impl, to both in either order, or nowhere (the event stays accepted).
enum class OrvQRoute : quint8 {
    Nothing,
    BaseOnly,
    ImplOnly,
    BaseThenImpl,
    ImplThenBase,
};

/// The routes of a control's six mouse handlers and its paint handler. For
/// painting, the Impl's part is its paint() and the base's is the Qt widget's
/// own painting.
struct OrvQEventRoutes {
    OrvQRoute enter = OrvQRoute::BaseThenImpl; ///<< pointer enters
    OrvQRoute leave = OrvQRoute::BaseThenImpl; ///<< pointer leaves
    OrvQRoute press = OrvQRoute::BaseThenImpl; ///<< mouse press
    OrvQRoute release = OrvQRoute::BaseThenImpl; ///<< mouse release
    OrvQRoute move = OrvQRoute::BaseThenImpl; ///<< mouse move
    OrvQRoute doubleClick = OrvQRoute::BaseThenImpl; ///<< double click
    OrvQRoute paint = OrvQRoute::ImplOnly; ///<< paint event

    /// Chained from the defaults, e.g.
    ///   constexpr OrvQEventRoutes routes = OrvQEventRoutes().mouse(OrvQRoute::ImplOnly);
    constexpr OrvQEventRoutes mouse(OrvQRoute route) const
    {
        OrvQEventRoutes r = *this;
        r.enter = r.leave = r.press = r.release = r.move = r.doubleClick = route;
        return r;
    }
    /// These routes with another for entering.
    constexpr OrvQEventRoutes withEnter(OrvQRoute route) const { return with(&OrvQEventRoutes::enter, route); }
    /// These routes with another for leaving.
    constexpr OrvQEventRoutes withLeave(OrvQRoute route) const { return with(&OrvQEventRoutes::leave, route); }
    /// These routes with another for presses.
    constexpr OrvQEventRoutes withPress(OrvQRoute route) const { return with(&OrvQEventRoutes::press, route); }
    /// These routes with another for releases.
    constexpr OrvQEventRoutes withRelease(OrvQRoute route) const { return with(&OrvQEventRoutes::release, route); }
    /// These routes with another for moves.
    constexpr OrvQEventRoutes withMove(OrvQRoute route) const { return with(&OrvQEventRoutes::move, route); }
    /// These routes with another for double clicks.
    constexpr OrvQEventRoutes withDoubleClick(OrvQRoute route) const
    {
        return with(&OrvQEventRoutes::doubleClick, route);
    }
    /// These routes with another for painting.
    constexpr OrvQEventRoutes withPaint(OrvQRoute route) const { return with(&OrvQEventRoutes::paint, route); }

private:
    constexpr OrvQEventRoutes with(OrvQRoute OrvQEventRoutes::*handler, OrvQRoute route) const
    {
        OrvQEventRoutes r = *this;
        r.*handler = route;
        return r;
    }
};

/// Every mouse handler runs the Qt base and then the Impl; painting is the Impl's.
inline constexpr OrvQEventRoutes DefaultEventRoutes{};
/// A control that only paints: the mouse reaches the Qt base alone, so
/// presses pass on to the parent and cost no repaint.
inline constexpr OrvQEventRoutes PaintOnlyEventRoutes = OrvQEventRoutes().mouse(OrvQRoute::BaseOnly);

/// The widget half of a control: a Qt widget class with IOrvQControlBase on
/// top, owning its implementation object and routing events to it.
///
/// A concrete control derives from OrvQControl<QtWidget, ItsImpl[, Routes]>,
/// adds Q_OBJECT and Q_INTERFACES(OrvQtLib::IOrvQControlBase), answers
/// typeName() and, when it has keys of its own, overrides loadControlKeys().
/// A handler that does more than its route overrides the Qt handler, calls
/// the template's and then does its part under survives().
template <class QtBase, class Impl = OrvQControlBaseImpl, const OrvQEventRoutes &Routes = DefaultEventRoutes>
class OrvQControl : public QtBase, public IOrvQControlBase
{
public:
    /// Constructs the Qt widget with `args` (its parent last, as Qt's own
    /// constructors take it) and the implementation object, which the control owns.
    /// Only what constructs the Qt base: Qt 6 asks whether a control can be
    /// moved, and an unconstrained template would say it can.
    template <class... Args, class = std::enable_if_t<std::is_constructible_v<QtBase, Args &&...>>>
    explicit OrvQControl(Args &&...args)
        : QtBase(std::forward<Args>(args)...)
        , m_base(this)
        , m_impl(std::make_unique<Impl>(this))
    {
    }

    ~OrvQControl() override
    {
        // The Impl goes before the Qt base, while the widget it points at is
        // still whole.
        m_impl.reset();
    }

    /// The keys and style slots the control reads, from the Impl's tables.
    static OrvQControlSchema schema() { return schemaOf<Impl>(); }

    OrvQControlBase *controlBase() override { return &m_base; }

    bool loadFromJson(const Json::Value &element) override
    {
        if (!m_impl)
            return false;
        m_base.loadCommonAttributes(element);
        return loadControlKeys(element);
    }

    void setFillLayout(int left, int top, int right, int bottom) override
    {
        m_base.setFillLayout(left, top, right, bottom);
    }
    void setManagedLayout(int p1, int p2, int p3, int p4, int p5, int p6) override
    {
        m_base.setManagedLayout(p1, p2, p3, p4, p5, p6);
    }
    void setFixedLayout(int x, int y, int w, int h) override { m_base.setFixedLayout(x, y, w, h); }
    void setAnchorLayout(const OrvQLayoutParams &params) override { m_base.setAnchorLayout(params); }
    OrvQLayoutParams *layoutData() override { return m_base.layoutData(); }
    int layoutType() const override { return m_base.layoutType(); }
    Impl *impl() const override { return m_impl.get(); }

    void loadFinished() override
    {
        if (m_impl)
            m_impl->loadFinished();
    }

protected:
    /// The control's own keys. The default reads the attribute table only.
    virtual bool loadControlKeys(const Json::Value &element) { return m_impl->loadAttributes(element); }

    void enterEvent(QtEnterEvent *event) override
    {
        route(Routes.enter, [&] { QtBase::enterEvent(event); }, [&] { m_impl->mouseEnter(event); });
    }
    void leaveEvent(QEvent *event) override
    {
        route(Routes.leave, [&] { QtBase::leaveEvent(event); }, [&] { m_impl->mouseLeave(event); });
    }
    void mousePressEvent(QMouseEvent *event) override
    {
        route(Routes.press, [&] { QtBase::mousePressEvent(event); }, [&] { m_impl->mousePress(event); });
    }
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        route(Routes.release, [&] { QtBase::mouseReleaseEvent(event); }, [&] { m_impl->mouseRelease(event); });
    }
    void mouseMoveEvent(QMouseEvent *event) override
    {
        route(Routes.move, [&] { QtBase::mouseMoveEvent(event); }, [&] { m_impl->mouseMove(event); });
    }
    void mouseDoubleClickEvent(QMouseEvent *event) override
    {
        route(Routes.doubleClick, [&] { QtBase::mouseDoubleClickEvent(event); },
              [&] { m_impl->mouseDoubleClick(event); });
    }
    void paintEvent(QPaintEvent *event) override
    {
        route(Routes.paint, [&] { QtBase::paintEvent(event); }, [&] { m_impl->paint(this, event); });
    }

    OrvQControlBase m_base;
    std::unique_ptr<Impl> m_impl;

private:
    /// Either side may delete this widget (a clicked handler closing its
    /// window), so the other side runs only if the widget survived.
    template <class Base, class ToImpl>
    void route(OrvQRoute route, Base &&base, ToImpl &&toImpl)
    {
        switch (route) {
        case OrvQRoute::Nothing:
            break;
        case OrvQRoute::BaseOnly:
            base();
            break;
        case OrvQRoute::ImplOnly:
            if (m_impl)
                toImpl();
            break;
        case OrvQRoute::BaseThenImpl:
            if (survives(this, base) && m_impl)
                toImpl();
            break;
        case OrvQRoute::ImplThenBase:
            if (!m_impl || survives(this, toImpl))
                base();
            break;
        }
    }
};

} // namespace OrvQtLib
