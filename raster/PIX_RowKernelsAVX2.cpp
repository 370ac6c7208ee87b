// The vector row kernels on 256-bit AVX2 vectors. This file alone is compiled for AVX2; nothing
// in it runs before PIX_AVX2RowKernels (compiled for the baseline) has found AVX2 on the
// processor.
#define PIX_VECTOR_BYTES 32
#include "raster/PIX_RowKernelsVector.h"

const PIX_RowKernels& PIX_AVX2RowKernelTable() {
  static const PIX_RowKernels kernels = {
      "avx2", SourceAlphaFullWeight, SourceAlphaBlend, Blend, BlendToColour, Fill, BilinearCopy,
  };
  return kernels;
}
