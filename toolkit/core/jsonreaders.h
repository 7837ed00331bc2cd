#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <json/value.h>

#include <cstring>
#include <optional>
#include <string>

namespace OrvQtLib {

// Readers for window descriptions and style.json that never throw.
//
// jsoncpp's conversions and indexing throw Json::LogicError on values of the
// wrong type. Skin files are untrusted, so every read goes through these: a
// key whose value cannot be converted behaves exactly as if it were absent.
// Values that jsoncpp converts without complaint (1.0 for an int, true for an
// int, a number for a string) keep jsoncpp's conversion.

/// A null value that lives as long as the process.
const Json::Value &jsonNull();

/// The member `key` of `object`, or null when `object` is not an object or lacks it.
const Json::Value &jsonMember(const Json::Value &object, const char *key);
/// Whether `object` is an object with the member `key`.
bool jsonHas(const Json::Value &object, const char *key);
/// Element `index` of `array`, or null when `array` is not an array or too short.
const Json::Value &jsonAt(const Json::Value &array, Json::ArrayIndex index);
/// The member `key` only when it is an object (or an array); otherwise null.
const Json::Value &jsonObject(const Json::Value &object, const char *key);
/// The member `key` only when it is an array; otherwise null.
const Json::Value &jsonArray(const Json::Value &object, const char *key);
/// Member names of an object in ascending byte order; empty for anything else.
Json::Value::Members jsonMemberNames(const Json::Value &object);

/// Conversions of a value itself; nullopt when the value has another type.
/// The value as an int; nullopt when jsoncpp would not convert it.
std::optional<int> jsonToInt(const Json::Value &value);
/// The value as an unsigned; nullopt when jsoncpp would not convert it.
std::optional<unsigned> jsonToUInt(const Json::Value &value);
/// The value as a bool; nullopt when it has another type.
std::optional<bool> jsonToBool(const Json::Value &value);
/// The value as a double; nullopt when it has another type.
std::optional<double> jsonToDouble(const Json::Value &value);
/// The value as UTF-8 bytes; nullopt for null, arrays and objects.
std::optional<std::string> jsonToString(const Json::Value &value);
/// Text of a value: a string is decoded where jsoncpp keeps it, other values
/// convert as jsonToString does.
std::optional<QString> jsonToUtf8(const Json::Value &value);
/// User-visible text: UTF-8 when the bytes are valid UTF-8, else GBK
/// (fromSkinText); the name keeps the older skins' encoding in mind.
std::optional<QString> jsonToGbk(const Json::Value &value);

/// Visits every member of an object as (name, name length, value) in member
/// order, without copying the names; nothing for any other value. Used where
/// one pass finds several keys of thousands of elements.
template <class Visit>
void forEachMember(const Json::Value &object, Visit &&visit)
{
    if (!object.isObject())
        return;
    for (auto it = object.begin(); it != object.end(); ++it) {
        const char *end = nullptr;
        const char *name = it.memberName(&end);
        visit(name, size_t(end - name), *it);
    }
}

/// Whether a member name seen by forEachMember is `key`.
template <size_t N>
bool memberNameIs(const char *name, size_t length, const char (&key)[N])
{
    return length == N - 1 && std::memcmp(name, key, N - 1) == 0;
}

/// Conversions of a member; nullopt when absent or of the wrong type.
/// The member as an int; nullopt when absent or of the wrong type.
std::optional<int> readInt(const Json::Value &object, const char *key);
/// The member as an unsigned; nullopt when absent or of the wrong type.
std::optional<unsigned> readUInt(const Json::Value &object, const char *key);
/// The member as a bool; nullopt when absent or of the wrong type.
std::optional<bool> readBool(const Json::Value &object, const char *key);
/// The member as a double; nullopt when absent or of the wrong type.
std::optional<double> readDouble(const Json::Value &object, const char *key);
/// The member as UTF-8 bytes; nullopt when absent or of the wrong type.
std::optional<std::string> readString(const Json::Value &object, const char *key);

/// The member as an int, else `fallback`.
int readInt(const Json::Value &object, const char *key, int fallback);
/// The member as an unsigned, else `fallback`.
unsigned readUInt(const Json::Value &object, const char *key, unsigned fallback);
/// The member as a bool, else `fallback`.
bool readBool(const Json::Value &object, const char *key, bool fallback);
/// The member as a double, else `fallback`.
double readDouble(const Json::Value &object, const char *key, double fallback);
/// The member as UTF-8 bytes, else `fallback`.
std::string readString(const Json::Value &object, const char *key, const std::string &fallback);
/// An integer held to [minimum, maximum]. Numbers beyond the int range (or
/// with a fraction) clamp too; other types count as absent.
std::optional<int> readBoundedInt(const Json::Value &object, const char *key, int minimum, int maximum);
/// A value held as readBoundedInt() holds a member; `key` names it in the report.
std::optional<int> jsonToBoundedInt(const Json::Value &value, const char *key, int minimum, int maximum);
/// As the other readBoundedInt(), with `fallback` for an absent key.
int readBoundedInt(const Json::Value &object, const char *key, int fallback, int minimum, int maximum);
/// A pixel offset or position, held to the range of widget coordinates so that
/// no sum of an offset and a position overflows.
int readOffset(const Json::Value &object, const char *key, int fallback = 0);
/// A pixel extent (a width, a height, a margin): 0 to QWIDGETSIZE_MAX.
int readExtent(const Json::Value &object, const char *key, int fallback);
/// A colour: hexadecimal RGB text, opaque; or a number taken as a QRgb whose
/// alpha is ignored.
std::optional<QColor> readColor(const Json::Value &object, const char *key);

/// UTF-8 text (names, style names, image names, paths).
QString readUtf8(const Json::Value &object, const char *key, const QString &fallback = {});
/// User-visible text: UTF-8 when valid, else GBK (fromSkinText).
QString readGbk(const Json::Value &object, const char *key, const QString &fallback = {});

/// Parses a JSON document the way descriptions and style.json are read:
/// jsoncpp's Reader with default features (comments allowed, any root), the
/// text taken up to its first NUL byte and never beyond `size`. Returns false
/// on a syntax error or on nesting too deep for the parser; never throws.
/// With `error`, a failure also says where: "line 3, column 7: ...".
bool parseJsonDocument(const char *data, size_t size, Json::Value &root, QString *error = nullptr);
/// The fast reader parseJsonDocument tries first: plain JSON only, read into
/// the same values jsoncpp builds. False on anything else (comments,
/// Unicode escapes, numbers jsoncpp decodes its own way, deep nesting, errors),
/// which parseJsonDocument then hands to jsoncpp.
bool parsePlainJson(const char *data, size_t size, Json::Value &root);

} // namespace OrvQtLib
