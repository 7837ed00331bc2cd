#include "ziparchive.h"

#include <QByteArray>
#include <QFile>

#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <vector>

namespace OrvQtLib {

namespace {

std::atomic<unsigned> g_lastResult{ZipOk};

unsigned record(unsigned result)
{
    g_lastResult.store(result, std::memory_order_relaxed);
    return result;
}

constexpr quint32 EndSignature = 0x06054b50;
constexpr quint32 CentralSignature = 0x02014b50;
constexpr quint32 LocalSignature = 0x04034b50;
constexpr quint64 EndRecordSize = 22;
constexpr quint64 CentralRecordSize = 46;
constexpr quint64 LocalHeaderSize = 30;
// 22 bytes of end record plus the largest comment, so that an archive with a
// 65,535-byte comment still opens.
constexpr quint64 EndSearchSpan = EndRecordSize + 65535;
constexpr quint32 CipherHeaderSize = 12;
constexpr quint32 InputBlockSize = 16384;
constexpr quint64 DeflateSlack = 1024;

quint16 get16(const uchar *p)
{
    return quint16(p[0] | (p[1] << 8));
}

quint32 get32(const uchar *p)
{
    return quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16) | (quint32(p[3]) << 24);
}

struct CentralRecord {
    quint16 flags = 0;
    quint16 method = 0;
    quint32 crc = 0;
    quint32 compressedSize = 0;
    quint32 uncompressedSize = 0;
    quint16 nameLength = 0;
    quint32 localOffset = 0;
    const uchar *name = nullptr;
};

struct LocalHeader {
    quint16 flags = 0;
    quint16 time = 0;
    quint64 dataStart = 0;
};

// Traditional PKWARE cipher of the zip format.
class TraditionalCipher
{
public:
    explicit TraditionalCipher(const char *password)
        : m_table(get_crc_table())
    {
        for (const char *p = password; *p; ++p)
            update(uchar(*p));
    }

    void decrypt(uchar *data, quint64 length)
    {
        for (quint64 i = 0; i < length; ++i) {
            const quint32 t = m_key2 | 2;
            const uchar plain = uchar(data[i] ^ uchar((t * (t ^ 1)) >> 8));
            update(plain);
            data[i] = plain;
        }
    }

private:
    quint32 crc(quint32 value, uchar byte) const
    {
        return (value >> 8) ^ quint32(m_table[(value ^ byte) & 0xff]);
    }

    void update(uchar byte)
    {
        m_key0 = crc(m_key0, byte);
        m_key1 = (m_key1 + (m_key0 & 0xff)) * 134775813u + 1;
        m_key2 = crc(m_key2, uchar(m_key1 >> 24));
    }

    const z_crc_t *m_table;
    quint32 m_key0 = 305419896u;
    quint32 m_key1 = 591751049u;
    quint32 m_key2 = 878082192u;
};

// Repeats the cleaning rules at the current start until none applies.
const char *cleanName(const char *name)
{
    static const char *const parents[] = {"\\..\\", "\\../", "/../", "/..\\"};
    const char *p = name;
    for (;;) {
        if (p[0] != '\0' && p[1] == ':') {
            p += 2;
            continue;
        }
        if (p[0] == '\\' || p[0] == '/') {
            ++p;
            continue;
        }
        const char *next = nullptr;
        for (const char *pattern : parents) {
            if (const char *hit = std::strstr(p, pattern)) {
                next = hit + 4;
                break;
            }
        }
        if (!next)
            return p;
        p = next;
    }
}

} // namespace

class OrvQZipArchive
{
public:
    ~OrvQZipArchive()
    {
        if (m_inflateReady)
            inflateEnd(&m_stream);
    }

    bool open(const char *password);
    unsigned item(int index, OrvQZipEntry *out);
    unsigned extract(int index, uchar *buffer, quint64 length);

