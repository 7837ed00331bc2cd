#pragma once

#include <QString>

namespace OrvQtLib::Tools {

// The format guide with every generated block rewritten from the tables the
// toolkit reads: blocks run from a line "<!-- generated: NAME -->" to a line
// "<!-- end generated -->". Unknown block names are left as they are.
QString updateSkinFormatGuide(const QString &guide);

} // namespace OrvQtLib::Tools
