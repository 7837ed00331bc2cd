#pragma once

#include "controlbase.h"

#include <QPointer>

#include <memory>
#include <utility>

class QEvent;
class QMouseEvent;
class QPaintEvent;

namespace OrvQtLib {

// The widget half of a control: a Qt widget class with IOrvQControlBase on
// top, owning its implementation object and forwarding events to it.
//
// A concrete control derives from OrvQControl<QtWidget, ItsImpl>, adds
// Q_OBJECT and Q_INTERFACES(OrvQtLib::IOrvQControlBase), answers typeName()
// and, when it has keys of its own, overrides loadControlKeys().
template <class QtBase, class Impl = OrvQControlBaseImpl>
class OrvQControl : public QtBase, public IOrvQControlBase
{
public:
    template <class... Args>
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
    // The control's own keys. The default reads the attribute table only.
    virtual bool loadControlKeys(const Json::Value &element) { return m_impl->loadAttributes(element); }

    // Each handler runs the Qt base first. The base may run a slot that
    // deletes this widget (a clicked handler closing its window), so the Impl
    // is reached only while the widget still lives.
    void enterEvent(QEvent *event) override
    {
        QPointer<QObject> alive(this);
        QtBase::enterEvent(event);
        if (alive && m_impl)
            m_impl->mouseEnter(event);
    }
    void leaveEvent(QEvent *event) override
    {
        QPointer<QObject> alive(this);
        QtBase::leaveEvent(event);
        if (alive && m_impl)
            m_impl->mouseLeave(event);
    }
    void mousePressEvent(QMouseEvent *event) override
    {
        QPointer<QObject> alive(this);
        QtBase::mousePressEvent(event);
        if (alive && m_impl)
            m_impl->mousePress(event);
    }
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        QPointer<QObject> alive(this);
        QtBase::mouseReleaseEvent(event);
        if (alive && m_impl)
            m_impl->mouseRelease(event);
    }
    void mouseMoveEvent(QMouseEvent *event) override
    {
        QPointer<QObject> alive(this);
        QtBase::mouseMoveEvent(event);
        if (alive && m_impl)
            m_impl->mouseMove(event);
    }
    void mouseDoubleClickEvent(QMouseEvent *event) override
    {
        QPointer<QObject> alive(this);
        QtBase::mouseDoubleClickEvent(event);
        if (alive && m_impl)
            m_impl->mouseDoubleClick(event);
    }
    // Painting belongs to the Impl alone; the Qt base does not paint.
    void paintEvent(QPaintEvent *event) override
    {
        if (m_impl)
            m_impl->paint(this, event);
    }

    OrvQControlBase m_base;
    std::unique_ptr<Impl> m_impl;
};

} // namespace OrvQtLib
