#include "support/TestFiles.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace presetfiles {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "orvane-presetfiles-XXXXXX");
  if (!::mkdtemp(pattern.data()))
    throw std::runtime_error("no temporary folder");
  mPath = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(mPath, ignored);
}

std::vector<std::string> TempDir::Entries() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(mPath))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

FileBytes ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return FileBytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const FileBytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::string ReadText(const std::string& path) {
  const FileBytes b = ReadBytes(path);
  return std::string(b.begin(), b.end());
}

std::string DescribeWithPython(const char* kind, const std::string& path) {
  const std::string command = std::string(ORVANE_PYTHON) + " " + ORVANE_DESCRIBE_SCRIPT + " " +
                              kind + " '" + path + "' 2>&1";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe)
    return "popen failed";
  std::string out;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0)
    out.append(buf, n);
  ::pclose(pipe);
  return out;
}

std::string Hex(const uint8_t* data, size_t n) {
  static const char digits[] = "0123456789abcdef";
  std::string s;
  for (size_t i = 0; i < n; ++i) {
    s += digits[data[i] >> 4];
    s += digits[data[i] & 15];
  }
  return s;
}

} // namespace presetfiles