    // The source: a caller's buffer, a mapped file, or a file read into m_owned.
    const uchar *m_data = nullptr;
    quint64 m_size = 0;
    QFile m_file;
    QByteArray m_owned;

private:
    struct Member {
        int index = -1;
        bool ended = false;
        bool encrypted = false;
        quint16 method = 0;
        quint64 position = 0;       // next compressed byte in the source
        quint64 compressedLeft = 0;
        quint64 uncompressedLeft = 0;
    };

    bool readEndRecord(quint64 position);
    bool decode(int index, CentralRecord *rec) const;
    unsigned checkLocal(const CentralRecord &rec, LocalHeader *local) const;
    unsigned openMember(int index);
    unsigned fail(unsigned code)
    {
        closeMember();
        return code;
    }
    void closeMember()
    {
        m_member.index = -1;
        m_cipher.reset();
    }
    unsigned readStored(uchar *out, quint64 length);
    unsigned readDeflated(uchar *out, quint64 length);

    std::string m_password;   // empty: the empty password
    quint64 m_prefix = 0;
    int m_count = 0;
    // Offsets of the central records that decode, in directory order; the
    // directory is walked once, at open.
    std::vector<quint64> m_records;
    // Members whose data overlaps another's or shares its local header.
    std::vector<bool> m_rejected;

    int m_lastIndex = -1;
    OrvQZipEntry m_lastEntry;

    Member m_member;
    std::unique_ptr<TraditionalCipher> m_cipher;
    z_stream m_stream{};
    bool m_inflateReady = false;
    std::vector<uchar> m_input;
};

bool OrvQZipArchive::open(const char *password)
{
    if (password)
        m_password = password;
    if (m_size < EndRecordSize)
        return false;
    // Nearest hit to the end first; a hit that does not hold a valid record
    // (a comment may contain the signature) does not hide an earlier one.
    const quint64 lowest = m_size - std::min(m_size, EndSearchSpan);
    for (quint64 pos = m_size - EndRecordSize + 1; pos-- > lowest;) {
        if (m_data[pos] == 'P' && get32(m_data + pos) == EndSignature && readEndRecord(pos))
            return true;
    }
    return false;
}

bool OrvQZipArchive::readEndRecord(quint64 position)
{
    const uchar *end = m_data + position;
    const quint16 disk = get16(end + 4);
    const quint16 directoryDisk = get16(end + 6);
    const quint16 onDisk = get16(end + 8);
    const quint16 total = get16(end + 10);
    const quint64 directorySize = get32(end + 12);
    const quint64 directoryOffset = get32(end + 16);
    if (disk != 0 || directoryDisk != 0 || onDisk != total)
        return false;
    if (position < directoryOffset + directorySize)
        return false;

    m_prefix = position - (directoryOffset + directorySize);
    m_count = total;
    const quint64 directoryEnd = position;
    quint64 cursor = m_prefix + directoryOffset;

    struct Span {
        quint64 start;
        quint64 end;
        int index;
    };
    std::vector<Span> spans;
    m_records.clear();
    m_records.reserve(total);
    spans.reserve(total);
    for (int i = 0; i < total; ++i) {
        if (directoryEnd - cursor < CentralRecordSize)
            break;
        const uchar *p = m_data + cursor;
        if (get32(p) != CentralSignature)
            break;
        const quint64 length = CentralRecordSize + get16(p + 28) + get16(p + 30) + get16(p + 32);
        if (directoryEnd - cursor < length)
            break;
        m_records.push_back(cursor);
        // The member's extent: local header, its extra field when readable,
        // and the compressed data. The extra field counts because it moves
        // where the data starts.
        const quint64 start = m_prefix + get32(p + 42);
        quint64 extra = 0;
        if (start < m_size && m_size - start >= LocalHeaderSize)
            extra = get16(m_data + start + 28);
        spans.push_back({start, start + LocalHeaderSize + get16(p + 28) + extra + get32(p + 20), i});
        cursor += length;
    }

    m_rejected.assign(m_records.size(), false);
    std::sort(spans.begin(), spans.end(),
              [](const Span &a, const Span &b) { return a.start < b.start; });
    quint64 reach = 0;
    int reachOwner = -1;
    for (const Span &span : spans) {
        if (reachOwner >= 0 && span.start < reach) {
            m_rejected[size_t(span.index)] = true;
            m_rejected[size_t(reachOwner)] = true;
        }
        if (reachOwner < 0 || span.end > reach) {
            reach = span.end;
            reachOwner = span.index;
        }
    }
    return true;
}

