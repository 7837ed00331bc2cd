#include "testsupport.h"
#include "ziparchive.h"

#include <QFile>
#include <QSet>
#include <QtTest>

#include <vector>

using namespace OrvQtLib;
using namespace OrvQtLib::TestSupport;

namespace {

const QString FixtureDir = QStringLiteral(ORV_TEST_DATA_DIR "/zip/");

struct Member {
    QByteArray name;
    QByteArray content;
    quint16 method = 8;
};

// A well-formed archive, deflated at level 9 where the method is 8 and
// stored as it is under any other method.
ZipLayout build(const std::vector<Member> &members, const QByteArray &comment = {})
{
    ZipWriter zip;
    for (const Member &m : members) {
        if (m.method == 8)
            zip.deflated(m.name, m.content);
        else
            zip.raw({m.name, m.content, m.method, crc32Of(m.content), quint32(m.content.size())});
    }
    return zip.setComment(comment).layout();
}

QByteArray text(int size)
{
    QByteArray t;
    for (int i = 0; t.size() < size; ++i)
        t += "row " + QByteArray::number(i) + " of some compressible member text\n";
    t.resize(size);
    return t;
}

QByteArray noise(int size, quint32 seed = 1)
{
    QByteArray n(size, '\0');
    for (int i = 0; i < size; ++i) {
        seed = seed * 1103515245u + 12345u;
        n[i] = char(seed >> 16);
    }
    return n;
}

struct Walk {
    int opened = 0;
    int items = 0;
    quint64 capacity = 0;
    QMap<QByteArray, QByteArray> members;
    QMap<QByteArray, unsigned> results;
};

// What the resource manager does: count, then every member into a buffer of
// its capacity.
Walk walk(const QByteArray &bytes)
{
    Walk w;
    OrvQZipHandle zip(openZipMemory(bytes.constData(), unsigned(bytes.size()), nullptr));
    if (!zip)
        return w;
    w.opened = 1;
    OrvQZipEntry entry;
    if (zipItem(zip.get(), -1, &entry) != ZipOk)
        return w;
    const int count = entry.index;
    for (int i = 0; i < count; ++i) {
        if (zipItem(zip.get(), i, &entry) != ZipOk)
            continue;
        ++w.items;
        const quint32 capacity = zipMemberCapacity(entry);
        w.capacity += capacity;
        if (capacity == 0)
            continue;
        QByteArray out(int(capacity), '\0');
        w.results[entry.name] = unzipItemToMemory(zip.get(), i, out.data(), capacity);
        w.members[entry.name] = out;
    }
    return w;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestZipArchive : public QObject
{
    Q_OBJECT

private slots:
    void testFixtures_data();
    void testFixtures();
    void testMissingFile();
    void testLongComment_data();
    void testLongComment();
    void testNameCleaning_data();
    void testNameCleaning();
    void testLocalHeader_data();
    void testLocalHeader();
    void testSmallBuffer_data();
    void testSmallBuffer();
    void testCursor();
    void testArguments();
    void testHugeDeclaredSize_data();
    void testHugeDeclaredSize();
    void testOverlap_data();
    void testOverlap();
    void testDirectory_data();
    void testDirectory();
    void testBrokenData_data();
    void testBrokenData();
    void testEncryption_data();
    void testEncryption();
    void testTruncatedAndCorrupted();
};

void TestZipArchive::testFixtures_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("minMembers");
    for (const char *name : {"infozip-stored.zip", "infozip-deflated.zip", "infozip-comment.zip",
                             "infozip-pipe.zip", "python-zipfile.zip", "7z.zip", "bsdtar.zip",
                             "cmake-tar.zip", "prefixed.zip"})
        QTest::newRow(name) << QString::fromLatin1(name) << 3;
    QTest::newRow("encrypted.zip") << QStringLiteral("encrypted.zip") << 2;
}

void TestZipArchive::testFixtures()
{
    QFETCH(QString, file);
    QFETCH(int, minMembers);
    const QString path = FixtureDir + file;
    const QByteArray bytes = readFile(path);
    QVERIFY(!bytes.isEmpty());

    // The file and the memory path must agree with the bytes the script zipped.
    for (int viaFile = 0; viaFile < 2; ++viaFile) {
        OrvQZipHandle zip(viaFile ? openZipFile(QFile::encodeName(path).constData(), nullptr)
                                  : openZipMemory(bytes.constData(), unsigned(bytes.size()), nullptr));
        QVERIFY(zip);
        OrvQZipEntry entry;
        QCOMPARE(zipItem(zip.get(), -1, &entry), unsigned(ZipOk));
        const int count = entry.index;
        int read = 0;
        for (int i = 0; i < count; ++i) {
            QCOMPARE(zipItem(zip.get(), i, &entry), unsigned(ZipOk));
            if (entry.uncompressedSize == 0)
                continue;
            QCOMPARE(zipMemberCapacity(entry), entry.uncompressedSize);
            QByteArray out(int(entry.uncompressedSize), '\0');
            QCOMPARE(unzipItemToMemory(zip.get(), i, out.data(), entry.uncompressedSize),
                     unsigned(ZipOk));
            const QByteArray expected = readFile(FixtureDir + "src/" + QString::fromUtf8(entry.name));
            QVERIFY2(out == expected, entry.name);
            ++read;
        }
        QVERIFY(read >= minMembers);
    }
}

void TestZipArchive::testMissingFile()
{
    QVERIFY(!openZipFile(ORV_TEST_DATA_DIR "/zip/absent.zip", nullptr));
    QCOMPARE(zipLastResult(), unsigned(ZipErrNoArchive));
    QVERIFY(!openZipFile(ORV_TEST_DATA_DIR "/zip/src/readme.txt", nullptr));
    QCOMPARE(zipLastResult(), unsigned(ZipErrNoArchive));
    QVERIFY(!openZipFile(ORV_TEST_DATA_DIR "/zip", nullptr));
    QVERIFY(!openZipFile(ORV_TEST_DATA_DIR "/zip/src/dir/empty.txt", nullptr));
    // An endless device is refused, not read.
    if (QFile::exists(QStringLiteral("/dev/zero")))
        QVERIFY(!openZipFile("/dev/zero", nullptr));
}

void TestZipArchive::testLongComment_data()
{
    QTest::addColumn<QByteArray>("comment");
    QTest::newRow("65535 bytes") << QByteArray(65535, 'x');
    // A comment holding the end signature must not hide the real record.
    QTest::newRow("signature in comment") << (QByteArray("PK\x05\x06", 4) + " not a record");
    QTest::newRow("record-like comment") << (QByteArray("PK\x05\x06", 4) + QByteArray(30, '\x01'));
}

void TestZipArchive::testLongComment()
{
    QFETCH(QByteArray, comment);
    const ZipLayout b = build({{"a.txt", text(500)}}, comment);
    const Walk w = walk(b.bytes);
    QCOMPARE(w.opened, 1);
    QCOMPARE(w.members.value("a.txt"), text(500));
}

void TestZipArchive::testNameCleaning_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QByteArray>("cleaned");
    QTest::newRow("drive") << QByteArray("C:\\skin\\a.png") << QByteArray("skin\\a.png");
    QTest::newRow("root") << QByteArray("/x/y") << QByteArray("x/y");
    QTest::newRow("parent in the middle") << QByteArray("a/../../b") << QByteArray("../b");
    QTest::newRow("leading parent") << QByteArray("../b") << QByteArray("../b");
    QTest::newRow("backslash parent") << QByteArray("a\\..\\b") << QByteArray("b");
    QTest::newRow("mixed parents") << QByteArray("x\\../y/..\\z") << QByteArray("z");
    QTest::newRow("drive then root") << QByteArray("D:/\\/s") << QByteArray("s");
    QTest::newRow("plain") << QByteArray("images/btn.png") << QByteArray("images/btn.png");
    QTest::newRow("too long") << QByteArray(1500, 'n') << QByteArray(1023, 'n');
}

