#include "orvqtlib.h"
#include "testsupport.h"

#include <QMetaProperty>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace OrvQtLib;
using namespace OrvQtLib::TestSupport;

namespace {

// Values other than `value` a setter may take; it must take one of them.
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

QStringList s_skinMessages;

void collectSkinMessages(QtMsgType, const QMessageLogContext &context, const QString &text)
{
    if (qstrcmp(context.category, "orvqtlib.skin") == 0)
        s_skinMessages << text;
}

} // namespace

class TestHostApi : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initialize(); }
    void propertiesNotifyOncePerChange_data();
    void propertiesNotifyOncePerChange();
    void enumOverloads();
    void findControl_data();
    void findControl();
};

void TestHostApi::propertiesNotifyOncePerChange_data()
{
    QTest::addColumn<QByteArray>("type");
    QSet<QByteArray> classes;
    QWidget holder;
    for (const std::string &name : registeredTypes()) {
        QWidget *control = createControl(name.c_str(), Json::Value(Json::objectValue), &holder);
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
    QWidget holder;
    OrvQWindow window;
    QWidget *control = type.isEmpty() ? &window : createControl(type.constData(), Json::Value(Json::objectValue), &holder);
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

void TestHostApi::enumOverloads()
{
    // One state's record; 4 would mean all four through the int setter.
    OrvQCheckBox box;
    OrvQRectStyle red;
    red.color = Qt::red;
    box.setCheckedStyle(StateHover, red);
    box.setCheckedStyle(OrvQControlState(4), red);
    for (int state = 0; state < 4; ++state)
        QCOMPARE(box.impl()->rectStyle(true, state).color == QColor(Qt::red), state == StateHover);

    OrvQScrollBar bar;
    bar.setArrowIcon(Qt::LeftArrow, QStringLiteral("sub"));
    bar.setArrowIcon(Qt::DownArrow, QStringLiteral("add"));
    bar.setArrowIcon(Qt::NoArrow, QStringLiteral("none"));
    QCOMPARE(bar.impl()->upIcon(), QStringLiteral("sub"));
    QCOMPARE(bar.impl()->downIcon(), QStringLiteral("add"));

    OrvQFontStyle style;
    style.setAlignment(Qt::AlignRight | Qt::AlignBottom);
    style.setAlignment(Qt::AlignHCenter); // the vertical axis stays
    QCOMPARE(style.alignment(), Qt::AlignHCenter | Qt::AlignBottom);
    QCOMPARE(style.hor, 1);
    style.setTextElideMode(Qt::ElideNone);
    style.setTextElideMode(Qt::TextElideMode(9));
    QCOMPARE(style.elideMode, int(Qt::ElideNone));
    style.setOrientation(Qt::Vertical);
    style.setOrientation(Qt::Orientation(0));
    QVERIFY(!style.isHor);
}

void TestHostApi::findControl_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("warning"); // empty: found

    QTest::newRow("found") << "sound" << "";
    QTest::newRow("wrong type") << "title" << "\"title\" is a OrvQtLib::OrvQLabel, not a OrvQtLib::OrvQSwitch";
    QTest::newRow("no such name") << "volume" << "no control named \"volume\"";
}

void TestHostApi::findControl()
{
    QFETCH(QString, name);
    QFETCH(QString, warning);
    QWidget window;
    buildElements(parseJson(R"({"elements": [{"type": "qtcontainer", "child": [
        {"type": "qtswitch", "name": "sound"}, {"type": "qtlabel", "name": "title"}]}]})"), &window);

    s_skinMessages.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collectSkinMessages);
    OrvQSwitch *control = OrvQtLib::findControl<OrvQSwitch>(&window, name);
    qInstallMessageHandler(previous);
    QCOMPARE(control != nullptr, warning.isEmpty());
    QCOMPARE(s_skinMessages.size(), warning.isEmpty() ? 0 : 1);
    if (!warning.isEmpty())
        QVERIFY2(s_skinMessages.first().contains(warning), qPrintable(s_skinMessages.first()));
}

QTEST_MAIN(TestHostApi)
#include "tst_hostapi.moc"
