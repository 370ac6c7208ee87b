// The PNG loader against files of every format written by an independent writer
// (make_pngs.py), and against truncated, corrupt and oversized input.
#include <gtest/gtest.h>

#include <dirent.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <zlib.h>

#include "raster/PIX_MemBitmap.h"
#include "raster/png/PIX_ImageLoader.h"
#include "raster/png/PIX_PNG.h"

namespace {

const std::string kCases = ORVANE_PNG_CASES;

std::vector<uint8_t> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const std::string& path, const uint8_t* data, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

struct Cases {
  int width = 0, height = 0;
  std::vector<std::string> names;
  Cases() {
    std::ifstream in(kCases + "/cases.txt");
    in >> width >> height;
    std::string name;
    while (in >> name)
      names.push_back(name);
  }
};

int openFileCount() {
  int n = 0;
  if (DIR* d = opendir("/proc/self/fd")) {
    while (readdir(d))
      ++n;
    closedir(d);
  }
  return n;
}

// Compares a bitmap's pixels, as bytes in memory, with the expected A, R, G, B bytes.
::testing::AssertionResult samePixels(PIX_IBitmap* bitmap, const std::vector<uint8_t>& expected,
                                      int width, int height) {
  if (!bitmap)
    return ::testing::AssertionFailure() << "no bitmap";
  if (bitmap->getWidth() != width || bitmap->getHeight() != height)
    return ::testing::AssertionFailure()
           << "size " << bitmap->getWidth() << "x" << bitmap->getHeight();
  for (int y = 0; y < height; ++y) {
    int row = bitmap->isFlipped() ? height - 1 - y : y;
    const auto* p =
        reinterpret_cast<const uint8_t*>(bitmap->getBits() + ptrdiff_t(row) * bitmap->getRowSpan());
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < 4; ++c) {
        uint8_t want = expected[(size_t(y) * width + x) * 4 + c];
        if (p[x * 4 + c] != want)
          return ::testing::AssertionFailure() << "pixel " << x << "," << y << " byte " << c << ": "
                                               << int(p[x * 4 + c]) << " instead of " << int(want);
      }
  }
  return ::testing::AssertionSuccess();
}

// A bitmap stored bottom-up, to check the row order of the loader.
class FlippedBitmap : public PIX_IBitmap {
public:
  PIX_Pixel* getBits() override { return pixels.empty() ? nullptr : pixels.data(); }
  int getWidth() override { return width; }
  int getHeight() override { return height; }
  int getRowSpan() override { return width + 3; }
  bool isFlipped() override { return true; }
  bool resize(int w, int h) override {
    if (!acceptResize)
      return false;
    width = w, height = h;
    pixels.assign(size_t(w + 3) * h, 0);
    return true;
  }
  DrawingContext* getDC() override { return nullptr; }
  intptr_t extensionCall(int, void*) override { return 0; }

  bool acceptResize = true;
  int width = 0, height = 0;
  std::vector<PIX_Pixel> pixels;
};

// The offset just past the last IDAT chunk: a file cut anywhere before it cannot decode.
size_t endOfImageData(const std::vector<uint8_t>& png) {
  size_t at = 8, end = 0;
  while (at + 12 <= png.size()) {
    uint32_t length = uint32_t(png[at]) << 24 | uint32_t(png[at + 1]) << 16 |
                      uint32_t(png[at + 2]) << 8 | png[at + 3];
    if (memcmp(&png[at + 4], "IDAT", 4) == 0)
      end = at + 12 + length;
    at += 12 + length;
  }
  return end;
}

std::vector<uint8_t> chunk(const char* type, const std::vector<uint8_t>& data) {
  std::vector<uint8_t> out;
  uint32_t n = static_cast<uint32_t>(data.size());
  for (int s = 24; s >= 0; s -= 8)
    out.push_back(uint8_t(n >> s));
  out.reserve(12 + data.size());
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<uint8_t>(type[i]));
  for (uint8_t b : data)
    out.push_back(b);
  uLong crc = crc32(0, reinterpret_cast<const Bytef*>(out.data() + 4), uInt(data.size() + 4));
  for (int s = 24; s >= 0; s -= 8)
    out.push_back(uint8_t(crc >> s));
  return out;
}