void TestZipArchive::testNameCleaning()
{
    QFETCH(QByteArray, stored);
    QFETCH(QByteArray, cleaned);
    const ZipLayout b = build({{stored, "x", 0}});
    OrvQZipHandle zip(openZipMemory(b.bytes.constData(), unsigned(b.bytes.size()), nullptr));
    QVERIFY(zip);
    OrvQZipEntry entry;
    QCOMPARE(zipItem(zip.get(), 0, &entry), unsigned(ZipOk));
    QCOMPARE(QByteArray(entry.name), cleaned);
}

void TestZipArchive::testLocalHeader_data()
{
    QTest::addColumn<int>("member");
    QTest::addColumn<int>("field");     // offset in the local header
    QTest::addColumn<int>("width");
    QTest::addColumn<quint32>("value");
    QTest::addColumn<unsigned>("itemResult");
    QTest::addColumn<unsigned>("otherResult");
    QTest::newRow("signature") << 0 << 0 << 4 << 0x04034b51u << unsigned(ZipErrLocalHeader) << unsigned(ZipOk);
    QTest::newRow("method") << 0 << 8 << 2 << 0u << unsigned(ZipErrLocalHeader) << unsigned(ZipOk);
    QTest::newRow("crc") << 0 << 14 << 4 << 1u << unsigned(ZipErrLocalHeader) << unsigned(ZipOk);
    QTest::newRow("compressed size") << 0 << 18 << 4 << 1u << unsigned(ZipErrLocalHeader) << unsigned(ZipOk);
    QTest::newRow("uncompressed size") << 0 << 22 << 4 << 1u << unsigned(ZipErrLocalHeader) << unsigned(ZipOk);
    QTest::newRow("name length") << 0 << 26 << 2 << 3u << unsigned(ZipErrLocalHeader) << unsigned(ZipOk);
    // A long extra field moves the data onto another member's bytes.
    QTest::newRow("extra reaching the next member") << 0 << 28 << 2 << 200u << unsigned(ZipErrLocalHeader) << unsigned(ZipErrLocalHeader);
    QTest::newRow("extra past the end") << 1 << 28 << 2 << 0xffffu << unsigned(ZipErrExtraField) << unsigned(ZipOk);
    // With a data descriptor the local sizes and CRC are not compared.
    QTest::newRow("descriptor flag") << 0 << 6 << 2 << 8u << unsigned(ZipOk) << unsigned(ZipOk);
    QTest::newRow("time") << 0 << 10 << 4 << 0u << unsigned(ZipOk) << unsigned(ZipOk);
}

