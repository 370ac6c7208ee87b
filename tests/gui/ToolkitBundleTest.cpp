// Two bundles that each carry their own build of the toolkit, loaded into one process: their
// Cocoa classes have their own names, the AAX build is told apart, each finds its resources in
// its own bundle, and neither exports a toolkit symbol.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <fstream>
#include <string>

namespace {

struct ToolkitBundleReport {
  char viewClass[128];
  int aaxEditor;
  int faceWidth;
  char pluginPath[512];
};
using ReportFn = void (*)(ToolkitBundleReport*);

struct Bundle {
  const char* path;
  const char* classSuffix;
  int aaxEditor;
  const char* face; // the PNG the bundle's Resources hold as face.png
};

// The width in a PNG file's header (big-endian, bytes 16-19).
int PngWidth(const char* path) {
  std::ifstream in(path, std::ios::binary);
  unsigned char header[24] = {};
  in.read(reinterpret_cast<char*>(header), sizeof header);
  return (header[16] << 24) | (header[17] << 16) | (header[18] << 8) | header[19];
}

TEST(ToolkitBundles, EachCarriesItsOwnClassesResourcesAndNoExports) {
  const Bundle bundles[] = {
      {ORVANE_TOOLKIT_BUNDLE_A, "IEditorCocoa_vOrvaneBundleA_vst", 0, ORVANE_TOOLKIT_FACE_A},
      {ORVANE_TOOLKIT_BUNDLE_B, "IEditorCocoa_vOrvaneBundleB_aax", 1, ORVANE_TOOLKIT_FACE_B},
  };
  void* handles[2] = {};
  ASSERT_NE(PngWidth(bundles[0].face), PngWidth(bundles[1].face));
  for (int i = 0; i < 2; ++i) {
    const Bundle& b = bundles[i];
    handles[i] = dlopen(b.path, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handles[i], nullptr) << dlerror();
  }
  for (int i = 0; i < 2; ++i) {
    const Bundle& b = bundles[i];
    auto report = reinterpret_cast<ReportFn>(dlsym(handles[i], "orvane_toolkit_bundle_report"));
    ASSERT_NE(report, nullptr);
    ToolkitBundleReport r{};
    report(&r);
    EXPECT_NE(std::string(r.viewClass).find(b.classSuffix), std::string::npos) << r.viewClass;
    EXPECT_EQ(r.aaxEditor, b.aaxEditor) << b.path;
    EXPECT_EQ(r.faceWidth, PngWidth(b.face)) << b.path;
    // <folder>/ToolkitBundleX.vst3/Contents/x86_64-linux/ToolkitBundleX.so
    const std::string code = b.path;
    const std::string folder = code.substr(0, code.find("/ToolkitBundle")) + "/";
    EXPECT_EQ(std::string(r.pluginPath), folder);
    // Toolkit and stand-in symbols stay inside the bundle.
    for (const char* symbol : {"_Z17NSApplicationLoadv", "_ZN10IEditorMac10CloseWindowEv",
                               "_ZN6NSView11addSubviewEPS_", "Gestalt"})
      EXPECT_EQ(dlsym(handles[i], symbol), nullptr) << b.path << " exports " << symbol;
  }
  // The bundles stay loaded: what unloading leaves behind is not this test's subject.
}

} // namespace
