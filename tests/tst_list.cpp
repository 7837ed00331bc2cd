#include "orvqtlib.h"
#include "testsupport.h"

#include <QTest>

#include <memory>

using namespace OrvQtLib;
using namespace OrvQtLib::TestSupport;

namespace {

const QRgb Red = 0xffff0000, Green = 0xff00ff00, Blue = 0xff0000ff, White = 0xffffffff, Black = 0xff000000;

// A 100 x 100 list of rows "a", "b", "c" and a row with only a tool tip.
std::unique_ptr<OrvQList> makeList(const QByteArray &element)
{
    auto list = std::make_unique<OrvQList>();
    list->loadFromJson(parseJson(element));
    list->addItems({"a", "b", "c"});
    (new QListWidgetItem(list.get()))->setToolTip(QStringLiteral("tip"));
    list->resize(100, 100);
    return list;
}

QPoint centreOf(OrvQList &list, int row)
{
    return list.visualItemRect(list.item(row)).center();
}

} // namespace

class TestList : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        initialize();
        QVERIFY(loadSkinPackage(QStringLiteral(ORV_TEST_DATA_DIR "/controls/controls.zip")));
    }

    void attrKeys_data()
    {
        QTest::addColumn<QByteArray>("attr");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("selected"); // after a click and a control-click
        QTest::newRow("0 gives 20") << QByteArray(R"({"itemHeight": 0, "multiselect": true})") << 20 << 2;
        QTest::newRow("negative") << QByteArray(R"({"itemHeight": -40, "multiselect": false})") << 20 << 1;
        QTest::newRow("beyond int") << QByteArray(R"({"itemHeight": 1e12})") << MaxRowExtent << 1;
        QTest::newRow("wrong types are absent") << QByteArray(R"({"itemHeight": "33", "multiselect": "true"})")
                                                << 20 << 1;
    }

    void attrKeys()
    {
        QFETCH(QByteArray, attr);
        QFETCH(int, height);
        QFETCH(int, selected);
        // A second load over rows laid out already.
        auto list = makeList(R"({"attr": {"itemHeight": 7, "multiselect": true}})");
        QCOMPARE(list->visualItemRect(list->item(2)), QRect(0, 14, 100, 7));
        list->loadFromJson(parseJson(R"({"style": 7, "attr": )" + attr + "}"));
        QCOMPARE(list->visualItemRect(list->item(1)).height(), height);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centreOf(*list, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, centreOf(*list, 1));
        QCOMPARE(list->selectedItems().size(), selected);
    }

    void rowLooks_data()
    {
        QTest::addColumn<QByteArray>("style");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<bool>("hovered");
        QTest::addColumn<QRgb>("row");
        QTest::addColumn<QRgb>("text");
        // "b" sorts after "a": slot 4 then changes the selected state only.
        const QByteArray later = R"({"a": ["red", 0, 2], "b": ["green", 0, 4], "c": ["fontBlack", 0, 6]})";
        QTest::newRow("selected") << later << true << false << Green << Black;
        QTest::newRow("hovered keeps the group") << later << false << true << Red << Black;
        // Unknown names and slots 1 and 10 change nothing.
        const QByteArray states = R"([["red", 0, 2], ["green", 0, 4], ["blue", 0, 3], ["fontBlack", 0, 6],
            ["fontRed", 0, 7], ["nosuch", 0, 7], ["white", 0, 1], ["white", 0, 10]])";
        QTest::newRow("selected and hovered: hover") << states << true << true << Blue << Red;
    }

    void rowLooks()
    {
        QFETCH(QByteArray, style);
        QFETCH(bool, selected);
        QFETCH(bool, hovered);
        QFETCH(QRgb, row);
        QFETCH(QRgb, text);
        auto list = makeList(R"({"style": )" + style + "}");
        list->item(1)->setSelected(selected);
        QMouseEvent move(QEvent::MouseMove, centreOf(*list, hovered ? 1 : 2), Qt::NoButton, Qt::NoButton, {});
        QCoreApplication::sendEvent(list->viewport(), &move);
        const QImage image = renderOf(*list);
        QCOMPARE(image.pixel(90, 30), row);
        QVERIFY(!boxOf(image.copy(0, 20, 30, 20), text, 40).isEmpty());
        // The text is the display text: the tool tip is not drawn.
        QVERIFY(boxOf(image.copy(0, 60, 100, 20), Black, 200).isEmpty());
        QCOMPARE(image.pixel(90, 90), White); // the default background below the rows
    }
};

QTEST_MAIN(TestList)
#include "tst_list.moc"
