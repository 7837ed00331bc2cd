#pragma once

#include <QByteArray>
#include <QEvent>
#include <QImage>
#include <QRect>
#include <QStringList>

#include <json/value.h>

#include <vector>

class QWidget;

// Helpers shared by the tests and benchmarks: test JSON, raw deflate and a
// writer of small zip archives, hostile ones included.
namespace OrvQtLib::TestSupport {

// Parses JSON as descriptions are parsed; a syntax error in a test's own
// text is a fault of the test, so it stops the run.
Json::Value parseJson(const QByteArray &text);

// Deflate without a zlib header or trailer, as zip members hold it; `level`
// is zlib's, 0 to 9.
QByteArray rawDeflate(const QByteArray &data, int level = 9);

// A PNG of one colour (0 for a one-bit image).
QByteArray png(const QSize &size, QImage::Format format = QImage::Format_ARGB32, QRgb fill = 0xff112233);

// Sends a left-button press, release or double-click, or a move with no
// button held, at `pos` in the widget's coordinates. Sent straight to the
// widget: the offscreen platform delivers no synthesized pointer moves.
void sendMouse(QWidget *widget, QEvent::Type type, const QPoint &pos);

// What a widget and its children paint over a transparent ARGB32 image.
QImage renderOf(QWidget &widget);
// Bounding box of the pixels of one colour: each channel within `tolerance`
// and the same alpha. Empty when there are none.
QRect boxOf(const QImage &image, QRgb color, int tolerance = 0);
quint32 crc32Of(const QByteArray &data);

// Little-endian fields, written over bytes already there or as new bytes.
void put16(QByteArray &bytes, int at, quint16 value);
void put32(QByteArray &bytes, int at, quint32 value);
QByteArray le16(quint16 value);
QByteArray le32(quint32 value);

// A written archive and where its structures lie, so that a test can break
// one field at a time.
struct ZipLayout {
    QByteArray bytes;
    std::vector<int> local;    // offset of each local header
    std::vector<int> data;     // offset of each member's data
    std::vector<int> central;  // offset of each central record
    int directory = 0;         // offset of the central directory
    int end = 0;               // offset of the end record
};

// Single-disk archives without extra fields, data descriptors or
// encryption. Members are written in the order they are added.
class ZipWriter
{
public:
    struct Member {
        QByteArray name;
        QByteArray data;   // as stored in the archive
        quint16 method = 0;
        quint32 crc = 0;
        quint32 uncompressedSize = 0;
    };

    ZipWriter &stored(const QByteArray &name, const QByteArray &content);
    ZipWriter &deflated(const QByteArray &name, const QByteArray &content, int level = 9);
    // Any method, CRC and declared size, true or not.
    ZipWriter &raw(const Member &member);
    ZipWriter &setComment(const QByteArray &comment);

    ZipLayout layout() const;
    QByteArray archive() const;

    // The records themselves, for archives the writer does not make.
    static QByteArray localHeader(const Member &member);
    static QByteArray centralRecord(const Member &member, quint32 localOffset);
    static QByteArray endRecord(quint16 entries, quint32 directorySize, quint32 directoryOffset,
                                const QByteArray &comment = {});

private:
    std::vector<Member> m_members;
    QByteArray m_comment;
};

// Collects the lines of the "orvqtlib.skin" log while it lives; other
// categories go to the handler it replaced. Every cause may be reported
// again from its start.
class SkinLogCapture
{
public:
    SkinLogCapture();
    ~SkinLogCapture();

    QStringList lines;
};

} // namespace OrvQtLib::TestSupport
