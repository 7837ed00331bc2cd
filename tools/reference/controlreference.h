#pragma once

#include "controlkeys.h"

#include <QString>
#include <QTextStream>

#include <vector>

namespace OrvQtLib::Tools {

// The reference of every registered control type in Markdown, made from the
// same key and slot tables the controls load from. Makes one control of each
// type to learn its class, so it needs a QApplication and an initialized
// registry.
QString controlReference();

// A Markdown table of keys: name, JSON type, default, range, effect.
void writeKeys(QTextStream &out, const std::vector<OrvQKeyInfo> &keys);

} // namespace OrvQtLib::Tools
