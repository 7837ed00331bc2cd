#include "orvqtlib.h"
#include "testsupport.h"

#include <QAbstractScrollArea>
#include <QTest>

#include <memory>

using namespace OrvQtLib;
using namespace OrvQtLib::TestSupport;

namespace {

// Paints the viewport red, as a scroll-area control paints its background.
class RedImpl : public OrvQControlBaseImpl
{
public:
    using OrvQControlBaseImpl::OrvQControlBaseImpl;
    void draw(QPainter *painter, const QRect &rect) override
    {
        OrvQRectStyle red;
        red.color = Qt::red;
        drawBackground(painter, red, rect);
    }
};

template <const OrvQScrollAreaRow &Row>
class Area : public OrvQScrollAreaControl<QAbstractScrollArea, RedImpl, Row>
{
public:
    QString typeName() const override { return QStringLiteral("area"); }
};

using AreaFactory = QAbstractScrollArea *(*)(OrvQScrollAreaSkin **skin);
template <const OrvQScrollAreaRow &Row>
QAbstractScrollArea *makeArea(OrvQScrollAreaSkin **skin)
{
    auto *area = new Area<Row>;
    *skin = &area->scrollAreaSkin();
    return area;
}

const QByteArray verticalElement = R"({"type": "qtscrollbar", "w": 14, "attr": {"size": 10}})";
const QByteArray horizontalElement = R"({"type": "scrollbar", "h": 12, "attr": {"hor": true, "size": 20}})";

QByteArray withChildren(const QByteArray &children)
{
    return R"({"child": [)" + children + "]}";
}

} // namespace

Q_DECLARE_METATYPE(AreaFactory)

class TestScrollArea : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initialize(); }
    void rows_data();
    void rows();
    void elementSlots_data();
    void elementSlots();
    void hostileElements();
    void shownGeometry();
};

void TestScrollArea::rows_data()
{
    QTest::addColumn<AreaFactory>("make");
    QTest::addColumn<QString>("afterVertical");   // both bars' sheet
    QTest::addColumn<QString>("afterHorizontal"); // both bars' sheet after a second element
    QTest::addColumn<QPoint>("arrows");           // vertical and horizontal arrow length at the end

    using S = OrvQScrollAreaSkin;
    QTest::newRow("list view") << &makeArea<ListViewScrollArea> << S::thicknessSheet1(14) << S::thicknessSheet1(14)
                               << QPoint(10, 20);
    QTest::newRow("list") << &makeArea<ListScrollArea> << S::thicknessSheet2(14, 14) << S::thicknessSheet2(12, 12)
                          << QPoint(0, 0);
    QTest::newRow("data grid") << &makeArea<DataGridScrollArea> << S::thicknessSheet2(14, 10)
                               << S::thicknessSheet2(12, 20) << QPoint(20, 20);
    QTest::newRow("tree view") << &makeArea<TreeViewScrollArea> << S::thicknessSheet3(14) << S::thicknessSheet3(12)
                               << QPoint(0, 0);
    QTest::newRow("scroll view") << &makeArea<ScrollViewScrollArea> << S::thicknessSheet2(14, 14)
                                 << S::thicknessSheet2(12, 12) << QPoint(10, 20);
    QTest::newRow("text edit") << &makeArea<TextEditScrollArea> << S::thicknessSheet2(14, 14)
                               << S::thicknessSheet2(12, 12) << QPoint(0, 0);
}

void TestScrollArea::rows()
{
    QFETCH(AreaFactory, make);
    QFETCH(QString, afterVertical);
    QFETCH(QString, afterHorizontal);
    QFETCH(QPoint, arrows);

    OrvQScrollAreaSkin *skinPointer = nullptr;
    std::unique_ptr<QAbstractScrollArea> area(make(&skinPointer));
    OrvQScrollAreaSkin &skin = *skinPointer;
    QCOMPARE(area->verticalScrollBar(), skin.bar(false));
    QCOMPARE(area->horizontalScrollBar(), skin.bar(true));
    QCOMPARE(area->frameStyle(), int(QFrame::NoFrame));
    // See-through, and no style sheet to cascade into the bars and rows.
    QVERIFY(!area->viewport()->autoFillBackground());
    QCOMPARE(area->styleSheet() + area->viewport()->styleSheet(), QString());

    skin.applyScrollBarElements(parseJson(withChildren(verticalElement)));
    QCOMPARE(skin.bar(false)->styleSheet(), afterVertical);
    QCOMPARE(skin.bar(true)->styleSheet(), afterVertical);
    skin.applyScrollBarElements(parseJson(withChildren(horizontalElement)));
    QCOMPARE(skin.bar(false)->styleSheet(), afterHorizontal);
    QCOMPARE(skin.bar(true)->styleSheet(), afterHorizontal);
    QCOMPARE(QPoint(skin.bar(false)->arrowLength(), skin.bar(true)->arrowLength()), arrows);

    // The Impl paints through the viewport.
    area->resize(60, 60);
    QCOMPARE(renderOf(*area).pixel(5, 5), 0xffff0000u);
}

