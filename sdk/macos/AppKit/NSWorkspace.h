// The workspace: opens URLs and files with the desktop's handlers and shows files in the file
// manager. By default through xdg-open (started, not waited for); a host or a test may put its
// own opener in place.
#pragma once

#include <functional>
#include <string>

class NSWorkspace {
public:
  // Opens one URL ("https://...", "file:///...") or reveals a path; true when handed over.
  using Opener = std::function<bool(const std::string& target)>;

  static NSWorkspace* sharedWorkspace();

  // A URL text as it is (null when empty); fileURLWithPath: "file://" + an absolute path.
  static std::string URLWithString(const std::string& text);
  static std::string fileURLWithPath(const std::string& path);

  bool openURL(const std::string& url);
  bool openFile(const std::string& path);
  // Shows the file manager on the folder of fullPath (the file selected where it can be).
  bool selectFile(const std::string& fullPath, const std::string& rootPath);

  void setOpener(Opener opener) { open = std::move(opener); }

private:
  bool hand(const std::string& target);
  Opener open;
};