// A PNG with a well-formed header of the given size and a few bytes of image data.
std::vector<uint8_t> pngWithHeader(uint32_t width, uint32_t height) {
  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> ihdr;
  for (uint32_t v : {width, height})
    for (int s = 24; s >= 0; s -= 8)
      ihdr.push_back(uint8_t(v >> s));
  ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});
  std::vector<uint8_t> raw(64, 0);
  uLongf size = compressBound(raw.size());
  std::vector<uint8_t> z(size);
  compress(z.data(), &size, raw.data(), raw.size());
  z.resize(size);
  for (auto& part : {chunk("IHDR", ihdr), chunk("IDAT", z), chunk("IEND", {})})
    png.insert(png.end(), part.begin(), part.end());
  return png;
}

class PngLoader : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_FALSE(cases.names.empty()) << "no test files in " << kCases;
    files = openFileCount();
    ::testing::internal::CaptureStderr();
  }
  void TearDown() override {
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(openFileCount(), files);
  }
  std::string pathOf(const std::string& name) const { return kCases + "/" + name + ".png"; }
  std::vector<uint8_t> expectedOf(const std::string& name) const {
    return readFile(kCases + "/" + name + ".argb");
  }

  Cases cases;
  int files = 0;
};

TEST_F(PngLoader, EveryFormatDecodesToExactPixelWords) {
  EXPECT_EQ(cases.names.size(), 52u); // 5 colour types, their depths, interlace and tRNS
  for (const std::string& name : cases.names) {
    std::vector<uint8_t> expected = expectedOf(name);
    std::unique_ptr<PIX_IBitmap> fromFile(PIX_LoadPNG(pathOf(name).c_str(), nullptr));
    EXPECT_TRUE(samePixels(fromFile.get(), expected, cases.width, cases.height)) << name;
    std::vector<uint8_t> png = readFile(pathOf(name));
    std::unique_ptr<PIX_IBitmap> fromMemory(
        PIX_LoadPNGFromMemory(png.data(), int(png.size()), nullptr));
    EXPECT_TRUE(samePixels(fromMemory.get(), expected, cases.width, cases.height)) << name;
    FlippedBitmap flipped;
    EXPECT_EQ(PIX_LoadPNG(pathOf(name).c_str(), &flipped), &flipped);
    EXPECT_TRUE(samePixels(&flipped, expected, cases.width, cases.height)) << name;
  }
}

TEST_F(PngLoader, MemoryBitmapsHaveAlignedRows) {
  std::unique_ptr<PIX_IBitmap> b(PIX_LoadPNG(pathOf(cases.names[0]).c_str(), nullptr));
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->getRowSpan(), 16); // width 13 rounded to the line alignment 4
  EXPECT_EQ(reinterpret_cast<uintptr_t>(b->getBits()) % 64, 0u);
}

TEST_F(PngLoader, AGivenBitmapIsResizedAndReturned) {
  PIX_MemBitmap given(2, 2, 4);
  const std::string name = "ct6_d8_i0_t0";
  EXPECT_EQ(PIX_LoadPNG(pathOf(name).c_str(), &given), &given);
  EXPECT_TRUE(samePixels(&given, expectedOf(name), cases.width, cases.height));
  FlippedBitmap refusing;
  refusing.acceptResize = false;
  EXPECT_EQ(PIX_LoadPNG(pathOf(name).c_str(), &refusing), nullptr); // size does not match
}