void TestZipArchive::testLocalHeader()
{
    QFETCH(int, member);
    QFETCH(int, field);
    QFETCH(int, width);
    QFETCH(quint32, value);
    QFETCH(unsigned, itemResult);
    QFETCH(unsigned, otherResult);
    const QByteArray contents[] = {text(300), text(200)};
    ZipLayout b = build({{"a.txt", contents[0]}, {"b.txt", contents[1]}});
    const int local = b.local[size_t(member)];
    if (width == 2)
        put16(b.bytes, local + field, quint16(value));
    else
        put32(b.bytes, local + field, value);
    if (field == 6) {
        put32(b.bytes, local + 14, 0);
        put32(b.bytes, local + 18, 0);
        put32(b.bytes, local + 22, 0);
    }
    OrvQZipHandle zip(openZipMemory(b.bytes.constData(), unsigned(b.bytes.size()), nullptr));
    QVERIFY(zip);
    OrvQZipEntry entry;
    entry.uncompressedSize = 77;
    QCOMPARE(zipItem(zip.get(), member, &entry), itemResult);
    QByteArray out(300, '\0');
    if (itemResult != ZipOk) {
        QCOMPARE(entry.uncompressedSize, 0u);
        QCOMPARE(unzipItemToMemory(zip.get(), member, out.data(), 300), unsigned(ZipErrMember));
    } else {
        QCOMPARE(unzipItemToMemory(zip.get(), member, out.data(), 300), unsigned(ZipOk));
        QCOMPARE(out.left(contents[member].size()), contents[member]);
    }
    // The other member is unaffected, unless the two now overlap.
    const int other = 1 - member;
    const int size = contents[other].size();
    QCOMPARE(zipItem(zip.get(), other, &entry), otherResult);
    if (otherResult != ZipOk)
        return;
    QCOMPARE(unzipItemToMemory(zip.get(), other, out.data(), unsigned(size)), unsigned(ZipOk));
    QCOMPARE(out.left(size), contents[other]);
}

