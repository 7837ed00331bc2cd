#include "orvqtlib.h"
#include "testsupport.h"

#include <QTest>

#include <memory>

using namespace OrvQtLib;
using namespace OrvQtLib::TestSupport;

namespace {

std::unique_ptr<OrvQImage> makePicture(const QByteArray &element, const QSize &size)
{
    auto picture = std::make_unique<OrvQImage>();
    picture->loadFromJson(parseJson(element));
    picture->resize(size);
    return picture;
}

const QRgb Blue = 0xff0000ff;

} // namespace

class TestPicture : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void placement_data();
    void placement();
    void nothingToDraw_data();
    void nothingToDraw();
};

void TestPicture::initTestCase()
{
    initialize();
    const QByteArray package = ZipWriter()
                                   .stored("images/blue.png", png(QSize(10, 10), QImage::Format_ARGB32, Blue))
                                   .stored("images/wide.png", png(QSize(105, 10), QImage::Format_ARGB32, Blue))
                                   .stored("images/broken.png", QByteArray("\x89PNG\r\n\x1a\nnot a png"))
                                   .archive();
    OrvQResourceManager::instance().loadPackageFromMemory(package.constData(), package.size());
}

void TestPicture::placement_data()
{
    QTest::addColumn<QByteArray>("attr");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("painted");

    // Stretched without keeping the aspect ratio.
    QTest::newRow("fill") << QByteArray(R"({"path": "images/blue.png"})") << QSize(200, 50) << QRect(0, 0, 200, 50);
    QTest::newRow("natural size, centred")
        << QByteArray(R"({"path": "images/blue.png", "fill": false})") << QSize(31, 21) << QRect(10, 5, 10, 10);
    // (100 - 105) / 2 truncates to -2: cropped on both sides.
    QTest::newRow("wider than the widget")
        << QByteArray(R"({"path": "images/wide.png", "fill": false})") << QSize(100, 20) << QRect(0, 5, 100, 10);
    QTest::newRow("fill of the wrong type counts as absent")
        << QByteArray(R"({"path": "images/blue.png", "fill": "no"})") << QSize(40, 30) << QRect(0, 0, 40, 30);
}

void TestPicture::placement()
{
    QFETCH(QByteArray, attr);
    QFETCH(QSize, size);
    QFETCH(QRect, painted);
    auto picture = makePicture(R"({"attr": )" + attr + "}", size);
    QCOMPARE(boxOf(renderOf(*picture), Blue), painted);
}

void TestPicture::nothingToDraw_data()
{
    QTest::addColumn<QByteArray>("element");
    QTest::newRow("unknown image") << QByteArray(R"({"attr": {"path": "images/nosuch.png"}})");
    QTest::newRow("undecodable image") << QByteArray(R"({"attr": {"path": "images/broken.png"}})");
    QTest::newRow("no path") << QByteArray(R"({"attr": {"fill": false}})");
    QTest::newRow("path of the wrong type") << QByteArray(R"({"attr": {"path": [1, 2]}})");
}

void TestPicture::nothingToDraw()
{
    QFETCH(QByteArray, element);
    auto picture = makePicture(element, QSize(50, 40));
    QVERIFY(boxOf(renderOf(*picture), Blue).isEmpty());
    QCOMPARE(renderOf(*picture).pixel(25, 20), 0u);
}

QTEST_MAIN(TestPicture)
#include "tst_picture.moc"
