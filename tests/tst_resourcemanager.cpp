#include "resourcemanager.h"
#include "testsupport.h"
#include "ziparchive.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include <zlib.h>

using namespace OrvQtLib;
using namespace OrvQtLib::TestSupport;

namespace {

OrvQResourceManager &manager()
{
    return OrvQResourceManager::instance();
}

bool load(const ZipWriter &zip)
{
    const QByteArray bytes = zip.archive();
    return manager().loadPackageFromMemory(bytes.constData(), bytes.size());
}

// The member's bytes, or a null array when it is not found.
QByteArray member(const QString &name)
{
    char *data = nullptr;
    unsigned size = 0;
    if (!manager().fileData(name, &data, &size))
        return QByteArray();
    return QByteArray(data, int(size));
}

// Runs with the working directory in a fresh temporary one, since on-disk
// lookups are relative to it.
struct InTemporaryDir {
    QTemporaryDir dir;
    QString previous = QDir::currentPath();
    InTemporaryDir() { QDir::setCurrent(dir.path()); }
    ~InTemporaryDir() { QDir::setCurrent(previous); }
    void write(const QString &name, const QByteArray &content)
    {
        QDir(dir.path()).mkpath(QFileInfo(name).path());
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
};

} // namespace

class TestResourceManager : public QObject
{
    Q_OBJECT

private slots:
    // Runs first: it needs a manager that has never seen a style.json.
    void testPackageWithoutStyles();
    void testFileNames_data();
    void testFileNames();
    void testFirstWinsAcrossPackages();
    void testStyleFile_data();
    void testStyleFile();
    void testStyleLookups();
    void testBadSources();
    void testLoadPackageFromPath();
    void testLoadFolder();
    void testPackageRules();
    void testHugeDeclaredSizes();
    void testPartlyDecompressedMember();
    void testBuiltinImages();
    void testImageFromPackage();
    void testImageDiskFallback();
    void testOversizedImages_data();
    void testOversizedImages();
};

void TestResourceManager::testPackageWithoutStyles()
{
    QVERIFY(!load(ZipWriter().stored("nostyle/a.txt", "alpha")));
    QCOMPARE(member("nostyle/a.txt"), QByteArray("alpha"));

    // A 0-byte style.json is skipped like any empty member.
    QVERIFY(!load(ZipWriter().stored("style.json", "").stored("emptystyle/b.txt", "beta")));
    QCOMPARE(member("emptystyle/b.txt"), QByteArray("beta"));
}

void TestResourceManager::testFileNames_data()
{
    QTest::addColumn<QByteArrayList>("names");
    QTest::addColumn<QByteArrayList>("contents");
    QTest::addColumn<QString>("query");
    QTest::addColumn<QByteArray>("expected"); // null: not found

    QTest::newRow("query case and backslashes")
        << QByteArrayList{"names1/images/btn.png"} << QByteArrayList{"btn"}
        << "Names1\\Images\\Btn.PNG" << QByteArray("btn");
    QTest::newRow("member with capitals")
        << QByteArrayList{"Names2/Big.JSON"} << QByteArrayList{"big"} << "names2/big.json" << QByteArray("big");
    QTest::newRow("member stored with backslashes")
        << QByteArrayList{"names3\\skin\\a.png"} << QByteArrayList{"a"} << "names3/skin/a.png" << QByteArray("a");
    QTest::newRow("first of two names differing in case")
        << QByteArrayList{"names4/a.json", "NAMES4/A.JSON"} << QByteArrayList{"first", "second"}
        << "names4/A.json" << QByteArray("first");
    QTest::newRow("UTF-8 name")
        << QByteArrayList{"names5/\xc3\x84pfel.png"} << QByteArrayList{"apple"}
        << QString::fromUtf8("names5/\xc3\x84pfel.png") << QByteArray("apple");
    QTest::newRow("UTF-8 name with ASCII capitals")
        << QByteArrayList{"NAMES6/\xc3\xa4pfel.PNG"} << QByteArrayList{"apple"}
        << QString::fromUtf8("names6/\xc3\xa4pfel.png") << QByteArray("apple");
    // Folding is ASCII only on both sides: the stored U+00C4 stays upper case.
    QTest::newRow("non-ASCII letters are not folded")
        << QByteArrayList{"names7/\xc3\x84.png"} << QByteArrayList{"a"}
        << QString::fromUtf8("names7/\xc3\xa4.png") << QByteArray();
    QTest::newRow("directory member")
        << QByteArrayList{"names8/"} << QByteArrayList{""} << "names8/" << QByteArray();
    QTest::newRow("cleaned name")
        << QByteArrayList{"C:\\names9\\x.txt"} << QByteArrayList{"x"} << "names9/x.txt" << QByteArray("x");
    QTest::newRow("absent")
        << QByteArrayList{"names10/a"} << QByteArrayList{"a"} << "names10/b" << QByteArray();
}

void TestResourceManager::testFileNames()
{
    QFETCH(QByteArrayList, names);
    QFETCH(QByteArrayList, contents);
    QFETCH(QString, query);
    QFETCH(QByteArray, expected);

    ZipWriter zip;
    for (int i = 0; i < names.size(); ++i)
        zip.deflated(names[i], contents[i]);
    load(zip);

    char *data = nullptr;
    unsigned size = 12345;
    const bool found = manager().fileData(query, &data, &size);
    QCOMPARE(found, !expected.isNull());
    if (found) {
        QCOMPARE(QByteArray(data, int(size)), expected);
    } else {
        QVERIFY(!data);
        QCOMPARE(size, 12345u);
    }
}

void TestResourceManager::testFirstWinsAcrossPackages()
{
    const QByteArray firstStyles = R"({"style":[{"type":1,"name":"wins.r","round":1},
                                                {"type":2,"name":"wins.f","size":7}]})";
    const QByteArray secondStyles = R"({"style":[{"type":1,"name":"wins.r","round":2},
                                                 {"type":2,"name":"wins.f","size":8},
                                                 {"type":1,"name":"wins.new","round":3}]})";
    QVERIFY(load(ZipWriter().stored("wins/x.txt", "one").stored("style.json", firstStyles)));
    QVERIFY(load(ZipWriter().stored("WINS/X.TXT", "two").stored("wins/y.txt", "y").deflated("style.json", secondStyles)));

    QCOMPARE(member("wins/x.txt"), QByteArray("one"));
    QCOMPARE(member("wins/y.txt"), QByteArray("y"));
    OrvQRectStyle r;
    QVERIFY(manager().rectStyle("wins.r", r));
    QCOMPARE(r.round, 1);
    QVERIFY(manager().rectStyle("wins.new", r));
    QCOMPARE(r.round, 3);
    OrvQFontStyle f;
    QVERIFY(manager().fontStyle("wins.f", f));
    QCOMPARE(f.size, 7);
}

