#include "orvqtlib.h"
#include "testsupport.h"

#include <QMetaProperty>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace OrvQtLib;
using namespace OrvQtLib::TestSupport;

namespace {

// Values a setter may take that differ from `value`: the property must take
// one of them. Empty for a type the walk does not know yet.
QVariantList otherValues(const QVariant &value)
{
    switch (value.userType()) {
    case QMetaType::Bool:
        return {!value.toBool()};
    case QMetaType::Int:
        return {value.toInt() + 1, value.toInt() - 1};
    case QMetaType::QString:
        return {value.toString() + QLatin1String("x")};
    case QMetaType::QSize:
        return {value.toSize() + QSize(1, 1)};
    case QMetaType::QColor:
        return {value.value<QColor>() == QColor(Qt::red) ? QColor(Qt::blue) : QColor(Qt::red)};
    default:
        return {};
    }
}

// Messages on orvqtlib.skin while it lives.
class SkinLog
{
public:
    SkinLog()
    {
        s_messages.clear();
        m_previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext &context, const QString &text) {
            if (qstrcmp(context.category, "orvqtlib.skin") == 0)
                s_messages << text;
        });
    }
    ~SkinLog() { qInstallMessageHandler(m_previous); }
    QStringList messages() const { return s_messages; }

private:
    static inline QStringList s_messages;
    QtMessageHandler m_previous;
};

} // namespace

class TestHostApi : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void propertiesNotifyOncePerChange_data();
    void propertiesNotifyOncePerChange();
    void stateOverloads_data();
    void stateOverloads();
    void arrowOverload_data();
    void arrowOverload();
    void fontStyleEnums();
    void findControl_data();
    void findControl();
};

void TestHostApi::initTestCase()
{
    initialize();
}

void TestHostApi::propertiesNotifyOncePerChange_data()
{
    QTest::addColumn<QByteArray>("type");
    QSet<QByteArray> classes;
    auto holder = std::make_unique<QWidget>();
    for (const std::string &name : registeredTypes()) {
        QWidget *control = createControl(name.c_str(), Json::Value(Json::objectValue), holder.get());
        QVERIFY(control);
        if (!classes.contains(control->metaObject()->className())) {
            classes.insert(control->metaObject()->className());
            QTest::newRow(name.c_str()) << QByteArray(name.c_str());
        }
    }
    QTest::newRow("window") << QByteArray();
}

void TestHostApi::propertiesNotifyOncePerChange()
{
    QFETCH(QByteArray, type);
    auto holder = std::make_unique<QWidget>();
    std::unique_ptr<QWidget> window;
    QWidget *control = nullptr;
    if (type.isEmpty()) {
        window = std::make_unique<OrvQWindow>();
        control = window.get();
    } else {
        control = createControl(type.constData(), Json::Value(Json::objectValue), holder.get());
    }
    QVERIFY(control);

    // Only what the toolkit declares; Qt's own properties are Qt's business.
    for (const QMetaObject *meta = control->metaObject(); meta; meta = meta->superClass()) {
        if (!QByteArray(meta->className()).startsWith("OrvQtLib::"))
            continue;
        for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
            const QMetaProperty property = meta->property(i);
            const QByteArray name = QByteArray(meta->className()) + "::" + property.name();
            QVERIFY2(property.isReadable() && property.hasNotifySignal(), name);
            if (!property.isWritable())
                continue;
            const QVariantList candidates = otherValues(property.read(control));
            QVERIFY2(!candidates.isEmpty(), name + ": no other value known for " + property.typeName());
            bool taken = false;
            for (const QVariant &value : candidates) {
                const QVariant before = property.read(control);
                QSignalSpy changed(control, property.notifySignal());
                property.write(control, value);
                const QVariant after = property.read(control);
                const int expected = after != before ? 1 : 0;
                QVERIFY2(changed.count() == expected, name + " notified " + QByteArray::number(changed.count()));
                property.write(control, after);
                QVERIFY2(changed.count() == expected, name + " notified without a change");
                taken = taken || after == value;
            }
            QVERIFY2(taken, name + " took none of the values");
        }
    }
}

