// The vector row kernels on 256-bit AVX2 vectors. This file alone is compiled for AVX2; its
// kernels run only when the processor reports AVX2.
#define PIX_VECTOR_BYTES 32
#include "raster/PIX_RowKernelsVector.h"

const PIX_RowKernels* PIX_AVX2RowKernels() {
  static const PIX_RowKernels kernels = {
      "avx2", SourceAlphaFullWeight, SourceAlphaBlend, Blend, BlendToColour, Fill, BilinearCopy,
  };
  return __builtin_cpu_supports("avx2") ? &kernels : nullptr;
}
