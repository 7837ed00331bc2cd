#pragma once

#include "resourcemanager.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace OrvQtLib::Tools {

// One thing the checker found: where, what, and whether it is only a warning
// (the toolkit copes, perhaps not as the designer meant).
struct SkinFinding {
    QString member; // package member, or the description's path on disk
    QString path;   // element path such as elements[0].child[2], or "-"
    QString message;
    bool warning = false;
    bool unreadable = false; // the input itself cannot be read as a package
};

// "member: path: message", warnings marked as such.
QString formatFinding(const SkinFinding &finding);

// Reads a skin package (a zip file or a folder holding an unpacked one) the
// way the toolkit does and reports what a designer
// would want to know: members no lookup reaches, style.json faults, and in
// each description (the named ones, else every .json member but style.json)
// unknown types, keys and style slots, values of the wrong JSON type,
// undefined styles, missing or unusable images, and clamped values. The
// registry must be initialized: controls are known by their schemas.
std::vector<SkinFinding> checkSkinPackage(const QString &packagePath, const QStringList &descriptions = {});

// Whether any finding is an error rather than a warning.
bool hasErrors(const std::vector<SkinFinding> &findings);
// 0 clean or warnings only, 1 errors found, 2 the input is no package.
int exitStatus(const std::vector<SkinFinding> &findings);

// The folder every member sits in ("PumpSkin/") when the package was zipped
// with its folder instead of the folder's contents; empty otherwise. macOS
// resource members (__MACOSX/, ._*) do not count.
QString packageFolderPrefix(const OrvQPackage &package);

// The name among `candidates` nearest to `name` (ASCII case ignored), or
// empty when none is close enough to be a likely typo.
QString nearestName(const QString &name, const QStringList &candidates);

} // namespace OrvQtLib::Tools
