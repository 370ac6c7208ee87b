// Alerts and file panels, run on the back end of the key window or the application's.
#include "AppKit/NSPanels.h"

#include <cstring>

#include "AppKit/AppKit.h"
#include "CFObject.h"

namespace {

std::string TextOf(CFStringRef string) {
  return string ? cfstub::utf8Of(string) : std::string();
}

} // namespace

NSWindowBackend* NSModalBackend() {
  NSWindow* main = NSWindow::mainWindow();
  if (main && main->backend())
    return main->backend();
  return NSApplication::sharedApplication()->modalBackend();
}

int NSRunAlertPanel(CFStringRef title, CFStringRef format, CFStringRef defaultButton,
                    CFStringRef alternateButton, CFStringRef otherButton, CFStringRef argument) {
  NSWindowBackend* backend = NSModalBackend();
  if (!backend)
    return NSAlertErrorReturn;
  NSWindowBackend::AlertRequest request;
  request.title = TextOf(title);
  const std::string shape = TextOf(format);
  request.message = shape == "%@" ? TextOf(argument) : shape;
  // Button i of the request answers with returns[i].
  std::vector<int> returns;
  const std::string first = defaultButton ? TextOf(defaultButton) : "OK";
  const CFStringRef others[] = {alternateButton, otherButton};
  const int otherReturns[] = {NSAlertAlternateReturn, NSAlertOtherReturn};
  if (!first.empty()) {
    request.buttons.push_back(first);
    returns.push_back(NSAlertDefaultReturn);
  }
  for (int i = 0; i < 2; ++i) {
    const std::string text = TextOf(others[i]);
    if (text.empty())
      continue;
    request.buttons.push_back(text);
    returns.push_back(otherReturns[i]);
  }
  const int pressed = backend->runAlert(request);
  if (pressed < 0 || pressed >= (int)returns.size())
    return NSAlertErrorReturn;
  return returns[pressed];
}

NSSavePanel* NSSavePanel::savePanel() {
  return new NSSavePanel(true);
}

NSOpenPanel* NSOpenPanel::openPanel() {
  return new NSOpenPanel();
}

long NSSavePanel::runModal() {
  chosen.clear();
  NSWindowBackend* backend = NSModalBackend();
  if (!backend)
    return NSFileHandlingPanelCancelButton;
  NSWindowBackend::FilePanelRequest request;
  request.save = isSave;
  request.chooseFiles = chooseFiles;
  request.chooseDirectories = chooseDirectories;
  request.canCreateDirectories = createDirectories;
  request.resolvesAliases = resolveAliases;
  request.title = panelTitle;
  request.directory = start;
  request.allowedTypes = allowed;
  std::string path;
  if (!backend->runFilePanel(request, path) || path.empty())
    return NSFileHandlingPanelCancelButton;
  chosen = path;
  return NSFileHandlingPanelOKButton;
}
