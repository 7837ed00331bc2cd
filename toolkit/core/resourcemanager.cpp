#include "resourcemanager.h"

#include <QImage>

namespace OrvQtLib {

struct OrvQResourceManager::Private {
    QString baseDir;
};

OrvQResourceManager &OrvQResourceManager::instance()
{
    // Function-local static: created on first use, safely under concurrent
    // first calls, and destroyed at exit.
    static OrvQResourceManager manager;
    return manager;
}

OrvQResourceManager::OrvQResourceManager()
    : d(std::make_unique<Private>())
{
}

OrvQResourceManager::~OrvQResourceManager() = default;

bool OrvQResourceManager::loadPackage(const QString &)
{
    return false;
}

bool OrvQResourceManager::loadPackageFromMemory(const char *, int)
{
    return false;
}

void OrvQResourceManager::createBuiltinImages() {}

bool OrvQResourceManager::fileData(const QString &, char **, unsigned *) const
{
    return false;
}

QString OrvQResourceManager::baseDir() const
{
    return d->baseDir;
}

QImage *OrvQResourceManager::image(const QString &)
{
    return nullptr;
}

bool OrvQResourceManager::rectStyle(const QString &name, OrvQRectStyle &out) const
{
    if (name == QLatin1String("empty") || name == QLatin1String("emptyRect")) {
        out.nonEmpty = false;
        return true;
    }
    return false;
}

bool OrvQResourceManager::fontStyle(const QString &, OrvQFontStyle &) const
{
    return false;
}

void OrvQResourceManager::parseStyles(const Json::Value &) {}

} // namespace OrvQtLib
