#pragma once

#include <QObject>

namespace OrvQtLib {

/// Tells host code that the skin was switched, after every control has been
/// restyled: what the host paints itself from the skin can follow.
class OrvQSkinNotifier : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

signals:
    /// replaceSkinPackage() switched the skin and restyled the controls.
    void skinChanged();
};

/// The one notifier of the process, made on first use and owned by the
/// application object. Null before a QCoreApplication exists.
OrvQSkinNotifier *skinNotifier();

namespace Internal {
/// Restyles every control of every window, then repaints the windows.
void restyleAllControls();
} // namespace Internal

} // namespace OrvQtLib