void TestZipArchive::testSmallBuffer_data()
{
    QTest::addColumn<int>("method");
    QTest::newRow("stored") << 0;
    QTest::newRow("deflated") << 8;
}

void TestZipArchive::testSmallBuffer()
{
    QFETCH(int, method);
    const QByteArray content = text(40000) + noise(30000);
    const ZipLayout b = build({{"a", content, quint16(method)}});
    OrvQZipHandle zip(openZipMemory(b.bytes.constData(), unsigned(b.bytes.size()), nullptr));
    QVERIFY(zip);
    QByteArray out(1000, '\0');
    QCOMPARE(unzipItemToMemory(zip.get(), 0, out.data(), 1000), unsigned(ZipErrMoreData));
    QCOMPARE(out, content.left(1000));
    // The member stays open: the next call continues it.
    QByteArray rest(content.size() - 1000, '\0');
    QCOMPARE(unzipItemToMemory(zip.get(), 0, rest.data(), unsigned(rest.size())), unsigned(ZipOk));
    QCOMPARE(rest, content.mid(1000));
    // After its end, reading it again starts over.
    QCOMPARE(unzipItemToMemory(zip.get(), 0, out.data(), 1000), unsigned(ZipErrMoreData));
    QCOMPARE(out, content.left(1000));
}

void TestZipArchive::testCursor()
{
    std::vector<Member> members;
    for (int i = 0; i < 5; ++i)
        members.push_back({"m" + QByteArray::number(i), text(100 + i)});
    const ZipLayout b = build(members);
    OrvQZipHandle zip(openZipMemory(b.bytes.constData(), unsigned(b.bytes.size()), nullptr));
    QVERIFY(zip);
    OrvQZipEntry entry;
    for (int i : {3, 1, 4, 0, 0, 2, 4}) {
        QCOMPARE(zipItem(zip.get(), i, &entry), unsigned(ZipOk));
        QCOMPARE(entry.index, i);
        QCOMPARE(QByteArray(entry.name), "m" + QByteArray::number(i));
        QCOMPARE(entry.uncompressedSize, quint32(100 + i));
        QByteArray out(100 + i, '\0');
        QCOMPARE(unzipItemToMemory(zip.get(), i, out.data(), unsigned(out.size())), unsigned(ZipOk));
        QCOMPARE(out, text(100 + i));
    }
}

