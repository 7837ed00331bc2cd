#include "controlbase.h"
#include "controlregistry.h"
#include "picture.h"
#include "resourcemanager.h"
#include "testsupport.h"

#include <QBuffer>
#include <QPainter>
#include <QtTest>

#include <cmath>

using namespace OrvQtLib;
using namespace OrvQtLib::TestSupport;
using Impl = OrvQControlBaseImpl;

namespace {

const QRgb Red = 0xffff0000;
const QRgb Green = 0xff00ff00;
const QRgb Blue = 0xff0000ff;
const QRgb Black = 0xff000000;
const QRgb White = 0xffffffff;

// A transparent canvas of `logical` size at `ratio` device pixels to one.
QImage canvas(const QSize &logical, qreal ratio)
{
    QImage image(int(std::ceil(logical.width() * ratio)), int(std::ceil(logical.height() * ratio)),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    return image;
}

// `side` x `side` of `edge`, but for a centre `inset` in from each side.
QByteArray framePng(int side, int inset, QRgb edge, QRgb centre)
{
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(edge);
    for (int y = inset; y < side - inset; ++y)
        for (int x = inset; x < side - inset; ++x)
            image.setPixel(x, y, centre);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

class TestPixelRatio : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void variantForRatio_data();
    void variantForRatio();
    void pictureGrabbedAtRatio2();
    void builtinAtDeviceResolution();
    void nineGridWithoutSeams_data();
    void nineGridWithoutSeams();
    void nineGridMarginsStayLogical();
};

void TestPixelRatio::initTestCase()
{
    initialize();
    const QByteArray archive = ZipWriter()
                                   .stored("style.json", "{\"style\": []}")
                                   .stored("images/dot.png", png(QSize(4, 4), QImage::Format_ARGB32, Red))
                                   .stored("images/dot@2x.png", png(QSize(8, 8), QImage::Format_ARGB32, Green))
                                   .stored("images/dot@3x.png", png(QSize(12, 12), QImage::Format_ARGB32, Blue))
                                   .stored("images/plain.png", png(QSize(4, 4), QImage::Format_ARGB32, Red))
                                   .stored("images/half.png", png(QSize(12, 12), QImage::Format_ARGB32, 0x80ff0000))
                                   .stored("images/frame.png", framePng(12, 4, Red, Green))
                                   .stored("images/frame@2x.png", framePng(24, 8, Black, White))
                                   .archive();
    OrvQResourceManager::instance().loadPackageFromMemory(archive.constData(), archive.size());
}

void TestPixelRatio::variantForRatio_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QRgb>("drawn");

    QTest::newRow("1: the base") << "images/dot.png" << 1.0 << Red;
    QTest::newRow("1.25: the smallest denser") << "images/dot.png" << 1.25 << Green;
    QTest::newRow("2.5: @3x") << "images/dot.png" << 2.5 << Blue;
    QTest::newRow("4: the densest there is") << "images/dot.png" << 4.0 << Blue;
    QTest::newRow("no variants") << "images/plain.png" << 2.0 << Red;
}

void TestPixelRatio::variantForRatio()
{
    QFETCH(QString, name);
    QFETCH(qreal, ratio);
    QFETCH(QRgb, drawn);
    QImage image = canvas(QSize(20, 20), ratio);
    {
        QPainter painter(&image);
        Impl::drawImageAligned(&painter, name, OrvQImageAlign{}, QRect(4, 4, 12, 12));
    }
    const auto device = [ratio](qreal logical) { return int(std::floor(logical * ratio)); };
    QCOMPARE(image.pixel(device(6), device(6)), drawn);
    // At the base image's logical size, 4 x 4, whatever the variant's pixels.
    QCOMPARE(qAlpha(image.pixel(device(8.5), device(6))), 0);
    QCOMPARE(image.pixel(device(7.5), device(7.5)), drawn);
}

void TestPixelRatio::pictureGrabbedAtRatio2()
{
    OrvQImage picture;
    picture.setPath(QStringLiteral("images/dot.png"));
    picture.resize(8, 8);
    QImage image = canvas(picture.size(), 2);
    picture.render(&image);
    QCOMPARE(image.pixel(8, 8), Green);
}

void TestPixelRatio::builtinAtDeviceResolution()
{
    const QImage *image = OrvQResourceManager::instance().image(QStringLiteral("IDB_CHECKED"), 1.5);
    QVERIFY(image);
    QCOMPARE(image->size(), QSize(24, 24));
    QCOMPARE(Impl::logicalSize(*image), QSize(16, 16));
}

void TestPixelRatio::nineGridWithoutSeams_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<bool>("tiled");

    QTest::newRow("1.25") << 1.25 << false;
    QTest::newRow("1.5") << 1.5 << false;
    QTest::newRow("1.5, tiled centre") << 1.5 << true;
}

void TestPixelRatio::nineGridWithoutSeams()
{
    QFETCH(qreal, ratio);
    QFETCH(bool, tiled);
    OrvQNineGrid grid;
    grid.left = grid.right = grid.top = grid.bottom = 4;
    grid.repeatCenter = tiled;
    const QRect target(1, 1, 37, 23);
    QImage image = canvas(QSize(40, 30), ratio);
    {
        QPainter painter(&image);
        Impl::drawNineGrid(&painter, QStringLiteral("images/half.png"), grid, target.x(), target.y(),
                           target.width(), target.height());
    }
    // Half-transparent everywhere: a gap shows less, an overlap more.
    const QRgb expected = image.pixel(int(20 * ratio), int(12 * ratio));
    QCOMPARE(qAlpha(expected), 0x80);
    const int left = int(std::ceil(target.left() * ratio));
    const int top = int(std::ceil(target.top() * ratio));
    const int right = int(std::floor((target.right() + 1) * ratio));
    const int bottom = int(std::floor((target.bottom() + 1) * ratio));
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (image.pixel(x, y) != expected)
                QFAIL(qPrintable(QStringLiteral("seam at device pixel %1, %2").arg(x).arg(y)));
}

void TestPixelRatio::nineGridMarginsStayLogical()
{
    // The @2x frame's edge is 8 of its pixels, its margin 4 logical ones.
    OrvQNineGrid grid;
    grid.left = grid.right = grid.top = grid.bottom = 4;
    QImage image = canvas(QSize(40, 40), 2);
    {
        QPainter painter(&image);
        Impl::drawNineGrid(&painter, QStringLiteral("images/frame.png"), grid, 0, 0, 40, 40);
    }
    QCOMPARE(image.pixel(7, 40), Black);
    QCOMPARE(image.pixel(8, 40), White);
    QCOMPARE(image.pixel(71, 40), White);
    QCOMPARE(image.pixel(72, 40), Black);
}

QTEST_MAIN(TestPixelRatio)
#include "tst_pixelratio.moc"