bool OrvQZipArchive::decode(int index, CentralRecord *rec) const
{
    if (index < 0 || size_t(index) >= m_records.size())
        return false;
    const uchar *p = m_data + m_records[size_t(index)];
    rec->flags = get16(p + 8);
    rec->method = get16(p + 10);
    rec->crc = get32(p + 16);
    rec->compressedSize = get32(p + 20);
    rec->uncompressedSize = get32(p + 24);
    rec->nameLength = get16(p + 28);
    rec->localOffset = get32(p + 42);
    rec->name = p + CentralRecordSize;
    return true;
}

unsigned OrvQZipArchive::checkLocal(const CentralRecord &rec, LocalHeader *local) const
{
    const quint64 position = m_prefix + rec.localOffset;
    if (position >= m_size || m_size - position < LocalHeaderSize)
        return ZipErrLocalHeader;
    const uchar *p = m_data + position;
    if (get32(p) != LocalSignature)
        return ZipErrLocalHeader;
    const quint16 method = get16(p + 8);
    if (method != rec.method || (method != 0 && method != 8))
        return ZipErrLocalHeader;
    local->flags = get16(p + 6);
    if (!(local->flags & 8)) {
        if (get32(p + 14) != rec.crc || get32(p + 18) != rec.compressedSize
            || get32(p + 22) != rec.uncompressedSize)
            return ZipErrLocalHeader;
    }
    if (get16(p + 26) != rec.nameLength)
        return ZipErrLocalHeader;
    local->time = get16(p + 10);
    local->dataStart = position + LocalHeaderSize + rec.nameLength + get16(p + 28);
    if (local->dataStart > m_size)
        return ZipErrExtraField;
    return ZipOk;
}

unsigned OrvQZipArchive::item(int index, OrvQZipEntry *out)
{
    if (index < -1 || index >= m_count)
        return ZipErrArgument;
    closeMember();
    if (index == -1) {
        out->index = m_count;
        return ZipOk;
    }
    if (index == m_lastIndex) {
        *out = m_lastEntry;
        return ZipOk;
    }
    CentralRecord rec;
    if (!decode(index, &rec))
        return ZipErrNoArchive;
    // Name and method come first, so that a caller can say which member
    // failed and, for a method the reader lacks, which one; sizes stay 0.
    char raw[sizeof out->name];
    const size_t kept = std::min<size_t>(rec.nameLength, sizeof raw - 1);
    std::memcpy(raw, rec.name, kept);
    raw[kept] = '\0';
    const char *clean = cleanName(raw);
    std::memmove(out->name, clean, std::strlen(clean) + 1);
    out->method = rec.method;
    out->encrypted = rec.flags & 1;
    if (m_rejected[size_t(index)])
        return ZipErrLocalHeader;
    LocalHeader local;
    if (const unsigned code = checkLocal(rec, &local))
        return code;

    out->index = index;
    out->compressedSize = rec.compressedSize;
    out->uncompressedSize = rec.uncompressedSize;
    out->availableSize = quint32(std::min<quint64>(rec.compressedSize, m_size - local.dataStart));
    m_lastEntry = *out;
    m_lastIndex = index;
    return ZipOk;
}

