#pragma once
// What the tests of editors opened in the VST 3 test host stand on: the window's pixels as the
// host reads them, the strips as the bundle ships them (its Contents/Resources PNGs, read with
// libpng, not through the toolkit), and checks that a control's rectangle on screen shows the
// strip frame its value selects.

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <string>
#include <vector>

#include "AppKit/NSEvent.h"
#include "FrameRules.h"
#include "RgbaPng.h"
#include "tests/hosts/vst3/OffscreenWindows.h"

namespace editortest {

using OffscreenWindowPtr = orvane::testhost::OffscreenWindow*;

struct Strip;

struct Screen {
  int width = 0, height = 0;
  // The editor's background as the bundle ships it, when the check should cover the pixels
  // where controls are transparent or blend over it.
  const Strip* background = nullptr;
  std::vector<std::uint8_t> rgba;
  const std::uint8_t* at(int x, int y) const { return &rgba[(size_t(y) * width + x) * 4]; }
  void save(const std::string& path) const { guitest::WriteRgbaPng(rgba, width, height, path); }
};

inline Screen ReadScreen(const orvane::testhost::OffscreenWindow& window) {
  Screen s;
  s.rgba = window.rgba(s.width, s.height);
  return s;
}

// A strip of frames stacked top to bottom, straight RGBA.
struct Strip {
  int width = 0, height = 0, frames = 1;
  std::vector<std::uint8_t> rgba;
  int frameHeight() const { return height / frames; }
  int frameTop(int frame) const { return int(double(frame - 1) * height / frames + 0.5); }
  const std::uint8_t* at(int frame, int x, int y) const {
    return &rgba[(size_t(frameTop(frame) + y) * width + x) * 4];
  }
};

// The strip `name` (1x) or `name2x` (2x) from the bundle's resources.
inline Strip LoadStrip(const std::string& bundle, const char* name, int frames) {
  Strip strip;
  strip.frames = frames;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  const std::string path = bundle + "/Contents/Resources/" + name;
  if (!png_image_begin_read_from_file(&image, path.c_str())) {
    ADD_FAILURE() << "cannot read " << path;
    return strip;
  }
  image.format = PNG_FORMAT_RGBA;
  strip.rgba.resize(PNG_IMAGE_SIZE(image));
  png_image_finish_read(&image, nullptr, strip.rgba.data(), 0, nullptr);
  strip.width = int(image.width);
  strip.height = int(image.height);
  return strip;
}

// The bundle's strips, each read once; references stay valid while more are read.
class BundleStrips {
public:
  explicit BundleStrips(std::string bundle) : bundle(std::move(bundle)) {}
  // A bitmap resource (1x and 2x names, frame count) at a drawing scale.
  template <class Resource> const Strip& of(const Resource& r, double scale) {
    const char* name = scale == 2.0 ? r.name2x : r.name1x;
    for (const auto& s : strips)
      if (s.first == name)
        return s.second;
    strips.emplace_back(name, LoadStrip(bundle, name, r.frames));
    return strips.back().second;
  }

private:
  std::string bundle;
  std::deque<std::pair<std::string, Strip>> strips;
};

// A control as the screen should show it: a strip frame with its top left corner at (left, top).
struct ShownFrame {
  const Strip* strip;
  int left, top;
  int frame;
  std::string what;
  int alphaAt(int x, int y) const {
    if (x < left || y < top || x >= left + strip->width || y >= top + strip->frameHeight())
      return 0;
    return strip->at(frame, x - left, y - top)[3];
  }
};

// Whether any control other than shown[i] puts colour at (x, y).
inline bool OthersColour(const std::vector<ShownFrame>& shown, size_t i, int x, int y) {
  for (size_t j = 0; j < shown.size(); ++j)
    if (j != i && shown[j].alphaAt(x, y) != 0)
      return true;
  return false;
}

// Pixels of shown[i] that the screen does not show, and the number compared. Opaque pixels
// (where no later control covers them) must be the strip's exactly. With the background known
// and no other control there, transparent pixels must show the background (one row up, as it is
// attached) and partly transparent ones the strip blended over it, within rounding.
inline int MismatchedPixels(const Screen& screen, const std::vector<ShownFrame>& shown, size_t i,
                            int* compared = nullptr) {
  const ShownFrame& f = shown[i];
  const Strip* bg = screen.background;
  int mismatched = 0, checked = 0;
  for (int y = f.top; y < f.top + f.strip->frameHeight() && y < screen.height; ++y) {
    for (int x = f.left; x < f.left + f.strip->width && x < screen.width; ++x) {
      const std::uint8_t* src = f.strip->at(f.frame, x - f.left, y - f.top);
      const std::uint8_t* got = screen.at(x, y);
      int tolerance = 0;
      std::uint8_t want[3];
      if (src[3] == 255) {
        bool covered = false;
        for (size_t j = i + 1; j < shown.size() && !covered; ++j)
          covered = shown[j].alphaAt(x, y) != 0;
        if (covered)
          continue;
        std::copy(src, src + 3, want);
      } else {
        if (!bg || y + 1 >= bg->height || OthersColour(shown, i, x, y))
          continue;
        const std::uint8_t* under = bg->at(1, x, y + 1);
        for (int c = 0; c < 3; ++c)
          want[c] = std::uint8_t((src[c] * src[3] + under[c] * (255 - src[3]) + 127) / 255);
        tolerance = src[3] == 0 ? 0 : 3;
      }
      ++checked;
      for (int c = 0; c < 3; ++c)
        if (std::abs(int(got[c]) - int(want[c])) > tolerance) {
          ++mismatched;
          break;
        }
    }
  }
  if (compared)
    *compared = checked;
  return mismatched;
}

// Every control shows its frame on screen.
inline void ExpectFramesOnScreen(const Screen& screen, const std::vector<ShownFrame>& shown) {
  for (size_t i = 0; i < shown.size(); ++i) {
    int compared = 0;
    EXPECT_EQ(MismatchedPixels(screen, shown, i, &compared), 0)
        << shown[i].what << " frame " << shown[i].frame;
    EXPECT_GT(compared, 0) << shown[i].what;
  }
}

// The frame of shown[i]'s strip that the screen shows (its own frame ignored): the first frame
// whose pixels all match, 0 when none does.
inline int FrameOnScreen(const Screen& screen, std::vector<ShownFrame> shown, size_t i) {
  for (int frame = 1; frame <= shown[i].strip->frames; ++frame) {
    shown[i].frame = frame;
    if (MismatchedPixels(screen, shown, i) == 0)
      return frame;
  }
  return 0;
}

} // namespace editortest

