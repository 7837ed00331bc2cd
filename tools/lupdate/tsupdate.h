#pragma once

#include <QString>
#include <QStringList>

#include <map>
#include <vector>

namespace OrvQtLib::Tools {

// One user-visible text of a description and the places it appears.
struct TsMessage {
    QString source;
    QStringList paths; // element paths such as elements[0].attr.items[2]
};

// Texts by translation context: the description's member name without
// ".json", as the loader translates them.
using TsContexts = std::map<QString, std::vector<TsMessage>>;

// Every user-visible text of the package's descriptions (tool tips, captions,
// items, menus, column titles, rows), each once per context in the order
// first met. False with `error` set when the package cannot be read.
bool collectPackageTexts(const QString &packagePath, TsContexts *contexts, QString *error);

// Writes `contexts` as a Qt Linguist TS file at `tsPath`. An existing file is
// merged: its translations and language are kept, and its messages no longer
// found are kept as vanished. False with `error` set when the existing file
// does not parse or the new one cannot be written.
bool writeTsFile(const TsContexts &contexts, const QString &tsPath, QString *error);

} // namespace OrvQtLib::Tools
