#pragma once

/// The few places where Qt 5 and Qt 6 differ in a signature or a home; the
/// rest of the toolkit is written in the API both share.

#include <QtGlobal>
#include <QEvent>
#include <QMouseEvent>
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
#include <QEnterEvent>
#endif

namespace OrvQtLib {

/// QWidget::enterEvent() takes a QEnterEvent from Qt 6 on.
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
using QtEnterEvent = QEnterEvent;
#else
using QtEnterEvent = QEvent;
#endif

/// Where a mouse event happened on the screens, in whole pixels.
inline QPoint globalPointOf(const QMouseEvent *event)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return event->globalPosition().toPoint();
#else
    return event->globalPos();
#endif
}

/// `event` as if it happened at `local` in its widget, the same elsewhere.
inline QMouseEvent mouseEventAt(const QMouseEvent *event, const QPointF &local)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return QMouseEvent(event->type(), local, event->scenePosition(), event->globalPosition(), event->button(),
                       event->buttons(), event->modifiers(), event->pointingDevice());
#else
    return QMouseEvent(event->type(), local, event->windowPos(), event->screenPos(), event->button(),
                       event->buttons(), event->modifiers(), event->source());
#endif
}

} // namespace OrvQtLib
