#pragma once
// The editor's back end on the AppKit stand-in: it opens the Cocoa view the host embeds
// (IEditorCocoa), redraws from the view's timer, copies the draw bitmap to the screen at the
// display's backing scale (rebuilding the controls when that scale changes), and supplies
// pop-up menus, text entry, message boxes, file and folder panels, standard paths, URL
// opening, the clipboard and pointer hiding. UI thread only.

#include <string>

#include "AppKit/AppKit.h"
#include "gui/CocoaClassNames.h"
#include "gui/IEditor.h"

class IEditorCocoa;

class IEditorMac : public IEditor {
public:
  // Window kind once a view is open.
  static constexpr int kWindowKindCocoa = 3;

  IEditorMac(IEditorDelegate* controller, int width, int height, int fps = 0);
  // Closes an open view (ending every open edit gesture) before the editor goes.
  ~IEditorMac() override;

  // The plug-in's bundle identifier, through which its resources are found.
  void SetBundleID(const char* bundleID) { mBundleID = bundleID ? bundleID : ""; }
  const char* GetBundleID() const { return mBundleID.c_str(); }

  bool DrawScreen(const IRECT& rect) override;
  bool MeasureIText(IText* text, const char* str, IRECT* rect) override;
  void EndTextEntry() override;
  // Ends an open text entry first: it refers to controls the resize deletes.
  void Resize(int width, int height) override;
  bool WindowIsOpen() override { return mView != nullptr; }
  int GetWindowKind() override { return mWindowKind; }
  const char* GetGUIName() override { return "Cocoa GUI"; }
  // Types 0, 1, 3, 4, 5 (see the table in the source); any other shows nothing and gives 0.
  int ShowMessageBox(const char* text, const char* caption, int type) override;
  IPopupMenu* CreateIPopupMenu(IPopupMenu* menu, IRECT* rect) override;
  void CreateTextEntry(IControl* control, IText* text, IRECT* rect, const char* str,
                       IParam* param) override;
  void HostPath(KIT_String* path) override;
  void PluginPath(KIT_String* path) override;
  void DesktopPath(KIT_String* path) override;
  void PresetsPath(KIT_String* path, bool isSystem) override;
  bool RevealPathInFinder(KIT_String* path, bool select) override;
  void AppSupportPath(KIT_String* path, bool isSystem) override;
  void MusicPath(KIT_String* path) override;
  void PromptForFile(KIT_String* fileName, int action, KIT_String* directory,
                     const char* extensions) override;
  bool PromptForDirectory(KIT_String* directory) override;
  bool PromptForColor(IColor*, const char*) override { return false; }
  // False when no URL can be made of the text.
  bool OpenURL(const char* url, const char* windowTitle = nullptr, const char* confirmMsg = nullptr,
               const char* errMsg = nullptr) override;
  // Opens a view, inside parentView when that is a view; the view (an NSView).
  void* OpenWindow(void* parentView) override;
  void* OpenHIViewWindow(void*) override { return nullptr; }
  void CloseWindow() override;
  void* GetWindow() override;
  bool GetTextFromClipboard(KIT_String* text) override;
  void HideMouseCursor(bool rememberPosition = true) override;
  void ShowMouseCursor() override;
  void UpdateTooltips() override;
  PIX_IBitmap* LoadPlatformBitmap(int id, const char* name) override;

  // The system version, as Gestalt tells it.
  static int GetSystemVersion();
  // The PNG resource `name` (its last path component without the extension, of type "png")
  // of the bundle with that identifier, decoded; null when there is none.
  static PIX_IBitmap* LoadPNGFromBundle(const char* bundleID, const char* name);

  // ---- coordinates between the draw bitmap (pixels, top left) and the view (points) ----
  NSRect ToViewRect(const IRECT& rect) const;
  IRECT ToPixelRect(const NSRect& rect) const;
  void ToPixelPoint(NSPoint point, int* x, int* y) const;

private:
  friend class IEditorCocoa;
  // After a scale change: the controller builds the controls again and they take the
  // parameters' current values.
  void RebuildControls();
  void ReleaseColorSpace();

  IEditorCocoa* mView = nullptr; // retained while open
  std::string mBundleID;
  int mWindowKind = 0;
  CGColorSpaceRef mColorSpace = nullptr;
};
