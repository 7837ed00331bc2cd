#pragma once

#include <QLoggingCategory>

namespace OrvQtLib {

/// What the toolkit skipped or clamped while reading a skin: a package it could
/// not read, a description that does not parse, an unknown type, a style or
/// image it could not find, a value it held to its range. Warnings are on by
/// default; a host silences them with
/// QT_LOGGING_RULES="orvqtlib.skin.warning=false".
Q_DECLARE_LOGGING_CATEGORY(lcSkin)

} // namespace OrvQtLib
