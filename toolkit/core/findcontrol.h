#pragma once

#include <QString>
#include <QWidget>

namespace OrvQtLib {

namespace Internal {
/// Says on orvqtlib.skin why findControl() found nothing: no object of that
/// name under `root`, or one of another class than `wanted`.
void warnControlNotFound(const QWidget *root, const QString &name, const char *wanted);
} // namespace Internal

/// \brief The control named \a name under \a root, as a \a T.
///
/// Searches \a root's descendants (not \a root itself) for an object whose
/// objectName() is \a name and that is a \a T, as QObject::findChild() does.
/// Returns null when there is none, or when \a root is null, and then logs
/// one warning on the \c orvqtlib.skin category that names what was found
/// instead: an object of another class, or nothing of that name. The result
/// belongs to its parent; the caller does not own it.
///
/// \code
/// auto *sound = OrvQtLib::findControl<OrvQtLib::OrvQSwitch>(&window, "sound");
/// \endcode
template <class T>
T *findControl(QWidget *root, const QString &name)
{
    if (root) {
        if (T *control = root->findChild<T *>(name))
            return control;
    }
    Internal::warnControlNotFound(root, name, T::staticMetaObject.className());
    return nullptr;
}

} // namespace OrvQtLib
