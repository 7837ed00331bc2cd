#pragma once

#include "stylerecords.h"

#include <QString>

#include <json/value.h>

#include <memory>

class QImage;

namespace OrvQtLib {

// Process-wide holder of the loaded skin: package members, decoded images and
// the rect and font style tables.
class OrvQResourceManager
{
public:
    static OrvQResourceManager &instance();

    OrvQResourceManager(const OrvQResourceManager &) = delete;
    OrvQResourceManager &operator=(const OrvQResourceManager &) = delete;

    bool loadPackage(const QString &path);
    bool loadPackageFromMemory(const char *data, int size);
    void createBuiltinImages();

    // Bytes of a package member, found without regard to case; the bytes stay
    // owned by the manager.
    bool fileData(const QString &name, char **data, unsigned *size) const;
    QString baseDir() const;
    QImage *image(const QString &name);
    bool rectStyle(const QString &name, OrvQRectStyle &out) const;
    bool fontStyle(const QString &name, OrvQFontStyle &out) const;
    void parseStyles(const Json::Value &styles);

private:
    OrvQResourceManager();
    ~OrvQResourceManager();

    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace OrvQtLib
