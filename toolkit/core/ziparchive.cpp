#include "ziparchive.h"

namespace OrvQtLib {

class OrvQZipArchive
{
};

quint32 zipMemberCapacity(const OrvQZipEntry &) { return 0; }
OrvQZipArchive *openZipFile(const char *, const char *) { return nullptr; }
OrvQZipArchive *openZipMemory(const void *, unsigned, const char *) { return nullptr; }
unsigned zipItem(OrvQZipArchive *, int, OrvQZipEntry *) { return ZipErrArgument; }
unsigned unzipItemToMemory(OrvQZipArchive *, int, void *, unsigned) { return ZipErrArgument; }
unsigned closeZip(OrvQZipArchive *) { return ZipErrArgument; }
unsigned zipLastResult() { return ZipErrArgument; }

} // namespace OrvQtLib
