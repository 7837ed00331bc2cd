#pragma once

#include <cstddef>
#include <cstdint>

// One entry per fuzzer. The libFuzzer targets and the corpus replay test call
// the same functions, so every committed corpus file runs in the normal suite.
namespace OrvQtLib {
namespace Fuzz {

// Opens the bytes as a memory archive, walks it and extracts every member,
// whole and in small pieces.
int zipArchive(const uint8_t *data, size_t size);
// Loads the bytes as a skin package into the process-wide manager.
int package(const uint8_t *data, size_t size);
// Parses the bytes as style.json text and fills style tables from it.
int styles(const uint8_t *data, size_t size);

} // namespace Fuzz
} // namespace OrvQtLib
