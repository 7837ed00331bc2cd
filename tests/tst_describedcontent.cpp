#include "orvqtlib.h"
#include "testsupport.h"

#include <QButtonGroup>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace OrvQtLib;
using namespace OrvQtLib::TestSupport;

namespace {

int menuDepth(const QList<QAction *> &actions)
{
    int deepest = 0;
    for (QAction *action : actions) {
        if (action->menu())
            deepest = qMax(deepest, 1 + menuDepth(action->menu()->actions()));
    }
    return deepest;
}

int rowDepth(const QAbstractItemModel *model, const QModelIndex &parent = {})
{
    return model->rowCount(parent) > 0 ? 1 + rowDepth(model, model->index(0, 0, parent)) : 0;
}

// What a control shows of its declared content, in a line.
QString contentOf(QWidget *widget)
{
    if (auto *tab = qobject_cast<OrvQTabWidget *>(widget)) {
        QStringList texts;
        for (int i = 0; i < qMin(3, tab->count()); ++i)
            texts << tab->impl()->item(i).text + tab->impl()->item(i).iconName;
        return QStringLiteral("%1 at %2: %3").arg(tab->count()).arg(tab->currentIndex()).arg(texts.join(','));
    }
    if (auto *combo = qobject_cast<QComboBox *>(widget))
        return QStringLiteral("%1 at %2: %3 data %4")
            .arg(combo->count()).arg(combo->currentIndex()).arg(combo->currentText(), combo->currentData().toString());
    if (auto *list = qobject_cast<QListWidget *>(widget))
        return QStringLiteral("%1: %2").arg(list->count()).arg(list->item(0)->text());
    if (auto *grid = qobject_cast<QTableView *>(widget)) {
        const QAbstractItemModel *model = grid->model();
        QStringList titles;
        for (int c = 0; model && c < model->columnCount(); ++c)
            titles << model->headerData(c, Qt::Horizontal).toString();
        return QStringLiteral("%1x%2: %3 %4").arg(model ? model->rowCount() : 0).arg(titles.size())
            .arg(titles.join(','), model ? model->index(0, 1).data().toString() : QString());
    }
    if (auto *tree = qobject_cast<QTreeView *>(widget))
        return QStringLiteral("%1 deep %2").arg(tree->model()->rowCount()).arg(rowDepth(tree->model()));
    if (auto *bar = qobject_cast<QMenuBar *>(widget)) {
        QStringList actions;
        for (QAction *action : bar->findChildren<QAction *>()) {
            if (!action->objectName().isEmpty())
                actions << action->objectName() + (action->isChecked() ? "*" : "") + action->shortcut().toString();
        }
        QStringList titles;
        for (QAction *action : bar->actions())
            titles << action->text();
        return QStringLiteral("%1 deep %2: %3")
            .arg(titles.mid(0, 3).join(',')).arg(menuDepth(bar->actions())).arg(actions.join(','));
    }
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        return button->isChecked() ? QStringLiteral("checked") : QStringLiteral("unchecked");
    if (auto *bar = qobject_cast<QProgressBar *>(widget))
        return QStringLiteral("%1..%2").arg(bar->minimum()).arg(bar->maximum());
    return QString();
}

QByteArray manyItems(int count)
{
    return "[" + QByteArray("\"item\",").repeated(count - 1) + "\"item\"]";
}

// A menu (or tree row) holding one inside the other, `depth` deep.
QByteArray nested(const QByteArray &open, int depth)
{
    return "[" + open.repeated(depth) + "\"leaf\"" + QByteArray("]}").repeated(depth) + "]";
}

} // namespace

class TestDescribedContent : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void keys_data();
    void keys();
    void groupsAcrossParents();
    void menusTakeTheBarsLooks();
};

void TestDescribedContent::initTestCase()
{
    initialize();
    QVERIFY(loadSkinPackage(QStringLiteral(ORV_TEST_DATA_DIR "/controls/controls.zip")));
}

