// The compressor's vector kernels on 128-bit SSE2 vectors, the x86-64 baseline.
#define CCOMP_VECTOR_BYTES 16
#include "Projects/compressor/CCompKernelsVector.h"

const CCompKernels& CCompSSE2Kernels() {
  static const CCompKernels kernels = {"sse2", Curve, Gain, MeterPeak};
  return kernels;
}
