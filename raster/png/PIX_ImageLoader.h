// The list of image loaders: each record loads one file type into a bitmap. Nothing in the
// program walks the list; it serves a routine that loads any known image type.
#pragma once

class PIX_IBitmap;

struct PIX_ImageLoader {
  // (file name, check-extension flag, bitmap or null): the bitmap, or null.
  PIX_IBitmap* (*load)(const char* fileName, bool checkExtension, PIX_IBitmap* bitmap);
  // The file-type text, "PNG files (*.PNG)" for example.
  const char* (*description)();
  PIX_ImageLoader* next;
};

// Head of the process-wide list; loaders put themselves on its front when the program loads.
extern PIX_ImageLoader* PIX_ImageLoaderList;
