#include "fuzzentries.h"

#include "jsonreaders.h"
#include "resourcemanager.h"
#include "stylerecords.h"
#include "ziparchive.h"

#include <QString>

#include <climits>
#include <vector>

namespace OrvQtLib {
namespace Fuzz {

int zipArchive(const uint8_t *data, size_t size)
{
    if (size > UINT_MAX)
        return 0;
    OrvQZipHandle zip(openZipMemory(data, unsigned(size), nullptr));
    if (!zip)
        return 0;
    OrvQZipEntry entry;
    if (zipItem(zip.get(), -1, &entry) != ZipOk)
        return 0;
    const int count = entry.index;
    std::vector<char> buffer;
    for (int i = 0; i < count; ++i) {
        if (zipItem(zip.get(), i, &entry) != ZipOk)
            continue;
        const quint32 capacity = zipMemberCapacity(entry);
        buffer.assign(capacity, 0);
        unzipItemToMemory(zip.get(), i, buffer.data(), capacity);
        // Again in pieces, through the "buffer full" path; each full piece
        // is progress, so this ends.
        unsigned offset = 0;
        const unsigned piece = 700;
        while (offset < capacity) {
            const unsigned length = std::min(piece, capacity - offset);
            if (unzipItemToMemory(zip.get(), i, buffer.data() + offset, length) != ZipErrMoreData)
                break;
            offset += length;
        }
    }
    // Backwards, and the cached last entry.
    for (int i = count - 1; i >= 0 && i >= count - 3; --i)
        zipItem(zip.get(), i, &entry);
    zipItem(zip.get(), 0, &entry);
    zipItem(zip.get(), 0, &entry);
    return 0;
}

int package(const uint8_t *data, size_t size)
{
    if (size > INT_MAX)
        return 0;
    OrvQResourceManager &manager = OrvQResourceManager::instance();
    manager.loadPackageFromMemory(reinterpret_cast<const char *>(data), int(size));
    char *bytes = nullptr;
    unsigned length = 0;
    manager.fileData(QStringLiteral("style.json"), &bytes, &length);
    OrvQRectStyle rect;
    manager.rectStyle(QStringLiteral("a"), rect);
    return 0;
}

int styles(const uint8_t *data, size_t size)
{
    Json::Value root;
    if (!parseJsonDocument(reinterpret_cast<const char *>(data), size, root))
        return 0;
    OrvQStyleTables tables;
    parseStyles(jsonMember(root, "style"), tables);
    return 0;
}

} // namespace Fuzz
} // namespace OrvQtLib
