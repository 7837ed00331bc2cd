#include "controlregistry.h"
#include "jsonreaders.h"
#include "label.h"
#include "resourcemanager.h"
#include "testsupport.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QMouseEvent>
#include <QTextBlock>
#include <QTextLayout>
#include <QtTest>

#include <memory>

using namespace OrvQtLib;
using namespace OrvQtLib::TestSupport;

Q_DECLARE_METATYPE(OrvQtLib::OrvQTextPosition)

namespace {

const QColor highlight(155, 202, 239);

// Three words, each wider than half the text width, so each takes a line.
const QString threeLines = QStringLiteral("mmmmmmmm mmmmmmmm mmmmmmmm");

std::unique_ptr<OrvQLabelEx> threeLineLabel()
{
    auto label = std::make_unique<OrvQLabelEx>();
    OrvQFontStyle style;
    style.size = 14;
    style.color = QColor(0, 0, 0);
    label->impl()->setTextStyle(style);
    label->setPlainText(threeLines);
    const int word = QFontMetrics(OrvQControlBaseImpl::fontOf(style)).horizontalAdvance(QStringLiteral("mmmmmmmm"));
    label->resize(word * 3 / 2 + 8, 100);
    return label;
}

// Whether the top row of line `line` is highlighted at x offset `x` from the
// line's left end (the top row lies above lower-case glyphs).
bool highlightedAt(OrvQLabelEx *label, const QImage &image, int line, qreal x)
{
    const QTextLayout *layout = label->impl()->document().firstBlock().layout();
    const QTextLine textLine = layout->lineAt(line);
    return image.pixelColor(int(5 + x), int(5 + textLine.y() + 1)) == highlight;
}

QImage render(QWidget *widget)
{
    QImage image(widget->size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    widget->render(&image);
    return image;
}

bool anyHighlight(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == highlight)
                return true;
    return false;
}

// Like a drag: the left button stays down until the release.
void dragMouse(QWidget *widget, QEvent::Type type, const QPoint &at)
{
    QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

} // namespace

class TestLabel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void testLoadStyle_data();
    void testLoadStyle();
    void testElision_data();
    void testElision();
    void testSetTextShownUntilResize();
    void testTextSetThroughQLabel();
    void testPaintsAsQLabel_data();
    void testPaintsAsQLabel();
    void testRegisteredNames();

    void testExLoad();
    void testExSelectionAcrossThreeLines();
    void testExDraggedBackwards();
    void testExNoHighlight_data();
    void testExNoHighlight();
    void testExPositions();
    void testExDoubleClickSelectsAll();
    void testExNoTextInteraction();
};

void TestLabel::initTestCase()
{
    initialize();
    OrvQResourceManager::instance().parseStyles(parseJson(R"([
        {"type": 2, "name": "lb.big", "size": 20, "bold": true, "clr": "ff0000", "hor": 2, "ver": 0},
        {"type": 2, "name": "lb.small", "size": 9}
    ])"));
}

void TestLabel::testLoadStyle_data()
{
    QTest::addColumn<QByteArray>("element");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("alignment");

    const int defaultAlign = int(Qt::AlignLeft | Qt::AlignVCenter);
    QTest::newRow("defaults") << QByteArray(R"({"w": 50, "h": 20})") << 12 << "label" << defaultAlign;
    QTest::newRow("state 0 style") << QByteArray(R"({"style": [["lb.big", 0, 0]], "attr": {"text": "hi"}})")
                                   << 20 << "hi" << int(Qt::AlignRight | Qt::AlignTop);
    QTest::newRow("state 1 ignored") << QByteArray(R"({"style": [["lb.big", 0, 1]]})") << 12 << "label"
                                     << defaultAlign;
    QTest::newRow("unknown name ignored") << QByteArray(R"({"style": [["lb.none", 0, 0]]})") << 12 << "label"
                                          << defaultAlign;
    QTest::newRow("later entry wins") << QByteArray(R"({"style": [["lb.big", 0, 0], ["lb.small", 0, 0]]})")
                                      << 9 << "label" << defaultAlign;
    QTest::newRow("text of wrong type") << QByteArray(R"({"attr": {"text": 5}})") << 12 << "5" << defaultAlign;
}

void TestLabel::testLoadStyle()
{
    QFETCH(QByteArray, element);
    QFETCH(int, pixelSize);
    QFETCH(QString, text);
    QFETCH(int, alignment);

    OrvQLabel label;
    QVERIFY(label.loadFromJson(parseJson(element.constData())));
    QCOMPARE(label.font().pixelSize(), pixelSize);
    QCOMPARE(label.text(), text);
    QCOMPARE(int(label.alignment()), alignment);
    if (pixelSize == 20) {
        QCOMPARE(int(label.font().weight()), int(QFont::Bold));
        QCOMPARE(label.palette().color(QPalette::Disabled, QPalette::WindowText), QColor(255, 0, 0));
    }
}

