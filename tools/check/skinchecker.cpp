#include "skinchecker.h"

#include "controlbase.h"
#include "controlkeys.h"
#include "controlregistry.h"
#include "jsonreaders.h"
#include "resourcemanager.h"
#include "scrollarea.h"
#include "stylekeys.h"
#include "stylerecords.h"
#include "windowloader.h"
#include "ziparchive.h"

#include <json/reader.h>

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <set>

namespace OrvQtLib::Tools {

namespace {

// A hostile description may hold a fault in each of 200,000 elements; past
// this many lines a member's further findings are only counted.
constexpr int MaxFindingsPerMember = 200;
// Longer names get no spelling hint: they are not typos, and the distance
// costs the product of the lengths.
constexpr int MaxHintedNameLength = 64;

QString jsonTypeName(const Json::Value &value)
{
    switch (value.type()) {
    case Json::nullValue: return QStringLiteral("null");
    case Json::intValue:
    case Json::uintValue: return QStringLiteral("an integer");
    case Json::realValue: return QStringLiteral("a number");
    case Json::stringValue: return QStringLiteral("a text");
    case Json::booleanValue: return QStringLiteral("a boolean");
    case Json::arrayValue: return QStringLiteral("an array");
    case Json::objectValue: return QStringLiteral("an object");
    }
    return QStringLiteral("a value");
}

QString expectedTypeName(OrvQKeyType type)
{
    switch (type) {
    case OrvQKeyType::Bool: return QStringLiteral("a boolean");
    case OrvQKeyType::Int: return QStringLiteral("an integer");
    case OrvQKeyType::Text:
    case OrvQKeyType::GbkText: return QStringLiteral("a text");
    case OrvQKeyType::Color: return QStringLiteral("a colour (hexadecimal text or number)");
    case OrvQKeyType::ColorText: return QStringLiteral("colour text (hexadecimal digits)");
    case OrvQKeyType::IntList: return QStringLiteral("an array of integers");
    case OrvQKeyType::Object: return QStringLiteral("an object");
    case OrvQKeyType::Array: return QStringLiteral("an array");
    case OrvQKeyType::Items: return QStringLiteral("an array");
    }
    return QStringLiteral("a value");
}

QString hint(const QString &nearest)
{
    return nearest.isEmpty() ? QString() : QStringLiteral(" (did you mean \"%1\"?)").arg(nearest);
}

QString fromUtf8(const std::string &text)
{
    return QString::fromUtf8(text.data(), int(std::min<size_t>(text.size(), INT_MAX)));
}

int editDistance(const QString &a, const QString &b)
{
    std::vector<int> row(size_t(b.size()) + 1);
    for (int j = 0; j <= b.size(); ++j)
        row[size_t(j)] = j;
    for (int i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = i;
        for (int j = 1; j <= b.size(); ++j) {
            const int above = row[size_t(j)];
            const int cost = a[i - 1] == b[j - 1] ? 0 : 1;
            row[size_t(j)] = std::min({above + 1, row[size_t(j - 1)] + 1, diagonal + cost});
            diagonal = above;
        }
    }
    return row[size_t(b.size())];
}

// Parses exactly as the toolkit does; on failure, says where jsoncpp
// stopped ("Line 3, Column 5: ...").
bool parseDocument(const QByteArray &bytes, Json::Value &root, QString *error)
{
    if (parseJsonDocument(bytes.constData(), size_t(bytes.size()), root))
        return true;
    const char *data = bytes.constData();
    const void *nul = std::memchr(data, '\0', size_t(bytes.size()));
    const size_t length = nul ? size_t(static_cast<const char *>(nul) - data) : size_t(bytes.size());
    if (length == 0) {
        *error = QStringLiteral("empty");
        return false;
    }
    try {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        Json::Reader reader;
#pragma GCC diagnostic pop
        Json::Value ignored;
        reader.parse(data, data + length, ignored, false);
        // "* Line 3, Column 5\n  Syntax error: ...\n" for each error; the first says it.
        const QStringList lines = fromUtf8(reader.getFormattedErrorMessages()).split(QLatin1Char('\n'));
        QString where = lines.value(0).trimmed();
        if (where.startsWith(QLatin1String("* ")))
            where.remove(0, 2);
        *error = where + QStringLiteral(": ") + lines.value(1).trimmed();
    } catch (const Json::Exception &) {
        *error = QStringLiteral("nested too deeply for the reader");
    }
    return false;
}

struct PackageFile {
    QString name; // as stored
    const OrvQPackageMember *member = nullptr;

