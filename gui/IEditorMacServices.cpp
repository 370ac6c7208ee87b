// The editor's back end: message boxes, file and folder panels, standard paths, URL opening,
// the clipboard and bundle resources.
#include <cctype>
#include <cstring>
#include <sstream>
#include <sys/stat.h>

#include "framework/IFxController.h"
#include "framework/KIT_String.h"
#include "gui/IEditorDelegate.h"
#include "gui/IEditorMac.h"
#include "gui/emulation/PlatformSupport.h"
#include "raster/png/PIX_PNG.h"

namespace {

// Buttons of a message-box type (default first) and the result each gives.
struct MessageBoxKind {
  int type;
  const char* buttons[3];
  int results[3];
};

constexpr int kIDOK = 1, kIDCancel = 2, kIDRetry = 4, kIDYes = 6, kIDNo = 7;

constexpr MessageBoxKind kMessageBoxKinds[] = {
    {0, {"OK", nullptr, nullptr}, {kIDOK, 0, 0}},
    {1, {"OK", "Cancel", nullptr}, {kIDOK, kIDCancel, 0}},
    {3, {"Yes", "Cancel", "No"}, {kIDYes, kIDCancel, kIDNo}},
    {4, {"Yes", "No", nullptr}, {kIDYes, kIDNo, 0}},
    {5, {"Retry", "Cancel", nullptr}, {kIDRetry, kIDCancel, 0}},
};

const MessageBoxKind* FindMessageBoxKind(int type) {
  for (const MessageBoxKind& kind : kMessageBoxKinds)
    if (kind.type == type)
      return &kind;
  return nullptr;
}

// A CFString that releases itself (null stays null).
struct OwnedString {
  explicit OwnedString(const char* text) : string(text ? CStringToCFString(text) : nullptr) {}
  ~OwnedString() {
    if (string)
      CFRelease(string);
  }
  OwnedString(const OwnedString&) = delete;
  OwnedString& operator=(const OwnedString&) = delete;
  CFStringRef string;
};

bool PathExists(const char* path) {
  struct stat info {};
  return path && *path && stat(path, &info) == 0;
}

// The bundle's folder, or empty.
std::string BundleFolder(const char* bundleID) {
  OwnedString identifier(bundleID);
  CFBundleRef bundle = CFBundleGetBundleWithIdentifier(identifier.string);
  if (!bundle)
    return {};
  CFURLRef url = CFBundleCopyBundleURL(bundle);
  char path[4096] = "";
  const bool ok = url && CFURLGetFileSystemRepresentation(url, true, (UInt8*)path, sizeof path);
  if (url)
    CFRelease(url);
  return ok ? path : "";
}

std::vector<std::string> SplitOnBlanks(const char* text) {
  std::vector<std::string> words;
  std::istringstream in(text ? text : "");
  for (std::string word; in >> word;)
    words.push_back(word);
  return words;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
}

// A text usable as a URL: not empty, no blanks or control characters.
bool IsURLText(const std::string& text) {
  if (text.empty())
    return false;
  for (unsigned char c : text)
    if (c <= ' ' || c == 0x7F)
      return false;
  return true;
}

bool HasPNGExtension(const char* name) {
  const char* dot = std::strrchr(name, '.');
  return dot && strcasecmp(dot + 1, "png") == 0;
}

} // namespace

int IEditorMac::ShowMessageBox(const char* text, const char* caption, int type) {
  const MessageBoxKind* kind = FindMessageBoxKind(type);
  if (!kind)
    return 0;
  OwnedString title(caption), message(text), format("%@");
  OwnedString first(kind->buttons[0]), second(kind->buttons[1]), third(kind->buttons[2]);
  const int pressed = NSRunAlertPanel(title.string, format.string, first.string, second.string,
                                      third.string, message.string);
  switch (pressed) {
  case NSAlertDefaultReturn:
    return kind->results[0];
  case NSAlertAlternateReturn:
    return kind->results[1];
  case NSAlertOtherReturn:
    return kind->results[2];
  default:
    return 0; // nothing could be shown
  }
}

// ---- paths ----

void IEditorMac::HostPath(KIT_String* path) {
  if (!path)
    return;
  OwnedString identifier(mBundleID.c_str());
  CFBundleRef bundle = CFBundleGetBundleWithIdentifier(identifier.string);
  CFURLRef url = bundle ? CFBundleCopyExecutableURL(bundle) : nullptr;
  char text[4096] = "";
  if (url) {
    CFURLGetFileSystemRepresentation(url, true, (UInt8*)text, sizeof text);
    CFRelease(url);
  }
  path->Set(text);
}

void IEditorMac::PluginPath(KIT_String* path) {
  if (!path)
    return;
  const std::string folder = BundleFolder(mBundleID.c_str());
  path->Set(folder.empty() ? "" : (FolderOf(folder) + "/").c_str());
}

void IEditorMac::DesktopPath(KIT_String* path) {
  if (path)
    path->Set(NSSearchPathForDirectory(NSDesktopDirectory, NSUserDomainMask).c_str());
}