unsigned OrvQZipArchive::openMember(int index)
{
    CentralRecord rec;
    if (!decode(index, &rec) || m_rejected[size_t(index)])
        return ZipErrMember;
    LocalHeader local;
    if (checkLocal(rec, &local) != ZipOk)
        return ZipErrMember;

    m_member = Member();
    m_member.method = rec.method;
    m_member.position = local.dataStart;
    m_member.compressedLeft = rec.compressedSize;
    m_member.uncompressedLeft = rec.uncompressedSize;
    m_member.encrypted = rec.flags & 1;
    if (m_member.encrypted) {
        if (rec.compressedSize < CipherHeaderSize)
            return ZipErrPassword;
        if (m_size - local.dataStart < CipherHeaderSize)
            return ZipErrMember;
        m_cipher = std::make_unique<TraditionalCipher>(m_password.c_str());
        uchar header[CipherHeaderSize];
        std::memcpy(header, m_data + local.dataStart, CipherHeaderSize);
        m_cipher->decrypt(header, CipherHeaderSize);
        // With a data descriptor the CRC is not known when the header is
        // written, so the check byte comes from the DOS time.
        const uchar check = (local.flags & 8) ? uchar(local.time >> 8) : uchar(rec.crc >> 24);
        if (header[CipherHeaderSize - 1] != check) {
            m_cipher.reset();
            return ZipErrPassword;
        }
        m_member.position += CipherHeaderSize;
        m_member.compressedLeft -= CipherHeaderSize;
        if (m_input.empty())
            m_input.resize(InputBlockSize);
    }
    if (m_member.method == 8) {
        int rc;
        if (m_inflateReady) {
            rc = inflateReset(&m_stream);
        } else {
            m_stream = z_stream();
            rc = inflateInit2(&m_stream, -MAX_WBITS);
            m_inflateReady = rc == Z_OK;
        }
        if (rc != Z_OK)
            return ZipErrMember;
        m_stream.next_in = nullptr;
        m_stream.avail_in = 0;
    }
    m_member.index = index;
    return ZipOk;
}

unsigned OrvQZipArchive::extract(int index, uchar *buffer, quint64 length)
{
    if (index < 0 || index >= m_count)
        return fail(ZipErrArgument);
    if (m_member.index != index || m_member.ended) {
        closeMember();
        if (const unsigned code = openMember(index))
            return fail(code);
    }
    const unsigned code = m_member.method == 8 ? readDeflated(buffer, length)
                                               : readStored(buffer, length);
    if (code != ZipOk && code != ZipErrMoreData)
        return fail(code);
    return code;
}

unsigned OrvQZipArchive::readStored(uchar *out, quint64 length)
{
    Member &m = m_member;
    const quint64 wanted = std::min(m.uncompressedLeft, m.compressedLeft);
    const quint64 count = std::min(wanted, length);
    const quint64 present = m.position < m_size ? m_size - m.position : 0;
    const quint64 copied = std::min(count, present);
    if (copied) {
        std::memcpy(out, m_data + m.position, copied);
        if (m_cipher)
            m_cipher->decrypt(out, copied);
    }
    m.position += copied;
    m.compressedLeft -= copied;
    m.uncompressedLeft -= copied;
    if (copied < count)
        return ZipErrMember;
    if (m.uncompressedLeft == 0) {
        m.ended = true;
        return ZipOk;
    }
    if (m.compressedLeft == 0)
        return ZipErrMember;
    return ZipErrMoreData;
}

unsigned OrvQZipArchive::readDeflated(uchar *out, quint64 length)
{
    Member &m = m_member;
    z_stream &z = m_stream;
    for (;;) {
        if (m.uncompressedLeft == 0) {
            m.ended = true;
            return ZipOk;
        }
        if (length == 0)
            return ZipErrMoreData;
        if (z.avail_in == 0) {
            // Input used up without the end of the stream: a broken member,
            // never a reason to spin.
            if (m.compressedLeft == 0 || m.position >= m_size)
                return ZipErrMember;
            quint64 block = std::min<quint64>(m.compressedLeft, m_size - m.position);
            if (m_cipher) {
                block = std::min<quint64>(block, InputBlockSize);
                std::memcpy(m_input.data(), m_data + m.position, block);
                m_cipher->decrypt(m_input.data(), block);
                z.next_in = m_input.data();
            } else {
                // The source is in memory: inflate straight from it.
                block = std::min<quint64>(block, 0x40000000);
                z.next_in = const_cast<Bytef *>(m_data + m.position);
            }
            z.avail_in = uInt(block);
            m.position += block;
            m.compressedLeft -= block;
        }
        const uInt room = uInt(std::min<quint64>({length, m.uncompressedLeft, 0x40000000}));
        const uInt inBefore = z.avail_in;
        z.next_out = out;
        z.avail_out = room;
        const int rc = inflate(&z, Z_SYNC_FLUSH);
        const quint64 produced = room - z.avail_out;
        out += produced;
        length -= produced;
        m.uncompressedLeft -= produced;
        if (rc == Z_STREAM_END) {
            m.ended = true;
            return ZipOk;
        }
        if (rc == Z_BUF_ERROR && z.avail_in == 0)
            continue;
        if (rc != Z_OK || (produced == 0 && z.avail_in == inBefore))
            return ZipErrMember;
    }
}

