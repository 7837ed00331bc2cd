#include "orvqtlib.h"
#include "testsupport.h"

#include <QTest>

#include <memory>

using namespace OrvQtLib;
using namespace OrvQtLib::TestSupport;

namespace {

// How many sample items a control shows: rows of a view, items of a combo
// box or a tab bar.
int itemsOf(QWidget *control)
{
    if (auto *view = qobject_cast<QAbstractItemView *>(control))
        return view->model() ? view->model()->rowCount() : 0;
    if (auto *combo = qobject_cast<QComboBox *>(control))
        return combo->count();
    if (auto *tabs = qobject_cast<OrvQTabWidget *>(control))
        return tabs->count();
    return -1;
}

} // namespace

class TestPreviewItems : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initialize(); }
    void cleanup() { setPreviewMode(false); }
    void sampleItems_data();
    void sampleItems();
};

void TestPreviewItems::sampleItems_data()
{
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<int>("items");
    QTest::newRow("list") << QByteArray("list") << 20;
    QTest::newRow("data grid") << QByteArray("datagrid") << 100;
    QTest::newRow("tree") << QByteArray("tree") << 100;
    QTest::newRow("combo box") << QByteArray("combobox") << 3;
    QTest::newRow("tab bar") << QByteArray("tab") << 3;
}

// A layout tool sees sample items; an application never does.
void TestPreviewItems::sampleItems()
{
    QFETCH(QByteArray, type);
    QFETCH(int, items);
    const QByteArray description = R"({"elements": [{"type": ")" + type + R"(", "w": 300, "h": 200}]})";
    for (const bool preview : {true, false}) {
        setPreviewMode(preview);
        QWidget host;
        QVERIFY(buildElements(parseJson(description), &host));
        QWidget *control = host.findChild<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
        QVERIFY(control);
        QCOMPARE(itemsOf(control), preview ? items : 0);
    }
}

QTEST_MAIN(TestPreviewItems)
#include "tst_previewitems.moc"