TEST_F(PngLoader, TruncationAtEveryOffsetGivesNull) {
  for (const char* name : {"ct3_d2_i1_t1", "ct6_d16_i0_t0", "ct0_d1_i1_t0"}) {
    std::vector<uint8_t> png = readFile(pathOf(name));
    size_t needed = endOfImageData(png);
    ASSERT_GT(needed, 0u);
    std::vector<uint8_t> expected = expectedOf(name);
    std::string cut = ::testing::TempDir() + "/orvane_cut.png";
    for (size_t length = 0; length < png.size(); ++length) {
      std::unique_ptr<PIX_IBitmap> fromMemory(
          PIX_LoadPNGFromMemory(png.data(), int(length), nullptr));
      writeFile(cut, png.data(), length);
      PIX_MemBitmap given(1, 1, 4);
      PIX_IBitmap* fromFile = PIX_LoadPNG(cut.c_str(), &given);
      if (length < needed) {
        EXPECT_EQ(fromMemory, nullptr) << name << " cut at " << length;
        EXPECT_EQ(fromFile, nullptr) << name << " cut at " << length;
      } else { // NOLINT
        // Only the end chunk is missing: the image is complete.
        EXPECT_TRUE(samePixels(fromMemory.get(), expected, cases.width, cases.height));
        EXPECT_EQ(fromFile, &given);
      }
    }
    unlink(cut.c_str());
  }
}

// Ancillary chunks (tRNS here) with a bad checksum are skipped by design, not refused.
bool inAncillaryChunk(const std::vector<uint8_t>& png, size_t offset) {
  size_t at = 8;
  while (at + 12 <= png.size()) {
    uint32_t length = uint32_t(png[at]) << 24 | uint32_t(png[at + 1]) << 16 |
                      uint32_t(png[at + 2]) << 8 | png[at + 3];
    if (offset >= at && offset < at + 12 + length)
      return (png[at + 4] & 0x20) != 0;
    at += 12 + length;
  }
  return false;
}

TEST_F(PngLoader, EveryFileCutAnywhereBeforeItsImageDataGivesNull) {
  for (const std::string& name : cases.names) {
    std::vector<uint8_t> png = readFile(pathOf(name));
    size_t needed = endOfImageData(png);
    for (size_t length = 0; length < needed; ++length) {
      PIX_MemBitmap given(2, 2, 4);
      ASSERT_EQ(PIX_LoadPNGFromMemory(png.data(), int(length), &given), nullptr)
          << name << " cut at " << length;
    }
  }
}

// Rewrites the checksum of the chunk starting at offset.
void fixChecksum(std::vector<uint8_t>& png, size_t at) {
  uint32_t length = uint32_t(png[at]) << 24 | uint32_t(png[at + 1]) << 16 |
                    uint32_t(png[at + 2]) << 8 | png[at + 3];
  uLong crc = crc32(0, &png[at + 4], uInt(length + 4));
  for (int i = 0; i < 4; ++i)
    png[at + 8 + length + i] = uint8_t(crc >> (24 - 8 * i));
}

size_t chunkAt(const std::vector<uint8_t>& png, const char* type, int which = 0) {
  size_t at = 8;
  while (at + 12 <= png.size()) {
    uint32_t length = uint32_t(png[at]) << 24 | uint32_t(png[at + 1]) << 16 |
                      uint32_t(png[at + 2]) << 8 | png[at + 3];
    if (memcmp(&png[at + 4], type, 4) == 0 && which-- == 0)
      return at;
    at += 12 + length;
  }
  return 0;
}