#include <cmath>
#include <memory>

#include "tests/hosts/vst3/Plugin.h"

namespace editortest {

// A bundle loaded in the test host, both halves connected through recording proxies, active
// at 48 kHz, with the editor opened on the host's off-screen windows.
class HostedEditor {
public:
  static constexpr double kRate = 48000;
  static constexpr int kBlock = 480; // 10 ms: the host clock moves with the audio

  HostedEditor(const char* bundle, const char* className) : bundle(bundle) {
    std::string error;
    module = orvane::testhost::Module::load(bundle, error);
    if (!module) {
      ADD_FAILURE() << error;
      return;
    }
    auto cls = module->findClass(className);
    orvane::testhost::PluginOptions options;
    options.recordMessages = true;
    plugin = orvane::testhost::Plugin::create(*module, cls->cid, error, options);
    if (!plugin) {
      ADD_FAILURE() << error;
      return;
    }
    plugin->activate(kRate, 512);
  }
  ~HostedEditor() { plugin.reset(); }

  // Opens the view at a backing scale and lets a few editor frames pass; null on failure.
  orvane::testhost::OffscreenWindow* Open(double scale) {
    orvane::testhost::offscreen::setBackingScale(scale);
    if (!plugin->openView())
      return nullptr;
    plugin->frame().advance(200);
    return orvane::testhost::offscreen::newestWindow();
  }

  // A sine of `amplitude` at 1 kHz on every input channel for `ms` milliseconds, the host's
  // clock moving with it (the processor's meter timer and the editor's frames run), then a
  // pause without blocks. Answers
  // the RMS of the first output channel over the last half.
  double Play(int ms, double amplitude) {
    const int blocks = ms / 10;
    const auto channels = plugin->buses().audioInputs.at(0).channelCount;
    double sum = 0;
    long counted = 0;
    for (int b = 0; b < blocks; ++b) {
      for (int c = 0; c < channels; ++c) {
        float* in = plugin->input<float>(0, c);
        for (int i = 0; i < kBlock; ++i)
          in[i] = float(amplitude * std::sin(2 * M_PI * 1000.0 * double(phase + i) / kRate));
      }
      phase += kBlock;
      plugin->process(kBlock);
      if (b >= blocks / 2) {
        const float* out = plugin->output<float>(0, 0);
        for (int i = 0; i < kBlock; ++i, ++counted)
          sum += double(out[i]) * out[i];
      }
      plugin->frame().advance(10);
    }
    // Silence in the host: the last readings are sent again and the editor draws them.
    plugin->frame().advance(120);
    return counted ? std::sqrt(sum / counted) : 0.0;
  }

  // The float attribute of the newest message `id` the processor sent the controller.
  double LastSent(const std::string& id, const std::string& attribute) const {
    const auto& messages = plugin->log().messages;
    for (auto m = messages.rbegin(); m != messages.rend(); ++m) {
      if (m->id != id || m->direction != orvane::testhost::RecordedMessage::Direction::ToController)
        continue;
      auto a = m->attributes.find(attribute);
      if (a != m->attributes.end())
        return std::get<double>(a->second);
    }
    ADD_FAILURE() << "no " << id << " with " << attribute;
    return -1.0;
  }

  // The edits of the last gesture on `id`, as a host hands them to the processor: each
  // performed value queued for the next block.
  std::vector<double> PerformedValues(Steinberg::Vst::ParamID id) {
    std::vector<double> values;
    for (const auto& e : plugin->log().edits)
      if (e.kind == orvane::testhost::EditCall::Kind::Perform && e.id == id)
        values.push_back(e.value);
    return values;
  }

  std::string Resource(const char* name) const { return bundle + "/Contents/Resources/" + name; }

  std::string bundle;
  std::unique_ptr<orvane::testhost::Module> module;
  std::unique_ptr<orvane::testhost::Plugin> plugin;
  long phase = 0;
};

// The edit calls in the log as "begin id", "perform id", "end id".
inline std::vector<std::string> GestureOf(const orvane::testhost::HostLog& log) {
  std::vector<std::string> out;
  for (const auto& e : log.edits) {
    const char* kind = e.kind == orvane::testhost::EditCall::Kind::Begin     ? "begin "
                       : e.kind == orvane::testhost::EditCall::Kind::Perform ? "perform "
                                                                             : "end ";
    out.push_back(kind + std::to_string(e.id));
  }
  return out;
}

} // namespace editortest
