#include "resourcemanager.h"

#include "jsonreaders.h"
#include "skinlog.h"
#include "stylekeys.h"
#include "ziparchive.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
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
#include <utility>
#include <vector>

namespace OrvQtLib {

namespace {

struct FileEntry {
    std::unique_ptr<char[], OrvQFreeDeleter> bytes;
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

void reportUndecodable(const QString &name)
{
    if (skinReportDue(OrvQSkinIssue::ImageUndecodable, name))
        qCWarning(lcSkin).noquote()
            << QStringLiteral("image \"%1\" does not decode, or is larger than %2 pixels a side or %3 in all")
                   .arg(name)
                   .arg(MaxImageSide)
                   .arg(MaxImagePixels);
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

namespace {

constexpr const char StyleFileKey[] = "style.json";

// Names and limits shared by both sources: the member is kept under its key
// unless an earlier one holds it; the bytes are only taken when kept.
class PackageBuilder
{
public:
    explicit PackageBuilder(OrvQPackage &package) : m_package(package) {}

    // The member's slot, or null when an earlier member of its key shadows it.
    OrvQPackageMember *add(std::string name)
    {
        OrvQPackageMember member;
        member.key = packageMemberKey(name);
        member.name = std::move(name);
        const bool styleFile = member.key == StyleFileKey;
        const auto earlier = m_first.find(member.key);
        if (!styleFile && earlier != m_first.end())
            member.shadowedBy = earlier->second;
        const int index = int(m_package.members.size());
        if (styleFile)
            m_package.styleFile = index;
        else if (member.shadowedBy < 0)
            m_first.emplace(member.key, index);
        m_package.members.push_back(std::move(member));
        return m_package.members.back().shadowedBy < 0 ? &m_package.members.back() : nullptr;
    }

    void addUnread(const OrvQZipEntry &entry, unsigned result)
    {
        OrvQPackageMember member;
        member.name = entry.name;
        member.key = packageMemberKey(member.name);
        member.method = entry.method;
        member.encrypted = entry.encrypted;
        member.result = result;
        m_package.members.push_back(std::move(member));
    }

    // A zeroed buffer of `wanted` bytes, cut to what the package has left.
    bool allocate(OrvQPackageMember &member, quint64 wanted)
    {
        const quint64 capacity = std::min<quint64>({wanted, MaxMemberBytes, MaxPackageBytes - m_taken});
        if (capacity == 0)
            return false;
        member.bytes.reset(static_cast<char *>(std::calloc(size_t(capacity), 1)));
        if (!member.bytes)
            return false;
        member.size = quint32(capacity);
        m_taken += capacity;
        return true;
    }

private:
    OrvQPackage &m_package;
    std::map<std::string, int> m_first;
    quint64 m_taken = 0;
};

void readZipMembers(OrvQZipArchive *zip, OrvQPackage &package)
{
    OrvQZipEntry entry;
    if (!zip || zipItem(zip, -1, &entry) != ZipOk) {
        package.error = QStringLiteral("not a zip archive the toolkit can open");
        return;
    }
    package.opened = true;
    PackageBuilder builder(package);
    const int count = entry.index;
    for (int i = 0; i < count; ++i) {
        if (const unsigned result = zipItem(zip, i, &entry)) {
            // A method the reader lacks: kept by name without bytes, so the
            // tools can say why, and claiming no name.
            if (entry.name[0] && entry.method != 0 && entry.method != 8)
                builder.addUnread(entry, result);
            else
                ++package.unreadRecords;
            continue;
        }
        // Folders and empty files: nothing to keep.
        if (entry.uncompressedSize == 0)
            continue;
        OrvQPackageMember *member = builder.add(entry.name);
        if (!member)
            continue;
        member->method = entry.method;
        member->encrypted = entry.encrypted;
        // Never trust the declared size: the capacity is what the member's
        // data can produce.
        if (builder.allocate(*member, zipMemberCapacity(entry)))
            member->result = unzipItemToMemory(zip, i, member->bytes.get(), member->size);
    }
}

// Regular files below `root`, not following links, in name order so that
// the first of two names differing only by case is always the same one.
void readFolderMembers(const QString &root, OrvQPackage &package)
{
    // Absolute, so that relativeFilePath gives the path below the folder.
    const QDir dir(QFileInfo(root).absoluteFilePath());
    QStringList names;
    QDirIterator it(dir.path(), QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDirIterator::Subdirectories);
    while (it.hasNext() && names.size() < MaxFolderMembers)
        names.append(dir.relativeFilePath(it.next()));
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) { return a.toUtf8() < b.toUtf8(); });
    package.opened = true;
    PackageBuilder builder(package);
    for (const QString &name : names) {
        QFile file(dir.filePath(name));
        // As in a zip: names cut to the reader's 1023 bytes, empty files dropped.
        if (file.size() <= 0 || !QFileInfo(file).isFile())
            continue;
        OrvQPackageMember *member = builder.add(name.toUtf8().left(1023).toStdString());
        if (!member || !builder.allocate(*member, quint64(file.size())))
            continue;
        if (!file.open(QIODevice::ReadOnly) || file.read(member->bytes.get(), member->size) < 0)
            member->result = ZipErrMember;
    }
}

} // namespace

OrvQPackage readPackage(const QString &path)
{
    OrvQPackage package;
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists()) {
        package.error = QStringLiteral("no such file or folder");
    } else if (info.isDir()) {
        readFolderMembers(path, package);
    } else {
        // The local 8-bit encoding of the file system, so non-ASCII paths open.
        OrvQZipHandle zip(openZipFile(QFile::encodeName(path).constData(), nullptr));
        readZipMembers(zip.get(), package);
    }
    return package;
}

OrvQPackage readPackageFromMemory(const char *data, int size)
{
    OrvQPackage package;
    OrvQZipHandle zip(data && size > 0 ? openZipMemory(data, unsigned(size), nullptr) : nullptr);
    readZipMembers(zip.get(), package);
    return package;
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
    // Members that failed to unpack; a replacing package must have none.
    quint64 m_generation = 0;

    void keepDocument(FileEntry &file, std::shared_ptr<const Json::Value> document);
    void dropDocumentsBeyond(quint64 limit);
    bool parseLastStyleFile(const QString &package);
    void release();
};

bool OrvQResourceManager::Private::parseLastStyleFile(const QString &package)
{
    const auto report = [&package](const QString &why) {
        if (skinReportDue(OrvQSkinIssue::PackageUnreadable, package))
            qCWarning(lcSkin).noquote() << QStringLiteral("skin package \"%1\": %2: no style is defined").arg(package, why);
    };
    if (!m_styleFile.bytes) {
        // An earlier package may have brought the styles.
        if (m_styles.rects.empty() && m_styles.fonts.empty())
            report(QStringLiteral("it has no style.json"));
        return false;
    }
    Json::Value root;
    QString error;
    if (!parseJsonDocument(m_styleFile.bytes.get(), m_styleFile.size, root, &error)) {
        report(QStringLiteral("style.json does not parse: ") + error);
        return false;
    }
    if (!jsonHas(root, "style")) {
        report(QStringLiteral("style.json has no \"style\""));
        return false;
    }
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
    resetSkinReports();
    return addPackage(readPackage(path), path.isEmpty() ? path : QFileInfo(path).absoluteFilePath());
}

bool OrvQResourceManager::loadPackageFromMemory(const char *data, int size)
{
    resetSkinReports();
    return addPackage(readPackageFromMemory(data, size), QStringLiteral("(in memory)"));
}

bool OrvQResourceManager::addPackage(OrvQPackage package, const QString &source)
{
    if (!package.opened) {
        if (skinReportDue(OrvQSkinIssue::PackageUnreadable, source))
            qCWarning(lcSkin).noquote() << QStringLiteral("skin package \"%1\" cannot be read: %2").arg(source, package.error);
        return false;
    }
    for (int i = 0; i < int(package.members.size()); ++i) {
        OrvQPackageMember &member = package.members[size_t(i)];
        if (!member.bytes)
            continue;
        FileEntry file;
        file.bytes = std::move(member.bytes);
        file.size = member.size;
        if (i == package.styleFile)
            m_d->m_styleFile = std::move(file);
        else if (member.key != StyleFileKey)
            m_d->m_files.emplace(member.key, std::move(file)); // an earlier package's member wins
    }
    // The new members may hold variants of images already looked up.
    m_d->m_variantScales.clear();
    return m_d->parseLastStyleFile(source);
}

bool OrvQResourceManager::replacePackage(const QString &path)
{
    // The whole package is read before anything changes, so a package that
    // fails halfway leaves the current skin as it was.
    OrvQPackage package = readPackage(path);
    int failed = package.unreadRecords;
    for (const OrvQPackageMember &member : package.members)
        failed += member.result != ZipOk ? 1 : 0;
    if (!package.opened || failed != 0) {
        qCWarning(lcSkin).noquote() << QStringLiteral("skin not switched: \"%1\" %2")
                                           .arg(path, !package.opened ? QStringLiteral("cannot be read: ") + package.error
                                                                      : QStringLiteral("has %1 members that do not unpack").arg(failed));
        return false;
    }
    std::unique_ptr<Private> previous = std::exchange(m_d, std::make_unique<Private>());
    m_d->m_baseDir = previous->m_baseDir;
    m_d->m_documentCacheLimit = previous->m_documentCacheLimit;
    resetSkinReports();
    if (!addPackage(std::move(package), QFileInfo(path).absoluteFilePath())) {
        qCWarning(lcSkin).noquote() << QStringLiteral("skin not switched: \"%1\" has no usable style.json").arg(path);
        m_d = std::move(previous);
        return false;
    }
    // The built-in images move over, so pointers to them stay valid.
    for (auto &image : previous->m_images) {
        if (image.first.contains(QLatin1String("IDB_")))
            m_d->m_images.emplace(image.first, std::move(image.second));
    }
    for (auto &image : previous->m_variantImages) {
        if (image.first.contains(QLatin1String("IDB_")))
            m_d->m_variantImages.emplace(image.first, std::move(image.second));
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
    QString error;
    if (!parseJsonDocument(file.bytes.get(), file.size, *document, &error)) {
        if (skinReportDue(OrvQSkinIssue::DescriptionInvalid, name))
            qCWarning(lcSkin).noquote() << QStringLiteral("description \"%1\" does not parse: %2").arg(name, error);
        return nullptr;
    }
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
    if (name.isEmpty())
        return nullptr;

    QImage decoded;
    char *data = nullptr;
    unsigned size = 0;
    const bool inPackage = fileData(name, &data, &size);
    if (inPackage)
        decoded = decodeBytes(data, size);
    if (decoded.isNull()) {
        QString path = m_d->m_baseDir + name;
        if (!isRegularFile(path)) {
            path = m_d->m_baseDir + QLatin1String("images/") + name;
            if (!isRegularFile(path)) {
                if (inPackage)
                    reportUndecodable(name);
                else if (skinReportDue(OrvQSkinIssue::ImageMissing, name))
                    qCWarning(lcSkin).noquote()
                        << QStringLiteral("image \"%1\" is neither in the package nor on disk").arg(name);
                return nullptr;
            }
        }
        decoded = decodeFile(path);
    }

    if (decoded.width() != 0) {
        std::unique_ptr<QImage> &slot = m_d->m_images[name];
        slot = std::make_unique<QImage>(std::move(decoded));
        return slot.get();
    }
    reportUndecodable(name);
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
    if (isBuiltinRectStyle(name)) {
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
