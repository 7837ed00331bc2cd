#include "orvqtlib.h"
#include "liveview.h"
#include "testsupport.h"

#include <QLabel>
#include <QSaveFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace OrvQtLib;
using namespace OrvQtLib::TestSupport;
using namespace OrvQtLib::Tools;

namespace {

QByteArray package(const char *colour, const char *type = "qtcontainer")
{
    const QByteArray styles =
        QByteArray(R"({"style": [{"type": 1, "name": "bg", "drawImg": false, "clr": ")") + colour + R"("}]})";
    const QByteArray window = QByteArray(R"({"w": 60, "h": 40, "elements": [{"type": ")") + type
        + R"(", "name": "root", "layout": {"type": 1}, "style": [["bg", 0, 0]]}]})";
    return ZipWriter().deflated("style.json", styles).deflated("Live.json", window).archive();
}

// As editors save: a new file renamed over the old one.
bool save(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

QRgb centre(const LiveView &view)
{
    return view.content() ? view.content()->grab().toImage().pixel(30, 20) : 0;
}

} // namespace

class TestLiveView : public QObject
{
    Q_OBJECT

private slots:
    void picksUpSavedPackage();
};

void TestLiveView::picksUpSavedPackage()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("live.data");
    QVERIFY(save(path, package("ffff0000")));
    initialize();

    PreviewRequest request;
    request.package = path;
    request.description = QStringLiteral("Live");
    LiveView view(request);
    view.show();
    QVERIFY(view.findings().isEmpty());
    QCOMPARE(centre(view), 0xffff0000u);
    QCOMPARE(view.content()->size(), QSize(60, 40));

    QVERIFY(save(path, package("ff0000ff")));
    QTRY_COMPARE(centre(view), 0xff0000ffu);

    // A type the toolkit does not know: the checker's error over the last
    // good build.
    QSignalSpy rebuilt(&view, &LiveView::rebuilt);
    QVERIFY(save(path, package("ff00ff00", "qtcontaner")));
    QVERIFY(rebuilt.wait());
    QCOMPARE(rebuilt.last().at(0).toBool(), false);
    QVERIFY(view.findings().join('\n').contains("qtcontaner"));
    QVERIFY(view.findChild<QLabel *>()->isVisible());
    QCOMPARE(centre(view), 0xff0000ffu);

    QVERIFY(save(path, package("ff00ff00")));
    QTRY_COMPARE(centre(view), 0xff00ff00u);
    QVERIFY(view.findings().isEmpty());
}

QTEST_MAIN(TestLiveView)
#include "tst_liveview.moc"
