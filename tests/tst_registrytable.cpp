#include "orvqtlib.h"

#include <QSlider>
#include <QTest>

#include <memory>
#include <set>

using namespace OrvQtLib;

namespace {

struct Row {
    const char *name;
    const char *className;
    const char *typeName;
    bool exposed;
};

// Every built-in registration, in the order made; names repeat where an
// alias is registered twice.
const Row Table[] = {
    {"qtcontainer", "OrvQContainer", "qtcontainer", true},
    {"qtpicture", "OrvQImage", "qtpicture", true},
    {"qtbutton", "OrvQPushButton", "qtbutton", true},
    {"qtmenubar", "OrvQMenuBar", "qtmenubar", true},
    {"qtlabel", "OrvQLabel", "qtlabel", true},
    {"qtcheckbox", "OrvQCheckBox", "qtcheckbox", true},
    {"qtlabel", "OrvQLabel", "qtlabel", true},
    {"qtlistview", "OrvQListView", "qtlistview", false},
    {"qtprogressbar", "OrvQProgressBar", "qtprogressbar", true},
    {"qtradiobox", "OrvQRadioButton", "qtradiobox", true},
    {"qtslider", "OrvQSlider", "qtslider", true},
    {"qttab", "OrvQTabWidget", "qttab", true},
    {"qtdedit", "OrvQLineEdit", "qtdedit", true},
    {"qtcombobox", "OrvQComboBox", "qtcombobox", true},
    {"qtlist", "OrvQList", "qtlist", true},
    {"qttree", "OrvQTreeView", "qttree", true},
    {"qtdatagrid", "OrvQTableView", "qtdatagrid", true},
    {"qtgroupbox", "OrvQGroupBox", "qtgroupbox", true},
    {"qtspinbox", "OrvQSpinBox", "qtspinbox", true},
    {"qtlcdnumber", "OrvQLCDNumber", "qtlcdnumber", true},
    {"qtsplitter", "OrvQSplitter", "qtsplitter", true},
    {"qtswitch", "OrvQSwitch", "qtswitch", true},
    {"qtscrollview", "OrvQScrollView", "qtscrollview", true},
    {"qtscrollbar", "OrvQScrollBar", "qtscrollbar", true},
    {"qttext", "OrvQTextEdit", "qttext", true},
    {"qtlabelex", "OrvQLabelEx", "qtlabelex", true},
    {"container", "OrvQContainer", "qtcontainer", true},
    {"scrollview", "OrvQScrollView", "qtscrollview", true},
    {"picture", "OrvQImage", "qtpicture", true},
    {"image", "OrvQImage", "qtpicture", true},
    {"button", "OrvQPushButton", "qtbutton", true},
    {"menubar", "OrvQMenuBar", "qtmenubar", true},
    {"label", "OrvQLabel", "qtlabel", true},
    {"checkbox", "OrvQCheckBox", "qtcheckbox", true},
    {"label", "OrvQLabel", "qtlabel", true},
    {"listview", "OrvQListView", "qtlistview", false},
    {"progressbar", "OrvQProgressBar", "qtprogressbar", true},
    {"radio", "OrvQRadioButton", "qtradiobox", true},
    {"radiobox", "OrvQRadioButton", "qtradiobox", true},
    {"slider", "OrvQSlider", "qtslider", true},
    {"tab", "OrvQTabWidget", "qttab", true},
    {"dedit", "OrvQLineEdit", "qtdedit", true},
    {"combobox", "OrvQComboBox", "qtcombobox", true},
    {"templateList", "OrvQListView", "qtlistview", true},
    {"list", "OrvQList", "qtlist", true},
    {"tree", "OrvQTreeView", "qttree", true},
    {"datagrid", "OrvQTableView", "qtdatagrid", true},
    {"groupbox", "OrvQGroupBox", "qtgroupbox", true},
    {"spinbox", "OrvQSpinBox", "qtspinbox", true},
    {"dnumedit", "OrvQSpinBox", "qtspinbox", true},
    {"canvas", "OrvQCanvas", "canvas", true},
    {"splitter", "OrvQSplitter", "qtsplitter", true},
    {"switch", "OrvQSwitch", "qtswitch", true},
};

} // namespace

class TestRegistryTable : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyRow_data();
    void everyRow();
    void distinctNames();
};

void TestRegistryTable::initTestCase()
{
    initialize();
}

void TestRegistryTable::everyRow_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("className");
    QTest::addColumn<QString>("typeName");
    QTest::addColumn<bool>("exposed");
    int number = 0;
    for (const Row &row : Table) {
        ++number;
        QTest::addRow("%d %s", number, row.name) << QByteArray(row.name)
                                                 << QByteArray("OrvQtLib::") + row.className
                                                 << QString::fromLatin1(row.typeName) << row.exposed;
    }
}

void TestRegistryTable::everyRow()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, className);
    QFETCH(QString, typeName);
    QFETCH(bool, exposed);

    QWidget parent;
    QWidget *widget = createControl(name.constData(), Json::Value(Json::objectValue), &parent);
    QVERIFY(widget);
    QCOMPARE(QByteArray(widget->metaObject()->className()), className);
    QCOMPARE(widget->parentWidget(), &parent);
    IOrvQControlBase *control = controlInterface(widget);
    QVERIFY(control);
    QCOMPARE(control->typeName(), typeName);
    QVERIFY(control->impl());
    QCOMPARE(exposedTypes().count(name.toStdString()), size_t(exposed ? 1 : 0));
    if (auto *slider = qobject_cast<QSlider *>(widget))
        QCOMPARE(slider->orientation(), Qt::Horizontal);
}

void TestRegistryTable::distinctNames()
{
    std::set<std::string> expected;
    for (const Row &row : Table)
        expected.insert(row.name);
    QCOMPARE(expected.size(), size_t(51));
    const std::vector<std::string> registered = registeredTypes();
    QCOMPARE(std::set<std::string>(registered.begin(), registered.end()), expected);
}

QTEST_MAIN(TestRegistryTable)
#include "tst_registrytable.moc"
