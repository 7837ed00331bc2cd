#include "jsonreaders.h"

#include "controlbase.h"
#include "skinlog.h"
#include "stylerecords.h"

#include <json/reader.h>

#include <algorithm>
#include <cstring>

namespace OrvQtLib {

const Json::Value &jsonNull()
{
    static const Json::Value null;
    return null;
}

const Json::Value &jsonMember(const Json::Value &object, const char *key)
{
    if (!key || !object.isObject())
        return jsonNull();
    const Json::Value *found = object.find(key, key + std::strlen(key));
    return found ? *found : jsonNull();
}

bool jsonHas(const Json::Value &object, const char *key)
{
    return key && object.isObject() && object.find(key, key + std::strlen(key));
}

const Json::Value &jsonAt(const Json::Value &array, Json::ArrayIndex index)
{
    if (!array.isArray() || index >= array.size())
        return jsonNull();
    return array[index];
}

const Json::Value &jsonObject(const Json::Value &object, const char *key)
{
    const Json::Value &member = jsonMember(object, key);
    return member.isObject() ? member : jsonNull();
}

const Json::Value &jsonArray(const Json::Value &object, const char *key)
{
    const Json::Value &member = jsonMember(object, key);
    return member.isArray() ? member : jsonNull();
}

Json::Value::Members jsonMemberNames(const Json::Value &object)
{
    if (!object.isObject())
        return {};
    return object.getMemberNames();
}

// isConvertibleTo() is exactly the condition under which jsoncpp's asX()
// returns instead of throwing; null converts too, but counts as absent here.
std::optional<int> jsonToInt(const Json::Value &value)
{
    if (value.isNull() || !value.isConvertibleTo(Json::intValue))
        return std::nullopt;
    return value.asInt();
}

std::optional<unsigned> jsonToUInt(const Json::Value &value)
{
    if (value.isNull() || !value.isConvertibleTo(Json::uintValue))
        return std::nullopt;
    return value.asUInt();
}

std::optional<bool> jsonToBool(const Json::Value &value)
{
    if (value.isNull() || !value.isConvertibleTo(Json::booleanValue))
        return std::nullopt;
    return value.asBool();
}

std::optional<double> jsonToDouble(const Json::Value &value)
{
    if (value.isNull() || !value.isConvertibleTo(Json::realValue))
        return std::nullopt;
    return value.asDouble();
}

std::optional<std::string> jsonToString(const Json::Value &value)
{
    if (value.isNull() || !value.isConvertibleTo(Json::stringValue))
        return std::nullopt;
    return value.asString();
}

std::optional<QString> jsonToUtf8(const Json::Value &value)
{
    const char *begin = nullptr;
    const char *end = nullptr;
    if (value.isString() && value.getString(&begin, &end))
        return QString::fromUtf8(begin, int(end - begin));
    if (const auto text = jsonToString(value))
        return QString::fromStdString(*text);
    return std::nullopt;
}

std::optional<QString> jsonToGbk(const Json::Value &value)
{
    const char *begin = nullptr;
    const char *end = nullptr;
    if (value.isString() && value.getString(&begin, &end))
        return fromSkinText(begin, end - begin);
    if (const auto text = jsonToString(value))
        return fromSkinText(text->data(), qsizetype(text->size()));
    return std::nullopt;
}

std::optional<int> readInt(const Json::Value &object, const char *key)
{
    return jsonToInt(jsonMember(object, key));
}

std::optional<unsigned> readUInt(const Json::Value &object, const char *key)
{
    return jsonToUInt(jsonMember(object, key));
}

std::optional<bool> readBool(const Json::Value &object, const char *key)
{
    return jsonToBool(jsonMember(object, key));
}

std::optional<double> readDouble(const Json::Value &object, const char *key)
{
    return jsonToDouble(jsonMember(object, key));
}

std::optional<std::string> readString(const Json::Value &object, const char *key)
{
    return jsonToString(jsonMember(object, key));
}

int readInt(const Json::Value &object, const char *key, int fallback)
{
    return readInt(object, key).value_or(fallback);
}

unsigned readUInt(const Json::Value &object, const char *key, unsigned fallback)
{
    return readUInt(object, key).value_or(fallback);
}

bool readBool(const Json::Value &object, const char *key, bool fallback)
{
    return readBool(object, key).value_or(fallback);
}

double readDouble(const Json::Value &object, const char *key, double fallback)
{
    return readDouble(object, key).value_or(fallback);
}

std::string readString(const Json::Value &object, const char *key, const std::string &fallback)
{
    return readString(object, key).value_or(fallback);
}

namespace {

int reportClamped(const char *key, double given, int held)
{
    if (skinReportDue(OrvQSkinIssue::ValueClamped, QString::fromUtf8(key)))
        qCWarning(lcSkin, "\"%s\" %.12g is held to %d", key, given, held);
    return held;
}

} // namespace

std::optional<int> readBoundedInt(const Json::Value &object, const char *key, int minimum, int maximum)
{
    const Json::Value &value = jsonMember(object, key);
    if (const auto number = jsonToInt(value)) {
        const int held = std::clamp(*number, minimum, maximum);
        return held == *number ? held : reportClamped(key, *number, held);
    }
    // Out of the int range, or a fraction jsoncpp will not convert: the
    // number still says "very large" or "very small".
    if (value.isNumeric()) {
        const double given = value.asDouble();
        const int held = int(std::clamp(given, double(minimum), double(maximum)));
        return double(held) == given ? held : reportClamped(key, given, held);
    }
    return std::nullopt;
}

int readBoundedInt(const Json::Value &object, const char *key, int fallback, int minimum, int maximum)
{
    return readBoundedInt(object, key, minimum, maximum).value_or(fallback);
}

int readOffset(const Json::Value &object, const char *key, int fallback)
{
    return readBoundedInt(object, key, fallback, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

int readExtent(const Json::Value &object, const char *key, int fallback)
{
    return readBoundedInt(object, key, fallback, 0, QWIDGETSIZE_MAX);
}

std::optional<QColor> readColor(const Json::Value &object, const char *key)
{
    const Json::Value &value = jsonMember(object, key);
    if (value.isString())
        return colorFromHex(value.asString());
    if (value.isInt())
        return QColor(QRgb(quint32(value.asInt())));
    if (value.isUInt())
        return QColor(QRgb(value.asUInt()));
    return std::nullopt;
}

QString readUtf8(const Json::Value &object, const char *key, const QString &fallback)
{
    return jsonToUtf8(jsonMember(object, key)).value_or(fallback);
}

QString readGbk(const Json::Value &object, const char *key, const QString &fallback)
{
    return jsonToGbk(jsonMember(object, key)).value_or(fallback);
}

namespace {

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
// "line 3, column 7: <jsoncpp's message>" for the reader's first error.
QString parseErrorText(const Json::Reader &reader, const char *data, size_t length)
{
    const std::vector<Json::Reader::StructuredError> errors = reader.getStructuredErrors();
#pragma GCC diagnostic pop
    if (errors.empty())
        return QStringLiteral("it does not parse");
    const size_t offset = size_t(qBound<ptrdiff_t>(0, errors.front().offset_start, ptrdiff_t(length)));
    int line = 1;
    int column = 1;
    for (const char *p = data; p < data + offset; ++p) {
        if (*p == '\n')
            ++line, column = 1;
        else
            ++column;
    }
    return QStringLiteral("line %1, column %2: %3")
        .arg(line)
        .arg(column)
        .arg(QString::fromStdString(errors.front().message));
}

} // namespace

bool parseJsonDocument(const char *data, size_t size, Json::Value &root, QString *error)
{
    root = Json::Value();
    if (!data || size == 0) {
        if (error)
            *error = QStringLiteral("it is empty");
        return false;
    }
    const void *nul = std::memchr(data, '\0', size);
    const size_t length = nul ? static_cast<size_t>(static_cast<const char *>(nul) - data) : size;
    try {
        // The classic Reader (comments allowed, any root) is the format's
        // reader; newer jsoncpp releases mark it deprecated.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        Json::Reader reader;
#pragma GCC diagnostic pop
        if (reader.parse(data, data + length, root, true))
            return true;
        if (error)
            *error = parseErrorText(reader, data, length);
    } catch (const Json::Exception &) {
        // Nesting beyond the reader's stack limit throws; that is a bad file.
        if (error)
            *error = QStringLiteral("nested too deeply");
    }
    root = Json::Value();
    return false;
}

} // namespace OrvQtLib
