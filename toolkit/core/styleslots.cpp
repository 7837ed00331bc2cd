#include "styleslots.h"

#include "jsonreaders.h"
#include "resourcemanager.h"

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

bool lookUpRectStyle(const QString &name, OrvQRectStyle &out)
{
    return OrvQResourceManager::instance().rectStyle(name, out);
}

bool lookUpFontStyle(const QString &name, OrvQFontStyle &out)
{
    return OrvQResourceManager::instance().fontStyle(name, out);
}

} // namespace OrvQtLib
