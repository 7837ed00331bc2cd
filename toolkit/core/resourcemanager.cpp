#include "resourcemanager.h"

#include "jsonreaders.h"
#include "skinlog.h"
#include "ziparchive.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace OrvQtLib {

namespace {

struct FreeDeleter {
    void operator()(char *bytes) const { std::free(bytes); }
};

struct FileEntry {
    // calloc: the zeros after a member that decompresses only partly cost no
    // memory until they are touched.
    std::unique_ptr<char[], FreeDeleter> bytes;
    quint32 size = 0;
    // The parsed document while it is kept, its estimated memory, and when
    // it was last asked for.
    std::shared_ptr<const Json::Value> document;
    quint64 documentMemory = 0;
    quint64 lastUse = 0;
};

// Heap a parsed tree holds, roughly as jsoncpp allocates it: a map node per
// member or element, a map per array or object, and each string and member
// name on its own. Walked without recursion.
quint64 treeMemory(const Json::Value &root)
{
    constexpr quint64 PerValue = 96;
    constexpr quint64 PerContainer = 64;
    constexpr quint64 PerString = 32;
    quint64 total = 0;
    std::vector<const Json::Value *> pending{&root};
    while (!pending.empty()) {
        const Json::Value &value = *pending.back();
        pending.pop_back();
        total += PerValue;
        const char *begin = nullptr;
        const char *end = nullptr;
        if (value.isString() && value.getString(&begin, &end)) {
            total += PerString + quint64(end - begin);
        } else if (value.isObject() || value.isArray()) {
            total += PerContainer;
            const bool object = value.isObject();
            for (auto it = value.begin(); it != value.end(); ++it) {
                const char *nameEnd = nullptr;
                const char *name = object ? it.memberName(&nameEnd) : nullptr;
                if (name && nameEnd)
                    total += PerString + quint64(nameEnd - name);
                pending.push_back(&*it);
            }
        }
    }
    return total;
}

bool passesImageBounds(const QSize &size)
{
    return size.width() > MaxImageSide || size.height() > MaxImageSide
        || qint64(size.width()) * size.height() > MaxImagePixels;
}

// Decodes only after the declared size passed the bounds; formats that cannot
// tell their size up front are refused with them.
QImage readBounded(QImageReader &reader)
{
    const QSize size = reader.size();
    if (!size.isValid() || passesImageBounds(size))
        return QImage();
    QImage image;
    if (!reader.read(&image))
        return QImage();
    return image;
}

// The format of the common image files, told by their first bytes. Naming it
// with detection off lets Qt take its built-in reader at once instead of
// loading every image plugin to ask whether it knows the data; anything else,
// or data the named reader refuses, goes through Qt's own detection.
QByteArray formatFromSignature(const QByteArray &bytes)
{
    if (bytes.startsWith("\x89PNG\r\n\x1a\n"))
        return QByteArrayLiteral("png");
    if (bytes.startsWith("\xff\xd8\xff"))
        return QByteArrayLiteral("jpeg");
    if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"))
        return QByteArrayLiteral("gif");
    if (bytes.startsWith("BM"))
        return QByteArrayLiteral("bmp");
    return QByteArray();
}

QImage decodeBytes(const char *data, quint32 size)
{
    QByteArray bytes = QByteArray::fromRawData(data, int(size));
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return QImage();
    const QByteArray format = formatFromSignature(bytes);
    if (!format.isEmpty()) {
        QImageReader reader(&buffer, format);
        reader.setAutoDetectImageFormat(false);
        const QImage image = readBounded(reader);
        if (!image.isNull())
            return image;
        buffer.seek(0);
    }
    QImageReader reader(&buffer);
    return readBounded(reader);
}

QImage decodeFile(const QString &path)
{
    QImageReader reader(path);
    return readBounded(reader);
}

// Only regular files: a name of a device or a pipe must not block or stream.
bool isRegularFile(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

QImage drawBuiltin(const QString &name)
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(0);
    QPainter painter(&image);
    const QColor colour(0xcc, 0xcc, 0xcc);
    painter.setPen(QPen(colour, 1));
    if (name == QLatin1String("IDB_UNSELECT") || name == QLatin1String("IDB_SELECTED")) {
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.drawEllipse(1, 1, 14, 14);
        if (name == QLatin1String("IDB_SELECTED")) {
            painter.setBrush(QBrush(colour, Qt::SolidPattern));
            painter.drawEllipse(QPoint(8, 8), 4, 4);
        }
    } else {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.drawRect(1, 1, 14, 14);
        if (name == QLatin1String("IDB_CHECKED")) {
            painter.setRenderHint(QPainter::Antialiasing, true);
            const QPoint mark[] = {QPoint(4, 9), QPoint(8, 13), QPoint(14, 3)};
            painter.drawPolyline(mark, 3);
        }
    }
    painter.end();
    return image;
}

} // namespace

