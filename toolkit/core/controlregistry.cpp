#include "controlregistry.h"

#include "controlbase.h"
#include "controlkeys.h"
#include "proxystyle.h"
#include "resourcemanager.h"
#include "skinlog.h"
#include "skinnotifier.h"

#include <QApplication>
#include <QWidget>

#include <map>

namespace OrvQtLib {

namespace {

struct ControlTypeRegistry {
    struct Entry {
        ControlCreator creator = nullptr;
        ControlSchemaSource schema = nullptr;
    };
    std::map<std::string, Entry> creators;
    std::set<std::string> exposedTypes;
    bool initialized = false;
    bool previewMode = false;
};

ControlTypeRegistry &registry()
{
    static ControlTypeRegistry instance;
    return instance;
}

} // namespace

void initialize()
{
    ControlTypeRegistry &r = registry();
    if (r.initialized)
        return;

    // The application-wide proxy style goes first. QApplication owns it and
    // deletes it at exit or when another style replaces it.
    if (qobject_cast<QApplication *>(QCoreApplication::instance()))
        QApplication::setStyle(new CScrollBarStyle);

    Internal::registerBuiltInControls();

    // Preview mode: the toolkit runs inside one of the layout tools.
    if (isLayoutToolPath(QCoreApplication::applicationFilePath()))
        r.previewMode = true;

    OrvQResourceManager::instance().createBuiltinImages();
    r.initialized = true;
}

bool loadSkinPackage(const QString &path)
{
    if (!registry().initialized)
        return false;
    return OrvQResourceManager::instance().loadPackage(path);
}

bool replaceSkinPackage(const QString &path)
{
    if (!registry().initialized || !OrvQResourceManager::instance().replacePackage(path))
        return false;
    Internal::restyleAllControls();
    if (OrvQSkinNotifier *notifier = skinNotifier())
        emit notifier->skinChanged();
    return true;
}

void registerControl(const char *typeName, ControlCreator creator, bool exposed, ControlSchemaSource schema)
{
    if (!typeName || !creator)
        return;
    ControlTypeRegistry &r = registry();
    r.creators[typeName] = {creator, schema};
    if (exposed)
        r.exposedTypes.insert(typeName);
}

QWidget *createControl(const char *typeName, const Json::Value &element, QWidget *parent)
{
    if (!typeName)
        return nullptr;
    const ControlTypeRegistry &r = registry();
    const auto found = r.creators.find(typeName);
    if (found == r.creators.end()) {
        if (skinReportDue(OrvQSkinIssue::UnknownType, QString::fromUtf8(typeName)))
            qCWarning(lcSkin, "unknown control type \"%s\": skipped with its children", typeName);
        return nullptr;
    }

    QWidget *widget = found->second.creator();
    if (!widget)
        return nullptr;
    widget->setParent(parent);
    if (IOrvQControlBase *control = controlInterface(widget))
        control->loadFromJson(element);
    return widget;
}

bool isPreviewMode()
{
    return registry().previewMode;
}

void setPreviewMode(bool on)
{
    registry().previewMode = on;
}

const std::set<std::string> &exposedTypes()
{
    return registry().exposedTypes;
}

std::vector<std::string> registeredTypes()
{
    std::vector<std::string> names;
    for (const auto &entry : registry().creators)
        names.push_back(entry.first);
    return names;
}

std::optional<OrvQControlSchema> controlSchema(const char *typeName)
{
    if (!typeName)
        return std::nullopt;
    const ControlTypeRegistry &r = registry();
    const auto found = r.creators.find(typeName);
    if (found == r.creators.end() || !found->second.schema)
        return std::nullopt;
    return found->second.schema();
}

bool isLayoutToolPath(const QString &executablePath)
{
    return executablePath.contains(QLatin1String("OrvantaQtEmulator"))
        || executablePath.contains(QLatin1String("Formwright"));
}

} // namespace OrvQtLib
