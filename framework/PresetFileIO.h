#pragma once

#include "framework/FileBytes.h"

#include <string>
#include <vector>

// Reading and writing whole preset files. A written file appears complete or not at all:
// the bytes go to a temporary file beside it that is renamed into place once written and
// closed. Files read are taken whole into memory, up to a size no preset comes near.

constexpr size_t kMaxPresetFileBytes = 64 * 1024 * 1024;

// False when the path is null, the file cannot be opened or read, or it is larger than
// maxBytes.
bool ReadPresetFile(const char* path, FileBytes& bytes, size_t maxBytes = kMaxPresetFileBytes);

// False when the path is null or the file cannot be written whole; an existing file of that
// name is then left as it was.
bool WritePresetFile(const char* path, const void* data, size_t size);

struct PresetFileImage {
  std::string path;
  FileBytes bytes;
};

// Writes every file or none: all are written to temporary files first, and only when every
// one of them is complete are they renamed into place (a rename within a folder fails only
// when the folder itself goes away).
bool WritePresetFiles(const std::vector<PresetFileImage>& files);

// The path of a preset's file in a folder: folder, a separator, the preset name and the
// extension (with its dot). A path separator inside the name would place the file in
// another folder; it becomes '_'.
std::string PresetFilePath(const char* folder, const char* presetName, const char* extension);
