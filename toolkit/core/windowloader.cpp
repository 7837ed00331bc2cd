#include "windowloader.h"

#include "controlbase.h"
#include "controlregistry.h"
#include "describeditems.h"
#include "jsonreaders.h"
#include "resourcemanager.h"
#include "skinlog.h"

#include <QFile>
#include <QFileInfo>
#include <QWidget>

#include <memory>


namespace OrvQtLib {

namespace {

// Reads a description from disk: base directory + name first, then the name
// itself. The first file that exists decides; an empty one ends the search.
// On failure `why` says where it looked or what was wrong.
QByteArray readDescriptionFromDisk(const QString &name, QString *why)
{
    const QString first = OrvQResourceManager::instance().baseDir() + name;
    QString path = first;
    if (!QFileInfo::exists(path)) {
        path = name;
        if (!QFileInfo::exists(path)) {
            *why = QStringLiteral("not in the package, nor at %1").arg(QFileInfo(first).absoluteFilePath());
            if (first != name)
                *why += QStringLiteral(" or %1").arg(QFileInfo(name).absoluteFilePath());
            return {};
        }
    }
    QFile file(path);
    const QString where = QFileInfo(path).absoluteFilePath();
    if (file.size() <= 0)
        *why = QStringLiteral("%1 is empty").arg(where);
    else if (file.size() > MaxDescriptionBytes)
        *why = QStringLiteral("%1 is larger than %2 bytes").arg(where).arg(MaxDescriptionBytes);
    else if (!file.open(QIODevice::ReadOnly))
        *why = QStringLiteral("%1 cannot be opened").arg(where);
    else
        return file.readAll();
    return {};
}

struct WindowKeyTarget {
    QWidget *widget;
    OrvQWindowKeyTarget *window;
};

const OrvQKeyTable<WindowKeyTarget> &windowKeyTable()
{
    using Key = OrvQKey<WindowKeyTarget>;
    // resize(), not setGeometry(): a window never moved is still centred by
    // Qt when it is shown.
    static const OrvQKeyTable<WindowKeyTarget> table{
        Key::custom({"w", OrvQKeyType::Int, {}, 1, QWIDGETSIZE_MAX, "window width; position and height kept"},
                    [](WindowKeyTarget &t, const QVariant &w) { t.widget->resize(w.toInt(), t.widget->height()); }),
        Key::custom({"h", OrvQKeyType::Int, {}, 1, QWIDGETSIZE_MAX, "window height; position and width kept"},
                    [](WindowKeyTarget &t, const QVariant &h) { t.widget->resize(t.widget->width(), h.toInt()); }),
        Key::custom({"trans", OrvQKeyType::Bool, {}, 0, 0, "true: frameless, translucent background"},
                    [](WindowKeyTarget &t, const QVariant &trans) {
                        if (!trans.toBool())
                            return;
                        t.widget->setWindowFlags(t.widget->windowFlags() | Qt::FramelessWindowHint);
                        t.widget->setAttribute(Qt::WA_TranslucentBackground);
                    }),
        Key::custom({"drag", OrvQKeyType::Bool, {}, 0, 0, "the caption band drags the window"},
                    [](WindowKeyTarget &t, const QVariant &v) { t.window->setDraggable(v.toBool()); }),
        Key::custom({"resize", OrvQKeyType::Bool, {}, 0, 0, "the edges resize the window"},
                    [](WindowKeyTarget &t, const QVariant &v) { t.window->setResizable(v.toBool()); }),
        Key::custom({"minH", OrvQKeyType::Int, {}, 1, QWIDGETSIZE_MAX, "smallest height an edge resize leaves"},
                    [](WindowKeyTarget &t, const QVariant &v) { t.window->setMinHeight(v.toInt()); }),
        Key::custom({"minW", OrvQKeyType::Int, {}, 1, QWIDGETSIZE_MAX, "smallest width an edge resize leaves"},
                    [](WindowKeyTarget &t, const QVariant &v) { t.window->setMinWidth(v.toInt()); }),
        Key::custom({"onlyDragCaption", OrvQKeyType::Bool, {}, 0, 0, "stored; dragging starts in the caption band"},
                    [](WindowKeyTarget &t, const QVariant &v) { t.window->setOnlyDragCaption(v.toBool()); }),
    };
    return table;
}

struct BuildBudget {
    int remaining = MaxElementsPerLoad;
};

// "type" and "child" of an element, found in one pass over its members.
struct ElementKeys {
    const Json::Value *type = nullptr;
    const Json::Value *child = nullptr;
};

ElementKeys findElementKeys(const Json::Value &element)
{
    ElementKeys keys;
    forEachMember(element, [&keys](const char *key, size_t length, const Json::Value &value) {
        if (memberNameIs(key, length, "type"))
            keys.type = &value;
        else if (memberNameIs(key, length, "child"))
            keys.child = &value;
    });
    return keys;
}

QWidget *buildElementWithin(const Json::Value &element, QWidget *parent, BuildBudget &budget)
{
    const ElementKeys keys = findElementKeys(element);
    if (!keys.type || !keys.type->isString())
        return nullptr;
    if (budget.remaining <= 0) {
        if (skinReportDue(OrvQSkinIssue::ValueClamped, QStringLiteral("elements")))
            qCWarning(lcSkin, "more than %d elements in one load: the rest are skipped", MaxElementsPerLoad);
        return nullptr;
    }
    const std::string typeName = keys.type->asString();
    if (typeName == "qtscrollbar")
        return nullptr;

    --budget.remaining;
    QWidget *widget = createControl(typeName.c_str(), element, parent);
    if (!widget)
        return nullptr;

    if (keys.child && keys.child->isArray()) {
        for (const Json::Value &child : *keys.child)
            buildElementWithin(child, widget, budget);
    }

    if (IOrvQControlBase *control = controlInterface(widget))
        control->loadFinished();
    return widget;
}

} // namespace

std::vector<OrvQKeyInfo> windowKeys()
{
    return keyInfoOf(windowKeyTable());
}

void applyWindowKeys(const Json::Value &root, QWidget *target)
{
    if (auto *window = dynamic_cast<OrvQWindowKeyTarget *>(target)) {
        WindowKeyTarget keyTarget{target, window};
        applyKeys(root, windowKeyTable(), keyTarget);
    }
}

QWidget *loadWindowLayout(QWidget *target, QString name)
{
    if (!name.contains(QLatin1String(".json")))
        name += QLatin1String(".json");

    // A description in the package is parsed once and kept by the manager;
    // one on disk may change between loads and is read every time.
    bool inPackage = false;
    std::shared_ptr<const Json::Value> root = OrvQResourceManager::instance().jsonDocument(name, &inPackage);
    if (!inPackage) {
        QString why;
        const QByteArray content = readDescriptionFromDisk(name, &why);
        auto parsed = std::make_shared<Json::Value>();
        if (content.isEmpty()) {
            if (skinReportDue(OrvQSkinIssue::DescriptionMissing, name))
                qCWarning(lcSkin).noquote() << QStringLiteral("description \"%1\" cannot be read: %2").arg(name, why);
        } else if (parseJsonDocument(content.constData(), size_t(content.size()), *parsed, &why)) {
            root = std::move(parsed);
        } else if (skinReportDue(OrvQSkinIssue::DescriptionInvalid, name)) {
            qCWarning(lcSkin).noquote() << QStringLiteral("description \"%1\" does not parse: %2").arg(name, why);
        }
    }
    if (!root)
        return nullptr;

    try {
        const OrvQDescriptionScope scope(name);
        applyWindowKeys(*root, target);
        return buildElements(*root, target);
    } catch (const Json::Exception &) {
        // The readers do not throw; this only keeps a library fault from
        // leaving the toolkit.
        return nullptr;
    }
}

QWidget *buildElements(const Json::Value &root, QWidget *target)
{
    const Json::Value &elements = jsonArray(root, "elements");
    if (!target || elements.empty())
        return nullptr;

    BuildBudget budget;
    QWidget *last = nullptr;
    for (const Json::Value &element : elements) {
        last = buildElementWithin(element, target, budget);
        IOrvQControlBase *control = controlInterface(last);
        if (control && control->controlBase())
            control->controlBase()->applyLayout();
    }
    IOrvQControlBase *control = controlInterface(last);
    return control && control->impl() ? control->impl()->widget() : last;
}

QWidget *buildElement(const Json::Value &element, QWidget *parent)
{
    BuildBudget budget;
    return buildElementWithin(element, parent, budget);
}

} // namespace OrvQtLib
