// Loads a generated skin package of 2,000 members (about 50 MB unpacked) with
// the resource manager, beside libzip reading every member into memory and a
// floor of raw zlib inflate over the same members. Prints the three times and
// the ratios; the targets are "no slower than libzip" and "within 1.15 times
// the floor".

#include "resourcemanager.h"
#include "testsupport.h"

#include <QByteArray>
#include <QElapsedTimer>

#include <zip.h>
#include <malloc.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

namespace TestSupport = OrvQtLib::TestSupport;

constexpr int MemberCount = 2000;
constexpr int Rounds = 4;

struct Layout {
    quint64 dataOffset;
    quint32 compressed;
    quint32 size;
    quint16 method;
};

struct Package {
    QByteArray bytes;
    std::vector<Layout> members;
    quint64 unpacked = 0;
};

// Text and JSON members that compress well, and image-like noise stored as
// a zip writer stores what deflate cannot shrink.
QByteArray memberContent(int i, quint32 &seed)
{
    QByteArray content;
    if (i % 10 < 6) {
        const int target = 12000 + (i * 7919) % 16000;
        while (content.size() < target) {
            content += "{\"type\": 1, \"name\": \"style" + QByteArray::number(seed % 977)
                + "\", \"clr\": \"ff" + QByteArray::number(seed % 0xffffff, 16)
                + "\", \"border\": true, \"round\": " + QByteArray::number(seed % 9) + "},\n";
            seed = seed * 1103515245u + 12345u;
        }
    } else {
        const int target = 24000 + (i * 104729) % 16000;
        content.resize(target);
        for (int k = 0; k < target; ++k) {
            seed = seed * 1103515245u + 12345u;
            content[k] = char(seed >> 16);
        }
    }
    return content;
}

Package makePackage(int round)
{
    Package p;
    TestSupport::ZipWriter zip;
    quint32 seed = 2024;
    for (int i = 0; i < MemberCount; ++i) {
        const QByteArray content = memberContent(i, seed);
        const QByteArray deflated = TestSupport::rawDeflate(content, 6);
        const bool stored = deflated.size() >= content.size();
        const QByteArray &payload = stored ? content : deflated;
        // The manager keeps the first member of a name, so every round
        // needs names of its own.
        const QByteArray name = "r" + QByteArray::number(round) + (i % 10 < 6 ? "/layout/" : "/images/")
            + QByteArray::number(i) + (i % 10 < 6 ? ".json" : ".png");
        const quint16 method = stored ? 0 : 8;
        zip.raw({name, payload, method, TestSupport::crc32Of(content), quint32(content.size())});
        p.members.push_back({0, quint32(payload.size()), quint32(content.size()), method});
        p.unpacked += quint64(content.size());
    }
    const TestSupport::ZipLayout layout = zip.layout();
    p.bytes = layout.bytes;
    for (size_t i = 0; i < p.members.size(); ++i)
        p.members[i].dataOffset = quint64(layout.data[i]);
    return p;
}

// Every run keeps its output to the end of the program, as the manager keeps a
// loaded package: each run then writes into fresh pages, like the manager.
struct Buffers {
    std::vector<char *> list;
    ~Buffers()
    {
        for (char *b : list)
            std::free(b);
    }
};

qint64 timeManager(const Package &p)
{
    QElapsedTimer timer;
    timer.start();
    OrvQtLib::OrvQResourceManager::instance().loadPackageFromMemory(p.bytes.constData(), p.bytes.size());
    return timer.nsecsElapsed();
}

qint64 timeLibzip(const Package &p, Buffers &out, quint64 *checksum)
{
    const size_t first = out.list.size();
    QElapsedTimer timer;
    timer.start();
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *source = zip_source_buffer_create(p.bytes.constData(), zip_uint64_t(p.bytes.size()), 0, &error);
    zip_t *archive = source ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
    if (!archive) {
        zip_source_free(source);
        zip_error_fini(&error);
        return -1;
    }
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        if (zip_stat_index(archive, zip_uint64_t(i), 0, &st) != 0 || st.size == 0)
            continue;
        char *buffer = static_cast<char *>(std::malloc(st.size));
        out.list.push_back(buffer);
        zip_file_t *file = zip_fopen_index(archive, zip_uint64_t(i), 0);
        if (!file)
            continue;
        zip_fread(file, buffer, st.size);
        zip_fclose(file);
    }
    zip_close(archive);
    zip_error_fini(&error);
    const qint64 elapsed = timer.nsecsElapsed();
    for (size_t i = first; i < out.list.size(); ++i)
        *checksum += uchar(out.list[i][0]);
    return elapsed;
}

qint64 timeFloor(const Package &p, Buffers &out, quint64 *checksum)
{
    const size_t first = out.list.size();
    QElapsedTimer timer;
    timer.start();
    z_stream z{};
    inflateInit2(&z, -MAX_WBITS);
    for (const Layout &m : p.members) {
        char *buffer = static_cast<char *>(std::malloc(m.size));
        out.list.push_back(buffer);
        const char *data = p.bytes.constData() + m.dataOffset;
        if (m.method == 0) {
            std::memcpy(buffer, data, m.size);
            continue;
        }
        inflateReset(&z);
        z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data));
        z.avail_in = m.compressed;
        z.next_out = reinterpret_cast<Bytef *>(buffer);
        z.avail_out = m.size;
        inflate(&z, Z_SYNC_FLUSH);
    }
    inflateEnd(&z);
    const qint64 elapsed = timer.nsecsElapsed();
    for (size_t i = first; i < out.list.size(); ++i)
        *checksum += uchar(out.list[i][0]);
    return elapsed;
}

} // namespace

int main()
{
    qint64 manager = -1, libzip = -1, floor = -1;
    quint64 checksum = 0;
    Buffers kept;
    Package first;
    for (int round = 0; round < Rounds; ++round) {
        const Package p = makePackage(round);
        // Building the package freed tens of megabytes of already touched
        // heap; hand it back so that no reader gets pre-faulted pages that
        // the others do not.
        malloc_trim(0);
        if (round == 0)
            first = p;
        const qint64 l = timeLibzip(p, kept, &checksum);
        const qint64 f = timeFloor(p, kept, &checksum);
        const qint64 m = timeManager(p);
        if (l < 0) {
            std::printf("bench_package: libzip could not open the package\n");
            return 1;
        }
        manager = manager < 0 ? m : std::min(manager, m);
        libzip = libzip < 0 ? l : std::min(libzip, l);
        floor = floor < 0 ? f : std::min(floor, f);
    }
    char *data = nullptr;
    unsigned size = 0;
    const bool loaded = OrvQtLib::OrvQResourceManager::instance().fileData(
        QStringLiteral("r0/layout/0.json"), &data, &size);

    std::printf("package: %d members, %.1f MB unpacked, %.1f MB packed; best of %d rounds\n",
                MemberCount, double(first.unpacked) / 1e6, double(first.bytes.size()) / 1e6, Rounds);
    std::printf("loadPackageFromMemory   %8.2f ms%s\n", double(manager) / 1e6, loaded ? "" : "  (members missing!)");
    std::printf("libzip, every member    %8.2f ms\n", double(libzip) / 1e6);
    std::printf("zlib inflate floor      %8.2f ms\n", double(floor) / 1e6);
    std::printf("manager / libzip        %8.3f  (target <= 1.00)\n", double(manager) / double(libzip));
    std::printf("manager / floor         %8.3f  (target <= 1.15)\n", double(manager) / double(floor));
    std::printf("(checksum %llu)\n", static_cast<unsigned long long>(checksum));
    return 0;
}
