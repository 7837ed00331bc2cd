#include "styleslots.h"

#include "jsonreaders.h"
#include "resourcemanager.h"
#include "skinlog.h"

namespace OrvQtLib {

namespace {

void visitEntry(const Json::Value &entry, const std::function<void(const QString &, int)> &visit)
{
    const std::optional<QString> name = jsonToUtf8(jsonAt(entry, 0));
    const std::optional<int> slot = jsonToInt(jsonAt(entry, 2));
    if (name && slot)
        visit(*name, *slot);
}

} // namespace

void forEachStyleEntry(const Json::Value &element, const std::function<void(const QString &, int)> &visit)
{
    const Json::Value &styles = jsonMember(element, "style");
    if (styles.isArray()) {
        for (const Json::Value &entry : styles)
            visitEntry(entry, visit);
    } else if (styles.isObject()) {
        for (const std::string &member : styles.getMemberNames())
            visitEntry(styles[member], visit);
    }
}

namespace {

bool reportUndefined(const QString &name, const char *kind)
{
    if (skinReportDue(OrvQSkinIssue::UndefinedStyle, QLatin1String(kind) + QLatin1Char(':') + name))
        qCWarning(lcSkin).noquote() << QStringLiteral("%1 style \"%2\" is not defined: the slot keeps its look")
                                           .arg(QLatin1String(kind), name);
    return false;
}

} // namespace

bool lookUpRectStyle(const QString &name, OrvQRectStyle &out)
{
    return OrvQResourceManager::instance().rectStyle(name, out) || reportUndefined(name, "rect");
}

bool lookUpFontStyle(const QString &name, OrvQFontStyle &out)
{
    return OrvQResourceManager::instance().fontStyle(name, out) || reportUndefined(name, "font");
}

} // namespace OrvQtLib