void IEditorMac::MusicPath(KIT_String* path) {
  if (path)
    path->Set(NSSearchPathForDirectory(NSMusicDirectory, NSUserDomainMask).c_str());
}

void IEditorMac::AppSupportPath(KIT_String* path, bool isSystem) {
  if (path)
    path->Set(NSSearchPathForDirectory(NSApplicationSupportDirectory,
                                       isSystem ? NSSystemDomainMask : NSUserDomainMask)
                  .c_str());
}

void IEditorMac::PresetsPath(KIT_String* path, bool isSystem) {
  if (!path)
    return;
  const std::string library =
      NSSearchPathForDirectory(NSLibraryDirectory, isSystem ? NSLocalDomainMask : NSUserDomainMask);
  auto* controller = dynamic_cast<IFxController*>(GetController());
  path->SetFormatted(1024, "%s/Audio/Presets/%s/%s/", library.c_str(),
                     controller ? controller->GetMakerName() : "",
                     controller ? controller->GetProductName() : "");
}

bool IEditorMac::RevealPathInFinder(KIT_String* path, bool select) {
  if (!path || !PathExists(path->Get()))
    return false;
  NSWorkspace* workspace = NSWorkspace::sharedWorkspace();
  return select ? workspace->selectFile(path->Get(), "") : workspace->openFile(path->Get());
}

// ---- panels ----

void IEditorMac::PromptForFile(KIT_String* fileName, int action, KIT_String* directory,
                               const char* extensions) {
  if (!fileName)
    return;
  fileName->Set("");
  if (!WindowIsOpen())
    return;
  if (directory && !directory->GetLength())
    directory->Set("~/Desktop");
  NSSavePanel* panel = nullptr;
  if (action == 1) {
    panel = NSSavePanel::savePanel();
  } else {
    NSOpenPanel* open = NSOpenPanel::openPanel();
    open->setCanChooseFiles(true);
    open->setCanChooseDirectories(false);
    open->setResolvesAliases(true);
    panel = open;
  }
  panel->setAllowedFileTypes(SplitOnBlanks(extensions));
  if (directory)
    panel->setDirectory(NSStringByExpandingTildeInPath(directory->Get()));
  if (panel->runModal() == NSFileHandlingPanelOKButton) {
    fileName->Set(panel->filename().c_str());
    if (directory)
      directory->Set((FolderOf(panel->filename()) + "/").c_str());
  }
  panel->release();
}

bool IEditorMac::PromptForDirectory(KIT_String* directory) {
  if (!directory)
    return false;
  if (!directory->GetLength())
    directory->Set("~/Desktop");
  NSOpenPanel* panel = NSOpenPanel::openPanel();
  panel->setTitle("Choose a Directory");
  panel->setCanChooseFiles(false);
  panel->setCanChooseDirectories(true);
  panel->setResolvesAliases(true);
  panel->setCanCreateDirectories(true);
  panel->setDirectory(NSStringByExpandingTildeInPath(directory->Get()));
  const bool chosen = panel->runModal() == NSFileHandlingPanelOKButton;
  directory->Set(chosen ? (panel->filename() + "/").c_str() : "");
  panel->release();
  return chosen;
}

// ---- URLs, clipboard, resources ----

bool IEditorMac::OpenURL(const char* url, const char*, const char*, const char*) {
  const std::string text = url ? url : "";
  const bool isWebAddress = text.find("http") != std::string::npos;
  if (isWebAddress ? !IsURLText(text) : text.empty())
    return false; // no URL can be made of it
  const std::string target =
      isWebAddress ? NSWorkspace::URLWithString(text) : NSWorkspace::fileURLWithPath(text);
  return NSWorkspace::sharedWorkspace()->openURL(target);
}

bool IEditorMac::GetTextFromClipboard(KIT_String* text) {
  if (!text)
    return false;
  const std::optional<std::string> pasted = NSPasteboard::generalPasteboard()->stringForType();
  text->Set(pasted ? pasted->c_str() : "");
  return pasted.has_value();
}

PIX_IBitmap* IEditorMac::LoadPlatformBitmap(int, const char* name) {
  return LoadPNGFromBundle(mBundleID.c_str(), name);
}

PIX_IBitmap* IEditorMac::LoadPNGFromBundle(const char* bundleID, const char* name) {
  NSAutoreleasePool pool;
  if (!name || !HasPNGExtension(name))
    return nullptr;
  std::string stem = name;
  const size_t slash = stem.find_last_of('/');
  if (slash != std::string::npos)
    stem = stem.substr(slash + 1);
  stem = stem.substr(0, stem.find_last_of('.'));
  OwnedString identifier(bundleID);
  CFBundleRef bundle = CFBundleGetBundleWithIdentifier(identifier.string);
  OwnedString resource(stem.c_str()), type("png");
  CFURLRef url =
      bundle ? CFBundleCopyResourceURL(bundle, resource.string, type.string, nullptr) : nullptr;
  char path[4096] = "";
  if (url) {
    CFURLGetFileSystemRepresentation(url, true, (UInt8*)path, sizeof path);
    CFRelease(url);
  }
  if (!*path)
    return nullptr;
  return PIX_LoadPNG(path, nullptr);
}