void TestResourceManager::testStyleFile_data()
{
    QTest::addColumn<QByteArrayList>("styleFiles"); // style.json members in order
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");

    QTest::newRow("object of records")
        << QByteArrayList{R"({"style":{"k":{"type":1,"name":"sf1.a"}}, "other":1})"} << true
        << QStringList{"sf1.a"} << QStringList{};
    QTest::newRow("last style file is parsed")
        << QByteArrayList{R"({"style":[{"type":1,"name":"sf2.first"}]})", R"({"style":[{"type":1,"name":"sf2.last"}]})"}
        << true << QStringList{"sf2.last"} << QStringList{"sf2.first"};
    QTest::newRow("comments and trailing NUL")
        << QByteArrayList{QByteArray("// skin\n{\"style\":[{\"type\":1,\"name\":\"sf3.a\"}]}") + QByteArray(1, '\0') + "{"}
        << true
        << QStringList{"sf3.a"} << QStringList{};
    QTest::newRow("malformed")
        << QByteArrayList{R"({"style":[{"type":1,"name":"sf4.a"})"} << false << QStringList{} << QStringList{"sf4.a"};
    QTest::newRow("no style member")
        << QByteArrayList{R"({"styles":[{"type":1,"name":"sf5.a"}]})"} << false << QStringList{} << QStringList{"sf5.a"};
    QTest::newRow("root is an array")
        << QByteArrayList{R"([{"style":[{"type":1,"name":"sf6.a"}]}])"} << false << QStringList{} << QStringList{"sf6.a"};
    QTest::newRow("style is not a container")
        << QByteArrayList{R"({"style":"sf7.a"})"} << true << QStringList{} << QStringList{"sf7.a"};
    QTest::newRow("deeply nested")
        << QByteArrayList{"{\"style\":" + QByteArray(100000, '[') + QByteArray(100000, ']') + "}"} << false
        << QStringList{} << QStringList{};
}