// Chunks with valid checksums but bad contents: libpng fails while reading the header or,
// for broken image data, in the middle of the rows, after the bitmap and the row table exist.
TEST_F(PngLoader, WellFormedChunksWithBadContentsGiveNull) {
  struct Case {
    const char* file;
    const char* chunk;
    int which;
    size_t offset; // into the chunk data
    uint8_t value;
  };
  const Case cases[] = {
      {"ct6_d8_i0_t0", "IHDR", 0, 8, 3},    // bit depth 3
      {"ct6_d8_i0_t0", "IHDR", 0, 9, 5},    // colour type 5
      {"ct6_d8_i0_t0", "IHDR", 0, 12, 2},   // interlace method 2
      {"ct6_d8_i0_t0", "IHDR", 0, 10, 1},   // compression method 1
      {"ct3_d8_i0_t0", "PLTE", 0, 0, 0},    // fine by itself: the palette shrinks below
      {"ct6_d8_i0_t0", "IDAT", 0, 0, 0x00}, // zlib header broken
      {"ct6_d8_i0_t0", "IDAT", 1, 3, 0xFF}, // deflate data broken mid-image
      {"ct2_d16_i1_t0", "IDAT", 1, 5, 0xA5}, {"ct3_d2_i1_t1", "IDAT", 0, 4, 0xEE},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> png = readFile(pathOf(c.file));
    size_t at = chunkAt(png, c.chunk, c.which);
    ASSERT_GT(at, 0u) << c.file << " " << c.chunk;
    if (std::string(c.chunk) == "PLTE") {
      // A palette of one entry for an image that uses more: a shorter chunk.
      std::vector<uint8_t> shorter(png.begin(), png.begin() + long(at));
      std::vector<uint8_t> entry = chunk("PLTE", {1, 2, 3});
      shorter.insert(shorter.end(), entry.begin(), entry.end());
      uint32_t length = uint32_t(png[at + 2]) << 8 | png[at + 3];
      shorter.insert(shorter.end(), png.begin() + long(at + 12 + length), png.end());
      png = shorter;
    } else {
      png[at + 8 + c.offset] ^= c.value ? c.value : 0xFF;
      fixChecksum(png, at);
    }
    std::unique_ptr<PIX_IBitmap> made(PIX_LoadPNGFromMemory(png.data(), int(png.size()), nullptr));
    PIX_MemBitmap given(2, 2, 4);
    PIX_IBitmap* into = PIX_LoadPNGFromMemory(png.data(), int(png.size()), &given);
    if (std::string(c.chunk) == "PLTE") {
      // libpng takes out-of-range indices as black: the load is valid, never out of bounds.
      continue;
    }
    EXPECT_EQ(made, nullptr) << c.file << " " << c.chunk << "+" << c.offset;
    EXPECT_EQ(into, nullptr) << c.file << " " << c.chunk << "+" << c.offset;
    if (std::string(c.chunk) == "IDAT") {
      // These fail in the rows: the given bitmap was already resized, the row table and a
      // bitmap the loader made were freed on the way out (LeakSanitizer checks that).
      EXPECT_EQ(given.getWidth(), 13) << c.file;
    }
  }
}

TEST_F(PngLoader, CorruptBytesNeverCrashAndBreakTheCriticalChunks) {
  std::vector<uint8_t> png = readFile(pathOf("ct2_d8_i1_t1"));
  size_t needed = endOfImageData(png);
  for (size_t at = 0; at < png.size(); ++at) {
    if (inAncillaryChunk(png, at))
      continue;
    for (uint8_t flip : {0x01, 0x80, 0xFF}) {
      std::vector<uint8_t> bad = png;
      bad[at] ^= flip;
      std::unique_ptr<PIX_IBitmap> b(PIX_LoadPNGFromMemory(bad.data(), int(bad.size()), nullptr));
      // Everything up to the image data is checked by signature or checksum; the end chunk
      // is never read.
      if (at < needed) {
        EXPECT_EQ(b, nullptr) << "byte " << at << " ^ " << int(flip);
      }
    }
  }
}

TEST_F(PngLoader, OversizedHeadersAreRefusedBeforeAnyResize) {
  struct Case {
    uint32_t width, height;
  };
  for (Case c : {Case{40000, 30000}, Case{20000, 20000}, Case{32769, 1}, Case{1, 0x7FFFFFFF},
                 Case{0x80000000u, 2}}) {
    std::vector<uint8_t> png = pngWithHeader(c.width, c.height);
    PIX_MemBitmap given(5, 4, 4);
    EXPECT_EQ(PIX_LoadPNGFromMemory(png.data(), int(png.size()), &given), nullptr)
        << c.width << "x" << c.height;
    EXPECT_EQ(given.getWidth(), 5);
    EXPECT_EQ(given.getHeight(), 4);
    EXPECT_EQ(PIX_LoadPNGFromMemory(png.data(), int(png.size()), nullptr), nullptr);
  }
}

