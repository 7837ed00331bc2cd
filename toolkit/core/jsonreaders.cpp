#include "jsonreaders.h"

#include "controlbase.h"
#include "skinlog.h"
#include "stylerecords.h"

#include <json/reader.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

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
    return jsonToBoundedInt(jsonMember(object, key), key, minimum, maximum);
}

std::optional<int> jsonToBoundedInt(const Json::Value &value, const char *key, int minimum, int maximum)
{
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

// A reader for the plain JSON that descriptions are almost always written
// in, building the same values jsoncpp's Reader builds at a fraction of its
// cost. Whatever it does not take on (comments, \u escapes, trailing commas,
// numbers jsoncpp decodes its own way, deep nesting, any error) makes it give
// up, and jsoncpp reads the whole text instead, so that every quirk of that
// reader is kept.
// Member names every description repeats. A member named by one of these
// points at it instead of owning a copy: jsoncpp copies a name twice for
// each member it adds.
const char *commonMemberName(const char *name, size_t length)
{
    static const char *const names[] = {"type", "name", "x", "y", "w", "h", "child", "attr", "style",
                                        "layout", "text", "tooltip", "visibility", "enable", "r", "b",
                                        "hor", "ver", "wType", "hType", "elements", "clr", "size",
                                        "img", "border", "borderclr", "drawImg", "font"};
    for (const char *known : names) {
        if (known[0] == name[0] && std::strlen(known) == length && std::memcmp(known, name, length) == 0)
            return known;
    }
    return nullptr;
}

// Sets `out` to `value` without moving the comments and offsets that
// assignment moves too; the reader never sets either.
void setValue(Json::Value &out, Json::Value &&value)
{
    out.swapPayload(value);
}

class PlainJsonReader
{
public:
    PlainJsonReader(const char *begin, const char *end) : m_p(begin), m_end(end) {}

    // jsoncpp accepts any text after the root value.
    bool read(Json::Value &root) { return value(root, 0); }

private:
    // Well below jsoncpp's own limit, which throws.
    static constexpr int MaxDepth = 256;

    void skipSpaces()
    {
        while (m_p != m_end && (*m_p == ' ' || *m_p == '\n' || *m_p == '\r' || *m_p == '\t'))
            ++m_p;
    }

    bool next(char c)
    {
        skipSpaces();
        if (m_p == m_end || *m_p != c)
            return false;
        ++m_p;
        return true;
    }

    bool value(Json::Value &out, int depth)
    {
        skipSpaces();
        if (m_p == m_end)
            return false;
        switch (*m_p) {
        case '{':
            return depth < MaxDepth && object(out, depth + 1);
        case '[':
            return depth < MaxDepth && array(out, depth + 1);
        case '"': {
            ++m_p;
            const char *begin = nullptr;
            const char *end = nullptr;
            if (!string(&begin, &end))
                return false;
            setValue(out, Json::Value(begin, end));
            return true;
        }
        case 't':
            return literal("true", 4) && (setValue(out, Json::Value(true)), true);
        case 'f':
            return literal("false", 5) && (setValue(out, Json::Value(false)), true);
        case 'n':
            return literal("null", 4) && (setValue(out, Json::Value()), true);
        default:
            return number(out);
        }
    }

    bool literal(const char *word, size_t length)
    {
        if (size_t(m_end - m_p) < length || std::memcmp(m_p, word, length) != 0)
            return false;
        m_p += length;
        return true;
    }

    bool object(Json::Value &out, int depth)
    {
        ++m_p;
        setValue(out, Json::Value(Json::objectValue));
        if (next('}'))
            return true;
        do {
            const char *begin = nullptr;
            const char *end = nullptr;
            if (!next('"') || !string(&begin, &end) || !next(':'))
                return false;
            // A repeated name reads into the same member, which the value
            // then replaces, as in jsoncpp.
            const size_t length = size_t(end - begin);
            const char *common = length > 0 ? commonMemberName(begin, length) : nullptr;
            Json::Value *member = common ? &out[Json::StaticString(common)] : out.demand(begin, end);
            if (!member || !value(*member, depth))
                return false;
        } while (next(','));
        return next('}');
    }

    bool array(Json::Value &out, int depth)
    {
        ++m_p;
        setValue(out, Json::Value(Json::arrayValue));
        if (next(']'))
            return true;
        do {
            if (!value(out.append(Json::Value()), depth))
                return false;
        } while (next(','));
        return next(']');
    }

    // After the opening quote. The text stays in the input unless it holds
    // escapes, which are decoded into m_text.
    bool string(const char **begin, const char **end)
    {
        const char *start = m_p;
        while (m_p != m_end && *m_p != '"' && *m_p != '\\')
            ++m_p;
        if (m_p == m_end)
            return false;
        if (*m_p == '"') {
            *begin = start;
            *end = m_p++;
            return true;
        }
        m_text.assign(start, m_p);
        while (m_p != m_end && *m_p != '"') {
            char c = *m_p++;
            if (c == '\\') {
                if (m_p == m_end)
                    return false;
                switch (*m_p++) {
                case '"': c = '"'; break;
                case '\\': c = '\\'; break;
                case '/': c = '/'; break;
                case 'b': c = '\b'; break;
                case 'f': c = '\f'; break;
                case 'n': c = '\n'; break;
                case 'r': c = '\r'; break;
                case 't': c = '\t'; break;
                default: return false; // \u and bad escapes: jsoncpp's
                }
            }
            m_text += c;
        }
        if (m_p == m_end)
            return false;
        ++m_p;
        *begin = m_text.data();
        *end = m_text.data() + m_text.size();
        return true;
    }

    static bool isDigit(char c) { return c >= '0' && c <= '9'; }

    const char *digits(const char *p) const
    {
        while (p != m_end && isDigit(*p))
            ++p;
        return p;
    }

    // Only the strict JSON forms; jsoncpp's looser ones ("1.", "-", "1e")
    // are left to it.
    bool number(Json::Value &out)
    {
        const char *start = m_p;
        const char *p = start;
        const bool negative = p != m_end && *p == '-';
        if (negative)
            ++p;
        const char *intEnd = digits(p);
        if (intEnd == p)
            return false;
        const char *end = intEnd;
        bool isDouble = false;
        if (end != m_end && *end == '.') {
            const char *fractionEnd = digits(end + 1);
            if (fractionEnd == end + 1)
                return false;
            end = fractionEnd;
            isDouble = true;
        }
        if (end != m_end && (*end == 'e' || *end == 'E')) {
            const char *exponent = end + 1;
            if (exponent != m_end && (*exponent == '+' || *exponent == '-'))
                ++exponent;
            const char *exponentEnd = digits(exponent);
            if (exponentEnd == exponent)
                return false;
            end = exponentEnd;
            isDouble = true;
        }
        if (!isDouble) {
            // 18 digits never overflow; longer numbers are jsoncpp's.
            if (intEnd - p > 18)
                return false;
            qint64 magnitude = 0;
            for (const char *d = p; d != intEnd; ++d)
                magnitude = magnitude * 10 + (*d - '0');
            // jsoncpp types a positive number past the int range unsigned.
            if (negative || magnitude <= std::numeric_limits<int>::max())
                setValue(out, Json::Value(Json::Int64(negative ? -magnitude : magnitude)));
            else
                setValue(out, Json::Value(Json::UInt64(magnitude)));
            m_p = end;
            return true;
        }
        double number = 0;
        const auto result = std::from_chars(start, end, number);
        if (result.ec != std::errc() || result.ptr != end)
            return false;
        // Overflow, underflow and subnormals: jsoncpp's stream decides.
        if (number == 0) {
            for (const char *d = p; d != end && *d != 'e' && *d != 'E'; ++d) {
                if (*d >= '1' && *d <= '9')
                    return false;
            }
        } else if (!std::isnormal(number)) {
            return false;
        }
        setValue(out, Json::Value(number));
        m_p = end;
        return true;
    }

    const char *m_p;
    const char *m_end;
    std::string m_text;
};

} // namespace

bool parsePlainJson(const char *data, size_t size, Json::Value &root)
{
    root = Json::Value();
    if (!data)
        return false;
    PlainJsonReader reader(data, data + size);
    if (reader.read(root))
        return true;
    root = Json::Value();
    return false;
}

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
    if (parsePlainJson(data, length, root))
        return true;
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
