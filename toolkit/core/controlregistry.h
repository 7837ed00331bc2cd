#pragma once

#include <QString>

#include <json/value.h>

#include <set>
#include <string>

class QWidget;

namespace OrvQtLib {

// Makes a new, parentless control with its default constructor.
using ControlCreator = QWidget *(*)();

// One-time toolkit start-up; later calls do nothing.
void initialize();
// Loads a skin package through the resource manager; false before initialize().
bool loadSkinPackage(const QString &path);

// Enters or replaces a type name; the last registration of a name wins.
// Null arguments are ignored.
void registerControl(const char *typeName, ControlCreator creator, bool exposed);
// Makes a control of a registered type, parents it and loads it from its
// element; null when the name is not registered (names are case-sensitive).
QWidget *createControl(const char *typeName, const Json::Value &element, QWidget *parent);

bool isPreviewMode();

// The names registered with the exposed flag.
const std::set<std::string> &exposedTypes();
// Whether an executable path belongs to one of the layout tools.
bool isLayoutToolPath(const QString &executablePath);

// A ControlCreator for any control class with a default constructor.
template <class Control>
QWidget *createControlOf()
{
    return new Control;
}

namespace Internal {
// Registers the toolkit's own control types, in table order.
void registerBuiltInControls();
} // namespace Internal

} // namespace OrvQtLib
