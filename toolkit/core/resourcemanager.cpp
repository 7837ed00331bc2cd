#include "resourcemanager.h"

#include "jsonreaders.h"
#include "ziparchive.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <string>
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

const char *const BuiltinImageNames[] = {"IDB_UNSELECT", "IDB_SELECTED", "IDB_UNCHECK", "IDB_CHECKED"};

bool isBuiltinImage(const QString &name)
{
    for (const char *builtin : BuiltinImageNames) {
        if (name == QLatin1String(builtin))
            return true;
    }
    return false;
}

// A 16 x 16 check or radio image, drawn at `scale` device pixels to one.
QImage drawBuiltin(const QString &name, qreal scale = 1)
{
    const int side = int(std::ceil(16 * scale));
    QImage image(side, side, QImage::Format_ARGB32);
    image.setDevicePixelRatio(scale);
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

namespace {

// Where the file name in `name` begins, and where its extension does (the
// end for none; a leading dot starts no extension).
void splitFileName(const QString &name, int *folder, int *dot)
{
    *folder = std::max(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\')));
    *dot = name.lastIndexOf(QLatin1Char('.'));
    if (*dot <= *folder + 1)
        *dot = name.size();
}

} // namespace

QString imageVariantName(const QString &name, int scale)
{
    int folder = 0;
    int dot = 0;
    splitFileName(name, &folder, &dot);
    return name.left(dot) + QLatin1Char('@') + QString::number(scale) + QLatin1Char('x') + name.mid(dot);
}

int imageVariantScale(const QString &name, QString *base)
{
    int folder = 0;
    int dot = 0;
    splitFileName(name, &folder, &dot);
    // "@Nx" with one digit N from 2 up, right before the extension.
    if (dot - folder < 5 || name.at(dot - 1) != QLatin1Char('x') || name.at(dot - 3) != QLatin1Char('@'))
        return 0;
    const int scale = name.at(dot - 2).digitValue();
    if (scale < 2 || scale > MaxImageVariantScale)
        return 0;
    if (base)
        *base = name.left(dot - 3) + name.mid(dot);
    return scale;
}

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
    // Per base name, bit N set when the package has its @Nx variant; found
    // on the first request at a ratio above 1.
    std::map<QString, quint32> m_variantScales;
    // Decoded variants by variant name; null for one that did not decode.
    std::map<QString, std::unique_ptr<QImage>> m_variantImages;
    OrvQStyleTables m_styles;
    quint64 m_keptDocumentMemory = 0;
    quint64 m_documentCacheLimit = DefaultDocumentCacheLimit;
    quint64 m_documentClock = 0;

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
        if (zipItem(zip, i, &entry) != ZipOk || entry.uncompressedSize == 0)
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
        unzipItemToMemory(zip, i, file.bytes.get(), file.size);
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
    m_variantScales.clear();
    m_variantImages.clear();
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
    m_d->m_variantScales.clear();
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
    m_d->m_variantScales.clear();
    return m_d->parseLastStyleFile();
}

void OrvQResourceManager::createBuiltinImages()
{
    for (const char *name : BuiltinImageNames) {
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

QImage *OrvQResourceManager::image(const QString &name, qreal ratio)
{
    if (!(ratio > 1))
        return image(name);
    // The built-in images are drawn again at the target's resolution.
    if (isBuiltinImage(name)) {
        const qreal scale = std::min<qreal>(ratio, MaxImageVariantScale);
        std::unique_ptr<QImage> &drawn = m_d->m_variantImages[name + QLatin1Char('@') + QString::number(scale)];
        if (!drawn)
            drawn = std::make_unique<QImage>(drawBuiltin(name, scale));
        return drawn.get();
    }
    auto found = m_d->m_variantScales.find(name);
    if (found == m_d->m_variantScales.end()) {
        quint32 scales = 0;
        for (int n = 2; n <= MaxImageVariantScale; ++n) {
            if (fileData(imageVariantName(name, n), nullptr, nullptr))
                scales |= 1u << n;
        }
        found = m_d->m_variantScales.emplace(name, scales).first;
    }
    const quint32 scales = found->second;
    if (!scales)
        return image(name);
    // The smallest scale at least as dense as the target, else the densest.
    int scale = 0;
    for (int n = 2; n <= MaxImageVariantScale; ++n) {
        if (scales & (1u << n)) {
            scale = n;
            if (n >= ratio)
                break;
        }
    }

    const QString variant = imageVariantName(name, scale);
    auto cached = m_d->m_variantImages.find(variant);
    if (cached == m_d->m_variantImages.end()) {
        std::unique_ptr<QImage> decoded;
        QImage bytes = packageImage(variant);
        if (!bytes.isNull()) {
            bytes.setDevicePixelRatio(scale);
            decoded = std::make_unique<QImage>(std::move(bytes));
        }
        cached = m_d->m_variantImages.emplace(variant, std::move(decoded)).first;
    }
    return cached->second ? cached->second.get() : image(name);
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