    QByteArray bytes() const { return QByteArray::fromRawData(member->bytes.get(), int(member->size)); }
};

// Compression methods a zip may name, for a member the reader cannot unpack.
QString methodName(quint16 method)
{
    switch (method) {
    case 1: return QStringLiteral("shrink");
    case 6: return QStringLiteral("implode");
    case 9: return QStringLiteral("deflate64");
    case 12: return QStringLiteral("bzip2");
    case 14: return QStringLiteral("LZMA");
    case 93: return QStringLiteral("Zstandard");
    case 95: return QStringLiteral("XZ");
    case 98: return QStringLiteral("PPMd");
    case 99: return QStringLiteral("AES encryption");
    default: return QStringLiteral("unknown");
    }
}

bool isMacResourceMember(const std::string &name)
{
    const size_t slash = name.rfind('/');
    const size_t base = slash == std::string::npos ? 0 : slash + 1;
    return name.compare(0, 9, "__MACOSX/") == 0 || name.compare(base, 2, "._") == 0;
}

class Checker
{
public:
    std::vector<SkinFinding> run(const QString &packagePath, const QStringList &descriptions);

private:
    void add(const QString &member, const QString &path, const QString &message, bool warning = false);
    bool readPackage(const QString &packagePath);
    void checkStyleFile();
    void checkStyleRecord(const QString &member, const QString &path, const Json::Value &record, bool rect);
    void checkColourText(const QString &member, const QString &path, const QString &label, const std::string &text,
                         bool rect);
    void checkMargin(const QString &member, const QString &path, const QString &label, const Json::Value &value);
    void checkChildren(const QString &member, const Json::Value &children, const QString &path, bool inScrollArea,
                       bool object);
    void checkTraps(const QString &member, const Json::Value &element, const QString &path,
                    const OrvQControlSchema &schema);
    void checkDescription(const QString &member, const QByteArray &bytes);
    void checkElement(const QString &member, const Json::Value &element, const QString &path, bool inScrollArea);
    void checkScrollBarElement(const QString &member, const Json::Value &element, const QString &path);
    void checkLayout(const QString &member, const Json::Value &layout, const QString &path);
    void checkAttrAndStyle(const QString &member, const Json::Value &element, const QString &path,
                           const QString &owner, const OrvQControlSchema &schema);
    void checkStyleUse(const QString &member, const QString &path, const QString &owner,
                       const std::vector<OrvQSlotInfo> &slotTable, const QString &name, int slot);
    void checkKeyValue(const QString &member, const QString &path, const QString &label, const Json::Value &holder,
                       const OrvQKeyInfo &info);
    void checkInt(const QString &member, const QString &path, const QString &label, const Json::Value &value,
                  const char *readAs, qint64 limit);
    void checkImage(const QString &member, const QString &path, const QString &label, const QString &name);
    void checkImageVariants();
    const std::optional<OrvQControlSchema> &schemaOf(const std::string &typeName);

    std::vector<SkinFinding> m_findings;
    struct Suppressed {
        int shown = 0;
        int errors = 0;
        int warnings = 0;
    };
    std::map<QString, Suppressed> m_counts;

