#pragma once

#include "stylerecords.h"

#include <QString>

#include <json/value.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

class QImage;

namespace OrvQtLib {

/// Images whose declared size passes either bound are refused before they are
/// decoded: a tiny file can declare a picture of gigabytes.
constexpr int MaxImageSide = 16384;
/// Most pixels an image may declare: 256 MiB as ARGB32.
constexpr qint64 MaxImagePixels = qint64(64) << 20; // 256 MiB as ARGB32
/// Parsed documents are kept while their trees, as estimated from their
/// values, add up to at most the document cache limit, this one unless the
/// application sets another. A tree takes 15 to 55 times the bytes of its
/// source, so the bound is on the tree, not on the source.
constexpr quint64 DefaultDocumentCacheLimit = quint64(32) << 20;

/// The key a package member is found by: ASCII letters folded to lower case,
/// '\' read as '/'. Two members of one key are one member to every lookup.
std::string packageMemberKey(std::string name);

/// A folder read as a package holds at most as many files as a zip can.
constexpr int MaxFolderMembers = 65535;

/// Frees what calloc gave.
struct OrvQFreeDeleter {
    /// Frees `bytes`.
    void operator()(char *bytes) const { std::free(bytes); }
};

/// One member of a skin package, unpacked into memory.
struct OrvQPackageMember {
    std::string name; ///< as stored; in a folder, the path below it with '/'
    std::string key;  ///< packageMemberKey(name)
    /// calloc: the zeros after a member that unpacks only partly cost no
    /// memory until they are touched. Null for a shadowed member, and for one
    /// of a compression method the reader lacks.
    std::unique_ptr<char[], OrvQFreeDeleter> bytes;
    quint32 size = 0; ///< bytes held
    quint16 method = 0; ///< zip compression method: 0 stored, 8 deflated; 0 in a folder
    bool encrypted = false; ///< the zip marks it encrypted
    unsigned result = 0; ///< ZipOk, or why the bytes stop short (zeros after)
    /// The earlier member of the same key that every lookup finds instead,
    /// or -1. Such a member is not unpacked. style.json is never shadowed:
    /// the last one counts.
    int shadowedBy = -1;
};

/// A whole skin package read into memory before any of it is used, with the
/// member rules applied: empty members dropped, the first member of a key
/// wins, the last style.json counts, all members together within
/// MaxPackageBytes.
struct OrvQPackage {
    bool opened = false; ///< false: not found, or not a zip archive
    QString error; ///< why it did not open, in a designer's words
    std::vector<OrvQPackageMember> members; ///< in package order
    int styleFile = -1;     ///< index of the style.json that counts, or -1
    int unreadRecords = 0;  ///< directory records the zip reader could not read
};

/// Reads a zip file, or a folder holding an unpacked package (its files, not
/// following links, as if it were zipped from inside), within the same limits.
OrvQPackage readPackage(const QString &path);
/// A zip archive in memory; the bytes are not kept.
OrvQPackage readPackageFromMemory(const char *data, int size);

/// Images for dense screens sit beside their base image as `name@Nx.ext`
/// (N from 2 to MaxImageVariantScale), N times its size in each direction.
constexpr int MaxImageVariantScale = 8;
/// `name` with `@Nx` before its extension.
QString imageVariantName(const QString &name, int scale);
/// N of a variant's name, with its base image's name in `base`; 0 when the
/// name is no variant.
int imageVariantScale(const QString &name, QString *base = nullptr);

/// What the manager makes of an image's bytes.
enum class OrvQImageVerdict {
    Decoded,
    TooLarge,    // its declared size passes MaxImageSide or MaxImagePixels
    Undecodable,
};
/// Decodes image bytes into `out` (when not null) within the image bounds.
OrvQImageVerdict decodeImageBytes(const char *data, quint32 size, QImage *out = nullptr);

/// Process-wide holder of the loaded skin: package members, decoded images and
/// the rect and font style tables.
class OrvQResourceManager
{
public:
    /// The one manager of the process, made on first use.
    static OrvQResourceManager &instance();

    OrvQResourceManager(const OrvQResourceManager &) = delete;
    OrvQResourceManager &operator=(const OrvQResourceManager &) = delete;

    /// Adds the members and styles of a skin package: a zip file, or a folder
    /// holding an unpacked one. False when the package cannot be opened, or
    /// when it (and every package before it) has no usable style.json; its
    /// members are loaded even then. Members of a name already loaded keep
    /// the earlier bytes.
    bool loadPackage(const QString &path);
    /// As loadPackage(), from `size` bytes at `data`, which are copied; false
    /// for a null or negative buffer.
    bool loadPackageFromMemory(const char *data, int size);
    /// Adds a package read by readPackage(), as loadPackage() does.
    /// `source` names the package in what the toolkit logs.
    bool addPackage(OrvQPackage package, const QString &source = QString());
    /// Replaces every member, style and cached image of the packages loaded
    /// so far (the built-in images stay) with those of one package. The
    /// package is read wholly first: when it cannot be opened, a member fails
    /// to unpack or it has no usable style.json, nothing changes and the
    /// result is false. Images and documents handed out before are released.
    bool replacePackage(const QString &path);
    /// Counts the successful replacements: what was looked up in the skin
    /// before another value may be stale.
    quint64 generation() const;
    /// Draws the built-in check images ("IDB_CHECKED" and the others).
    void createBuiltinImages();

    /// Bytes of a package member, found without regard to ASCII case and with
    /// '\' read as '/'; the bytes stay owned by the manager.
    bool fileData(const QString &name, char **data, unsigned *size) const;
    /// The JSON document a package member holds, parsed on first request.
    /// Members never change once loaded, so the tree is kept for later
    /// requests, the least recently used going first when the kept trees pass
    /// the document cache limit. Null when there is no such member or it does
    /// not parse; `found` tells the two apart.
    std::shared_ptr<const Json::Value> jsonDocument(const QString &name, bool *found = nullptr);
    /// 0 keeps no document; lowering the limit drops documents at once.
    void setDocumentCacheLimit(quint64 bytes);
    /// Bytes of parsed documents kept.
    quint64 documentCacheLimit() const;
    /// Directory, with a trailing slash, that descriptions on disk are read from.
    QString baseDir() const;
    /// A cached image, or one decoded from the package or the disk; owned by
    /// the manager until the package is replaced. An image that fails to
    /// decode on disk comes back with width 0; callers test the size before
    /// drawing.
    QImage *image(const QString &name);
    /// The image to draw on a target of `ratio` device pixels per logical
    /// pixel: of `name` and its variants in the package, the smallest scale
    /// at least `ratio`, else the largest. A variant carries its scale as
    /// device pixel ratio, so it draws at the base image's logical size. At
    /// ratio 1 or below this is image(name).
    QImage *image(const QString &name, qreal ratio);
    /// An image of the package alone, decoded within the image bounds and not
    /// cached; null when the package has no such member. Never reads the disk.
    QImage packageImage(const QString &name) const;
    /// Copies the rect style `name` into `out`; false, leaving `out` alone,
    /// when there is none.
    bool rectStyle(const QString &name, OrvQRectStyle &out) const;
    /// Copies the font style `name` into `out`; false, leaving `out` alone,
    /// when there is none.
    bool fontStyle(const QString &name, OrvQFontStyle &out) const;
    /// Adds the records of a style.json "style" value; the first record of a
    /// name wins.
    void parseStyles(const Json::Value &styles);

private:
    OrvQResourceManager();
    ~OrvQResourceManager();

    struct Private;
    std::unique_ptr<Private> m_d;
};

} // namespace OrvQtLib