TEST_F(PngLoader, BadArgumentsGiveNull) {
  std::vector<uint8_t> png = readFile(pathOf(cases.names[0]));
  EXPECT_EQ(PIX_LoadPNGFromMemory(png.data(), 7, nullptr), nullptr);
  EXPECT_EQ(PIX_LoadPNGFromMemory(nullptr, 100, nullptr), nullptr);
  EXPECT_EQ(PIX_LoadPNGFromMemory(png.data(), -5, nullptr), nullptr);
  std::vector<uint8_t> badSignature = png;
  badSignature[1] = 'Q';
  EXPECT_EQ(PIX_LoadPNGFromMemory(badSignature.data(), int(png.size()), nullptr), nullptr);
  EXPECT_EQ(PIX_LoadPNG("/nonexistent/knob.png", nullptr), nullptr);
  EXPECT_EQ(PIX_LoadPNG(nullptr, nullptr), nullptr);
  EXPECT_EQ(PIX_LoadPNG(kCases.c_str(), nullptr), nullptr); // a folder
}

TEST_F(PngLoader, LoaderEntryChecksTheExtension) {
  std::string dir = ::testing::TempDir() + "/orvane_ext";
  mkdir(dir.c_str(), 0700);
  std::vector<uint8_t> png = readFile(pathOf("ct6_d8_i0_t0"));
  struct Case {
    const char* name;
    bool loads;
  };
  const Case cases[] = {{"knob.PNG", true}, {"knob.png", true},   {"knob.png.bak", false},
                        {"png", false},     {"knob.pngx", false}, {"knob.jpg", false}};
  for (const Case& c : cases) {
    std::string path = dir + "/" + c.name;
    writeFile(path, png.data(), png.size());
    std::unique_ptr<PIX_IBitmap> b(PIX_PNGLoaderLoad(path.c_str(), true, nullptr));
    EXPECT_EQ(b != nullptr, c.loads) << c.name;
    std::unique_ptr<PIX_IBitmap> unchecked(PIX_PNGLoaderLoad(path.c_str(), false, nullptr));
    EXPECT_NE(unchecked, nullptr) << c.name;
    unlink(path.c_str());
  }
  // The extension is what follows the last '.', '/' or '\'.
  std::string sub = dir + "/dir.png";
  mkdir(sub.c_str(), 0700);
  std::string inner = sub + "/knob";
  writeFile(inner, png.data(), png.size());
  EXPECT_EQ(PIX_PNGLoaderLoad(inner.c_str(), true, nullptr), nullptr);
  unlink(inner.c_str());
  rmdir(sub.c_str());
  // The writing entry answers 0 and leaves no file behind.
  std::string written = dir + "/saved.png";
  PIX_MemBitmap source(2, 2, 4);
  EXPECT_EQ(PIX_PNGLoaderSave(written.c_str(), &source), 0);
  EXPECT_NE(access(written.c_str(), F_OK), 0);
  rmdir(dir.c_str());
  EXPECT_STREQ(PIX_PNGLoaderDescription(), "PNG files (*.PNG)");
  bool listed = false;
  for (PIX_ImageLoader* l = PIX_ImageLoaderList; l; l = l->next)
    listed |= l->load == PIX_PNGLoaderLoad && l->description == PIX_PNGLoaderDescription;
  EXPECT_TRUE(listed);
}

TEST_F(PngLoader, ResourcesComeFromTheMainBundle) {
  EXPECT_EQ(PIX_LoadPNGResource(std::string(401, 'a').c_str(), nullptr), nullptr);
  char exe[PATH_MAX] = {};
  ASSERT_GT(readlink("/proc/self/exe", exe, sizeof exe - 1), 0);
  std::string folder(exe);
  folder.erase(folder.find_last_of('/'));
  std::string resources = folder + "/Contents/Resources";
  mkdir((folder + "/Contents").c_str(), 0700);
  mkdir(resources.c_str(), 0700);
  std::vector<uint8_t> png = readFile(pathOf("ct3_d8_i0_t1"));
  writeFile(resources + "/knob_test.png", png.data(), png.size());
  std::unique_ptr<PIX_IBitmap> b(PIX_LoadPNGResource("knob_test.png", nullptr));
  EXPECT_TRUE(samePixels(b.get(), expectedOf("ct3_d8_i0_t1"), cases.width, cases.height));
  unlink((resources + "/knob_test.png").c_str());
  EXPECT_EQ(PIX_LoadPNGResource("knob_test.png", nullptr), nullptr);
}

} // namespace
