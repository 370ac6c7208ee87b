#pragma once
// What the plug-in editor tests stand on: the plug-in's own back end (IEditorMac) finding its
// bitmaps in the build's artwork folder instead of a bundle, an off-screen window at backing
// scale 1 or 2 that the host's plug view attaches to, a run loop on a clock the test turns,
// and the check that every bitmap control shows the strip frame its value selects.
//
// Header-only on purpose: each plug-in test compiles it against that plug-in's own build of
// the toolkit.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "AppKit/AppKit.h"
#include "FrameRules.h"
#include "OffscreenWindowBackend.h"
#include "RgbaPng.h"
#include "base/source/fobject.h"
#include "gui/IBitmapControl.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "gui/IControl.h"
#include "gui/IEditorController.h"
#include "gui/IEditorMac.h"
#include "gui/IKnobMultiControl.h"
#include "gui/IMeterControl.h"
#include "raster/PIX_Fill.h"
#include "raster/png/PIX_PNG.h"
#include "raster/sys/PIX_SysBitmap.h"
#include "runloop/RunLoop.h"

namespace editortest {

// IEditorMac with the bitmaps read from a folder (the bundle's Contents/Resources is not
// there in process).
class FolderEditor : public IEditorMac {
public:
  FolderEditor(IEditorDelegate* controller, int w, int h, std::string folder)
      : IEditorMac(controller, w, h), mFolder(std::move(folder)) {}
  PIX_IBitmap* LoadPlatformBitmap(int, const char* name) override {
    return name ? PIX_LoadPNG((mFolder + "/" + name).c_str(), nullptr) : nullptr;
  }

private:
  std::string mFolder;
};

// Gives controller an editor that reads the artwork folder, built at scale 1.
template <class Controller>
IEditor* AttachFolderEditor(Controller* controller, const std::string& folder) {
  auto* editor =
      new FolderEditor(controller, Controller::kEditorWidth, Controller::kEditorHeight, folder);
  controller->AttachGraphics(editor);
  controller->BuildControls(editor);
  return editor;
}

// The run loop of this binary on a clock the test turns.
class TurnedClock {
public:
  TurnedClock() {
    orvane::RunLoop::instance().setClock([this] { return now; });
  }
  ~TurnedClock() { orvane::RunLoop::instance().setClock({}); }
  // Timer frames of the editor (25 per second): the redraw poll and the window's display.
  void Frames(int n) {
    for (int i = 0; i < n; ++i) {
      now += 40;
      orvane::RunLoop::instance().pump();
    }
  }
  std::uint64_t now = 1000;
};

// An off-screen window at a backing scale with the controller's plug view attached to it.
class OpenEditor {
public:
  template <class Controller> OpenEditor(Controller* controller, double scale) {
    auto backend = std::make_unique<OffscreenWindowBackend>(scale);
    screen = backend.get();
    window = new NSWindow(NSMakeRect(0, 0, Controller::kEditorWidth, Controller::kEditorHeight),
                          std::move(backend));
    view = controller->createView("editor");
    if (view)
      attached = view->attached(window->contentView(), Steinberg::kPlatformTypeNSView);
  }
  ~OpenEditor() {
    if (view) {
      view->removed();
      view->release();
    }
    window->close();
    window->release();
  }

  // The window's pixels as 0xAABBGGRR words (as the draw bitmap keeps them).
  std::vector<std::uint8_t> Screen(int& w, int& h) const { return screen->rgba(w, h); }
  void Save(const std::string& path) const {
    int w = 0, h = 0;
    const std::vector<std::uint8_t> rgba = Screen(w, h);
    guitest::WriteRgbaPng(rgba, w, h, path);
  }

  OffscreenWindowBackend* screen = nullptr;
  NSWindow* window = nullptr;
  Steinberg::IPlugView* view = nullptr;
  Steinberg::tresult attached = Steinberg::kResultFalse;
};

inline PIX_Pixel StripPixel(const IBitmap& b, int frame, int x, int y) {
  const int row = b.FrameOffset(frame) + y;
  return b.mData->getBits()[row * b.mData->getRowSpan() + x];
}

// The bitmap, rectangle and expected frame of one control, as the test sees it.
struct ShownFrame {
  const IBitmap* bitmap;
  IRECT rect;
  int frame;
};

// Whether a frame other than frames[i] puts any colour at (x, y).
template <class AlphaAt>
bool ShowsAnyOther(const std::vector<ShownFrame>& frames, size_t i, int x, int y, AlphaAt alphaAt) {
  for (size_t j = 0; j < frames.size(); ++j)
    if (j != i && alphaAt(frames[j], x, y) != 0)
      return true;
  return false;
}

// Checks every pixel of every shown frame in the editor's draw bitmap: where the strip is
// opaque (and no later control's frame covers it) the pixel is the strip's; where the strip
// is fully transparent and no other frame colours it, the background shows (one row up, as the
// background is attached). Partly transparent edges are left out: they are blends.
inline void ExpectFramesShown(IEditor* editor, const std::vector<ShownFrame>& frames,
                              const IBitmap& background, const char* what) {
  PIX_IBitmap* drawn = editor->GetDrawBitmap();
  auto alphaAt = [](const ShownFrame& f, int x, int y) {
    if (!f.rect.Contains(x, y))
      return 0;
    return (int)PIX_Alpha(StripPixel(*f.bitmap, f.frame, x - f.rect.L, y - f.rect.T));
  };
  int checked = 0, mismatched = 0;
  for (size_t i = 0; i < frames.size(); ++i) {
    const ShownFrame& f = frames[i];
    for (int y = f.rect.T; y < f.rect.B; ++y) {
      for (int x = f.rect.L; x < f.rect.R; ++x) {
        bool covered = false;
        for (size_t j = i + 1; j < frames.size() && !covered; ++j)
          covered = alphaAt(frames[j], x, y) != 0;
        if (covered)
          continue;
        const PIX_Pixel source = StripPixel(*f.bitmap, f.frame, x - f.rect.L, y - f.rect.T);
        PIX_Pixel expected;
        if (PIX_Alpha(source) == 255)
          expected = source;
        else if (PIX_Alpha(source) == 0 && !ShowsAnyOther(frames, i, x, y, alphaAt))
          expected = StripPixel(background, 1, x, y + 1);
        else
          continue;
        ++checked;
        if (PIX_GetPixel(drawn, x, y) != expected && ++mismatched <= 5)
          ADD_FAILURE() << what << ": control " << i << " frame " << f.frame << " pixel (" << x
                        << ", " << y << "): " << std::hex << PIX_GetPixel(drawn, x, y)
                        << " instead of " << expected << std::dec;
      }
    }
  }
  EXPECT_EQ(mismatched, 0) << what;
  EXPECT_GT(checked, 0) << what;
}

// The window shows exactly the editor's draw bitmap.
inline void ExpectScreenShowsDrawBitmap(const OpenEditor& open, IEditor* editor) {
  int w = 0, h = 0;
  const std::vector<std::uint8_t> rgba = open.Screen(w, h);
  ASSERT_EQ(w, editor->Width());
  ASSERT_EQ(h, editor->Height());
  int mismatched = 0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const PIX_Pixel p = PIX_GetPixel(editor->GetDrawBitmap(), x, y);
      const std::uint8_t* q = &rgba[(size_t(y) * w + x) * 4];
      if (q[0] != PIX_Red(p) || q[1] != PIX_Green(p) || q[2] != PIX_Blue(p))
        ++mismatched;
    }
  }
  EXPECT_EQ(mismatched, 0);
}