// Member names and queries fold the same way: ASCII only, byte by byte, with
// '\' read as '/'. Other bytes (UTF-8 names) are compared as they are.
std::string packageMemberKey(std::string name)
{
    for (char &c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 'A' && u <= 'Z')
            c = char(u - 'A' + 'a');
        else if (c == '\\')
            c = '/';
    }
    return name;
}

OrvQImageVerdict decodeImageBytes(const char *data, quint32 size, QImage *out)
{
    QImage image = decodeBytes(data, size);
    if (!image.isNull()) {
        if (out)
            *out = std::move(image);
        return OrvQImageVerdict::Decoded;
    }
    // Refused: for its declared size, or because no reader takes it.
    QByteArray bytes = QByteArray::fromRawData(data, int(size));
    QBuffer buffer(&bytes);
    if (buffer.open(QIODevice::ReadOnly)) {
        QImageReader reader(&buffer);
        const QSize declared = reader.size();
        if (declared.isValid() && passesImageBounds(declared))
            return OrvQImageVerdict::TooLarge;
    }
    return OrvQImageVerdict::Undecodable;
}

struct OrvQResourceManager::Private {
    std::map<std::string, FileEntry> m_files;
    // Only the last style.json met is ever parsed, so only it is kept.
    FileEntry m_styleFile;
    QString m_baseDir;
    std::map<QString, std::unique_ptr<QImage>> m_images;
    // Images that came back with width 0. They are not cached, so a later
    // request tries again, but each name owns one so that repeated requests
    // neither leak nor invalidate a pointer handed out before.
    std::map<QString, std::unique_ptr<QImage>> m_emptyImages;
    OrvQStyleTables m_styles;
    quint64 m_keptDocumentMemory = 0;
    quint64 m_documentCacheLimit = DefaultDocumentCacheLimit;
    quint64 m_documentClock = 0;
    // Members that failed to unpack; a replacing package must have none.
    int m_failedMembers = 0;
    quint64 m_generation = 0;

    void keepDocument(FileEntry &file, std::shared_ptr<const Json::Value> document);
    void dropDocumentsBeyond(quint64 limit);
    void readMembers(OrvQZipArchive *zip);
    bool parseLastStyleFile();
    void release();
};

void OrvQResourceManager::Private::readMembers(OrvQZipArchive *zip)
{
    OrvQZipEntry entry;
    if (zipItem(zip, -1, &entry) != ZipOk)
        return;
    const int count = entry.index;
    quint64 taken = 0;
    for (int i = 0; i < count; ++i) {
        if (zipItem(zip, i, &entry) != ZipOk) {
            ++m_failedMembers;
            continue;
        }
        if (entry.uncompressedSize == 0)
            continue;
        const std::string key = packageMemberKey(entry.name);
        const bool isStyleFile = key == "style.json";
        // The first member of a name wins; a later one is not even inflated.
        if (!isStyleFile && m_files.count(key))
            continue;
        // Never trust the declared size: the reader's capacity is what the
        // member's data can produce, and the package as a whole is bounded.
        const quint64 capacity = std::min<quint64>(zipMemberCapacity(entry), MaxPackageBytes - taken);
        if (capacity == 0)
            continue;
        FileEntry file;
        file.bytes.reset(static_cast<char *>(std::calloc(size_t(capacity), 1)));
        if (!file.bytes)
            continue;
        file.size = quint32(capacity);
        taken += capacity;
        // A member that fails part-way keeps what was produced, zeros after.
        if (unzipItemToMemory(zip, i, file.bytes.get(), file.size) != ZipOk)
            ++m_failedMembers;
        if (isStyleFile)
            m_styleFile = std::move(file);
        else
            m_files.emplace(key, std::move(file));
    }
}

