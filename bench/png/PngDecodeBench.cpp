// Decoding speed of the PNG loader beside libpng's own simplified API on the same files (RGBA and
// RGB, plain and interlaced), both into a buffer that already exists. The loader decodes with
// libpng itself, so both sides run the same decoder: the difference is the loader's own work
// (its reader set-up and the conversion into PIX pixels), not a race between two decoders. The
// table at the end says so and gives that overhead, not a speed ratio.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <cstdint>
#include <vector>

#include <png.h>

#include "raster/PIX_MemBitmap.h"
#include "raster/png/PIX_PNG.h"
#include "bench/BenchRuns.h"

namespace {

constexpr int kSide = 1024;

// A bitmap-like test image: smooth gradients, hard edges and a little noise, as in artwork.
std::vector<uint8_t> makePng(bool alpha, bool interlaced) {
  std::vector<uint8_t> pixels(size_t(kSide) * kSide * 4);
  uint32_t noise = 12345;
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) {
      noise = noise * 1103515245u + 12345u;
      uint8_t* p = &pixels[(size_t(y) * kSide + x) * 4];
      double r = std::hypot(x - 512.0, y - 512.0);
      p[0] = uint8_t(x / 4 + (noise >> 29));
      p[1] = uint8_t(y / 4);
      p[2] = uint8_t(r < 300 ? 200 : 40 + (noise >> 30));
      p[3] = uint8_t(r < 400 ? 255 : r < 420 ? 128 : 0);
    }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = kSide;
  image.height = kSide;
  image.format = alpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
  if (!alpha) {
    for (size_t i = 0, o = 0; i < pixels.size(); i += 4, o += 3) {
      pixels[o] = pixels[i];
      pixels[o + 1] = pixels[i + 1];
      pixels[o + 2] = pixels[i + 2];
    }
  }
  png_alloc_size_t size = 0;
  png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr);
  std::vector<uint8_t> png(size);
  png_image_write_to_memory(&image, png.data(), &size, 0, pixels.data(), 0, nullptr);
  png.resize(size);
  if (!interlaced)
    return png;
  // Re-encode interlaced with the full API.
  std::vector<uint8_t> out;
  png_structp w = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(w);
  png_set_write_fn(
      w, &out,
      [](png_structp s, png_bytep d, png_size_t n) {
        auto* v = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(s));
        v->insert(v->end(), d, d + n);
      },
      nullptr);
  png_set_IHDR(w, info, kSide, kSide, 8, alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_ADAM7, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_bytep> rows(kSide);
  size_t stride = size_t(kSide) * (alpha ? 4 : 3);
  for (int y = 0; y < kSide; ++y)
    rows[y] = &pixels[y * stride];
  png_write_info(w, info);
  png_write_image(w, rows.data());
  png_write_end(w, info);
  png_destroy_write_struct(&w, &info);
  return out;
}

const std::vector<uint8_t>& file(int kind) {
  static std::vector<uint8_t> files[4] = {makePng(true, false), makePng(false, false),
                                          makePng(true, true), makePng(false, true)};
  return files[kind];
}

const char* kNames[4] = {"rgba", "rgb", "rgba_interlaced", "rgb_interlaced"};

void ourLoader(benchmark::State& state) {
  const std::vector<uint8_t>& png = file(int(state.range(0)));
  PIX_MemBitmap bitmap(kSide, kSide, 4);
  for (auto _ : state) {
    PIX_IBitmap* b = PIX_LoadPNGFromMemory(png.data(), int(png.size()), &bitmap);
    benchmark::DoNotOptimize(b);
  }
  state.SetLabel(kNames[state.range(0)]);
  state.SetItemsProcessed(state.iterations() * kSide * kSide);
}

void libpngSimplified(benchmark::State& state) {
  const std::vector<uint8_t>& png = file(int(state.range(0)));
  std::vector<uint8_t> out(size_t(kSide) * kSide * 4);
  for (auto _ : state) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    png_image_begin_read_from_memory(&image, png.data(), png.size());
    image.format = PNG_FORMAT_ARGB;
    png_image_finish_read(&image, nullptr, out.data(), 0, nullptr);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetLabel(kNames[state.range(0)]);
  state.SetItemsProcessed(state.iterations() * kSide * kSide);
}

BENCHMARK(ourLoader)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(libpngSimplified)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// Prints the usual table, then per file the time of both sides and the loader's overhead on
// the decoder they share.
class OverheadReporter : public benchmark::ConsoleReporter {
public:
  bool ReportContext(const Context& context) override {
    std::printf("Both sides decode with libpng: this measures the PNG loader's own work on top "
                "of the decoder\n(set-up and conversion into PIX pixels), not one decoder against "
                "another.\n");
    return ConsoleReporter::ReportContext(context);
  }
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (!benchruns::StandsForItsBenchmark(run))
        continue;
      const std::string name = run.run_name.str();
      const size_t slash = name.find('/');
      if (slash == std::string::npos)
        continue;
      const std::string file = kNames[std::stoi(name.substr(slash + 1))];
      (name.compare(0, slash, "ourLoader") == 0 ? loader : simplified)[file] =
          run.GetAdjustedCPUTime();
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\nPNG loader over libpng's simplified reader, same decoder (CPU time, the median "
                "when repeated):\n");
    std::printf("%-16s %12s %14s %10s\n", "file", "loader ms", "simplified ms", "overhead");
    for (const auto& [file, t] : loader) {
      const auto s = simplified.find(file);
      if (s == simplified.end())
        continue;
      std::printf("%-16s %12.2f %14.2f %9.1f%%\n", file.c_str(), t, s->second,
                  100.0 * (t - s->second) / s->second);
    }
  }

private:
  std::map<std::string, double> loader, simplified;
};

} // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  OverheadReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