void TestResourceManager::testStyleFile()
{
    QFETCH(QByteArrayList, styleFiles);
    QFETCH(bool, loaded);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);

    ZipWriter zip;
    const QString tag = QTest::currentDataTag();
    zip.stored(QByteArray("stylefile/") + QTest::currentDataTag(), "member");
    for (int i = 0; i < styleFiles.size(); ++i)
        zip.deflated(i % 2 ? "STYLE.JSON" : "style.json", styleFiles[i]);
    QCOMPARE(load(zip), loaded);
    // The package's members load whatever happens to its styles.
    QCOMPARE(member("stylefile/" + tag), QByteArray("member"));
    // Style files are not ordinary members.
    QVERIFY(!manager().fileData("style.json", nullptr, nullptr));

    OrvQRectStyle r;
    for (const QString &name : present)
        QVERIFY2(manager().rectStyle(name, r), qPrintable(name));
    for (const QString &name : absent)
        QVERIFY2(!manager().rectStyle(name, r), qPrintable(name));
}

void TestResourceManager::testStyleLookups()
{
    QVERIFY(load(ZipWriter().stored("style.json", R"({"style":[
        {"type":1,"name":"look.r","round":4,"border":"yes","borderSize":"3","clr":"ff0000"},
        {"type":2,"name":"look.f","size":"20","clr":"ff0000"}]})")));

    // "empty" and "emptyRect" only mark the record; nothing else changes.
    for (const char *name : {"empty", "emptyRect"}) {
        OrvQRectStyle r;
        r.round = 9;
        QVERIFY(manager().rectStyle(name, r));
        QVERIFY(!r.nonEmpty);
        QCOMPARE(r.round, 9);
    }

    OrvQRectStyle r;
    r.nonEmpty = false;
    QVERIFY(manager().rectStyle("look.r", r));
    QVERIFY(r.nonEmpty);
    QCOMPARE(r.round, 4);
    // Keys of the wrong type take their key defaults.
    QCOMPARE(r.border, false);
    QCOMPARE(r.borderSize, 1);
    QCOMPARE(r.color.rgba(), QRgb(0x00ff0000));

    // Unknown or differently cased names leave the record untouched.
    OrvQRectStyle untouched;
    untouched.round = 11;
    QVERIFY(!manager().rectStyle("LOOK.R", untouched));
    QVERIFY(!manager().rectStyle("look.f", untouched));
    QCOMPARE(untouched.round, 11);

    OrvQFontStyle f;
    QVERIFY(manager().fontStyle("look.f", f));
    QCOMPARE(f.size, 12);
    QCOMPARE(f.color.rgba(), QRgb(0xffff0000));
    OrvQFontStyle other;
    other.size = 30;
    QVERIFY(!manager().fontStyle("look.r", other));
    QVERIFY(!manager().fontStyle("empty", other));
    QCOMPARE(other.size, 30);
}

void TestResourceManager::testBadSources()
{
    QVERIFY(!manager().loadPackageFromMemory(nullptr, 10));
    const QByteArray good = ZipWriter().stored("bad/a", "a").archive();
    QVERIFY(!manager().loadPackageFromMemory(good.constData(), 0));
    QVERIFY(!manager().loadPackageFromMemory(good.constData(), -5));
    const QByteArray garbage(4096, 'x');
    QVERIFY(!manager().loadPackageFromMemory(garbage.constData(), garbage.size()));
    QVERIFY(!manager().loadPackage(QString()));
    QVERIFY(!manager().loadPackage(QStringLiteral("/nonexistent/dir/skin.data")));
    QVERIFY(member("bad/a").isNull());
}

