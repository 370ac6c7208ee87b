// Putting editor frames on the X server, and what an open editor costs while nothing changes.
// - a full 2x frame of the editors (1840 x 630) and a single knob's area (70 x 70 at 1x),
//   through MIT-SHM and through plain XPutImage, each until the server has it;
// - the EQ editor open in the X11 test host with nothing changing: the process's CPU time per
//   second of wall time (the goal: none measurable; nothing is drawn without a dirty area).
// Runs on $DISPLAY, or on an Xvfb of its own (tests/hosts/x11/xvfb.sh) when there is none.
#include <benchmark/benchmark.h>

#include "tests/hosts/vst3/Plugin.h"
#include "tests/hosts/x11/EmbeddedView.h"
#include "tests/hosts/x11/HostWindow.h"
#include "x11/X11Blitter.h"
#include "x11/X11Connection.h"

#include <X11/Xlib.h>
#include <sys/resource.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace orvane;

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void PutFrame(benchmark::State& state, int width, int height, bool sharedMemory) {
  if (!sharedMemory)
    setenv("ORVANE_X11_NO_SHM", "1", 1);
  std::string error;
  auto host = x11host::HostWindow::create(1840, 630, error);
  if (!host) {
    state.SkipWithError(error.c_str());
    return;
  }
  x11::X11Connection connection;
  x11::X11Blitter blitter(connection, host->window());
  std::vector<std::uint8_t> pixels(size_t(1840) * 630 * 4);
  for (size_t i = 0; i < pixels.size(); ++i)
    pixels[i] = std::uint8_t(i * 7);
  const x11::X11Blitter::Source source{pixels.data(), 1840, 630, 1840 * 4};
  long sent = 0;
  for (auto _ : state) {
    sent += blitter.put(source, 0, 0, width, height);
    XSync(connection.get(), False); // until the server has drawn it
  }
  unsetenv("ORVANE_X11_NO_SHM");
  state.counters["shm"] = blitter.usesSharedMemory();
  state.counters["pixels"] = double(sent) / state.iterations();
  state.counters["budget_ms"] = 40;
}

void IdleEditor(benchmark::State& state) {
  std::string error;
  auto module = testhost::Module::load(ORVANE_EQ_BUNDLE, error);
  auto cls = module ? module->findClass(Steinberg::Vst::kVstAudioEffectClass) : std::nullopt;
  auto plugin = cls ? testhost::Plugin::create(*module, cls->cid, error) : nullptr;
  auto editor = plugin ? x11host::EmbeddedView::open(plugin->controller(), error) : nullptr;
  if (!editor) {
    state.SkipWithError(error.c_str());
    return;
  }
  editor->settle(500); // first frames drawn
  if (state.range(0) == 0)
    editor->close(); // the host's loop alone, for comparison
  double cpu = 0;
  for (auto _ : state) {
    const double before = CpuSeconds();
    editor->settle(1000);
    cpu += CpuSeconds() - before;
  }
  state.counters["cpu_ms_per_s"] = cpu * 1000.0 / state.iterations();
  editor->close();
}

BENCHMARK_CAPTURE(PutFrame, full_2x_shm, 1840, 630, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PutFrame, full_2x_plain, 1840, 630, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PutFrame, knob_shm, 70, 70, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(PutFrame, knob_plain, 70, 70, false)->Unit(benchmark::kMicrosecond);
// Argument 1: the editor open; 0: closed again (the test host's own loop).
BENCHMARK(IdleEditor)->Arg(1)->Arg(0)->Iterations(3)->Unit(benchmark::kMillisecond);

// An X server for the run: $DISPLAY, else an Xvfb of our own for the length of the run.
class OwnServer {
public:
  OwnServer() {
    if (std::getenv("DISPLAY"))
      return;
    state = std::string(ORVANE_BENCH_OUTPUT) + "/x11-server/state";
    setenv("ORVANE_X11_STATE", state.c_str(), 1);
    started = std::system((std::string(ORVANE_XVFB_SCRIPT) + " start " + state).c_str()) == 0;
  }
  ~OwnServer() {
    if (started)
      std::system((std::string(ORVANE_XVFB_SCRIPT) + " stop " + state).c_str());
  }

private:
  std::string state;
  bool started = false;
};

} // namespace

int main(int argc, char** argv) {
  OwnServer server;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
