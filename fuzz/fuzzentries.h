#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

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
// Builds the bytes as a window description into a new top-level widget,
// shows, renders and resizes it and sends mouse events to every control.
// Needs a QApplication: it makes one (offscreen) when the process has no
// application object yet, and does nothing when it has a GUI-less one.
int description(const uint8_t *data, size_t size);

// The libFuzzer dictionary of description(): the type names and keys the
// toolkit's own tables list, as bare names and as JSON strings, one quoted
// token a line. Empty when there is no QApplication to start the toolkit in.
std::string descriptionDictionary();

} // namespace Fuzz
} // namespace OrvQtLib
