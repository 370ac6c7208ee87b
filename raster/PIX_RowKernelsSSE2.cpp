// The vector row kernels on 128-bit SSE2 vectors, the x86-64 baseline.
#define PIX_VECTOR_BYTES 16
#include "raster/PIX_RowKernelsVector.h"

const PIX_RowKernels& PIX_SSE2RowKernels() {
  static const PIX_RowKernels kernels = {
      "sse2", SourceAlphaFullWeight, SourceAlphaBlend, Blend, BlendToColour, Fill, BilinearCopy,
  };
  return kernels;
}
