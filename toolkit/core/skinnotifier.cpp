#include "skinnotifier.h"

#include "controlbase.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

namespace OrvQtLib {

OrvQSkinNotifier *skinNotifier()
{
    static QPointer<OrvQSkinNotifier> notifier;
    if (!notifier && QCoreApplication::instance())
        notifier = new OrvQSkinNotifier(QCoreApplication::instance());
    return notifier;
}

namespace Internal {

void restyleAllControls()
{
    // Guarded: nothing restyling does should delete a widget, but a host's
    // event filter might.
    QList<QPointer<QWidget>> widgets;
    const QWidgetList all = QApplication::allWidgets();
    widgets.reserve(all.size());
    for (QWidget *widget : all)
        widgets.append(widget);
    for (const QPointer<QWidget> &widget : widgets) {
        IOrvQControlBase *control = widget ? controlInterface(widget) : nullptr;
        if (control && control->impl())
            control->impl()->restyle();
    }
    for (QWidget *window : QApplication::topLevelWidgets())
        window->update();
}

} // namespace Internal

} // namespace OrvQtLib