void TestLabel::testElision_data()
{
    QTest::addColumn<int>("elideMode");
    QTest::addColumn<bool>("elided");

    QTest::newRow("right") << int(Qt::ElideRight) << true;
    QTest::newRow("middle") << int(Qt::ElideMiddle) << true;
    QTest::newRow("none") << int(Qt::ElideNone) << false;
}

void TestLabel::testElision()
{
    QFETCH(int, elideMode);
    QFETCH(bool, elided);
    OrvQLabel label;
    OrvQFontStyle style;
    style.elideMode = elideMode;
    label.impl()->setTextStyle(style);
    label.applyTextStyle();
    const QString text = QStringLiteral("A rather long read-out text");
    label.setText(text);
    label.resize(60, 20);
    label.show();

    QCOMPARE(label.text() != text, elided);
    QCOMPARE(label.fullText(), text);
    if (elided)
        QVERIFY(label.text().contains(QChar(0x2026)));

    // Widening shows the whole text again.
    label.resize(1000, 20);
    QCOMPARE(label.text(), text);
}

void TestLabel::testSetTextShownUntilResize()
{
    OrvQLabel label;
    label.resize(40, 20);
    label.show();
    const QString text = QStringLiteral("Much too long for forty pixels");
    label.setText(text);
    QCOMPARE(label.text(), text);
    label.resize(41, 20);
    QVERIFY(label.text() != text);
    QCOMPARE(label.fullText(), text);
}

void TestLabel::testTextSetThroughQLabel()
{
    OrvQLabel label;
    label.resize(1000, 20);
    label.show();
    label.setText(QStringLiteral("old"));
    QLabel *plain = &label;
    const QString text = QStringLiteral("Newer text set through the base class");
    plain->setText(text);
    QCOMPARE(label.fullText(), text);
    label.resize(50, 20);
    QCOMPARE(label.fullText(), text);
    QVERIFY(label.text().startsWith(text.left(1)));
    label.resize(1000, 20);
    QCOMPARE(label.text(), text);
}

void TestLabel::testPaintsAsQLabel_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<bool>("enabled");
    const int left = Qt::AlignLeft | Qt::AlignVCenter;
    QTest::newRow("left") << "Heart rate" << left << true;
    QTest::newRow("centred") << "WWW" << int(Qt::AlignCenter) << true;
    QTest::newRow("bottom right") << "72 bpm" << int(Qt::AlignRight | Qt::AlignBottom) << true;
    QTest::newRow("wider than the label") << "A text far wider than its label" << left << true;
    QTest::newRow("disabled") << "Off" << left << false;
    QTest::newRow("two lines") << "one\ntwo" << left << true;
    QTest::newRow("rich text") << "<b>bold</b>" << left << true;
}

// However it draws, a label looks as QLabel draws it with the same settings.
void TestLabel::testPaintsAsQLabel()
{
    QFETCH(QString, text);
    QFETCH(int, alignment);
    QFETCH(bool, enabled);
    OrvQLabel label;
    QVERIFY(label.loadFromJson(parseJson(R"({"style": [["lb.big", 0, 0]]})")));
    QLabel plain;
    for (QLabel *each : {static_cast<QLabel *>(&label), &plain}) {
        each->setFont(label.font());
        each->setPalette(label.palette());
        each->setAlignment(Qt::Alignment(alignment));
        each->setEnabled(enabled);
        each->resize(100, 40);
    }
    label.setText(text);
    plain.setText(label.text());
    QCOMPARE(render(&label), render(&plain));
}

void TestLabel::testRegisteredNames()
{
    QWidget parent;
    for (const char *name : {"qtlabel", "label"})
        QVERIFY(qobject_cast<OrvQLabel *>(createControl(name, parseJson("{}"), &parent)));
    QWidget *ex = createControl("qtlabelex", parseJson("{}"), &parent);
    QVERIFY(qobject_cast<OrvQLabelEx *>(ex));
    QCOMPARE(controlInterface(ex)->typeName(), QStringLiteral("qtlabelex"));
}

void TestLabel::testExLoad()
{
    OrvQLabelEx label;
    QCOMPARE(label.toPlainText(), QStringLiteral("label"));
    QVERIFY(label.loadFromJson(parseJson(R"({"style": [["lb.big", 0, 0]], "attr": {"text": "a <b> c"}})")));
    QCOMPARE(label.toPlainText(), QStringLiteral("a <b> c"));
    QCOMPARE(label.impl()->document().defaultFont().pixelSize(), 20);
    QVERIFY(label.toHtml().contains(QStringLiteral("&lt;b&gt;")));
}

void TestLabel::testExSelectionAcrossThreeLines()
{
    auto label = threeLineLabel();
    render(label.get());
    const QTextLayout *layout = label->impl()->document().firstBlock().layout();
    QCOMPARE(layout->lineCount(), 3);

    label->setSelection({0, 0, 4}, {0, 2, 22});
    const QImage image = render(label.get());
    const qreal xs = layout->lineAt(0).cursorToX(4);
    const qreal xe = layout->lineAt(2).cursorToX(22);
    const qreal advance = layout->lineAt(1).horizontalAdvance();
    // Tail of the first line, all of the middle one, head of the last.
    QVERIFY(!highlightedAt(label.get(), image, 0, xs - 2));
    QVERIFY(highlightedAt(label.get(), image, 0, xs + 2));
    QVERIFY(highlightedAt(label.get(), image, 1, 1));
    QVERIFY(highlightedAt(label.get(), image, 1, advance - 2));
    QVERIFY(highlightedAt(label.get(), image, 2, 1));
    QVERIFY(highlightedAt(label.get(), image, 2, xe - 2));
    QVERIFY(!highlightedAt(label.get(), image, 2, xe + 2));
}