void TestDescribedContent::keys_data()
{
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<QByteArray>("attr");
    QTest::addColumn<QString>("content");
    QTest::addColumn<int>("warnings");

    const QByteArray menus = R"({"menus": [{"title": "File", "items": [
        {"text": "Quit", "name": "quit", "shortcut": "Ctrl+Q"}, "-",
        {"title": "Sweep", "name": "sweepMenu", "items": [{"text": "25", "name": "fast", "checkable": true, "checked": true}]},
        {"text": "Plain", "name": "plain", "checked": true}]}, "Help"]})";

    QTest::newRow("tab items and current") << QByteArray("qttab") << QByteArray(R"({"items": ["A", {"text": "B", "icon": "b.png"}], "current": 1})") << "2 at 1: A,Bb.png" << 0;
    QTest::newRow("tab wrong types") << QByteArray("qttab") << QByteArray(R"({"items": "A", "current": "1"})") << "0 at 0: " << 0;
    QTest::newRow("tab entries skipped") << QByteArray("qttab") << QByteArray(R"({"items": ["A", 7, null, true]})") << "1 at 0: A" << 1;
    QTest::newRow("tab current beyond") << QByteArray("qttab") << QByteArray(R"({"items": ["A", "B"], "current": 5})") << "2 at 1: A,B" << 1;
    QTest::newRow("tab 100000 items") << QByteArray("qttab") << "{\"items\": " + manyItems(100000) + "}" << "10000 at 0: item,item,item" << 1;
    QTest::newRow("combo items, data, current") << QByteArray("qtcombobox") << QByteArray(R"({"items": ["X", {"text": "Y", "data": 42}], "current": 1})") << "2 at 1: Y data 42" << 0;
    QTest::newRow("combo current below") << QByteArray("qtcombobox") << QByteArray(R"({"items": ["X"], "current": -5})") << "1 at -1:  data " << 1;
    QTest::newRow("list items") << QByteArray("qtlist") << QByteArray(R"({"items": ["first", "second"]})") << "2: first" << 0;
    QTest::newRow("grid columns and rows") << QByteArray("qtdatagrid") << QByteArray(R"({"columns": ["Bed", "HR"], "rows": [["7", "72"], ["8", "88", "extra"]]})") << "2x3: Bed,HR,3 72" << 0;
    QTest::newRow("tree nested rows") << QByteArray("qttree") << QByteArray(R"({"rows": [{"text": "Ward", "child": [{"text": "Bed", "child": ["ECG"]}]}, "Desk"]})") << "2 deep 3" << 0;
    QTest::newRow("menus") << QByteArray("qtmenubar") << menus << "File,Help deep 2: quitCtrl+Q,sweepMenu,fast*,plain" << 0;
    QTest::newRow("menus nested too deep") << QByteArray("qtmenubar") << "{\"menus\": " + nested(R"({"title": "m", "items": [)", 60) + "}" << QString("m deep %1: ").arg(MaxItemDepth) << 1;
    QTest::newRow("check box checked") << QByteArray("qtcheckbox") << QByteArray(R"({"checked": true})") << "checked" << 0;
    QTest::newRow("progress range") << QByteArray("qtprogressbar") << QByteArray(R"({"min": 10, "max": 20})") << "10..20" << 0;
}

void TestDescribedContent::keys()
{
    QFETCH(QByteArray, type);
    QFETCH(QByteArray, attr);
    QFETCH(QString, content);
    QFETCH(int, warnings);

    QWidget window;
    QWidget *widget = createControl(type.constData(), parseJson("{\"type\": \"" + type + "\"}"), &window);
    QVERIFY(widget);
    // Declared states are set quietly: no slot of the host runs during a load.
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (const char *signal : {"currentIndexChanged(int)", "toggled(bool)", "currentChanged(int)"}) {
        if (widget->metaObject()->indexOfSignal(signal) >= 0)
            spies.push_back(std::make_unique<QSignalSpy>(widget, QByteArray("2") + signal));
    }
    SkinLogCapture log;
    controlInterface(widget)->loadFromJson(parseJson("{\"attr\": " + attr + "}"));

    QCOMPARE(contentOf(widget), content);
    QCOMPARE(int(log.lines.size()), warnings);
    for (const auto &spy : spies)
        QCOMPARE(spy->count(), 0);
}

void TestDescribedContent::groupsAcrossParents()
{
    const Json::Value root = parseJson(R"({"elements": [
        {"type": "qtcontainer", "child": [{"type": "qtradiobox", "name": "a", "attr": {"group": "g", "checked": true}},
                                          {"type": "qtradiobox", "name": "free", "attr": {"checked": true}}]},
        {"type": "qtcontainer", "child": [{"type": "qtradiobox", "name": "b", "attr": {"group": "g"}}]}]})");
    QWidget window;
    buildElements(root, &window);
    auto *a = window.findChild<QRadioButton *>("a");
    auto *b = window.findChild<QRadioButton *>("b");
    auto *free = window.findChild<QRadioButton *>("free");
    QVERIFY(a && b && free);
    QCOMPARE(window.findChildren<QButtonGroup *>().size(), 1);
    QCOMPARE(a->group(), window.findChild<QButtonGroup *>("g"));

    // b, under another parent, takes the check from a; the radio outside
    // the group keeps its own.
    sendMouse(b, QEvent::MouseButtonRelease, QPoint(1, 1));
    QVERIFY(b->isChecked());
    QVERIFY(!a->isChecked());
    QVERIFY(free->isChecked());
    // The checked radio of a group stays checked when clicked again.
    sendMouse(b, QEvent::MouseButtonRelease, QPoint(1, 1));
    QVERIFY(b->isChecked());

    // Another window's group of the same name is another group.
    QWidget other;
    buildElements(root, &other);
    QVERIFY(other.findChild<QRadioButton *>("b")->group() != b->group());
}

void TestDescribedContent::menusTakeTheBarsLooks()
{
    OrvQMenuBar bar;
    bar.loadFromJson(parseJson(R"({"style": [["red", 0, 6]], "attr": {"menus": [{"title": "File", "name": "file",
                                  "items": [{"text": "Open", "name": "open"}]}]}})"));
    QMenu *declared = bar.findChild<QMenu *>("file");
    QVERIFY(declared && bar.findChild<QAction *>("open"));
    QMenu *added = bar.addMenu(QStringLiteral("Host"));
    QMenu *submenu = added->addMenu(QStringLiteral("Sub"));
    for (QMenu *menu : {declared, added, submenu}) {
        menu->resize(120, 60);
        QCOMPARE(renderOf(*menu).pixel(2, 2), 0xffff0000u);
    }
}

QTEST_MAIN(TestDescribedContent)
#include "tst_describedcontent.moc"
