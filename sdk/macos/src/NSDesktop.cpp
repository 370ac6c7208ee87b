// The pasteboard, the workspace and the standard folders of a Linux desktop.
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include "AppKit/NSPasteboard.h"
#include "AppKit/NSPaths.h"
#include "AppKit/NSWorkspace.h"

extern char** environ;

// ---- pasteboard ----

NSPasteboard* NSPasteboard::generalPasteboard() {
  static NSPasteboard pasteboard;
  return &pasteboard;
}

std::optional<std::string> NSPasteboard::stringForType() const {
  if (clipboard)
    return clipboard();
  return text;
}

void NSPasteboard::setString(std::string newText) {
  text = std::move(newText);
}

void NSPasteboard::clearContents() {
  text.reset();
}

// ---- workspace ----

NSWorkspace* NSWorkspace::sharedWorkspace() {
  static NSWorkspace workspace;
  return &workspace;
}

std::string NSWorkspace::URLWithString(const std::string& text) {
  return text;
}

std::string NSWorkspace::fileURLWithPath(const std::string& path) {
  if (path.empty())
    return {};
  std::string absolute = path;
  if (path[0] != '/') {
    const char* cwd = std::getenv("PWD");
    absolute = std::string(cwd ? cwd : "") + "/" + path;
  }
  // Bytes other than unreserved characters and "/" are percent-encoded.
  static const char kHex[] = "0123456789ABCDEF";
  std::string url = "file://";
  for (unsigned char c : absolute) {
    if (std::isalnum(c) || c == '/' || c == '-' || c == '.' || c == '_' || c == '~') {
      url.push_back((char)c);
    } else {
      url.push_back('%');
      url.push_back(kHex[c >> 4]);
      url.push_back(kHex[c & 15]);
    }
  }
  return url;
}

bool NSWorkspace::hand(const std::string& target) {
  if (target.empty())
    return false;
  if (open)
    return open(target);
  // Handed to the desktop's opener, which the plug-in does not wait for: a shell starts it in
  // the background and ends at once, so the opener belongs to init from then on and the
  // shell is reaped here. No process of the host's is left behind (not even a zombie).
  pid_t child = 0;
  char shell[] = "/bin/sh";
  char option[] = "-c";
  char script[] = "command -v xdg-open >/dev/null || exit 127; xdg-open \"$1\" &";
  char name[] = "sh";
  std::string argument = target;
  char* argv[] = {shell, option, script, name, argument.data(), nullptr};
  if (posix_spawn(&child, shell, nullptr, nullptr, argv, environ) != 0)
    return false;
  int status = 0;
  pid_t reaped = 0;
  do
    reaped = waitpid(child, &status, 0);
  while (reaped < 0 && errno == EINTR);
  // A host that ignores SIGCHLD has its children reaped for it (ECHILD): the shell ran.
  if (reaped < 0)
    return errno == ECHILD;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool NSWorkspace::openURL(const std::string& url) {
  return hand(url);
}

bool NSWorkspace::openFile(const std::string& path) {
  return hand(fileURLWithPath(path));
}

bool NSWorkspace::selectFile(const std::string& fullPath, const std::string& rootPath) {
  // Desktop file managers take the folder; the file itself cannot be selected portably.
  std::string folder = rootPath;
  if (folder.empty()) {
    const size_t slash = fullPath.find_last_of('/');
    folder = slash == std::string::npos ? "." : fullPath.substr(0, slash == 0 ? 1 : slash);
  }
  return hand(fileURLWithPath(folder));
}

// ---- standard folders ----

namespace {

std::string Home() {
  const char* home = std::getenv("HOME");
  return home ? home : "";
}

// An XDG base folder: the variable when it holds an absolute path, else $HOME/fallback.
std::string XdgFolder(const char* variable, const char* fallback) {
  const char* value = std::getenv(variable);
  if (value && value[0] == '/')
    return value;
  const std::string home = Home();
  return home.empty() ? std::string() : home + "/" + fallback;
}

} // namespace

std::string NSSearchPathForDirectory(NSSearchPathDirectory directory,
                                     NSSearchPathDomainMask domain) {
  const bool user = domain == NSUserDomainMask;
  const std::string home = Home();
  switch (directory) {
  case NSDesktopDirectory:
    return user && !home.empty() ? home + "/Desktop" : std::string();
  case NSMusicDirectory:
    return user && !home.empty() ? home + "/Music" : std::string();
  case NSLibraryDirectory:
    if (user)
      return XdgFolder("XDG_DATA_HOME", ".local/share");
    return domain == NSLocalDomainMask ? "/usr/local/share" : "/usr/share";
  case NSApplicationSupportDirectory:
    if (user)
      return XdgFolder("XDG_CONFIG_HOME", ".config");
    return "/etc/xdg";
  }
  return {};
}

std::string NSStringByExpandingTildeInPath(const std::string& path) {
  if (path.empty() || path[0] != '~')
    return path;
  return Home() + path.substr(1);
}
