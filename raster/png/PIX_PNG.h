// Decodes PNG files with libpng straight into the rows of a bitmap, as PIX_Pixel words (bytes
// A, R, G, B, not premultiplied). Every entry returns the bitmap, or null on any failure; a
// bitmap the call made itself is deleted then, a given one is never deleted (it may have been
// resized). Images wider or taller than PIX_PNGMaxSide, or of more than PIX_PNGMaxBytes of
// pixels, are refused. Nothing is printed.
#pragma once

#include <cstdint>

class PIX_IBitmap;

constexpr int PIX_PNGMaxSide = 32768;
constexpr int64_t PIX_PNGMaxBytes = int64_t(1) << 28;

PIX_IBitmap* PIX_LoadPNG(const char* path, PIX_IBitmap* bitmap);
PIX_IBitmap* PIX_LoadPNGFromMemory(const void* data, int length, PIX_IBitmap* bitmap);
// The file of that name in the main bundle's Contents/Resources folder.
PIX_IBitmap* PIX_LoadPNGResource(const char* name, PIX_IBitmap* bitmap);

// The image-loader entry: with check, only names ending in ".png" (any case) are tried.
PIX_IBitmap* PIX_PNGLoaderLoad(const char* name, bool check, PIX_IBitmap* bitmap);
const char* PIX_PNGLoaderDescription();
// The writing counterpart a generic image routine may look for: PNG is read only here, so it
// writes nothing and answers 0.
int PIX_PNGLoaderSave(const char* name, const PIX_IBitmap* bitmap);