void TestZipArchive::testArguments()
{
    OrvQZipEntry entry;
    char buffer[4];
    QCOMPARE(zipItem(nullptr, 0, &entry), unsigned(ZipErrArgument));
    QCOMPARE(unzipItemToMemory(nullptr, 0, buffer, 4), unsigned(ZipErrArgument));
    QCOMPARE(closeZip(nullptr), unsigned(ZipErrArgument));
    QCOMPARE(zipLastResult(), unsigned(ZipErrArgument));
    QVERIFY(!openZipMemory(nullptr, 10, nullptr));
    QCOMPARE(zipLastResult(), unsigned(ZipErrNoArchive));

    const ZipLayout b = build({{"a", "abc"}, {"b", ""}});
    OrvQZipArchive *zip = openZipMemory(b.bytes.constData(), unsigned(b.bytes.size()), nullptr);
    QVERIFY(zip);
    QCOMPARE(zipLastResult(), unsigned(ZipOk));
    QCOMPARE(zipItem(zip, -1, &entry), unsigned(ZipOk));
    QCOMPARE(entry.index, 2);
    QCOMPARE(entry.name[0], '\0');
    QCOMPARE(entry.uncompressedSize, 0u);
    QCOMPARE(zipItem(zip, -2, &entry), unsigned(ZipErrArgument));
    QCOMPARE(zipItem(zip, 2, &entry), unsigned(ZipErrArgument));
    QCOMPARE(zipLastResult(), unsigned(ZipErrArgument));
    QCOMPARE(unzipItemToMemory(zip, 2, buffer, 4), unsigned(ZipErrArgument));
    QCOMPARE(unzipItemToMemory(zip, -1, buffer, 4), unsigned(ZipErrArgument));
    QCOMPARE(unzipItemToMemory(zip, 1, buffer, 4), unsigned(ZipOk));
    QCOMPARE(closeZip(zip), unsigned(ZipOk));
}

void TestZipArchive::testHugeDeclaredSize_data()
{
    QTest::addColumn<int>("method");
    QTest::addColumn<quint32>("compressed");
    QTest::addColumn<quint32>("uncompressed");
    QTest::newRow("deflated, 4 GiB declared") << 8 << 0u << 0xffffffffu;
    QTest::newRow("stored, 4 GiB declared") << 0 << 0u << 0xffffffffu;
    QTest::newRow("deflated, both sizes huge") << 8 << 0xfffffff0u << 0xffffffffu;
    QTest::newRow("stored, both sizes huge") << 0 << 0xfffffff0u << 0xfffffff0u;
}

void TestZipArchive::testHugeDeclaredSize()
{
    QFETCH(int, method);
    QFETCH(quint32, compressed);
    QFETCH(quint32, uncompressed);
    const QByteArray content = text(2000);
    ZipLayout b = build({{"big", content, quint16(method)}});
    // The CRC fields of the local header and of the central record.
    for (int base : {b.local[0] + 14, b.central[0] + 16}) {
        if (compressed)
            put32(b.bytes, base + 4, compressed);
        put32(b.bytes, base + 8, uncompressed);
    }
    const Walk w = walk(b.bytes);
    QCOMPARE(w.items, 1);
    // Never more than the present data can produce.
    QVERIFY(w.capacity <= quint64(b.bytes.size()) * MaxDeflateRatio + 1024);
    QVERIFY(w.members.value("big").startsWith(content.left(1000)));
}

void TestZipArchive::testOverlap_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("shared local header") << 0;
    QTest::newRow("data covers the next member") << 1;
    QTest::newRow("many records, one kernel") << 2;
}

void TestZipArchive::testOverlap()
{
    QFETCH(int, kind);
    // A kernel of zeros that inflates a thousandfold.
    const QByteArray kernel(1 << 20, '\0');
    ZipLayout b = build({{"a", kernel}, {"b", kernel}, {"c", text(100)}});
    if (kind == 0) {
        put32(b.bytes, b.central[1] + 42, quint32(b.local[0]));
    } else if (kind == 1) {
        // Member a's data runs into b's header.
        const quint32 grown = quint32(b.local[1] - (b.local[0] + 31) + 1);
        put32(b.bytes, b.local[0] + 18, grown);
        put32(b.bytes, b.central[0] + 20, grown);
    } else {
        // Repeat the first central record a thousand times, all on one header.
        const QByteArray one = b.bytes.mid(b.central[0], b.central[1] - b.central[0]);
        QByteArray bytes = b.bytes.left(b.central[0]);
        const int directoryStart = bytes.size();
        for (int i = 0; i < 1000; ++i)
            bytes += one;
        const int directorySize = bytes.size() - directoryStart;
        bytes += ZipWriter::endRecord(1000, quint32(directorySize), quint32(directoryStart));
        b.bytes = bytes;
    }
    const Walk w = walk(b.bytes);
    QCOMPARE(w.opened, 1);
    QVERIFY(!w.members.contains("a"));
    QVERIFY(!w.members.contains("b"));
    QCOMPARE(w.members.value("c"), kind == 2 ? QByteArray() : text(100));
    QVERIFY(w.capacity <= 100);
}

