#include "framework/PresetFileIO.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool WriteAll(int fd, const uint8_t* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR)
      continue;
    if (n < 0)
      return false;
    data += n;
    size -= size_t(n);
  }
  return true;
}

// A temporary file beside path, created new (never an existing file) with the usual mode
// of a new file; its name goes to tempPath.
int CreateTemporary(const std::string& path, std::string& tempPath) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath = path + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST)
      return fd;
  }
  return -1;
}

// Writes the bytes to a fresh temporary file beside path; its name goes to tempPath.
bool WriteTemporary(const std::string& path, const void* data, size_t size, std::string& tempPath) {
  const int fd = CreateTemporary(path, tempPath);
  if (fd < 0)
    return false;
  bool ok = WriteAll(fd, static_cast<const uint8_t*>(data), size);
  ok = ::close(fd) == 0 && ok;
  if (!ok)
    ::unlink(tempPath.c_str());
  return ok;
}

} // namespace

bool ReadPresetFile(const char* path, FileBytes& bytes, size_t maxBytes) {
  if (!path)
    return false;
  const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0)
    return false;
  FileBytes read;
  struct stat info;
  bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && uint64_t(info.st_size) <= maxBytes;
  if (ok)
    read.reserve(size_t(info.st_size));
  uint8_t block[65536];
  while (ok) {
    const ssize_t n = ::read(fd, block, sizeof block);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    ok = read.size() + size_t(n) <= maxBytes;
    if (ok)
      read.insert(read.end(), block, block + n);
  }
  ::close(fd);
  if (ok)
    bytes.swap(read);
  return ok;
}

bool WritePresetFile(const char* path, const void* data, size_t size) {
  if (!path || !*path)
    return false;
  std::string temp;
  if (!WriteTemporary(path, data, size, temp))
    return false;
  if (::rename(temp.c_str(), path) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

bool WritePresetFiles(const std::vector<PresetFileImage>& files) {
  std::vector<std::string> temps;
  bool ok = true;
  for (const PresetFileImage& file : files) {
    std::string temp;
    ok =
        !file.path.empty() && WriteTemporary(file.path, file.bytes.data(), file.bytes.size(), temp);
    if (!ok)
      break;
    temps.push_back(temp);
  }
  for (size_t i = 0; ok && i < temps.size(); ++i)
    ok = ::rename(temps[i].c_str(), files[i].path.c_str()) == 0;
  // Whatever was not renamed into place is removed (after a failed rename, the rest).
  for (const std::string& temp : temps)
    ::unlink(temp.c_str());
  return ok;
}

std::string PresetFilePath(const char* folder, const char* presetName, const char* extension) {
  std::string path = folder ? folder : "";
  if (!path.empty() && path.back() != '/')
    path += '/';
  for (const char* p = presetName ? presetName : ""; *p; ++p)
    path += *p == '/' ? '_' : *p;
  path += extension ? extension : "";
  return path;
}
