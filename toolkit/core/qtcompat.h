#pragma once

// The few places where Qt 5 and Qt 6 differ in a signature or a home; the
// rest of the toolkit is written in the API both share.

#include <QtGlobal>
#include <QEvent>
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
#include <QEnterEvent>
#endif

namespace OrvQtLib {

// QWidget::enterEvent() takes a QEnterEvent from Qt 6 on.
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
using QtEnterEvent = QEnterEvent;
#else
using QtEnterEvent = QEvent;
#endif

} // namespace OrvQtLib
