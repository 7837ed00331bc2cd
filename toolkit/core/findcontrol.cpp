#include "findcontrol.h"

#include "skinlog.h"

namespace OrvQtLib {

void Internal::warnControlNotFound(const QWidget *root, const QString &name, const char *wanted)
{
    if (!root) {
        qCWarning(lcSkin, "findControl: no root widget to look for \"%s\" in", qUtf8Printable(name));
        return;
    }
    const QObject *found = root->findChild<QObject *>(name);
    if (found) {
        qCWarning(lcSkin, "findControl: \"%s\" is a %s, not a %s", qUtf8Printable(name),
                  found->metaObject()->className(), wanted);
    } else {
        qCWarning(lcSkin, "findControl: no control named \"%s\" under %s \"%s\"", qUtf8Printable(name),
                  root->metaObject()->className(), qUtf8Printable(root->objectName()));
    }
}

} // namespace OrvQtLib
