// Runs every per-pixel writer over its whole input domain and writes the resulting pixels to
// stdout, block by block, for check_writers.py to compare with the model in pixmodel.py.
//
// Plain writers are channel-independent: each call carries four (dest, source) byte pairs at one
// weight, so (dest, source, weight) is covered in full with a quarter of the calls. Source-alpha
// writers get two passes: every (alpha byte, source alpha, weight), and every (dest, source) of
// the colour bytes at every effective weight. HSV adjustment mixes the channels, so it runs over
// every destination colour and every source colour with the other side varied by a hash.

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "raster/PIX_Combine.h"

namespace {

// Weights 0-256 and a few outside the opacity range, whose arithmetic must still be exact.
std::vector<int> Weights() {
  std::vector<int> w;
  for (int i = 0; i <= 256; ++i)
    w.push_back(i);
  for (int extra : {-16384, -256, -1, 257, 300, 512, 1024, 16384})
    w.push_back(extra);
  return w;
}

uint32_t Hash(uint32_t i) {
  uint32_t h = i * 2654435761u;
  return h ^ (h >> 16);
}

class Output {
public:
  void put(const unsigned char* p) {
    buffer.insert(buffer.end(), p, p + 4);
    if (buffer.size() >= (1u << 20))
      flush();
  }
  void flush() {
    fwrite(buffer.data(), 1, buffer.size(), stdout);
    buffer.clear();
  }
  ~Output() { flush(); }

private:
  std::vector<unsigned char> buffer;
};

PIX_PixelWriter PlainByName(const std::string& n) {
  if (n == "copy")
    return PIX_PixelCopy;
  if (n == "blend")
    return PIX_PixelBlend;
  if (n == "add")
    return PIX_PixelAdd;
  if (n == "dodge")
    return PIX_PixelDodge;
  if (n == "multiply")
    return PIX_PixelMultiply;
  if (n == "overlay")
    return PIX_PixelOverlay;
  if (n == "blendclamped")
    return PIX_PixelBlendClamped;
  if (n == "multiplyclamped")
    return PIX_PixelMultiplyClamped;
  return nullptr;
}

PIX_PixelWriter SourceAlphaByName(const std::string& n) {
  if (n == "copy")
    return PIX_PixelCopySourceAlpha;
  if (n == "blend")
    return PIX_PixelBlendSourceAlpha;
  if (n == "add")
    return PIX_PixelAddSourceAlpha;
  if (n == "dodge")
    return PIX_PixelDodgeSourceAlpha;
  if (n == "multiply")
    return PIX_PixelMultiplySourceAlpha;
  if (n == "overlay")
    return PIX_PixelOverlaySourceAlpha;
  if (n == "hsv")
    return PIX_PixelHSVAdjustSourceAlpha;
  return nullptr;
}

// Dest bytes (A, R, G, B) = (4j .. 4j + 3); source (r, g, b, a) = (s ^ 0x55, 255 - s, s + 85, s).
void PlainPass(PIX_PixelWriter writer, Output& out) {
  for (int w : Weights())
    for (int s = 0; s < 256; ++s)
      for (int j = 0; j < 64; ++j) {
        unsigned char p[4] = {(unsigned char)(4 * j), (unsigned char)(4 * j + 1),
                              (unsigned char)(4 * j + 2), (unsigned char)(4 * j + 3)};
        writer(p, s ^ 0x55, 255 - s, (s + 85) & 255, s, w);
        out.put(p);
      }
}

// Every (alpha byte x, source alpha sa, weight w); the colour bytes ride along with values
// derived from them.
void SourceAlphaBytePass(PIX_PixelWriter writer, Output& out) {
  // The full-weight copy takes no weight: one weight covers it.
  const std::vector<int> weights =
      writer == PIX_PixelCopySourceAlpha ? std::vector<int>{256} : Weights();
  for (int w : weights)
    for (int sa = 0; sa < 256; ++sa)
      for (int x = 0; x < 256; ++x) {
        unsigned char p[4] = {(unsigned char)x, (unsigned char)(x ^ 0xA5), (unsigned char)(255 - x),
                              (unsigned char)((x * 7 + sa) & 255)};
        writer(p, (x * 3 + w) & 255, sa ^ 0x3C, (x + sa) & 255, sa, w);
        out.put(p);
      }
}

// Every colour (dest, source) at every effective weight e = (sa + 1) w / 256 from 0 to 256,
// reached through the pairs (sa, w) = (1, 1), (1, 128) and (e - 1, 256).
void SourceAlphaColourPass(PIX_PixelWriter writer, Output& out) {
  for (int e = 0; e <= 256; ++e) {
    const int sa = e == 0 ? 1 : (e == 1 ? 1 : e - 1);
    const int w = e == 0 ? 1 : (e == 1 ? 128 : 256);
    for (int s = 0; s < 256; ++s)
      for (int j = 0; j < 86; ++j) {
        unsigned char p[4] = {(unsigned char)j, (unsigned char)(3 * j),
                              (unsigned char)(3 * j + 1 > 255 ? 255 : 3 * j + 1),
                              (unsigned char)(3 * j + 2 > 255 ? 255 : 3 * j + 2)};
        writer(p, s, s ^ 0x55, 255 - s, sa, w);
        out.put(p);
      }
  }
}

// HSV: every destination colour against the neutral source (128, 128, 128) at full weight.
void HsvNeutralPass(Output& out) {
  for (uint32_t c = 0; c < (1u << 24); ++c) {
    unsigned char p[4] = {(unsigned char)(c * 13), (unsigned char)c, (unsigned char)(c >> 8),
                          (unsigned char)(c >> 16)};
    PIX_HSVAdjustPixel(p, 128, 128, 128, (int)(c & 255), 256);
    out.put(p);
  }
}

// HSV: every destination colour against hashed sources and weights.
void HsvDestPass(PIX_PixelWriter writer, Output& out) {
  const std::vector<int> weights = Weights();
  for (uint32_t c = 0; c < (1u << 24); ++c) {
    const uint32_t h = Hash(c);
    unsigned char p[4] = {(unsigned char)(h >> 24), (unsigned char)c, (unsigned char)(c >> 8),
                          (unsigned char)(c >> 16)};
    writer(p, (int)(h & 255), (int)((h >> 8) & 255), (int)((h >> 16) & 255), (int)(h >> 24),
           weights[(h >> 4) % weights.size()]);
    out.put(p);
  }
}

// HSV: every source colour against hashed destinations and weights.
void HsvSourcePass(Output& out) {
  const std::vector<int> weights = Weights();
  for (uint32_t c = 0; c < (1u << 24); ++c) {
    const uint32_t h = Hash(c);
    unsigned char p[4] = {(unsigned char)(h >> 24), (unsigned char)h, (unsigned char)(h >> 8),
                          (unsigned char)(h >> 16)};
    PIX_HSVAdjustPixel(p, (int)(c & 255), (int)((c >> 8) & 255), (int)(c >> 16),
                       (int)((h >> 3) & 255), weights[(h >> 4) % weights.size()]);
    out.put(p);
  }
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: writer_dump plain|sabyte|sacolour|hsv NAME\n");
    return 2;
  }
  const std::string pass = argv[1], name = argv[2];
  Output out;
  if (pass == "plain" && PlainByName(name)) {
    PlainPass(PlainByName(name), out);
  } else if (pass == "sabyte" && SourceAlphaByName(name)) {
    SourceAlphaBytePass(SourceAlphaByName(name), out);
  } else if (pass == "sacolour" && SourceAlphaByName(name)) {
    SourceAlphaColourPass(SourceAlphaByName(name), out);
  } else if (pass == "hsv" && name == "neutral") {
    HsvNeutralPass(out);
  } else if (pass == "hsv" && name == "dest") {
    HsvDestPass(PIX_HSVAdjustPixel, out);
  } else if (pass == "hsv" && name == "source") {
    HsvSourcePass(out);
  } else if (pass == "hsv" && name == "sourcealpha") {
    HsvDestPass(PIX_PixelHSVAdjustSourceAlpha, out);
  } else {
    fprintf(stderr, "unknown pass %s %s\n", argv[1], argv[2]);
    return 2;
  }
  return 0;
}
