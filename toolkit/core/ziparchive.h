#pragma once

#include <QtGlobal>

#include <memory>

namespace OrvQtLib {

// Reader of skin packages: single-disk zip archives with stored and deflated
// members, 16-bit counts and 32-bit sizes. It writes nothing.
//
// Every call returns one of the codes below (0 is success) and records it as
// the process-wide last result. Archives are untrusted: no input makes the
// reader read or write outside its buffers, allocate by a declared size or
// loop without progress.

/// Result codes of the zip functions; zipLastResult() gives the last one.
enum OrvQZipResult : unsigned {
    ZipOk = 0,
    ZipErrNoArchive = 0x00000200,    // cannot open, or no valid end record / directory
    ZipErrMoreData = 0x00000600,     // the output buffer filled before the member ended
    ZipErrLocalHeader = 0x00000700,  // the local header does not match the central record
    ZipErrExtraField = 0x00000800,   // the local extra field lies outside the source
    ZipErrPassword = 0x00001000,     // encryption header check failed
    ZipErrArgument = 0x00010000,     // null handle, or index below -1 or not below the count
    ZipErrMember = 0x05000000,       // the member cannot be opened, read or inflated
};

/// One member of a zip archive, as zipItem() describes it.
struct OrvQZipEntry {
    int index = 0; ///< for index -1: the member count
    char name[1024] = {}; ///< as stored, cleaned, cut to 1023 bytes
    quint32 compressedSize = 0; ///<< as declared by the central record
    quint32 uncompressedSize = 0; ///< as declared by the central record
    quint16 method = 0; ///< 0 stored, 8 deflated
    bool encrypted = false; ///<< the member needs a password
    /// Compressed bytes of the member actually present in the source (the
    /// declared compressed size cut at the end of the source).
    quint32 availableSize = 0;
};

/// Largest buffer a single member is ever given, and the most a whole package
/// may take in memory. Generous: a real skin of hundreds of MB loads.
constexpr quint64 MaxMemberBytes = quint64(512) << 20;
/// Most a whole package may take in memory.
constexpr quint64 MaxPackageBytes = quint64(2) << 30;
/// Deflate cannot expand beyond about 1032:1 (a 258-byte match in two bits).
constexpr quint64 MaxDeflateRatio = 1032;

/// The size of buffer worth giving a member found by zipItem: its declared
/// uncompressed size, cut to what its present compressed bytes can really
/// produce and to MaxMemberBytes. 0 for an empty entry.
quint32 zipMemberCapacity(const OrvQZipEntry &entry);

class OrvQZipArchive;

/// Null on failure. The password may be null (the empty password). A memory
/// source is not copied and must stay valid until closeZip.
OrvQZipArchive *openZipFile(const char *path, const char *password);
/// As openZipFile(), from `length` bytes at `data`.
OrvQZipArchive *openZipMemory(const void *data, unsigned length, const char *password);

/// Index -1 gives the member count in out->index. The entry's index, name and
/// uncompressed size are cleared first, so a failing call leaves size 0.
unsigned zipItem(OrvQZipArchive *zip, int index, OrvQZipEntry *out);
/// Decompresses member `index` into `buffer`, at most `length` bytes. After
/// ZipErrMoreData the next call for the same index continues the member.
unsigned unzipItemToMemory(OrvQZipArchive *zip, int index, void *buffer, unsigned length);
/// Closes the archive and frees the handle.
unsigned closeZip(OrvQZipArchive *zip);

/// The result of the last zip call in the process.
unsigned zipLastResult();

/// Owning handle for callers that prefer RAII over a matching closeZip.
struct OrvQZipCloser {
    /// Closes the archive.
    void operator()(OrvQZipArchive *zip) const { closeZip(zip); }
};
/// An archive closed when the handle goes.
using OrvQZipHandle = std::unique_ptr<OrvQZipArchive, OrvQZipCloser>;

} // namespace OrvQtLib