void TestResourceManager::testLoadPackageFromPath()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromUtf8("h\xc3\xa4ut \xe7\x9a\xae\xe8\x82\xa4.data"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(ZipWriter()
                   .deflated("path/a.json", "{}")
                   .stored("style.json", R"({"style":[{"type":2,"name":"path.f"}]})")
                   .archive());
    file.close();

    QVERIFY(manager().loadPackage(path));
    QCOMPARE(member("path/a.json"), QByteArray("{}"));
    OrvQFontStyle f;
    QVERIFY(manager().fontStyle("path.f", f));
}

// A folder is read as the zip of its contents: the same lookups, empty files
// dropped, links not followed, and one style.json.
void TestResourceManager::testLoadFolder()
{
    InTemporaryDir folder;
    folder.write("style.json", R"({"style":[{"type":1,"name":"folder.r","drawImg":false}]})");
    folder.write("Folder/Images/A.png", "a");
    folder.write("folder/empty.txt", "");
    folder.write(".hidden/b.txt", "b");
    // Of two names differing by case the first in byte order wins, on every file system.
    folder.write("case/X.txt", "upper");
    folder.write("case/x.txt", "lower");
    QVERIFY(QFile::link(folder.dir.filePath("style.json"), folder.dir.filePath("folder/link.json")));

    const OrvQPackage package = readPackage(folder.dir.path());
    QVERIFY(package.opened);
    QCOMPARE(int(package.members.size()), 5);
    QCOMPARE(package.members[size_t(package.styleFile)].name, std::string("style.json"));

    QVERIFY(manager().loadPackage(folder.dir.path()));
    QCOMPARE(member("folder/images/a.png"), QByteArray("a"));
    QCOMPARE(member(".hidden/b.txt"), QByteArray("b"));
    QCOMPARE(member("case/x.txt"), QByteArray("upper"));
    QVERIFY(member("folder/empty.txt").isNull());
    QVERIFY(member("folder/link.json").isNull());
    OrvQRectStyle r;
    QVERIFY(manager().rectStyle("folder.r", r));
    QVERIFY(!readPackage(folder.dir.filePath("none")).opened);
}

// The marks readPackage leaves for the tools agree with what the manager
// then finds.
void TestResourceManager::testPackageRules()
{
    ZipWriter zip;
    zip.stored("style.json", R"({"style":[{"type":1,"name":"rules.first"}]})")
        .stored("rules/a.txt", "first")
        .stored("Rules/A.TXT", "second")
        .raw({"rules/b.txt", "BZh9", 12, 0, 40})
        .stored("rules/b.txt", "stored")
        .stored("STYLE.JSON", R"({"style":[{"type":1,"name":"rules.last"}]})");
    const QByteArray bytes = zip.archive();
    const OrvQPackage package = readPackageFromMemory(bytes.constData(), bytes.size());
    QCOMPARE(int(package.members.size()), 6);
    QCOMPARE(package.members[2].shadowedBy, 1);
    // A method the reader lacks: named, without bytes, claiming no name.
    QCOMPARE(package.members[3].method, quint16(12));
    QVERIFY(!package.members[3].bytes);
    QCOMPARE(package.members[4].shadowedBy, -1);
    QCOMPARE(package.styleFile, 5);

    QVERIFY(load(zip));
    QCOMPARE(member("rules/a.txt"), QByteArray("first"));
    QCOMPARE(member("rules/b.txt"), QByteArray("stored"));
    OrvQRectStyle r;
    QVERIFY(manager().rectStyle("rules.last", r));
    QVERIFY(!manager().rectStyle("rules.first", r));
}

