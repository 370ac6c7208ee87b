#include "x11/X11Blitter.h"

#include "x11/X11Connection.h"

#include <X11/Xutil.h>

#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace orvane::x11 {

namespace {

// An 8-bit channel placed in a visual's mask (of up to 8 bits).
unsigned long Channel(std::uint8_t value, unsigned long mask) {
  if (!mask)
    return 0;
  const int shift = __builtin_ctzl(mask);
  const int bits = std::min(__builtin_popcountl(mask), 8);
  return (static_cast<unsigned long>(value) >> (8 - bits)) << shift;
}

} // namespace

X11Blitter::X11Blitter(X11Connection& connection, Window window)
    : connection(connection), window(window) {
  Display* display = connection.get();
  XWindowAttributes attributes{};
  XGetWindowAttributes(display, window, &attributes);
  visual = attributes.visual;
  depth = attributes.depth;
  gc = XCreateGC(display, window, 0, nullptr);
}

X11Blitter::~X11Blitter() {
  releaseImage();
  if (gc)
    XFreeGC(connection.get(), gc);
}

void X11Blitter::releaseImage() {
  Display* display = connection.get();
  if (shmImage) {
    XShmDetach(display, &segment);
    XSync(display, False);
    XDestroyImage(shmImage);
    shmdt(segment.shmaddr);
    shmImage = nullptr;
    image = nullptr;
    segment = {};
  } else if (image) {
    XDestroyImage(image); // frees the data we allocated with malloc
    image = nullptr;
  }
}

bool X11Blitter::makeSharedImage(int width, int height) {
  Display* display = connection.get();
  XImage* made = XShmCreateImage(display, visual, depth, ZPixmap, nullptr, &segment, width, height);
  if (!made)
    return false;
  segment.shmid = shmget(IPC_PRIVATE, size_t(made->bytes_per_line) * height, IPC_CREAT | 0600);
  if (segment.shmid < 0) {
    XDestroyImage(made);
    return false;
  }
  segment.shmaddr = made->data = static_cast<char*>(shmat(segment.shmid, nullptr, 0));
  segment.readOnly = False;
  const bool attached = segment.shmaddr != reinterpret_cast<char*>(-1) &&
                        connection.checked([&] { XShmAttach(display, &segment); });
  // Marked for removal now: it goes once both sides have detached, even if we crash.
  shmctl(segment.shmid, IPC_RMID, nullptr);
  if (!attached) {
    if (segment.shmaddr != reinterpret_cast<char*>(-1))
      shmdt(segment.shmaddr);
    made->data = nullptr;
    XDestroyImage(made);
    segment = {};
    return false;
  }
  shmImage = image = made;
  return true;
}

bool X11Blitter::makePlainImage(int width, int height) {
  image = XCreateImage(connection.get(), visual, depth, ZPixmap, 0, nullptr, width, height, 32, 0);
  if (!image)
    return false;
  image->data = static_cast<char*>(std::malloc(size_t(image->bytes_per_line) * height));
  if (!image->data) {
    XDestroyImage(image);
    image = nullptr;
    return false;
  }
  return true;
}

bool X11Blitter::ensureImage(int width, int height) {
  if (image && image->width == width && image->height == height)
    return true;
  releaseImage();
  if (connection.hasSharedMemory() && !sharedMemoryFailed) {
    if (makeSharedImage(width, height))
      return true;
    // A remote server, or one that refuses our segment: plain requests from now on.
    sharedMemoryFailed = true;
  }
  return makePlainImage(width, height);
}

void X11Blitter::convert(const Source& source, int x, int y, int w, int h) {
  // The usual server format (24-bit TrueColor in 32-bit words, red in the high byte, words in
  // the byte order of this machine): one byte swap per pixel. Anything else pixel by pixel.
  const bool usual = image->bits_per_pixel == 32 && image->red_mask == 0xFF0000 &&
                     image->green_mask == 0xFF00 && image->blue_mask == 0xFF &&
                     image->byte_order == LSBFirst;
  for (int row = y; row < y + h; ++row) {
    const auto* in =
        reinterpret_cast<const std::uint32_t*>(source.data + size_t(row) * source.bytesPerRow) + x;
    if (usual) {
      auto* out =
          reinterpret_cast<std::uint32_t*>(image->data + size_t(row) * image->bytes_per_line) + x;
      for (int i = 0; i < w; ++i)
        out[i] = __builtin_bswap32(in[i]);
      continue;
    }
    for (int i = 0; i < w; ++i) {
      const auto* bytes = reinterpret_cast<const std::uint8_t*>(in + i);
      XPutPixel(image, x + i, row,
                Channel(bytes[1], image->red_mask) | Channel(bytes[2], image->green_mask) |
                    Channel(bytes[3], image->blue_mask));
    }
  }
}

long X11Blitter::put(const Source& source, int x, int y, int w, int h) {
  if (!source.data || !ensureImage(source.width, source.height))
    return 0;
  const int left = std::max(x, 0), top = std::max(y, 0);
  const int right = std::min(x + w, source.width), bottom = std::min(y + h, source.height);
  if (right <= left || bottom <= top)
    return 0;
  convert(source, left, top, right - left, bottom - top);
  Display* display = connection.get();
  if (shmImage) {
    XShmPutImage(display, window, gc, shmImage, left, top, left, top, right - left, bottom - top,
                 False);
    // The server reads the segment after the request: wait for it before the next change.
    XSync(display, False);
  } else {
    XPutImage(display, window, gc, image, left, top, left, top, right - left, bottom - top);
    XFlush(display);
  }
  return long(right - left) * (bottom - top);
}

} // namespace orvane::x11
