// Puts areas of a window's backing store on the X server: the pixels of the area are
// converted into an image of the server's format and sent with XShmPutImage when the server
// shares memory with us (a local server), else with XPutImage. Only the area is converted
// and sent.
#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include <cstdint>

namespace orvane::x11 {

class X11Connection;

class X11Blitter {
public:
  // Source pixels: 32-bit words whose bytes lie in memory as X, R, G, B, rows top down.
  struct Source {
    const std::uint8_t* data = nullptr;
    int width = 0, height = 0;
    int bytesPerRow = 0;
  };

  X11Blitter(X11Connection& connection, Window window);
  ~X11Blitter();
  X11Blitter(const X11Blitter&) = delete;
  X11Blitter& operator=(const X11Blitter&) = delete;

  // Shows the area (x, y, w, h) of source at the same place in the window (clipped to both).
  // Returns the number of pixels sent.
  long put(const Source& source, int x, int y, int w, int h);
  bool usesSharedMemory() const { return shmImage != nullptr; }

private:
  bool ensureImage(int width, int height);
  void releaseImage();
  bool makeSharedImage(int width, int height);
  bool makePlainImage(int width, int height);
  void convert(const Source& source, int x, int y, int w, int h);

  X11Connection& connection;
  Window window;
  GC gc = nullptr;
  Visual* visual = nullptr;
  int depth = 0;
  XImage* image = nullptr;
  XImage* shmImage = nullptr; // image when it lives in shared memory
  XShmSegmentInfo segment{};
  bool sharedMemoryFailed = false;
};

} // namespace orvane::x11
