#include "tsupdate.h"

#include "controlkeys.h"
#include "controlregistry.h"
#include "describeditems.h"
#include "jsonreaders.h"
#include "resourcemanager.h"
#include "windowloader.h"
#include "ziparchive.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <set>

namespace OrvQtLib::Tools {

namespace {

// The texts of one context, each once, in the order first met.
class ContextTexts
{
public:
    explicit ContextTexts(std::vector<TsMessage> &messages)
        : m_messages(messages)
    {
    }

    void add(const QString &text, const QString &path)
    {
        if (text.isEmpty())
            return;
        const auto found = m_index.find(text);
        if (found != m_index.end()) {
            m_messages[found->second].paths.append(path);
            return;
        }
        m_index.emplace(text, m_messages.size());
        m_messages.push_back({text, {path}});
    }

private:
    std::vector<TsMessage> &m_messages;
    std::map<QString, size_t> m_index;
};

struct ItemWalk {
    ContextTexts &texts;
    int remaining = MaxDescribedItems;
};

// The texts the toolkit reads from an array key, within its limits.
void collectItems(const Json::Value &array, const QString &path, int depth, ItemWalk &walk)
{
    if (depth >= MaxItemDepth || !array.isArray())
        return;
    for (Json::ArrayIndex i = 0; i < array.size() && walk.remaining > 0; ++i, --walk.remaining) {
        const Json::Value &item = array[i];
        const QString at = path + QStringLiteral("[%1]").arg(i);
        if (item.isString()) {
            if (item.asString() != "-")
                walk.texts.add(jsonToGbk(item).value_or(QString()), at);
        } else if (item.isArray()) {
            collectItems(item, at, depth + 1, walk);
        } else if (item.isObject()) {
            const char *textKey = jsonHas(item, "text") ? "text" : "title";
            walk.texts.add(jsonToGbk(jsonMember(item, textKey)).value_or(QString()),
                           at + QLatin1Char('.') + QLatin1String(textKey));
            const char *childKey = jsonArray(item, "child").isArray() ? "child" : "items";
            collectItems(jsonArray(item, childKey), at + QLatin1Char('.') + QLatin1String(childKey), depth + 1, walk);
        }
    }
}

void collectKeys(const Json::Value &holder, const std::vector<OrvQKeyInfo> &keys, const QString &path,
                 ContextTexts &texts)
{
    for (const OrvQKeyInfo &info : keys) {
        const QString at = path + QLatin1String(info.name);
        if (info.type == OrvQKeyType::GbkText) {
            texts.add(jsonToGbk(jsonMember(holder, info.name)).value_or(QString()), at);
        } else if (info.type == OrvQKeyType::Items) {
            ItemWalk walk{texts};
            collectItems(jsonMember(holder, info.name), at, 0, walk);
        }
    }
}

void collectElements(const Json::Value &elements, const QString &path, ContextTexts &texts, int &budget)
{
    if (!elements.isArray() && !elements.isObject())
        return;
    int index = 0;
    for (const Json::Value &element : elements) {
        const QString at = path + QStringLiteral("[%1]").arg(index++);
        if (--budget < 0)
            return;
        texts.add(jsonToGbk(jsonMember(element, "tooltip")).value_or(QString()), at + QStringLiteral(".tooltip"));
        const std::optional<std::string> type = jsonToString(jsonMember(element, "type"));
        if (const std::optional<OrvQControlSchema> schema = type ? controlSchema(type->c_str()) : std::nullopt) {
            collectKeys(element, schema->elementKeys, at + QLatin1Char('.'), texts);
            collectKeys(jsonObject(element, "attr"), schema->keys, at + QStringLiteral(".attr."), texts);
        }
        collectElements(jsonArray(element, "child"), at + QStringLiteral(".child"), texts, budget);
    }
}

void collectDescription(const QByteArray &bytes, std::vector<TsMessage> &messages)
{
    Json::Value root;
    if (!parseJsonDocument(bytes.constData(), size_t(bytes.size()), root))
        return;
    ContextTexts texts(messages);
    collectKeys(root, windowKeys(), QString(), texts);
    int budget = MaxElementsPerLoad;
    collectElements(jsonMember(root, "elements"), QStringLiteral("elements"), texts, budget);
}

struct OldMessage {
    QString source;
    QString translation;
    QString type; // "unfinished", "vanished", "obsolete" or empty for done
    QString extraComment;
};

struct OldFile {
    QString language;
    std::map<QString, std::vector<OldMessage>> contexts;
};

bool readTsFile(const QString &path, OldFile *old, QString *error)
{
    QFile file(path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1: cannot be read").arg(path);
        return false;
    }
    QXmlStreamReader xml(&file);
    QString context;
    OldMessage *message = nullptr;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement && xml.name() == QLatin1String("message"))
            message = nullptr;
        if (token != QXmlStreamReader::StartElement)
            continue;
        const auto name = xml.name();
        if (name == QLatin1String("TS")) {
            old->language = xml.attributes().value(QLatin1String("language")).toString();
        } else if (name == QLatin1String("name") && !message) {
            context = xml.readElementText();
        } else if (name == QLatin1String("message")) {
            old->contexts[context].push_back({});
            message = &old->contexts[context].back();
        } else if (message && name == QLatin1String("source")) {
            message->source = xml.readElementText();
        } else if (message && name == QLatin1String("extracomment")) {
            message->extraComment = xml.readElementText();
        } else if (message && name == QLatin1String("translation")) {
            message->type = xml.attributes().value(QLatin1String("type")).toString();
            message->translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        }
    }
    if (xml.hasError()) {
        *error = QStringLiteral("%1: line %2: %3").arg(path).arg(xml.lineNumber()).arg(xml.errorString());
        return false;
    }
    return true;
}

