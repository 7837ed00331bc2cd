#pragma once

#include <QString>

namespace OrvQtLib::Tools {

// The reference of every registered control type in Markdown, made from the
// same key and slot tables the controls load from. Makes one control of each
// type to learn its class, so it needs a QApplication and an initialized
// registry.
QString controlReference();

} // namespace OrvQtLib::Tools
