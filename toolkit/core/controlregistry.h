#pragma once

#include <QString>

#include <json/value.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

class QWidget;

namespace OrvQtLib {

struct OrvQControlSchema;

/// Makes a new, parentless control with its default constructor.
using ControlCreator = QWidget *(*)();
/// Describes the keys and style slots a control type reads.
using ControlSchemaSource = OrvQControlSchema (*)();

/// One-time toolkit start-up; later calls do nothing.
void initialize();
/// Loads a skin package through the resource manager; false before initialize().
bool loadSkinPackage(const QString &path);

/// Enters or replaces a type name; the last registration of a name wins.
/// Null arguments are ignored. `schema` is optional.
void registerControl(const char *typeName, ControlCreator creator, bool exposed,
                     ControlSchemaSource schema = nullptr);
/// Makes a control of a registered type, parents it and loads it from its
/// element; null when the name is not registered (names are case-sensitive).
QWidget *createControl(const char *typeName, const Json::Value &element, QWidget *parent);

/// Whether item views show sample rows: true in the layout tools and after
/// setPreviewMode(true).
bool isPreviewMode();
/// Switches preview mode on for a designers' tool, before it builds windows:
/// item views then show sample rows.
void setPreviewMode(bool on);

/// The names registered with the exposed flag.
const std::set<std::string> &exposedTypes();
/// Every registered type name, in byte order.
std::vector<std::string> registeredTypes();
/// What a registered type reads; nullopt when the name is not registered or
/// was registered without a schema.
std::optional<OrvQControlSchema> controlSchema(const char *typeName);

/// Whether an executable path belongs to one of the layout tools.
bool isLayoutToolPath(const QString &executablePath);

/// A ControlCreator for any control class with a default constructor.
template <class Control>
QWidget *createControlOf()
{
    return new Control;
}

namespace Internal {
/// Registers the toolkit's own control types, in table order.
void registerBuiltInControls();
} // namespace Internal

} // namespace OrvQtLib