void writeMessage(QXmlStreamWriter &xml, const QString &source, const QString &comment, const QString &type,
                  const QString &translation)
{
    xml.writeStartElement(QStringLiteral("message"));
    xml.writeTextElement(QStringLiteral("source"), source);
    if (!comment.isEmpty())
        xml.writeTextElement(QStringLiteral("extracomment"), comment);
    xml.writeStartElement(QStringLiteral("translation"));
    if (!type.isEmpty())
        xml.writeAttribute(QStringLiteral("type"), type);
    xml.writeCharacters(translation);
    xml.writeEndElement();
    xml.writeEndElement();
}

} // namespace

bool collectPackageTexts(const QString &packagePath, TsContexts *contexts, QString *error)
{
    OrvQZipHandle zip(openZipFile(QFile::encodeName(packagePath).constData(), nullptr));
    OrvQZipEntry entry;
    if (!QFileInfo(packagePath).isFile() || !zip || zipItem(zip.get(), -1, &entry) != ZipOk) {
        *error = QStringLiteral("%1: not a skin package").arg(packagePath);
        return false;
    }
    const int count = entry.index;
    std::set<std::string> seen; // the first member of a lookup key wins, as in the toolkit
    for (int i = 0; i < count; ++i) {
        if (zipItem(zip.get(), i, &entry) != ZipOk || entry.encrypted)
            continue;
        const std::string key = packageMemberKey(entry.name);
        const QString name = QString::fromUtf8(entry.name);
        const bool json = key.size() > 5 && key.compare(key.size() - 5, 5, ".json") == 0;
        if (!json || key == "style.json" || name.startsWith(QLatin1String("./")) || !seen.insert(key).second)
            continue;
        const quint32 capacity = std::min<quint64>(zipMemberCapacity(entry), quint64(MaxDescriptionBytes));
        std::unique_ptr<char, decltype(&std::free)> data(static_cast<char *>(std::calloc(capacity + 1, 1)), std::free);
        if (!data || capacity == 0)
            continue;
        unzipItemToMemory(zip.get(), i, data.get(), capacity);
        collectDescription(QByteArray::fromRawData(data.get(), int(capacity)), (*contexts)[descriptionContext(name)]);
    }
    return true;
}

bool writeTsFile(const TsContexts &contexts, const QString &tsPath, QString *error)
{
    OldFile old;
    if (!readTsFile(tsPath, &old, error))
        return false;

    QSaveFile file(tsPath);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("%1: cannot be written").arg(tsPath);
        return false;
    }
    QXmlStreamWriter xml(&file);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeDTD(QStringLiteral("<!DOCTYPE TS>"));
    xml.writeStartElement(QStringLiteral("TS"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("2.1"));
    if (!old.language.isEmpty())
        xml.writeAttribute(QStringLiteral("language"), old.language);

    std::set<QString> names;
    for (const auto &context : contexts)
        names.insert(context.first);
    for (const auto &context : old.contexts)
        names.insert(context.first);
    for (const QString &name : names) {
        const auto found = contexts.find(name);
        const std::vector<TsMessage> none;
        const std::vector<TsMessage> &current = found == contexts.end() ? none : found->second;
        std::vector<OldMessage> &previous = old.contexts[name];
        if (current.empty() && previous.empty())
            continue;
        xml.writeStartElement(QStringLiteral("context"));
        xml.writeTextElement(QStringLiteral("name"), name);
        std::set<QString> written;
        for (const TsMessage &message : current) {
            written.insert(message.source);
            const auto earlier = std::find_if(previous.begin(), previous.end(),
                                              [&](const OldMessage &m) { return m.source == message.source; });
            QString type = QStringLiteral("unfinished");
            QString translation;
            if (earlier != previous.end()) {
                translation = earlier->translation;
                // A text back in use is as finished as it was before it vanished.
                type = earlier->type == QLatin1String("vanished") || earlier->type == QLatin1String("obsolete")
                           ? (translation.isEmpty() ? QStringLiteral("unfinished") : QString())
                           : earlier->type;
            }
            writeMessage(xml, message.source, message.paths.join(QStringLiteral(", ")), type, translation);
        }
        // Texts no description shows any more keep their translations.
        for (const OldMessage &message : previous) {
            if (written.count(message.source) || message.translation.isEmpty())
                continue;
            written.insert(message.source);
            writeMessage(xml, message.source, message.extraComment,
                         message.type == QLatin1String("obsolete") ? message.type : QStringLiteral("vanished"),
                         message.translation);
        }
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    if (!file.commit()) {
        *error = QStringLiteral("%1: cannot be written").arg(tsPath);
        return false;
    }
    return true;
}

} // namespace OrvQtLib::Tools