void TestResourceManager::testHugeDeclaredSizes()
{
    // Each member claims almost 4 GiB; what it may take is bounded by what
    // its few compressed bytes can produce.
    ZipWriter zip;
    const QByteArray content = "hello";
    const QByteArray packed = rawDeflate(content, Z_BEST_COMPRESSION);
    const int count = 2000;
    for (int i = 0; i < count; ++i) {
        zip.raw({"huge/" + QByteArray::number(i), packed, 8, crc32Of(content), 0xfffffff0u});
    }
    zip.raw({"huge/stored", "abc", 0, crc32Of("abc"), 0xfffffff0u});
    load(zip);

    quint64 total = 0;
    for (int i = 0; i < count; ++i) {
        char *data = nullptr;
        unsigned size = 0;
        QVERIFY(manager().fileData("huge/" + QString::number(i), &data, &size));
        QVERIFY(size <= unsigned(packed.size()) * MaxDeflateRatio + 4096);
        total += size;
    }
    QVERIFY(total < (quint64(32) << 20));
    const QByteArray bytes = member("huge/1234");
    QVERIFY(bytes.startsWith(content));
    QCOMPARE(bytes.count('\0'), bytes.size() - content.size());
    QCOMPARE(member("huge/stored"), QByteArray("abc"));
}

void TestResourceManager::testPartlyDecompressedMember()
{
    // Stored deflate blocks, cut short: the bytes inflated so far stay, and
    // the rest of the declared size reads as zeros.
    QByteArray content(100, '\0');
    for (int i = 0; i < content.size(); ++i)
        content[i] = char('a' + i % 26);
    const QByteArray packed = rawDeflate(content, 0);
    const int kept = 40;
    load(ZipWriter().raw({"partly/a", packed.left(5 + kept), 8, crc32Of(content), 100}));

    const QByteArray bytes = member("partly/a");
    QCOMPARE(bytes.size(), 100);
    QCOMPARE(bytes.left(kept), content.left(kept));
    QCOMPARE(bytes.mid(kept), QByteArray(100 - kept, '\0'));
}

void TestResourceManager::testBuiltinImages()
{
    manager().createBuiltinImages();
    const QRgb pen = 0xffcccccc;

    QImage *uncheck = manager().image("IDB_UNCHECK");
    QVERIFY(uncheck);
    QCOMPARE(uncheck->size(), QSize(16, 16));
    QCOMPARE(uncheck->format(), QImage::Format_ARGB32);
    QCOMPARE(uncheck->pixel(0, 0), 0u);
    QCOMPARE(uncheck->pixel(1, 1), pen);
    QCOMPARE(uncheck->pixel(15, 8), pen);
    QCOMPARE(uncheck->pixel(8, 15), pen);
    QCOMPARE(uncheck->pixel(8, 8), 0u);

    QImage *checked = manager().image("IDB_CHECKED");
    QVERIFY(checked);
    QCOMPARE(checked->pixel(1, 1), pen);
    QVERIFY(qAlpha(checked->pixel(6, 11)) > 0);
    QVERIFY(qAlpha(checked->pixel(10, 8)) > 0);
    QCOMPARE(checked->pixel(4, 4), 0u);

    QImage *unselect = manager().image("IDB_UNSELECT");
    QVERIFY(unselect);
    QCOMPARE(unselect->pixel(8, 8), 0u);
    QCOMPARE(unselect->pixel(0, 0), 0u);
    QVERIFY(qAlpha(unselect->pixel(8, 1)) > 0);
    QCOMPARE(unselect->pixel(1, 1), 0u);

    QImage *selected = manager().image("IDB_SELECTED");
    QVERIFY(selected);
    QCOMPARE(selected->pixel(8, 8), pen);
    QVERIFY(qAlpha(selected->pixel(8, 1)) > 0);
    QCOMPARE(selected->pixel(8, 4) & 0xffffff, pen & 0xffffff);
    QCOMPARE(selected->pixel(8, 13), 0u);
    QCOMPARE(selected->pixel(2, 2), 0u);

    // Drawing them again keeps earlier pointers valid.
    manager().createBuiltinImages();
    QCOMPARE(manager().image("IDB_CHECKED"), checked);
    QCOMPARE(checked->pixel(1, 1), pen);
}

