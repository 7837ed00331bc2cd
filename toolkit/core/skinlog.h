#pragma once

#include <QLoggingCategory>
#include <QString>

namespace OrvQtLib {

/// What the toolkit skipped or clamped while reading a skin: a package it could
/// not read, a description that does not parse, an unknown type, a style or
/// image it could not find, a value it held to its range. Warnings are on by
/// default; a host silences them with
/// QT_LOGGING_RULES="orvqtlib.skin.warning=false".
Q_DECLARE_LOGGING_CATEGORY(lcSkin)

/// The causes the toolkit reports; each is reported once per subject (a
/// path, a type, a style, an image or a key name) per package load.
enum class OrvQSkinIssue {
    PackageUnreadable,  ///< a package that cannot be opened, or has no usable style.json
    DescriptionMissing, ///< a description neither in the package nor on disk
    DescriptionInvalid, ///< a description that does not parse
    UnknownType,        ///< an element of a type no one registered
    UndefinedStyle,     ///< a style name style.json does not define
    ImageMissing,       ///< an image neither in the package nor on disk
    ImageUndecodable,   ///< an image that does not decode or passes the image bounds
    ValueClamped,       ///< a value held to its range
};

/// The most lines one package load writes, so that a hostile package cannot
/// flood the log; one more line says that the rest are suppressed.
constexpr int MaxSkinReportsPerLoad = 64;

/// Whether `issue` about `subject` is to be written now: warnings of lcSkin
/// are enabled, it was not written since the last package load and the load
/// is under its bound. The caller then writes one qCWarning(lcSkin) line, so
/// that nothing is formatted unless it is written.
bool skinReportDue(OrvQSkinIssue issue, const QString &subject);
/// A new package load: every cause may be reported again.
void resetSkinReports();

} // namespace OrvQtLib