bool OrvQResourceManager::Private::parseLastStyleFile()
{
    if (!m_styleFile.bytes)
        return false;
    Json::Value root;
    if (!parseJsonDocument(m_styleFile.bytes.get(), m_styleFile.size, root) || !jsonHas(root, "style"))
        return false;
    OrvQtLib::parseStyles(jsonMember(root, "style"), m_styles);
    return true;
}

void OrvQResourceManager::Private::keepDocument(FileEntry &file, std::shared_ptr<const Json::Value> document)
{
    const quint64 memory = treeMemory(*document);
    if (memory > m_documentCacheLimit)
        return;
    dropDocumentsBeyond(m_documentCacheLimit - memory);
    file.document = std::move(document);
    file.documentMemory = memory;
    m_keptDocumentMemory += memory;
}

void OrvQResourceManager::Private::dropDocumentsBeyond(quint64 limit)
{
    while (m_keptDocumentMemory > limit) {
        FileEntry *oldest = nullptr;
        for (auto &member : m_files) {
            if (member.second.document && (!oldest || member.second.lastUse < oldest->lastUse))
                oldest = &member.second;
        }
        if (!oldest)
            break;
        // A load still building from it holds its own reference.
        oldest->document.reset();
        m_keptDocumentMemory -= oldest->documentMemory;
        oldest->documentMemory = 0;
    }
}

void OrvQResourceManager::Private::release()
{
    for (auto it = m_images.begin(); it != m_images.end();) {
        if (it->first.contains(QLatin1String("IDB_")))
            ++it;
        else
            it = m_images.erase(it);
    }
    m_emptyImages.clear();
    m_styles.rects.clear();
    m_styles.fonts.clear();
}

OrvQResourceManager &OrvQResourceManager::instance()
{
    // Function-local static: created on first use, safely under concurrent
    // first calls, and destroyed at exit.
    static OrvQResourceManager manager;
    return manager;
}

OrvQResourceManager::OrvQResourceManager()
    : m_d(std::make_unique<Private>())
{
}

OrvQResourceManager::~OrvQResourceManager()
{
    m_d->release();
}

bool OrvQResourceManager::loadPackage(const QString &path)
{
    if (path.isEmpty())
        return false;
    // The local 8-bit encoding of the file system, so non-ASCII paths open.
    const QByteArray local = QFile::encodeName(path);
    OrvQZipHandle zip(openZipFile(local.constData(), nullptr));
    if (!zip)
        return false;
    m_d->readMembers(zip.get());
    zip.reset();
    return m_d->parseLastStyleFile();
}

bool OrvQResourceManager::loadPackageFromMemory(const char *data, int size)
{
    if (!data || size <= 0)
        return false;
    OrvQZipHandle zip(openZipMemory(data, unsigned(size), nullptr));
    if (!zip)
        return false;
    m_d->readMembers(zip.get());
    zip.reset();
    return m_d->parseLastStyleFile();
}

bool OrvQResourceManager::replacePackage(const QString &path)
{
    // Read into a fresh state with the loading code itself; the current
    // skin stays untouched until the new one is wholly read.
    std::unique_ptr<Private> previous = std::exchange(m_d, std::make_unique<Private>());
    m_d->m_baseDir = previous->m_baseDir;
    m_d->m_documentCacheLimit = previous->m_documentCacheLimit;
    const bool read = loadPackage(path);
    if (!read || m_d->m_failedMembers != 0) {
        if (m_d->m_failedMembers != 0)
            qCWarning(lcSkin) << "skin not switched:" << m_d->m_failedMembers << "members of" << path
                              << "do not unpack";
        else
            qCWarning(lcSkin) << "skin not switched:" << path << "cannot be read or has no usable style.json";
        m_d = std::move(previous);
        return false;
    }
    // The built-in images move over, so pointers to them stay valid.
    for (auto &image : previous->m_images) {
        if (image.first.contains(QLatin1String("IDB_")))
            m_d->m_images.emplace(image.first, std::move(image.second));
    }
    m_d->m_generation = previous->m_generation + 1;
    return true;
}