void TestZipArchive::testDirectory_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<int>("items");
    QTest::newRow("offset past the end") << 0 << false << 0;
    QTest::newRow("offset plus size past 32 bits") << 1 << false << 0;
    QTest::newRow("count beyond the records") << 2 << true << 2;
    QTest::newRow("record past the directory") << 3 << true << 1;
    QTest::newRow("second record signature") << 4 << true << 1;
    QTest::newRow("disk number") << 5 << false << 0;
    QTest::newRow("counts differ") << 6 << false << 0;
    QTest::newRow("local offset past the end") << 7 << true << 1;
    QTest::newRow("local offset wraps") << 8 << true << 1;
}

void TestZipArchive::testDirectory()
{
    QFETCH(int, kind);
    QFETCH(bool, opens);
    QFETCH(int, items);
    ZipLayout b = build({{"a", text(100)}, {"b", text(50)}});
    const int end = b.end;
    switch (kind) {
    case 0: put32(b.bytes, end + 16, quint32(b.bytes.size())); break;
    case 1: put32(b.bytes, end + 16, 0xfffffff0u); put32(b.bytes, end + 12, 0x20); break;
    case 2: put16(b.bytes, end + 8, 0xffff); put16(b.bytes, end + 10, 0xffff); break;
    case 3: put16(b.bytes, b.central[1] + 32, 0x1000); break;
    case 4: put32(b.bytes, b.central[1], 0x01020304); break;
    case 5: put16(b.bytes, end + 4, 1); break;
    case 6: put16(b.bytes, end + 8, 1); break;
    case 7: put32(b.bytes, b.central[1] + 42, 0x7fffffff); break;
    case 8: put32(b.bytes, b.central[1] + 42, 0xfffffff0u); break;
    }
    OrvQZipHandle zip(openZipMemory(b.bytes.constData(), unsigned(b.bytes.size()), nullptr));
    QCOMPARE(bool(zip), opens);
    if (!zip)
        return;
    OrvQZipEntry entry;
    QCOMPARE(zipItem(zip.get(), -1, &entry), unsigned(ZipOk));
    int found = 0;
    // Every index of a 65535-count directory answers without re-walking it.
    for (int i = 0; i < entry.index; ++i) {
        OrvQZipEntry e;
        if (zipItem(zip.get(), i, &e) == ZipOk)
            ++found;
        else
            QCOMPARE(e.uncompressedSize, 0u);
    }
    QCOMPARE(found, items);
}

void TestZipArchive::testBrokenData_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<unsigned>("result");
    QTest::newRow("garbage stream") << 0 << unsigned(ZipErrMember);
    QTest::newRow("stream cut short") << 1 << unsigned(ZipErrMember);
    QTest::newRow("declared size below the stream") << 2 << unsigned(ZipOk);
    QTest::newRow("stored, size past the source") << 3 << unsigned(ZipErrMember);
}

