#pragma once

#include "framework/FileBytes.h"

#include <string>
#include <vector>

namespace presetfiles {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return mPath; }
  std::string File(const std::string& name) const { return mPath + "/" + name; }
  // The names of the entries in the folder, sorted.
  std::vector<std::string> Entries() const;

private:
  std::string mPath;
};

FileBytes ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const FileBytes& bytes);
std::string ReadText(const std::string& path);

// The description of a preset file by Python's own readers (oracle/describe_preset_file.py).
std::string DescribeWithPython(const char* kind, const std::string& path);

std::string Hex(const uint8_t* data, size_t n);
inline std::string Hex(const FileBytes& b) {
  return Hex(b.data(), b.size());
}

} // namespace presetfiles