quint64 OrvQResourceManager::generation() const
{
    return m_d->m_generation;
}

void OrvQResourceManager::createBuiltinImages()
{
    static const char *const names[] = {"IDB_UNSELECT", "IDB_SELECTED", "IDB_UNCHECK", "IDB_CHECKED"};
    for (const char *name : names) {
        const QString key = QLatin1String(name);
        QImage drawn = drawBuiltin(key);
        std::unique_ptr<QImage> &slot = m_d->m_images[key];
        // Redraw in place: pointers handed out earlier stay valid.
        if (slot)
            *slot = std::move(drawn);
        else
            slot = std::make_unique<QImage>(std::move(drawn));
    }
}

bool OrvQResourceManager::fileData(const QString &name, char **data, unsigned *size) const
{
    const auto found = m_d->m_files.find(packageMemberKey(name.toStdString()));
    if (found == m_d->m_files.end())
        return false;
    if (data)
        *data = found->second.bytes.get();
    if (size)
        *size = found->second.size;
    return true;
}

std::shared_ptr<const Json::Value> OrvQResourceManager::jsonDocument(const QString &name, bool *found)
{
    const auto member = m_d->m_files.find(packageMemberKey(name.toStdString()));
    if (found)
        *found = member != m_d->m_files.end();
    if (member == m_d->m_files.end())
        return nullptr;
    FileEntry &file = member->second;
    file.lastUse = ++m_d->m_documentClock;
    if (file.document)
        return file.document;
    auto document = std::make_shared<Json::Value>();
    if (!parseJsonDocument(file.bytes.get(), file.size, *document))
        return nullptr;
    m_d->keepDocument(file, document);
    return document;
}

void OrvQResourceManager::setDocumentCacheLimit(quint64 bytes)
{
    m_d->m_documentCacheLimit = bytes;
    m_d->dropDocumentsBeyond(bytes);
}

quint64 OrvQResourceManager::documentCacheLimit() const
{
    return m_d->m_documentCacheLimit;
}

QString OrvQResourceManager::baseDir() const
{
    return m_d->m_baseDir;
}

QImage *OrvQResourceManager::image(const QString &name)
{
    const auto cached = m_d->m_images.find(name);
    if (cached != m_d->m_images.end())
        return cached->second.get();

    QImage decoded;
    char *data = nullptr;
    unsigned size = 0;
    if (fileData(name, &data, &size))
        decoded = decodeBytes(data, size);
    if (decoded.isNull()) {
        QString path = m_d->m_baseDir + name;
        if (!isRegularFile(path)) {
            path = m_d->m_baseDir + QLatin1String("images/") + name;
            if (!isRegularFile(path))
                return nullptr;
        }
        decoded = decodeFile(path);
    }

    if (decoded.width() != 0) {
        std::unique_ptr<QImage> &slot = m_d->m_images[name];
        slot = std::make_unique<QImage>(std::move(decoded));
        return slot.get();
    }
    std::unique_ptr<QImage> &empty = m_d->m_emptyImages[name];
    if (!empty)
        empty = std::make_unique<QImage>();
    return empty.get();
}

QImage OrvQResourceManager::packageImage(const QString &name) const
{
    char *data = nullptr;
    unsigned size = 0;
    return fileData(name, &data, &size) ? decodeBytes(data, size) : QImage();
}

bool OrvQResourceManager::rectStyle(const QString &name, OrvQRectStyle &out) const
{
    if (name == QLatin1String("empty") || name == QLatin1String("emptyRect")) {
        out.nonEmpty = false;
        return true;
    }
    const auto found = m_d->m_styles.rects.find(name);
    if (found == m_d->m_styles.rects.end())
        return false;
    out = found->second;
    out.nonEmpty = true;
    return true;
}

bool OrvQResourceManager::fontStyle(const QString &name, OrvQFontStyle &out) const
{
    const auto found = m_d->m_styles.fonts.find(name);
    if (found == m_d->m_styles.fonts.end())
        return false;
    out = found->second;
    return true;
}

void OrvQResourceManager::parseStyles(const Json::Value &styles)
{
    OrvQtLib::parseStyles(styles, m_d->m_styles);
}

} // namespace OrvQtLib