// Controls do not overlap one another (pairs listed in allowed may) and lie in the editor.
inline void ExpectLaidOutApart(IEditor* editor, const std::vector<std::pair<int, int>>& allowed) {
  const IRECT all(0, 0, editor->Width(), editor->Height());
  for (int i = 1; i < editor->NControls(); ++i) {
    const IRECT a = *editor->GetControl(i)->GetRECT();
    EXPECT_TRUE(a.L >= 0 && a.T >= 0 && a.R <= all.R && a.B <= all.B) << "control " << i;
    for (int j = i + 1; j < editor->NControls(); ++j) {
      const IRECT b = *editor->GetControl(j)->GetRECT();
      const bool overlap = a.L < b.R && b.L < a.R && a.T < b.B && b.T < a.B;
      bool ok = !overlap;
      for (const auto& p : allowed)
        ok = ok || (p.first == i && p.second == j);
      EXPECT_TRUE(ok) << "controls " << i << " and " << j << " overlap";
    }
  }
}

} // namespace editortest

namespace editortest {

// The host's side of the edit gestures: "begin p", "perform p", "end p" in order, and the
// values performed.
class GestureRecorder : public Steinberg::FObject, public Steinberg::Vst::IComponentHandler {
public:
  Steinberg::tresult PLUGIN_API beginEdit(Steinberg::Vst::ParamID id) override {
    log.push_back("begin " + std::to_string(id));
    return Steinberg::kResultOk;
  }
  Steinberg::tresult PLUGIN_API performEdit(Steinberg::Vst::ParamID id,
                                            Steinberg::Vst::ParamValue value) override {
    log.push_back("perform " + std::to_string(id));
    values.push_back(value);
    return Steinberg::kResultOk;
  }
  Steinberg::tresult PLUGIN_API endEdit(Steinberg::Vst::ParamID id) override {
    log.push_back("end " + std::to_string(id));
    return Steinberg::kResultOk;
  }
  Steinberg::tresult PLUGIN_API restartComponent(Steinberg::int32) override {
    return Steinberg::kResultOk;
  }
  OBJ_METHODS(GestureRecorder, FObject)
  DEFINE_INTERFACES
  DEF_INTERFACE(Steinberg::Vst::IComponentHandler)
  END_DEFINE_INTERFACES(FObject)
  REFCOUNT_METHODS(FObject)

  std::vector<std::string> log;
  std::vector<double> values;
};

} // namespace editortest

namespace editortest {

// Opens the controller's view on a window of backing scale 1 and then 2 and, after a few
// frames, checks the frames every bitmap control shows (expectedFrames() gives them, read
// after afterOpen() ran on the rebuilt controls) and that the window shows the draw bitmap;
// the renders are left as <name>_1x.png and <name>_2x.png in folder.
template <class Controller, class ExpectedFrames, class AfterOpen>
void ExpectShownAtBothScales(Controller* controller, IEditor* editor, const std::string& folder,
                             const std::string& name, ExpectedFrames expectedFrames,
                             AfterOpen afterOpen) {
  TurnedClock clock;
  for (double scale : {1.0, 2.0}) {
    SCOPED_TRACE(scale);
    OpenEditor open(controller, scale);
    ASSERT_EQ(open.attached, Steinberg::kResultOk);
    clock.Frames(4);
    ASSERT_EQ(editor->GetDrawScale(), scale);
    ASSERT_EQ(editor->Width(), int(Controller::kEditorWidth * scale));
    afterOpen();
    clock.Frames(2);
    const IBitmap background = dynamic_cast<IBitmapControl*>(editor->GetControl(0))->GetBitmap();
    ExpectFramesShown(editor, expectedFrames(), background, name.c_str());
    ExpectScreenShowsDrawBitmap(open, editor);
    open.Save(folder + "/" + name + "_" + std::to_string(int(scale)) + "x.png");
  }
}

} // namespace editortest
