#include "describeditems.h"

#include "jsonreaders.h"
#include "skinlog.h"

#include <QCoreApplication>

namespace OrvQtLib {

namespace {

QString g_descriptionContext;
QByteArray g_contextBytes; // what translate() takes, made once per load

// What one array read skipped, reported once when the read ends.
struct ItemBudget {
    int remaining = MaxDescribedItems;
    bool tooMany = false;
    bool tooDeep = false;
    bool wrongType = false;
};

std::optional<QVariant> scalarData(const Json::Value &value)
{
    if (value.isBool())
        return QVariant(value.asBool());
    if (value.isInt())
        return QVariant(value.asInt());
    if (value.isNumeric())
        return QVariant(value.asDouble());
    if (const auto text = jsonToUtf8(value); text && value.isString())
        return QVariant(*text);
    return std::nullopt;
}

void readLevel(const Json::Value &array, int depth, ItemBudget &budget, std::vector<OrvQDescribedItem> &out);

bool readItem(const Json::Value &value, int depth, ItemBudget &budget, OrvQDescribedItem &item)
{
    if (value.isString()) {
        item.text = readDescribedText(value).value_or(QString());
        item.separator = value.asString() == "-";
        return true;
    }
    if (value.isArray()) {
        item.branch = true;
        readLevel(value, depth + 1, budget, item.children);
        return true;
    }
    if (!value.isObject())
        return false;
    const Json::Value &text = jsonHas(value, "text") ? jsonMember(value, "text") : jsonMember(value, "title");
    item.text = readDescribedText(text).value_or(QString());
    item.icon = readUtf8(value, "icon");
    item.data = scalarData(jsonMember(value, "data")).value_or(QVariant());
    item.name = readUtf8(value, "name");
    item.shortcut = readUtf8(value, "shortcut");
    item.checkable = readBool(value, "checkable", false);
    item.checked = readBool(value, "checked", false);
    const Json::Value &children = jsonArray(value, "child").isArray() ? jsonArray(value, "child")
                                                                      : jsonArray(value, "items");
    if (children.isArray()) {
        item.branch = true;
        readLevel(children, depth + 1, budget, item.children);
    }
    return true;
}

void readLevel(const Json::Value &array, int depth, ItemBudget &budget, std::vector<OrvQDescribedItem> &out)
{
    if (depth >= MaxItemDepth) {
        budget.tooDeep = budget.tooDeep || !array.empty();
        return;
    }
    for (const Json::Value &value : array) {
        if (budget.remaining <= 0) {
            budget.tooMany = true;
            return;
        }
        --budget.remaining;
        OrvQDescribedItem item;
        if (readItem(value, depth, budget, item))
            out.push_back(std::move(item));
        else
            budget.wrongType = true;
    }
}

} // namespace

const std::vector<const char *> &describedItemKeys()
{
    static const std::vector<const char *> keys{"text", "title", "icon", "data", "name",
                                                "shortcut", "checkable", "checked", "child", "items"};
    return keys;
}

namespace {

// Once per key and cause until the next package load: a window may hold
// thousands of lists.
bool itemReportDue(const char *key, const char *cause)
{
    return skinReportDue(OrvQSkinIssue::ValueClamped, QLatin1String(key) + QLatin1Char(' ') + QLatin1String(cause));
}

} // namespace

std::optional<OrvQDescribedItems> readDescribedItems(const Json::Value &value, const char *key)
{
    if (!value.isArray())
        return std::nullopt;
    OrvQDescribedItems result;
    ItemBudget budget;
    readLevel(value, 0, budget, result.items);
    if (budget.tooMany && itemReportDue(key, "items"))
        qCWarning(lcSkin, "\"%s\": only the first %d items are read", key, MaxDescribedItems);
    if (budget.tooDeep && itemReportDue(key, "depth"))
        qCWarning(lcSkin, "\"%s\": items nested deeper than %d levels are skipped", key, MaxItemDepth);
    if (budget.wrongType && itemReportDue(key, "type"))
        qCWarning(lcSkin, "\"%s\": entries that are neither a text nor an object are skipped", key);
    return result;
}

int describedCurrent(int index, int count, const char *key)
{
    const int held = qBound(-1, index, count - 1);
    if (held != index && itemReportDue(key, "current"))
        qCWarning(lcSkin, "\"%s\" %d is beyond the %d items: %d is used", key, index, count, held);
    return held;
}

OrvQDescriptionScope::OrvQDescriptionScope(const QString &descriptionName)
    : m_previous(g_descriptionContext)
{
    g_descriptionContext = descriptionContext(descriptionName);
    g_contextBytes = g_descriptionContext.toUtf8();
}

OrvQDescriptionScope::~OrvQDescriptionScope()
{
    g_descriptionContext = m_previous;
    g_contextBytes = m_previous.toUtf8();
}

QString OrvQDescriptionScope::current()
{
    return g_descriptionContext;
}

QString descriptionContext(QString name)
{
    if (name.endsWith(QLatin1String(".json"), Qt::CaseInsensitive))
        name.chop(5);
    return name;
}

QString translatedText(const QString &text)
{
    if (g_descriptionContext.isEmpty() || text.isEmpty() || !QCoreApplication::instance())
        return text;
    return QCoreApplication::translate(g_contextBytes.constData(), text.toUtf8().constData());
}

std::optional<QString> readDescribedText(const Json::Value &value)
{
    if (const auto text = jsonToGbk(value))
        return translatedText(*text);
    return std::nullopt;
}

} // namespace OrvQtLib