    OrvQPackage m_package;
    std::map<std::string, PackageFile> m_files; // by lookup key, first member wins
    OrvQStyleTables m_styles;
    // False when style.json is missing or unreadable: said once, and no use
    // of a style is reported as undefined.
    bool m_stylesRead = false;
    bool m_unreadable = false;
    std::map<std::string, OrvQImageVerdict> m_images;
    std::set<std::string> m_types;
    QStringList m_typeNames;
    std::map<std::string, std::optional<OrvQControlSchema>> m_schemas;
};

void Checker::add(const QString &member, const QString &path, const QString &message, bool warning)
{
    Suppressed &count = m_counts[member];
    if (count.shown < MaxFindingsPerMember) {
        ++count.shown;
        m_findings.push_back({member, path, message, warning});
    } else {
        ++(warning ? count.warnings : count.errors);
    }
}

std::vector<SkinFinding> Checker::run(const QString &packagePath, const QStringList &descriptions)
{
    for (const std::string &name : registeredTypes()) {
        m_types.insert(name);
        m_typeNames.append(fromUtf8(name));
    }
    if (!readPackage(packagePath)) {
        for (SkinFinding &finding : m_findings)
            finding.unreadable = m_unreadable;
        return m_findings;
    }
    checkStyleFile();
    checkImageVariants();

    if (descriptions.isEmpty()) {
        for (const auto &file : m_files) {
            const bool json = file.first.size() > 5 && file.first.compare(file.first.size() - 5, 5, ".json") == 0
                && !isMacResourceMember(file.first);
            if (json && !file.second.name.startsWith(QLatin1String("./")))
                checkDescription(file.second.name, file.second.bytes());
        }
    }
    for (QString name : descriptions) {
        // The loader's lookup: ".json" added, the package first, then the disk.
        if (!name.contains(QLatin1String(".json")))
            name += QLatin1String(".json");
        const auto found = m_files.find(packageMemberKey(name.toStdString()));
        if (found != m_files.end()) {
            checkDescription(found->second.name, found->second.bytes());
            continue;
        }
        QFile file(name);
        if (QFileInfo(name).isFile() && file.size() <= MaxDescriptionBytes && file.open(QIODevice::ReadOnly))
            checkDescription(name, file.readAll());
        else
            add(name, QStringLiteral("-"), QStringLiteral("no such description in the package or on disk"));
    }

    for (const auto &count : m_counts) {
        const int more = count.second.errors + count.second.warnings;
        if (more > 0)
            m_findings.push_back({count.first, QStringLiteral("-"),
                                  QStringLiteral("%1 more findings not shown").arg(more), count.second.errors == 0});
    }
    return m_findings;
}

bool Checker::readPackage(const QString &packagePath)
{
    const QString package = QFileInfo(packagePath).fileName();
    m_package = OrvQtLib::readPackage(packagePath);
    if (!m_package.opened) {
        m_unreadable = true;
        add(package, QStringLiteral("-"), m_package.error);
        return false;
    }
    if (const QString folder = packageFolderPrefix(m_package); !folder.isEmpty()) {
        add(folder, QStringLiteral("-"),
            QStringLiteral("every member is inside the folder \"%1\", so no lookup finds them: zip the folder's "
                           "contents, not the folder").arg(folder));
        return false;
    }
    if (m_package.unreadRecords > 0)
        add(package, QStringLiteral("-"),
            QStringLiteral("%1 directory records cannot be read").arg(m_package.unreadRecords));
    int macMembers = 0;
    for (const OrvQPackageMember &member : m_package.members) {
        const QString name = fromUtf8(member.name);
        if (isMacResourceMember(member.key)) {
            ++macMembers;
            continue;
        }
        if (member.name.compare(0, 2, "./") == 0)
            add(name, QStringLiteral("-"),
                QStringLiteral("the name starts with \"./\", so no lookup reaches it: pack the folder's contents, "
                               "not the folder \".\""));
        if (member.shadowedBy >= 0) {
            add(name, QStringLiteral("-"),
                QStringLiteral("shadowed by the earlier \"%1\": lookups ignore case and the first member wins")
                    .arg(fromUtf8(m_package.members[size_t(member.shadowedBy)].name)));
            continue;
        }
        if (member.encrypted)
            add(name, QStringLiteral("-"), QStringLiteral("encrypted: the toolkit cannot read it; pack it without a password"));
        else if (member.method != 0 && member.method != 8)
            add(name, QStringLiteral("-"),
                QStringLiteral("compressed with method %1 (%2), which the toolkit cannot unpack: use deflate or store")
                    .arg(member.method)
                    .arg(methodName(member.method)));
        else if (!member.bytes)
            add(name, QStringLiteral("-"), QStringLiteral("too large to hold in memory"));
        else if (member.result != ZipOk)
            add(name, QStringLiteral("-"),
                QStringLiteral("the data is damaged (code 0x%1): only what unpacked is used").arg(member.result, 0, 16));
        if (!member.bytes)
            continue;
        if (member.key != "style.json")
            m_files.emplace(member.key, PackageFile{name, &member});
    }
    if (macMembers > 0)
        add(package, QStringLiteral("-"),
            QStringLiteral("%1 macOS resource members (__MACOSX/, ._*) are ignored; they only add weight").arg(macMembers),
            true);
    return true;
}

namespace {

// The size an image declares, read from its header without decoding it.
QSize declaredImageSize(const PackageFile &file)
{
    QByteArray bytes = file.bytes();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return QImageReader(&buffer).size();
}

} // namespace

void Checker::checkImageVariants()
{
    for (const auto &file : m_files) {
        QString baseName;
        const int scale = imageVariantScale(file.second.name, &baseName);
        if (scale == 0)
            continue;
        const auto base = m_files.find(packageMemberKey(baseName.toStdString()));
        if (base == m_files.end()) {
            add(file.second.name, QStringLiteral("-"),
                QStringLiteral("a @%1x image without its base image \"%2\": nothing draws it").arg(scale).arg(baseName),
                true);
            continue;
        }
        const QSize size = declaredImageSize(file.second);
        const QSize baseSize = declaredImageSize(base->second);
        if (size.isValid() && baseSize.isValid() && size != baseSize * scale)
            add(file.second.name, QStringLiteral("-"),
                QStringLiteral("%1 x %2 pixels, not %3 times the %4 x %5 of \"%6\"")
                    .arg(size.width()).arg(size.height()).arg(scale)
                    .arg(baseSize.width()).arg(baseSize.height()).arg(base->second.name));
    }
}

void Checker::checkStyleFile()
{
    if (m_package.styleFile < 0) {
        add(QStringLiteral("style.json"), QStringLiteral("-"),
            QStringLiteral("missing: the package defines no style, so every control draws its defaults"));
        return;
    }
    const PackageFile file{fromUtf8(m_package.members[size_t(m_package.styleFile)].name),
                           &m_package.members[size_t(m_package.styleFile)]};
    for (int i = 0; i < m_package.styleFile; ++i) {
        if (m_package.members[size_t(i)].key == "style.json")
            add(fromUtf8(m_package.members[size_t(i)].name), QStringLiteral("-"),
                QStringLiteral("shadowed by the later \"%1\": only the last style.json is read").arg(file.name));
    }
    if (!file.member->bytes)
        return;

    Json::Value root;
    QString error;
    if (!parseDocument(file.bytes(), root, &error)) {
        add(file.name, QStringLiteral("-"), QStringLiteral("does not parse: ") + error);
        return;
    }
    if (!jsonHas(root, "style")) {
        add(file.name, QStringLiteral("-"), QStringLiteral("has no \"style\" member: no style is defined"));
        return;
    }
    const Json::Value &records = jsonMember(root, "style");
    if (!records.isArray() && !records.isObject()) {
        add(file.name, QStringLiteral("style"),
            QStringLiteral("is %1, not an array or object of records: no style is defined").arg(jsonTypeName(records)));
        return;
    }
    parseStyles(records, m_styles);
    m_stylesRead = true;

    // The same walk as parseStyles: array order, or ascending member names.
    std::map<std::pair<int, QString>, QString> defined;
    const Json::Value::Members names = jsonMemberNames(records);
    for (Json::ArrayIndex i = 0; i < records.size(); ++i) {
        const Json::Value &record = records.isArray() ? records[i] : records[names[i]];
        const QString path = records.isArray() ? QStringLiteral("style[%1]").arg(i)
                                               : QStringLiteral("style.") + fromUtf8(names[i]);
        if (!record.isObject()) {
            add(file.name, path, QStringLiteral("is %1, not a record: skipped").arg(jsonTypeName(record)), true);
            continue;
        }
        const std::optional<int> type = readInt(record, "type");
        if (!type || (*type != RectStyleRecord && *type != FontStyleRecord)) {
            add(file.name, path,
                jsonHas(record, "type") ? QStringLiteral("\"type\" is not 1 (rect) or 2 (font): the record is skipped")
                                        : QStringLiteral("has no \"type\": the record is skipped"),
                true);
            continue;
        }
        const QString name = readUtf8(record, "name");
        const auto first = defined.emplace(std::make_pair(*type, name), path);
        if (!first.second) {
            add(file.name, path,
                QStringLiteral("\"%1\" is defined before, at %2: this record is ignored").arg(name, first.first->second),
                true);
            continue;
        }
        checkStyleRecord(file.name, path, record, *type == RectStyleRecord);
    }
}

void Checker::checkStyleRecord(const QString &member, const QString &path, const Json::Value &record, bool rect)
{
    std::vector<OrvQKeyInfo> keys = styleRecordKeys();
    const std::vector<OrvQKeyInfo> own = rect ? keyInfoOf(rectStyleKeys()) : keyInfoOf(fontStyleKeys());
    keys.insert(keys.end(), own.begin(), own.end());
    const QString kind = rect ? QStringLiteral("a rect style") : QStringLiteral("a font style");
    QStringList known;
    for (const OrvQKeyInfo &info : keys)
        known.append(QLatin1String(info.name));
    for (const std::string &key : record.getMemberNames()) {
        const QString name = fromUtf8(key);
        if (!known.contains(name))
            add(member, path, QStringLiteral("key \"%1\" is not read by %2%3").arg(name, kind, hint(nearestName(name, known))));
    }
    for (const OrvQKeyInfo &info : own) {
        if (!jsonHas(record, info.name))
            continue;
        const QString label = QStringLiteral("\"%1\"").arg(info.name);
        if (info.type == OrvQKeyType::ColorText && jsonMember(record, info.name).isString())
            checkColourText(member, path, label, jsonMember(record, info.name).asString(), rect);
        else if (info.type == OrvQKeyType::IntList)
            checkMargin(member, path, label, jsonMember(record, info.name));
        else if (!(info.image && readBool(record, "drawImg", true) == false))
            checkKeyValue(member, path, label, record, info);
    }
}

void Checker::checkColourText(const QString &member, const QString &path, const QString &label,
                              const std::string &text, bool rect)
{
    const QString shown = fromUtf8(text);
    size_t digits = 0;
    while (digits < text.size() && std::isxdigit(static_cast<unsigned char>(text[digits])))
        ++digits;
    const QString value = QString::number(hexColorValue(text), 16).rightJustified(8, QLatin1Char('0'));
    if (!text.empty() && text[0] == '#')
        add(member, path, QStringLiteral("%1 \"%2\" starts with \"#\": colour text is bare hexadecimal digits, "
                                         "read as 00000000").arg(label, shown));
    else if (digits != text.size() || text.empty())
        add(member, path, QStringLiteral("%1 \"%2\" is not hexadecimal digits (colour names are not read): read as %3")
                              .arg(label, shown, value));
    else if (digits > 8)
        add(member, path, QStringLiteral("%1 \"%2\" has more than eight digits: read as %3").arg(label, shown, value));
    else if (rect && digits <= 6)
        add(member, path,
            QStringLiteral("%1 \"%2\" has no alpha byte, so it is transparent: rect styles read AARRGGBB, write \"ff%3\"")
                .arg(label, shown, QString(shown).rightJustified(6, QLatin1Char('0'))),
            true);
}

void Checker::checkMargin(const QString &member, const QString &path, const QString &label, const Json::Value &value)
{
    bool fourIntegers = value.isArray() && value.size() == 4;
    for (Json::ArrayIndex i = 0; fourIntegers && i < 4; ++i)
        fourIntegers = jsonToInt(value[i]).has_value();
    if (!fourIntegers)
        add(member, path,
            QStringLiteral("%1 is not four integers [top, right, bottom, left]: %2")
                .arg(label, value.isArray() ? QStringLiteral("missing or other elements read as 0")
                                            : QStringLiteral("read as absent")));
}

void Checker::checkDescription(const QString &member, const QByteArray &bytes)
{
    Json::Value root;
    QString error;
    if (!parseDocument(bytes, root, &error)) {
        add(member, QStringLiteral("-"), QStringLiteral("does not parse: ") + error);
        return;
    }
    if (!root.isObject()) {
        add(member, QStringLiteral("-"), QStringLiteral("is %1, not an object: nothing is built").arg(jsonTypeName(root)));
        return;
    }

    const std::vector<OrvQKeyInfo> window = windowKeys();
    QStringList known{QStringLiteral("elements")};
    for (const OrvQKeyInfo &info : window)
        known.append(QLatin1String(info.name));
    for (const std::string &key : root.getMemberNames()) {
        const QString name = fromUtf8(key);
        if (!known.contains(name))
            add(member, QStringLiteral("-"),
                QStringLiteral("window key \"%1\" is not read%2").arg(name, hint(nearestName(name, known))));
    }
    for (const OrvQKeyInfo &info : window) {
        if (jsonHas(root, info.name))
            checkKeyValue(member, QStringLiteral("-"), QStringLiteral("window key \"%1\"").arg(info.name), root, info);
    }

    const Json::Value &elements = jsonMember(root, "elements");
    if (elements.isNull()) {
        add(member, QStringLiteral("-"), QStringLiteral("has no \"elements\": nothing is built"), true);
        return;
    }
    if (!elements.isArray()) {
        add(member, QStringLiteral("elements"),
            QStringLiteral("is %1, not an array: nothing is built").arg(jsonTypeName(elements)));
        return;
    }
    checkChildren(member, elements, QStringLiteral("elements"), false, false);
}

// Siblings are where a host's findChild looks: of two of one name it finds
// only the first.
void Checker::checkChildren(const QString &member, const Json::Value &children, const QString &path,
                            bool inScrollArea, bool child)
{
    std::map<QString, QString> named;
    for (Json::ArrayIndex i = 0; i < children.size(); ++i) {
        const QString at = child ? path + QStringLiteral(".child[%1]").arg(i) : path + QStringLiteral("[%1]").arg(i);
        const Json::Value &element = children[i];
        checkElement(member, element, at, inScrollArea);
        const std::optional<QString> name = element.isObject() ? jsonToUtf8(jsonMember(element, "name")) : std::nullopt;
        if (!name || name->isEmpty())
            continue;
        const auto first = named.emplace(*name, at);
        if (!first.second)
            add(member, at + QStringLiteral(" \"%1\"").arg(*name),
                QStringLiteral("shares its name with its sibling %1: findChild finds only the first").arg(first.first->second),
                true);
    }
}

void Checker::checkElement(const QString &member, const Json::Value &element, const QString &rawPath,
                           bool inScrollArea)
{
    if (!element.isObject()) {
        add(member, rawPath, QStringLiteral("is %1, not an element: skipped").arg(jsonTypeName(element)), true);
        return;
    }
    // Findings name the element as a designer knows it; children extend the bare path.
    const std::optional<QString> elementName = jsonToUtf8(jsonMember(element, "name"));
    const QString path = elementName && !elementName->isEmpty()
        ? rawPath + QStringLiteral(" \"%1\"").arg(*elementName) : rawPath;
    const Json::Value &type = jsonMember(element, "type");
    if (!type.isString()) {
        add(member, path,
            type.isNull() ? QStringLiteral("has no \"type\": skipped with its children")
                          : QStringLiteral("\"type\" is %1, not a text: skipped with its children")
                                .arg(jsonTypeName(type)));
        return;
    }
    // The registry is asked with the name as a C string, up to any NUL.
    const std::string typeName = type.asString().c_str();
    const QString typeText = fromUtf8(typeName);
    // Scroll areas take such children as skins of their bars; the loader
    // builds none of them.
    if (OrvQScrollAreaSkin::isScrollBarElement(element)) {
        if (inScrollArea)
            checkScrollBarElement(member, element, path);
        else
            add(member, path,
                QStringLiteral("scroll bar element \"%1\" outside a scroll area: nothing reads it").arg(typeText));
        return;
    }
    if (!m_types.count(typeName)) {
        add(member, path,
            QStringLiteral("unknown type \"%1\"%2: skipped with its children")
                .arg(typeText, hint(nearestName(typeText, m_typeNames))));
        return;
    }
    const std::optional<OrvQControlSchema> &schema = schemaOf(typeName);

    QStringList known;
    for (const OrvQKeyInfo &info : commonElementKeyTable())
        known.append(QLatin1String(info.name));
    if (schema) {
        for (const OrvQKeyInfo &info : schema->elementKeys)
            known.append(QLatin1String(info.name));
    }
    for (const std::string &key : element.getMemberNames()) {
        const QString name = fromUtf8(key);
        if (known.contains(name))
            continue;
        const bool attrKey = schema && std::any_of(schema->keys.begin(), schema->keys.end(),
                                                   [&key](const OrvQKeyInfo &info) { return key == info.name; });
        add(member, path,
            attrKey ? QStringLiteral("key \"%1\" is not read here: it belongs in \"attr\"").arg(name)
                    : QStringLiteral("key \"%1\" is not read%2").arg(name, hint(nearestName(name, known))));
    }

    // The structural keys ("layout", "attr", "style", "child") have their own checks below.
    for (const OrvQKeyInfo &info : commonElementKeyTable()) {
        if (info.type != OrvQKeyType::Object && info.type != OrvQKeyType::Array && std::strcmp(info.name, "type") != 0
            && jsonHas(element, info.name))
            checkKeyValue(member, path, QStringLiteral("\"%1\"").arg(info.name), element, info);
    }
    if (jsonHas(element, "layout")) {
        const Json::Value &layout = jsonMember(element, "layout");
        if (layout.isObject())
            checkLayout(member, layout, path);
        else
            add(member, path,
                QStringLiteral("\"layout\" is %1, not an object: \"x\", \"y\", \"w\", \"h\" place the element")
                    .arg(jsonTypeName(layout)));
    }
    if (schema) {
        for (const OrvQKeyInfo &info : schema->elementKeys) {
            if (jsonHas(element, info.name))
                checkKeyValue(member, path, QStringLiteral("\"%1\"").arg(info.name), element, info);
        }
        checkAttrAndStyle(member, element, path, typeText, *schema);
        checkTraps(member, element, path, *schema);
    }

    if (!jsonHas(element, "child"))
        return;
    const Json::Value &children = jsonMember(element, "child");
    if (!children.isArray()) {
        add(member, path,
            QStringLiteral("\"child\" is %1, not an array: no child is built").arg(jsonTypeName(children)));
        return;
    }
    checkChildren(member, children, rawPath, schema && schema->scrollBarElements, true);
}

void Checker::checkTraps(const QString &member, const Json::Value &element, const QString &path,
                         const OrvQControlSchema &schema)
{
    // A value outside the control's own range, where it has one.
    const Json::Value &attr = jsonObject(element, "attr");
    const auto attrInt = [&](const char *key) -> std::optional<int> {
        const bool known = std::any_of(schema.keys.begin(), schema.keys.end(),
                                       [key](const OrvQKeyInfo &info) { return std::strcmp(info.name, key) == 0; });
        return known ? readInt(attr, key) : std::nullopt;
    };
    const std::optional<int> value = attrInt("val");
    const std::optional<int> minimum = attrInt("min");
    const std::optional<int> maximum = attrInt("max");
    if (value && maximum && *value > *maximum)
        add(member, path, QStringLiteral("attr \"val\" %1 is above \"max\" %2: shown at %2").arg(*value).arg(*maximum),
            true);
    if (value && minimum && *value < *minimum)
        add(member, path, QStringLiteral("attr \"val\" %1 is below \"min\" %2: shown at %2").arg(*value).arg(*minimum),
            true);

    for (const OrvQTrap &trap : schema.traps) {
        bool met = false;
        if (trap.when == OrvQTrap::SlotEmpty) {
            met = true;
            forEachStyleEntry(element, [&](const QString &, int slot) {
                if (slot == trap.slot)
                    met = false;
            });
        } else if (trap.when == OrvQTrap::Disabled) {
            met = readBool(element, "enable", true) == false;
        }
        if (met)
            add(member, path, QString::fromUtf8(trap.message), true);
    }
}

void Checker::checkScrollBarElement(const QString &member, const Json::Value &element, const QString &path)
{
    const OrvQControlSchema schema = OrvQScrollAreaSkin::elementSchema();
    QStringList known{QStringLiteral("type"), QStringLiteral("attr"), QStringLiteral("style")};
    for (const OrvQKeyInfo &info : schema.elementKeys)
        known.append(QLatin1String(info.name));
    for (const std::string &key : element.getMemberNames()) {
        const QString name = fromUtf8(key);
        if (!known.contains(name))
            add(member, path,
                QStringLiteral("key \"%1\" is not read by a scroll bar element%2").arg(name, hint(nearestName(name, known))));
    }
    for (const OrvQKeyInfo &info : schema.elementKeys) {
        if (jsonHas(element, info.name))
            checkKeyValue(member, path, QStringLiteral("\"%1\"").arg(info.name), element, info);
    }
    checkAttrAndStyle(member, element, path, QStringLiteral("a scroll bar element"), schema);
}

void Checker::checkLayout(const QString &member, const Json::Value &layout, const QString &path)
{
    QStringList known;
    for (const char *key : layoutKeys())
        known.append(QLatin1String(key));
    for (const std::string &key : layout.getMemberNames()) {
        const QString name = fromUtf8(key);
        if (!known.contains(name))
            add(member, path,
                QStringLiteral("layout key \"%1\" is not read%2").arg(name, hint(nearestName(name, known))));
    }
    if (jsonHas(layout, "type")) {
        const Json::Value &kind = jsonMember(layout, "type");
        if (!jsonToUInt(kind))
            add(member, path,
                QStringLiteral("layout \"type\" is %1, not 0 to 3: read as 0")
                    .arg(kind.isNumeric() ? QString::number(kind.asDouble()) : jsonTypeName(kind)));
        else if (*jsonToUInt(kind) > unsigned(LayoutFixed))
            add(member, path,
                QStringLiteral("layout \"type\" %1 is not 0 to 3: the element keeps its geometry").arg(*jsonToUInt(kind)),
                true);
    }
    for (const char *key : layoutKeys()) {
        if (std::strcmp(key, "type") != 0 && jsonHas(layout, key))
            checkInt(member, path, QStringLiteral("layout \"%1\"").arg(key), jsonMember(layout, key), "absent",
                     QWIDGETSIZE_MAX);
    }
}

void Checker::checkAttrAndStyle(const QString &member, const Json::Value &element, const QString &path,
                                const QString &owner, const OrvQControlSchema &schema)
{
    if (jsonHas(element, "attr")) {
        const Json::Value &attr = jsonMember(element, "attr");
        if (!attr.isObject()) {
            add(member, path, QStringLiteral("\"attr\" is %1, not an object: no attribute is read").arg(jsonTypeName(attr)));
        } else {
            QStringList known;
            for (const OrvQKeyInfo &info : schema.keys)
                known.append(QLatin1String(info.name));
            for (const std::string &key : attr.getMemberNames()) {
                const QString name = fromUtf8(key);
                if (!known.contains(name))
                    add(member, path,
                        QStringLiteral("attr key \"%1\" is not read by %2%3").arg(name, owner, hint(nearestName(name, known))));
            }
            for (const OrvQKeyInfo &info : schema.keys) {
                if (jsonHas(attr, info.name))
                    checkKeyValue(member, path, QStringLiteral("attr \"%1\"").arg(info.name), attr, info);
            }
        }
    }

    if (!jsonHas(element, "style"))
        return;
    const Json::Value &styles = jsonMember(element, "style");
    if (!styles.isArray() && !styles.isObject()) {
        add(member, path, QStringLiteral("\"style\" is %1: no style applies").arg(jsonTypeName(styles)));
        return;
    }
    // The walk of forEachStyleEntry, with each entry's place for the report.
    const Json::Value::Members names = jsonMemberNames(styles);
    for (Json::ArrayIndex i = 0; i < styles.size(); ++i) {
        const Json::Value &entry = styles.isArray() ? styles[i] : styles[names[i]];
        const std::optional<QString> name = jsonToUtf8(jsonAt(entry, 0));
        const std::optional<int> slot = jsonToInt(jsonAt(entry, 2));
        if (!name || !slot) {
            const QString where = styles.isArray() ? QString::number(i) : QLatin1Char('"') + fromUtf8(names[i]) + QLatin1Char('"');
            add(member, path, QStringLiteral("style entry %1 is not [name, 0, slot]: skipped").arg(where));
            continue;
        }
        checkStyleUse(member, path, owner, schema.styleSlots, *name, *slot);
    }
}

void Checker::checkStyleUse(const QString &member, const QString &path, const QString &owner,
                            const std::vector<OrvQSlotInfo> &slotTable, const QString &name, int slot)
{
    bool wantsRect = false;
    bool wantsFont = false;
    for (const OrvQSlotInfo &row : slotTable) {
        if (slot >= row.slot && slot <= row.lastSlot)
            (row.font ? wantsFont : wantsRect) = true;
    }
    if (!wantsRect && !wantsFont) {
        add(member, path, QStringLiteral("%1 has no style slot %2 (style \"%3\")").arg(owner).arg(slot).arg(name));
        return;
    }
    if (!m_stylesRead)
        return; // style.json itself is reported, once
    const bool isRect = isBuiltinRectStyle(name) || m_styles.rects.count(name);
    const bool isFont = m_styles.fonts.count(name) > 0;
    if (wantsRect && !isRect)
        add(member, path,
            isFont ? QStringLiteral("style \"%1\" in slot %2 is a font style; the slot wants a rect style").arg(name).arg(slot)
                   : QStringLiteral("style \"%1\" in slot %2 is not defined").arg(name).arg(slot));
    if (wantsFont && !isFont)
        add(member, path,
            isRect ? QStringLiteral("style \"%1\" in slot %2 is a rect style; the slot wants a font style").arg(name).arg(slot)
                   : QStringLiteral("style \"%1\" in slot %2 is not defined").arg(name).arg(slot));
}

void Checker::checkKeyValue(const QString &member, const QString &path, const QString &label,
                            const Json::Value &holder, const OrvQKeyInfo &info)
{
    const Json::Value &value = jsonMember(holder, info.name);
    const std::optional<QVariant> read = readKeyValue(holder, info);
    if (!read) {
        add(member, path,
            info.exact && value.isNumeric()
                ? QStringLiteral("%1 is not a whole number in the int range: the toolkit reads it as absent").arg(label)
                : QStringLiteral("%1 is %2, not %3: the toolkit reads it as absent")
                      .arg(label, jsonTypeName(value), expectedTypeName(info.type)));
        return;
    }
    const char *begin = nullptr;
    const char *end = nullptr;
    if (info.type == OrvQKeyType::GbkText && value.isString() && value.getString(&begin, &end)
        && !isValidUtf8(begin, end - begin))
        add(member, path, QStringLiteral("%1 is not valid UTF-8: read as GBK").arg(label), true);
    if (info.type == OrvQKeyType::Int && value.isNumeric()) {
        const double given = value.asDouble();
        if (given < info.minimum || given > info.maximum)
            add(member, path, QStringLiteral("%1 %2 is clamped to %3").arg(label).arg(given, 0, 'g', 12).arg(read->toInt()),
                true);
    }
    if (info.image && !read->toString().isEmpty())
        checkImage(member, path, label, read->toString());
}

void Checker::checkInt(const QString &member, const QString &path, const QString &label, const Json::Value &value,
                       const char *readAs, qint64 limit)
{
    const std::optional<int> number = jsonToInt(value);
    if (!number)
        add(member, path,
            QStringLiteral("%1 is %2, not an integer: read as %3").arg(label, jsonTypeName(value), QLatin1String(readAs)));
    else if (std::abs(qint64(*number)) > limit)
        add(member, path, QStringLiteral("%1 %2 is beyond %3: geometry is clamped").arg(label).arg(*number).arg(limit),
            true);
}

void Checker::checkImage(const QString &member, const QString &path, const QString &label, const QString &name)
{
    const std::string key = packageMemberKey(name.toStdString());
    const auto file = m_files.find(key);
    if (file == m_files.end()) {
        add(member, path, QStringLiteral("%1 names image \"%2\", which is not in the package").arg(label, name));
        return;
    }
    auto verdict = m_images.find(key);
    if (verdict == m_images.end()) {
        verdict = m_images.emplace(key, decodeImageBytes(file->second.member->bytes.get(), file->second.member->size)).first;
    }
    if (verdict->second == OrvQImageVerdict::TooLarge)
        add(member, path,
            QStringLiteral("%1 names image \"%2\", larger than the toolkit takes (%3 pixels a side, %4 in all)")
                .arg(label, name)
                .arg(MaxImageSide)
                .arg(MaxImagePixels));
    else if (verdict->second == OrvQImageVerdict::Undecodable)
        add(member, path, QStringLiteral("%1 names image \"%2\", which does not decode").arg(label, name));
}

const std::optional<OrvQControlSchema> &Checker::schemaOf(const std::string &typeName)
{
    auto found = m_schemas.find(typeName);
    if (found == m_schemas.end())
        found = m_schemas.emplace(typeName, controlSchema(typeName.c_str())).first;
    return found->second;
}

} // namespace

QString formatFinding(const SkinFinding &finding)
{
    return QStringLiteral("%1: %2: %3%4")
        .arg(finding.member, finding.path, finding.warning ? QStringLiteral("warning: ") : QString(), finding.message);
}

std::vector<SkinFinding> checkSkinPackage(const QString &packagePath, const QStringList &descriptions)
{
    try {
        return Checker().run(packagePath, descriptions);
    } catch (const std::exception &) {
        // The readers do not throw; this keeps a library fault from ending the tool.
        return {{QFileInfo(packagePath).fileName(), QStringLiteral("-"), QStringLiteral("internal error while checking"),
                 false}};
    }
}

bool hasErrors(const std::vector<SkinFinding> &findings)
{
    return std::any_of(findings.begin(), findings.end(), [](const SkinFinding &f) { return !f.warning; });
}

int exitStatus(const std::vector<SkinFinding> &findings)
{
    if (std::any_of(findings.begin(), findings.end(), [](const SkinFinding &f) { return f.unreadable; }))
        return 2;
    return hasErrors(findings) ? 1 : 0;
}

QString packageFolderPrefix(const OrvQPackage &package)
{
    std::string folder;
    for (const OrvQPackageMember &member : package.members) {
        if (isMacResourceMember(member.key))
            continue;
        const size_t slash = member.name.find('/');
        if (slash == std::string::npos || slash == 0)
            return QString();
        const std::string top = member.name.substr(0, slash + 1);
        if (top == "./" || (!folder.empty() && top != folder))
            return QString();
        folder = top;
    }
    return fromUtf8(folder);
}

QString nearestName(const QString &name, const QStringList &candidates)
{
    if (name.isEmpty() || name.size() > MaxHintedNameLength)
        return QString();
    const QString folded = name.toLower();
    const int allowed = std::clamp(int(name.size()) / 3, 1, 3);
    QString best;
    int bestDistance = allowed + 1;
    for (const QString &candidate : candidates) {
        const int distance = editDistance(folded, candidate.toLower());
        if (distance < bestDistance && candidate != name) {
            best = candidate;
            bestDistance = distance;
        }
    }
    return best;
}

} // namespace OrvQtLib::Tools