void TestResourceManager::testImageFromPackage()
{
    load(ZipWriter().stored("images/pkgimg.png", png(QSize(3, 2))).stored("images/pkgbad.png", "not an image"));

    QImage *image = manager().image("images/pkgimg.png");
    QVERIFY(image);
    QCOMPARE(image->size(), QSize(3, 2));
    QCOMPARE(image->pixel(2, 1), QRgb(0xff112233));
    QCOMPARE(manager().image("images/pkgimg.png"), image);

    // Undecodable and absent everywhere: null.
    InTemporaryDir cwd;
    QVERIFY(!manager().image("images/pkgbad.png"));
    QVERIFY(!manager().image("images/nowhere.png"));
}

void TestResourceManager::testImageDiskFallback()
{
    InTemporaryDir cwd;
    cwd.write("images/diskimg.png", png(QSize(4, 5)));
    cwd.write("diskdirect.png", png(QSize(6, 7)));
    // A member that fails to decode falls back to the disk.
    cwd.write("disk/corrupt.png", png(QSize(2, 2)));
    load(ZipWriter().stored("disk/corrupt.png", "garbage"));
    QDir(cwd.dir.path()).mkpath("images/diskdir.png");

    QImage *underImages = manager().image("diskimg.png");
    QVERIFY(underImages);
    QCOMPARE(underImages->size(), QSize(4, 5));
    QImage *direct = manager().image("diskdirect.png");
    QVERIFY(direct);
    QCOMPARE(direct->size(), QSize(6, 7));
    QImage *corrupt = manager().image("disk/corrupt.png");
    QVERIFY(corrupt);
    QCOMPARE(corrupt->size(), QSize(2, 2));
    // Directories are not files.
    QVERIFY(!manager().image("diskdir.png"));

    // Cached: the files are no longer needed.
    QVERIFY(QFile::remove(cwd.dir.filePath("images/diskimg.png")));
    QCOMPARE(manager().image("diskimg.png"), underImages);

    // A file that does not decode: a width-0 image, the same one every time.
    cwd.write("images/diskjunk.png", "junk");
    QImage *junk = manager().image("diskjunk.png");
    QVERIFY(junk);
    QCOMPARE(junk->width(), 0);
    QCOMPARE(manager().image("diskjunk.png"), junk);
    // Not cached: once the file decodes it is used.
    cwd.write("images/diskjunk.png", png(QSize(1, 1)));
    QImage *fixed = manager().image("diskjunk.png");
    QVERIFY(fixed);
    QCOMPARE(fixed->size(), QSize(1, 1));
    QCOMPARE(junk->width(), 0);
}

void TestResourceManager::testOversizedImages_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("widest accepted") << QSize(MaxImageSide, 1) << true;
    QTest::newRow("too wide") << QSize(MaxImageSide + 1, 1) << false;
    QTest::newRow("too tall") << QSize(1, MaxImageSide + 1) << false;
    QTest::newRow("too many pixels") << QSize(MaxImageSide, int(MaxImagePixels / MaxImageSide) + 1) << false;
}

void TestResourceManager::testOversizedImages()
{
    QFETCH(QSize, size);
    QFETCH(bool, accepted);

    // One-bit images compress to a few bytes whatever their declared size.
    const QByteArray bytes = png(size, QImage::Format_Mono);
    const QString tag = QTest::currentDataTag();
    const QString name = "oversized/" + tag + ".png";
    load(ZipWriter().deflated(name.toUtf8(), bytes));
    InTemporaryDir cwd;
    QImage *image = manager().image(name);
    QCOMPARE(image != nullptr, accepted);
    if (image)
        QCOMPARE(image->size(), size);

    // The same refusal on disk gives the owned width-0 image.
    const QString diskName = "oversized-disk-" + tag + ".png";
    cwd.write(diskName, bytes);
    QImage *fromDisk = manager().image(diskName);
    QVERIFY(fromDisk);
    QCOMPARE(fromDisk->width() == size.width(), accepted);
}

QTEST_MAIN(TestResourceManager)
#include "tst_resourcemanager.moc"