void TestHostApi::stateOverloads_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("changedState"); // -1: none changes

    QTest::newRow("hover") << int(StateHover) << 1;
    QTest::newRow("four is not all") << 4 << -1;
    QTest::newRow("negative") << -1 << -1;
}

void TestHostApi::stateOverloads()
{
    QFETCH(int, state);
    QFETCH(int, changedState);
    OrvQCheckBox box;
    OrvQRectStyle red;
    red.color = Qt::red;
    box.setCheckedStyle(OrvQControlState(state), red);
    for (int s = 0; s < 4; ++s) {
        QCOMPARE(box.impl()->rectStyle(true, s).color == QColor(Qt::red), s == changedState);
        QVERIFY(box.impl()->rectStyle(false, s).color != QColor(Qt::red));
    }
}

void TestHostApi::arrowOverload_data()
{
    QTest::addColumn<int>("arrow");
    QTest::addColumn<QString>("up");
    QTest::addColumn<QString>("down");

    QTest::newRow("up") << int(Qt::UpArrow) << "a" << "";
    QTest::newRow("left is the sub-line too") << int(Qt::LeftArrow) << "a" << "";
    QTest::newRow("right") << int(Qt::RightArrow) << "" << "a";
    QTest::newRow("none") << int(Qt::NoArrow) << "" << "";
}

void TestHostApi::arrowOverload()
{
    QFETCH(int, arrow);
    OrvQScrollBar bar;
    bar.setArrowIcon(Qt::ArrowType(arrow), QStringLiteral("a"));
    QTEST(bar.impl()->upIcon(), "up");
    QTEST(bar.impl()->downIcon(), "down");
}

void TestHostApi::fontStyleEnums()
{
    OrvQFontStyle style;
    style.setAlignment(Qt::AlignRight | Qt::AlignBottom);
    QCOMPARE(style.hor, 2);
    QCOMPARE(style.ver, 2);
    style.setAlignment(Qt::AlignHCenter);
    QCOMPARE(style.alignment(), Qt::AlignHCenter | Qt::AlignBottom);

    style.setTextElideMode(Qt::ElideNone);
    QCOMPARE(style.elideMode, int(Qt::ElideNone));
    style.setTextElideMode(Qt::TextElideMode(9));
    QCOMPARE(style.textElideMode(), Qt::ElideNone);

    style.setOrientation(Qt::Vertical);
    QVERIFY(!style.isHor);
    style.setOrientation(Qt::Orientation(0));
    QCOMPARE(style.orientation(), Qt::Vertical);
}

void TestHostApi::findControl_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("warning");

    QTest::newRow("found") << "sound" << true << "";
    QTest::newRow("wrong type") << "title" << false << "\"title\" is a OrvQtLib::OrvQLabel, not a OrvQtLib::OrvQSwitch";
    QTest::newRow("no such name") << "volume" << false << "no control named \"volume\"";
}

void TestHostApi::findControl()
{
    QFETCH(QString, name);
    QFETCH(bool, found);
    QFETCH(QString, warning);
    QWidget window;
    buildElements(parseJson(R"({"elements": [{"type": "qtcontainer", "child": [
        {"type": "qtswitch", "name": "sound"}, {"type": "qtlabel", "name": "title"}]}]})"), &window);

    SkinLog log;
    OrvQSwitch *control = OrvQtLib::findControl<OrvQSwitch>(&window, name);
    QCOMPARE(control != nullptr, found);
    QCOMPARE(log.messages().size(), found ? 0 : 1);
    if (!found)
        QVERIFY2(log.messages().first().contains(warning), qPrintable(log.messages().first()));
}

QTEST_MAIN(TestHostApi)
#include "tst_hostapi.moc"