void TestZipArchive::testBrokenData()
{
    QFETCH(int, kind);
    QFETCH(unsigned, result);
    const QByteArray content = text(5000);
    ZipLayout b = build({{"a", content, quint16(kind == 3 ? 0 : 8)}});
    const int data = b.local[0] + 31;
    const quint32 compressed = quint32(b.central[0] - data);
    quint32 produced = quint32(content.size());
    if (kind == 0) {
        for (int i = data; i < b.central[0]; ++i)
            b.bytes[i] = char(0xff);
    } else if (kind == 1) {
        put32(b.bytes, b.local[0] + 18, compressed / 2);
        put32(b.bytes, b.central[0] + 20, compressed / 2);
    } else if (kind == 2) {
        produced = 1000;
        put32(b.bytes, b.local[0] + 22, produced);
        put32(b.bytes, b.central[0] + 24, produced);
    } else {
        put32(b.bytes, b.local[0] + 18, 0x10000);
        put32(b.bytes, b.central[0] + 20, 0x10000);
        put32(b.bytes, b.local[0] + 22, 0x10000);
        put32(b.bytes, b.central[0] + 24, 0x10000);
    }
    OrvQZipHandle zip(openZipMemory(b.bytes.constData(), unsigned(b.bytes.size()), nullptr));
    QVERIFY(zip);
    OrvQZipEntry entry;
    QCOMPARE(zipItem(zip.get(), 0, &entry), unsigned(ZipOk));
    QByteArray out(int(entry.uncompressedSize), '\0');
    QCOMPARE(unzipItemToMemory(zip.get(), 0, out.data(), unsigned(out.size())), result);
    if (kind != 0)
        QVERIFY(content.startsWith(out.left(qMin(out.size(), int(produced)) / 4)));
}

void TestZipArchive::testEncryption_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<unsigned>("result");
    QTest::newRow("fixture reads") << 0 << unsigned(ZipOk);
    QTest::newRow("wrong check byte") << 1 << unsigned(ZipErrPassword);
    QTest::newRow("shorter than its header") << 2 << unsigned(ZipErrPassword);
    QTest::newRow("wrong password") << 3 << unsigned(ZipErrPassword);
}

void TestZipArchive::testEncryption()
{
    QFETCH(int, kind);
    QFETCH(unsigned, result);
    QByteArray bytes = readFile(FixtureDir + "encrypted.zip");
    QVERIFY(!bytes.isEmpty());
    // The first member is deflated, checked by its CRC, at offset 0; its name is 10 bytes.
    if (kind == 1)
        bytes[30 + 10 + 11] = char(bytes[30 + 10 + 11] ^ 0x5a);
    if (kind == 2) {
        const int central = bytes.indexOf(QByteArray("PK\x01\x02", 4));
        put32(bytes, 18, 11);
        put32(bytes, central + 20, 11);
    }
    OrvQZipHandle zip(openZipMemory(bytes.constData(), unsigned(bytes.size()),
                                    kind == 3 ? "secret" : nullptr));
    QVERIFY(zip);
    OrvQZipEntry entry;
    QCOMPARE(zipItem(zip.get(), 0, &entry), unsigned(ZipOk));
    QVERIFY(entry.encrypted);
    QByteArray out(int(zipMemberCapacity(entry)), '\0');
    QCOMPARE(unzipItemToMemory(zip.get(), 0, out.data(), unsigned(out.size())), result);
    if (result == ZipOk)
        QCOMPARE(out, readFile(FixtureDir + "src/readme.txt"));
}

void TestZipArchive::testTruncatedAndCorrupted()
{
    const QByteArray comment(40, 'c');
    const ZipLayout b = build({{"t", text(700)}, {"s", noise(90), 0}, {"e", ""}}, comment);
    const QByteArray &full = b.bytes;
    const quint64 bound = quint64(full.size()) * MaxDeflateRatio + 3 * 1024;
    // Every cut: only cuts inside the comment leave an end record.
    for (int cut = 0; cut < full.size(); ++cut) {
        const Walk w = walk(full.left(cut));
        QCOMPARE(w.opened, cut >= b.end + 22 ? 1 : 0);
        QVERIFY(w.capacity <= bound);
    }
    // Every byte changed: the walk ends cleanly, within bounded memory.
    for (int at = 0; at < full.size(); ++at) {
        for (char value : {char(0xff), char(0x00), char(full[at] ^ 0x01)}) {
            QByteArray bad = full;
            bad[at] = value;
            const Walk w = walk(bad);
            QVERIFY(w.capacity <= bound);
        }
    }
}

QTEST_GUILESS_MAIN(TestZipArchive)
#include "tst_ziparchive.moc"
