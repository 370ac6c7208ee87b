// A stand-in for a plug-in bundle with its own build of the toolkit: it reports what its build
// made of the toolkit's Cocoa classes and loads a bitmap from its own resources.
#include <cstring>
#include <typeinfo>

#include "gui/IEditorCocoa.h"
#include "framework/KIT_String.h"
#include "gui/IEditorMac.h"
#include "raster/PIX_IBitmap.h"

struct ToolkitBundleReport {
  char viewClass[128];  // the type name of the editor's view class
  int aaxEditor;        // ORVANE_AAX_EDITOR of the build
  int faceWidth;        // width of the bundle's face.png, -1 when it did not load
  char pluginPath[512]; // the folder that holds the bundle
};

extern "C" __attribute__((visibility("default"))) void
orvane_toolkit_bundle_report(ToolkitBundleReport* report) {
  IEditorMac editor(nullptr, 40, 30);
  void* view = editor.OpenWindow(nullptr);
  std::strncpy(report->viewClass, typeid(*static_cast<NSView*>(view)).name(),
               sizeof report->viewClass - 1);
  report->viewClass[sizeof report->viewClass - 1] = '\0';
  editor.CloseWindow();
  report->aaxEditor = ORVANE_AAX_EDITOR;
  PIX_IBitmap* face = IEditorMac::LoadPNGFromBundle("com.orvane.test.bundle", "artwork/face.PNG");
  report->faceWidth = face ? face->getWidth() : -1;
  delete face;
  KIT_String path;
  editor.SetBundleID("com.orvane.test.bundle");
  editor.PluginPath(&path);
  std::strncpy(report->pluginPath, path.Get(), sizeof report->pluginPath - 1);
  report->pluginPath[sizeof report->pluginPath - 1] = '\0';
}
