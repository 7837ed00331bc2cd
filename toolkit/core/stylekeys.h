#pragma once

#include "controlkeys.h"
#include "stylerecords.h"

#include <vector>

namespace OrvQtLib {

/// The keys of style.json records, in the order they apply. The style parser
/// reads records through these tables; the checker and the format guide read
/// the same rows, so a key is named here and nowhere else.
const OrvQKeyTable<OrvQRectStyle> &rectStyleKeys();
/// The keys of font style records, as rectStyleKeys() for rect styles.
const OrvQKeyTable<OrvQFontStyle> &fontStyleKeys();
/// "type" and "name", which every record carries.
const std::vector<OrvQKeyInfo> &styleRecordKeys();

/// The values of "type": 1 a rect style, 2 a font style.
enum OrvQStyleRecordType {
    RectStyleRecord = 1, ///< how to paint an area
    FontStyleRecord = 2, ///< how to draw a text
};

/// Style names that need no record: a rect style that paints nothing.
bool isBuiltinRectStyle(const QString &name);

} // namespace OrvQtLib
