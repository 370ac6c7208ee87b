// App-modal panels: alerts, and open and save panels. They run on the key window's back end,
// else on the application's modal back end (see NSWindowBackend.h).
#pragma once

#include <string>
#include <vector>

#include "CoreFoundation/CoreFoundation.h"
#include "Foundation/Foundation.h"

class NSWindowBackend;

enum : int {
  NSAlertDefaultReturn = 1,
  NSAlertAlternateReturn = 0,
  NSAlertOtherReturn = -1,
  NSAlertErrorReturn = -2,
};
enum : long { NSFileHandlingPanelCancelButton = 0, NSFileHandlingPanelOKButton = 1 };

// The back end app-modal UI runs on now, or null.
NSWindowBackend* NSModalBackend();

// Runs an alert with the title, the message (format "%@" with the one argument, as the
// callers use it; any other format is shown as it is) and up to three buttons (null or empty
// titles are left out; a null default button becomes "OK"). The button pressed:
// NSAlertDefaultReturn, NSAlertAlternateReturn or NSAlertOtherReturn; NSAlertErrorReturn
// when no alert could be shown.
int NSRunAlertPanel(CFStringRef title, CFStringRef format, CFStringRef defaultButton,
                    CFStringRef alternateButton, CFStringRef otherButton, CFStringRef argument);

class NSSavePanel : public NSObject {
public:
  static NSSavePanel* savePanel();

  void setAllowedFileTypes(std::vector<std::string> types) { allowed = std::move(types); }
  void setDirectory(std::string path) { start = std::move(path); }
  void setTitle(std::string text) { panelTitle = std::move(text); }
  void setCanCreateDirectories(bool on) { createDirectories = on; }
  // NSFileHandlingPanelOKButton with a path chosen, else NSFileHandlingPanelCancelButton.
  long runModal();
  // The chosen path (absolute), empty before an OK.
  const std::string& filename() const { return chosen; }

protected:
  explicit NSSavePanel(bool save) : isSave(save) {}
  bool isSave;
  bool chooseFiles = true, chooseDirectories = false, createDirectories = false;
  bool resolveAliases = true;
  std::vector<std::string> allowed;
  std::string start, panelTitle, chosen;
};

class NSOpenPanel : public NSSavePanel {
public:
  static NSOpenPanel* openPanel();

  void setCanChooseFiles(bool on) { chooseFiles = on; }
  void setCanChooseDirectories(bool on) { chooseDirectories = on; }
  void setResolvesAliases(bool on) { resolveAliases = on; }

private:
  NSOpenPanel() : NSSavePanel(false) {}
};