quint32 zipMemberCapacity(const OrvQZipEntry &entry)
{
    quint64 present = entry.availableSize;
    if (entry.encrypted)
        present = present > CipherHeaderSize ? present - CipherHeaderSize : 0;
    quint64 capacity = entry.uncompressedSize;
    if (entry.method == 0)
        capacity = std::min(capacity, present);
    else
        capacity = std::min(capacity, present ? present * MaxDeflateRatio + DeflateSlack : 0);
    return quint32(std::min(capacity, MaxMemberBytes));
}

namespace {

OrvQZipArchive *finishOpen(std::unique_ptr<OrvQZipArchive> zip, const char *password)
{
    if (!zip->open(password)) {
        record(ZipErrNoArchive);
        return nullptr;
    }
    record(ZipOk);
    return zip.release();
}

} // namespace

OrvQZipArchive *openZipFile(const char *path, const char *password)
{
    if (!path) {
        record(ZipErrNoArchive);
        return nullptr;
    }
    auto zip = std::make_unique<OrvQZipArchive>();
    zip->m_file.setFileName(QFile::decodeName(path));
    if (!zip->m_file.open(QIODevice::ReadOnly)) {
        record(ZipErrNoArchive);
        return nullptr;
    }
    // A device or a pipe has no end to search from, and may never end.
    const qint64 size = zip->m_file.size();
    if (zip->m_file.isSequential() || size <= 0) {
        record(ZipErrNoArchive);
        return nullptr;
    }
    if (uchar *mapped = zip->m_file.map(0, size)) {
        zip->m_data = mapped;
        zip->m_size = quint64(size);
    } else {
        zip->m_owned = zip->m_file.read(size);
        zip->m_file.close();
        zip->m_data = reinterpret_cast<const uchar *>(zip->m_owned.constData());
        zip->m_size = quint64(zip->m_owned.size());
    }
    return finishOpen(std::move(zip), password);
}

OrvQZipArchive *openZipMemory(const void *data, unsigned length, const char *password)
{
    if (!data) {
        record(ZipErrNoArchive);
        return nullptr;
    }
    auto zip = std::make_unique<OrvQZipArchive>();
    zip->m_data = static_cast<const uchar *>(data);
    zip->m_size = length;
    return finishOpen(std::move(zip), password);
}

unsigned zipItem(OrvQZipArchive *zip, int index, OrvQZipEntry *out)
{
    if (!out)
        return record(ZipErrArgument);
    out->index = 0;
    out->name[0] = '\0';
    out->uncompressedSize = 0;
    out->compressedSize = 0;
    out->method = 0;
    out->encrypted = false;
    out->availableSize = 0;
    if (!zip)
        return record(ZipErrArgument);
    return record(zip->item(index, out));
}

unsigned unzipItemToMemory(OrvQZipArchive *zip, int index, void *buffer, unsigned length)
{
    if (!zip || (!buffer && length))
        return record(ZipErrArgument);
    return record(zip->extract(index, static_cast<uchar *>(buffer), length));
}

unsigned closeZip(OrvQZipArchive *zip)
{
    if (!zip)
        return record(ZipErrArgument);
    std::unique_ptr<OrvQZipArchive> owned(zip);
    return record(ZipOk);
}

unsigned zipLastResult()
{
    return g_lastResult.load(std::memory_order_relaxed);
}

} // namespace OrvQtLib
