// A settings dialog a host program builds from a description: it finds the
// controls by name and type, binds them through their properties and
// signals, fills a template list from a model and switches a property from
// code. `--quit-after-load` checks the bindings and exits, for a headless run.

#include "orvqtlib.h"

#include <QApplication>
#include <QStandardItemModel>

using namespace OrvQtLib;

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    initialize();
    // A skin package is optional: without one the controls keep their
    // built-in look.
    for (const QString &argument : app.arguments().mid(1)) {
        if (argument.endsWith(QLatin1String(".data")))
            loadSkinPackage(argument);
    }

    OrvQWindow window;
    if (!loadWindowLayout(&window, QCoreApplication::applicationDirPath() + QLatin1String("/settings.json")))
        return 1;
    auto *pages = findControl<OrvQTabWidget>(&window, QStringLiteral("pages"));
    auto *sound = findControl<OrvQSwitch>(&window, QStringLiteral("sound"));
    auto *soundState = findControl<OrvQLabel>(&window, QStringLiteral("soundState"));
    auto *lockPosition = findControl<OrvQCheckBox>(&window, QStringLiteral("lockPosition"));
    auto *alarms = findControl<OrvQListView>(&window, QStringLiteral("alarms"));
    if (!pages || !sound || !soundState || !lockPosition || !alarms)
        return 1; // findControl has said what it found instead

    // Bindings: each follows a NOTIFY signal, so it runs once per change.
    const auto showSound = [soundState](bool on) {
        soundState->setText(on ? QStringLiteral("Alarms sound") : QStringLiteral("Alarms are silent"));
    };
    showSound(sound->isOn());
    QObject::connect(sound, &OrvQSwitch::toggled, soundState, showSound);
    QObject::connect(lockPosition, &QCheckBox::toggled, &window, [&window](bool locked) {
        window.setProperty("draggable", !locked);
    });
    pages->addItem(QString(), QStringLiteral("General"));
    pages->addItem(QString(), QStringLiteral("Alarms"));
    QObject::connect(pages, &OrvQTabWidget::currentIndexChanged, alarms,
                     [alarms](int index) { alarms->setVisible(index == 1); });
    alarms->setVisible(pages->currentIndex() == 1);

    // The list paints each row with its template; the fill hook puts the
    // row's data into the template's labels.
    QStandardItemModel model;
    const QList<QPair<QString, QString>> limits = {
        {QStringLiteral("Heart rate high"), QStringLiteral("120 bpm")},
        {QStringLiteral("Heart rate low"), QStringLiteral("50 bpm")},
        {QStringLiteral("SpO2 low"), QStringLiteral("90 %")},
    };
    for (const auto &limit : limits) {
        auto *item = new QStandardItem(limit.first);
        item->setData(limit.second, Qt::UserRole);
        model.appendRow(item);
    }
    alarms->setModel(&model);
    alarms->setItemFillHook([](OrvQListView *, QWidget *row, const QModelIndex &index) {
        if (auto *name = findControl<OrvQLabel>(row, QStringLiteral("alarmName")))
            name->setText(index.data().toString());
        if (auto *limit = findControl<OrvQLabel>(row, QStringLiteral("alarmLimit")))
            limit->setText(index.data(Qt::UserRole).toString());
    });

    // Switched from code, by property name as a binding layer would.
    sound->setProperty("on", false);
    pages->setCurrentIndex(1);
    lockPosition->setChecked(true);

    window.show();
    if (!app.arguments().contains(QLatin1String("--quit-after-load")))
        return app.exec();

    window.grab(); // paints the list, which fills its rows
    const bool bound = soundState->text() == QLatin1String("Alarms are silent") && alarms->isVisible()
                    && !window.isDraggable() && alarms->templateDelegate()->fillCount() > 0;
    return bound ? 0 : 1;
}
