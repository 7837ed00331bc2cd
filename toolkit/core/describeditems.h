#pragma once

#include <QMetaType>
#include <QString>
#include <QVariant>

#include <json/value.h>

#include <optional>
#include <vector>

namespace OrvQtLib {

/// An array key may describe at most this many items, counted over all its
/// levels; the rest are skipped, so a hostile description cannot make a
/// control build rows until memory runs out.
constexpr int MaxDescribedItems = 10000;
/// Items nest (tree rows, submenus) at most this deep; deeper ones are skipped.
constexpr int MaxItemDepth = 8;

/// One entry of an array key such as "items", "rows" or "menus": a text, or
/// an object of which each control reads the members it knows.
struct OrvQDescribedItem {
    QString text;           ///< "text", else "title"; translated
    QString icon;           ///< "icon": an image name of the skin
    QVariant data;          ///< "data": a text, number or boolean
    QString name;           ///< "name": an object name
    QString shortcut;       ///< "shortcut": a key sequence in QKeySequence's text form
    bool checkable = false; ///< "checkable"
    bool checked = false;   ///< "checked"
    bool separator = false; ///< the text "-"
    bool branch = false;    ///< had a "child" or "items" array, or was an array itself
    std::vector<OrvQDescribedItem> children; ///< the "child" or "items" entries, or the array's
};

/// What an OrvQKeyType::Items key gives its row's effect, in a QVariant.
struct OrvQDescribedItems {
    std::vector<OrvQDescribedItem> items; ///< the entries read, in order
};

/// The members an item object may hold, for the designers' tools and the
/// fuzzer's dictionary.
const std::vector<const char *> &describedItemKeys();

/// Reads the array `value` of key `key`: strings, objects and (for rows)
/// arrays of strings, to MaxDescribedItems items and MaxItemDepth levels.
/// What is skipped is logged once per array. Nullopt when `value` is no array.
std::optional<OrvQDescribedItems> readDescribedItems(const Json::Value &value, const char *key);

/// A described "current" index held to -1 (none) .. count - 1; logged when
/// it had to move.
int describedCurrent(int index, int count, const char *key);

/// Names the description being built, so that its texts are translated in
/// its context; scopes nest.
class OrvQDescriptionScope
{
public:
    /// Makes `descriptionName` (".json" dropped) the context until destroyed.
    explicit OrvQDescriptionScope(const QString &descriptionName);
    /// Gives the enclosing scope's context back.
    ~OrvQDescriptionScope();
    OrvQDescriptionScope(const OrvQDescriptionScope &) = delete;
    OrvQDescriptionScope &operator=(const OrvQDescriptionScope &) = delete;

    /// The name without ".json"; empty outside any load.
    static QString current();

private:
    QString m_previous;
};

/// A user-visible text of a description as the host's translators give it:
/// QCoreApplication::translate(description name, text). Outside a load, and
/// for a text no translator knows, the text itself.
QString translatedText(const QString &text);
/// The user-visible text a description value holds, translated; nullopt for
/// a value that is no text.
std::optional<QString> readDescribedText(const Json::Value &value);

/// The translation context of a description's name: the name without a
/// final ".json", so "Main" and "Main.json" both give "Main".
QString descriptionContext(QString name);

} // namespace OrvQtLib

Q_DECLARE_METATYPE(OrvQtLib::OrvQDescribedItems)