void TestScrollArea::elementSlots_data()
{
    QTest::addColumn<QByteArray>("style");
    QTest::addColumn<QString>("addLineStates"); // 'r' red, 'g' green, '-' untouched

    QTest::newRow("6 fills all four states") << QByteArray(R"({"a": ["red", 0, 6]})") << "rrrr";
    // Members apply in ascending name order: "b" after "a".
    QTest::newRow("8 after 6 changes the pressed state") << QByteArray(R"({"b": ["green", 0, 8], "a": ["red", 0, 6]})")
                                                         << "rrgr";
    QTest::newRow("1 and 14 are no slots") << QByteArray(R"({"a": ["red", 0, 1], "b": ["red", 0, 14]})") << "----";
    QTest::newRow("an entry without an integer slot is skipped")
        << QByteArray(R"({"a": ["red", 0, "6"], "b": ["red", 0], "c": "red"})") << "----";
    QTest::newRow("an unknown name changes nothing") << QByteArray(R"({"a": ["nosuch", 0, 6]})") << "----";
}

void TestScrollArea::elementSlots()
{
    QFETCH(QByteArray, style);
    QFETCH(QString, addLineStates);

    QVERIFY(loadSkinPackage(QStringLiteral(ORV_TEST_DATA_DIR "/controls/controls.zip")));
    Area<ListScrollArea> area;
    area.scrollAreaSkin().applyScrollBarElements(
        parseJson(withChildren(R"({"type": "qtscrollbar", "style": )" + style + "}")));
    QString seen;
    for (int state = 0; state < 4; ++state) {
        const OrvQRectStyle &record = area.skinnedBar(false)->impl()->partStyle(OrvQScrollBarImpl::AddLine, state);
        seen += record.color == Qt::red ? QLatin1Char('r') : record.color == Qt::green ? QLatin1Char('g') : QLatin1Char('-');
    }
    QCOMPARE(seen, addLineStates);
    QVERIFY(area.skinnedBar(true)->impl()->partStyle(OrvQScrollBarImpl::AddLine, 0).color != Qt::red);
}

void TestScrollArea::hostileElements()
{
    Area<ListScrollArea> area;
    OrvQScrollAreaSkin &skin = area.scrollAreaSkin();
    // An element that only sets icons changes no thickness.
    skin.applyScrollBarElements(parseJson(withChildren(R"({"type": "qtscrollbar", "attr": {"upicon": "up"}})")));
    QCOMPARE(skin.bar(false)->styleSheet(), QString());
    QCOMPARE(skin.bar(false)->impl()->upIcon(), QStringLiteral("up"));

    // Wrong shapes are skipped; sizes are held to 1..512.
    skin.applyScrollBarElements(parseJson(R"({"child": {"type": "qtscrollbar", "w": 5}})"));
    skin.applyScrollBarElements(parseJson(R"({"child": [7, null, {"type": 5, "w": 5}, {"type": "qtscrollbar",
        "attr": [true], "style": [1, 2], "w": 1e9}]})"));
    QCOMPARE(skin.bar(false)->styleSheet(), OrvQScrollAreaSkin::thicknessSheet2(512, 512));

    // A host that replaces a bar leaves the skin without it, not dangling.
    area.setVerticalScrollBar(new QScrollBar(Qt::Vertical));
    QCOMPARE(skin.bar(false), nullptr);
    skin.applyScrollBarElements(parseJson(withChildren(verticalElement)));
    QCOMPARE(skin.bar(true)->styleSheet(), OrvQScrollAreaSkin::thicknessSheet2(14, 14));
}

void TestScrollArea::shownGeometry()
{
    Area<ScrollViewScrollArea> area;
    area.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    area.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    area.scrollAreaSkin().applyScrollBarElements(
        parseJson(withChildren(R"({"type": "qtscrollbar", "w": 16, "attr": {"size": 30}})")));
    area.resize(200, 200);
    area.show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));

    OrvQScrollBar *bar = area.skinnedBar(false);
    QCOMPARE(bar->width(), 16);
    QCOMPARE(area.skinnedBar(true)->height(), 16);
    // Arrow buttons of the given length, one at each end.
    QCOMPARE(bar->impl()->partRect(OrvQScrollBarImpl::SubLine), QRect(0, 0, 16, 30));
    QCOMPARE(bar->impl()->partRect(OrvQScrollBarImpl::AddLine), QRect(0, bar->height() - 30, 16, 30));
}

QTEST_MAIN(TestScrollArea)
#include "tst_scrollarea.moc"
