#pragma once

#include "stylerecords.h"

#include <QString>

#include <json/value.h>

#include <memory>
#include <string>

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

    /// Adds the members and styles of a skin package. False when the package
    /// cannot be opened, or when it (and every package before it) has no
    /// usable style.json; its members are loaded even then.
    bool loadPackage(const QString &path);
    /// As loadPackage(), from `size` bytes at `data`, which are copied; false
    /// for a null or negative buffer.
    bool loadPackageFromMemory(const char *data, int size);
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
    /// the manager. An image that fails to decode on disk comes back with
    /// width 0; callers test the size before drawing.
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
