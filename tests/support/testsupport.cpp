#include "testsupport.h"

#include "jsonreaders.h"
#include "skinlog.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

#include <zlib.h>

namespace OrvQtLib::TestSupport {

namespace {

// Any fixed DOS date and time: the reader uses it only for encrypted members.
constexpr quint32 DosDateTime = 0x5a216a5b;

// The fields a local header and a central record share, from "version
// needed" to the name length.
QByteArray sharedFields(const ZipWriter::Member &m)
{
    return le16(20) + le16(0) + le16(m.method) + le32(DosDateTime) + le32(m.crc)
        + le32(quint32(m.data.size())) + le32(m.uncompressedSize) + le16(quint16(m.name.size()));
}

} // namespace

Json::Value parseJson(const QByteArray &text)
{
    Json::Value root;
    if (!parseJsonDocument(text.constData(), size_t(text.size()), root))
        qFatal("bad test JSON: %s", text.constData());
    return root;
}

QByteArray rawDeflate(const QByteArray &data, int level)
{
    z_stream z{};
    deflateInit2(&z, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(int(deflateBound(&z, uLong(data.size()))), '\0');
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef *>(out.data());
    z.avail_out = uInt(out.size());
    deflate(&z, Z_FINISH);
    out.resize(int(z.total_out));
    deflateEnd(&z);
    return out;
}

quint32 crc32Of(const QByteArray &data)
{
    return quint32(crc32(0, reinterpret_cast<const Bytef *>(data.constData()), uInt(data.size())));
}

void put16(QByteArray &bytes, int at, quint16 value)
{
    bytes[at] = char(value & 0xff);
    bytes[at + 1] = char(value >> 8);
}

void put32(QByteArray &bytes, int at, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char((value >> (8 * i)) & 0xff);
}

QByteArray le16(quint16 value)
{
    QByteArray b(2, '\0');
    put16(b, 0, value);
    return b;
}

QByteArray le32(quint32 value)
{
    QByteArray b(4, '\0');
    put32(b, 0, value);
    return b;
}

ZipWriter &ZipWriter::stored(const QByteArray &name, const QByteArray &content)
{
    return raw({name, content, 0, crc32Of(content), quint32(content.size())});
}

ZipWriter &ZipWriter::deflated(const QByteArray &name, const QByteArray &content, int level)
{
    return raw({name, rawDeflate(content, level), 8, crc32Of(content), quint32(content.size())});
}

ZipWriter &ZipWriter::raw(const Member &member)
{
    m_members.push_back(member);
    return *this;
}

ZipWriter &ZipWriter::setComment(const QByteArray &comment)
{
    m_comment = comment;
    return *this;
}

ZipLayout ZipWriter::layout() const
{
    ZipLayout z;
    QByteArray directory;
    std::vector<int> inDirectory;
    for (const Member &m : m_members) {
        z.local.push_back(z.bytes.size());
        z.bytes += localHeader(m);
        z.data.push_back(z.bytes.size());
        z.bytes += m.data;
        inDirectory.push_back(directory.size());
        directory += centralRecord(m, quint32(z.local.back()));
    }
    z.directory = z.bytes.size();
    for (int offset : inDirectory)
        z.central.push_back(z.directory + offset);
    z.bytes += directory;
    z.end = z.bytes.size();
    z.bytes += endRecord(quint16(m_members.size()), quint32(directory.size()), quint32(z.directory), m_comment);
    return z;
}

QByteArray ZipWriter::archive() const
{
    return layout().bytes;
}

QByteArray ZipWriter::localHeader(const Member &member)
{
    return le32(0x04034b50) + sharedFields(member) + le16(0) + member.name;
}

QByteArray ZipWriter::centralRecord(const Member &member, quint32 localOffset)
{
    // Made by version 2.0; no extra field, comment, disk or attributes.
    return le32(0x02014b50) + le16(20) + sharedFields(member) + le16(0) + le16(0) + le16(0) + le16(0)
        + le32(0) + le32(localOffset) + member.name;
}

QByteArray ZipWriter::endRecord(quint16 entries, quint32 directorySize, quint32 directoryOffset,
                                const QByteArray &comment)
{
    return le32(0x06054b50) + le16(0) + le16(0) + le16(entries) + le16(entries) + le32(directorySize)
        + le32(directoryOffset) + le16(quint16(comment.size())) + comment;
}

void sendMouse(QWidget *widget, QEvent::Type type, const QPoint &pos)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons buttons =
        type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

QImage renderOf(QWidget &widget)
{
    QImage image(widget.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

QRect boxOf(const QImage &image, QRgb color, int tolerance)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAbs(qRed(p) - qRed(color)) <= tolerance && qAbs(qGreen(p) - qGreen(color)) <= tolerance
                && qAbs(qBlue(p) - qBlue(color)) <= tolerance && qAlpha(p) == qAlpha(color))
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

QByteArray png(const QSize &size, QImage::Format format, QRgb fill)
{
    QImage image(size, format);
    if (format == QImage::Format_Mono)
        image.fill(0);
    else
        image.fill(fill);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

namespace {

SkinLogCapture *activeCapture = nullptr;
QtMessageHandler previousHandler = nullptr;

void captureSkinLog(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (activeCapture && context.category && qstrcmp(context.category, "orvqtlib.skin") == 0)
        activeCapture->lines.append(message);
    else if (previousHandler)
        previousHandler(type, context, message);
}

} // namespace

SkinLogCapture::SkinLogCapture()
{
    // As after a package load: what an earlier case reported is reported again.
    resetSkinReports();
    activeCapture = this;
    previousHandler = qInstallMessageHandler(captureSkinLog);
}

SkinLogCapture::~SkinLogCapture()
{
    qInstallMessageHandler(previousHandler);
    activeCapture = nullptr;
}

} // namespace OrvQtLib::TestSupport