void TestLabel::testExDraggedBackwards()
{
    auto label = threeLineLabel();
    render(label.get());
    const QTextLayout *layout = label->impl()->document().firstBlock().layout();
    QCOMPARE(layout->lineCount(), 3);
    const QPointF origin = layout->position();
    const auto pointOn = [&](int line, qreal x) {
        const QTextLine l = layout->lineAt(line);
        return (origin + QPointF(x, l.y() + l.height() / 2)).toPoint();
    };

    // Press on the last line, drag up to the first.
    dragMouse(label.get(), QEvent::MouseButtonPress, pointOn(2, 20));
    dragMouse(label.get(), QEvent::MouseMove, pointOn(0, 20));
    dragMouse(label.get(), QEvent::MouseButtonRelease, pointOn(0, 20));
    QCOMPARE(label->impl()->selectionStart().line, 2);
    QCOMPARE(label->impl()->selectionEnd().line, 0);
    QVERIFY(!label->hasMouseTracking());

    const QImage image = render(label.get());
    QVERIFY(highlightedAt(label.get(), image, 1, 3));
    QVERIFY(highlightedAt(label.get(), image, 0, layout->lineAt(0).horizontalAdvance() - 2));

    // setSelection puts the later position last.
    label->setSelection({0, 2, 20}, {0, 0, 1});
    QCOMPARE(label->impl()->selectionStart().line, 0);
    QCOMPARE(label->impl()->selectionEnd().line, 2);
}

void TestLabel::testExNoHighlight_data()
{
    QTest::addColumn<OrvQTextPosition>("start");
    QTest::addColumn<OrvQTextPosition>("end");
    QTest::addColumn<QString>("laterText");

    QTest::newRow("one field unset") << OrvQTextPosition{0, 0, 0} << OrvQTextPosition{0, -1, 5} << QString();
    QTest::newRow("cleared") << OrvQTextPosition{} << OrvQTextPosition{} << QString();
    // Lines past the layout, kept from a longer text, are not drawn.
    QTest::newRow("stale lines") << OrvQTextPosition{0, 5, 3} << OrvQTextPosition{0, 9, 40} << QString("short");
}

void TestLabel::testExNoHighlight()
{
    QFETCH(OrvQTextPosition, start);
    QFETCH(OrvQTextPosition, end);
    QFETCH(QString, laterText);
    auto label = threeLineLabel();
    label->setSelection(start, end);
    if (!laterText.isNull())
        label->setPlainText(laterText);
    QVERIFY(!anyHighlight(render(label.get())));
    label->clearSelection();
    QVERIFY(!label->impl()->selectionStart().isValid());
}

void TestLabel::testExPositions()
{
    auto label = threeLineLabel();
    QCOMPARE(OrvQLabelEx::startPosition(), (OrvQTextPosition{0, 0, 0}));

    const OrvQTextPosition outside = label->positionAt(QPoint(5, 99));
    QCOMPARE(outside, OrvQTextPosition());
    const OrvQTextPosition second = label->positionAt(QPoint(5, 30));
    QCOMPARE(second.block, 0);
    QVERIFY(second.line >= 0);
    const OrvQTextPosition head = label->positionAt(QPoint(4, 6));
    QCOMPARE(head, (OrvQTextPosition{0, 0, 0}));

    const OrvQTextPosition end = label->endPosition();
    QCOMPARE(end.block, 1);
    QCOMPARE(end.position, threeLines.size());
    QCOMPARE(end.line, label->impl()->document().firstBlock().layout()->lineCount() - 1);
}

void TestLabel::testExDoubleClickSelectsAll()
{
    auto label = threeLineLabel();
    QVERIFY(!anyHighlight(render(label.get())));
    dragMouse(label.get(), QEvent::MouseButtonDblClick, QPoint(10, 10));
    QCOMPARE(label->impl()->selectionStart(), (OrvQTextPosition{0, 0, 0}));
    QCOMPARE(label->impl()->selectionEnd().block, 1);
    const QImage image = render(label.get());
    QVERIFY(highlightedAt(label.get(), image, 0, 1));
    QVERIFY(highlightedAt(label.get(), image, 1, 1));
}

void TestLabel::testExNoTextInteraction()
{
    auto label = threeLineLabel();
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    dragMouse(label.get(), QEvent::MouseButtonDblClick, QPoint(10, 10));
    QVERIFY(!label->impl()->selectionStart().isValid());
}

QTEST_MAIN(TestLabel)
#include "tst_label.moc"
