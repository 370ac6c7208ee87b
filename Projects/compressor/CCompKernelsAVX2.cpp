// The compressor's vector kernels on 256-bit AVX2 vectors. This file alone is compiled for AVX2;
// nothing in it runs before CCompAVX2Kernels (compiled for the baseline) has found AVX2 on the
// processor.
#define CCOMP_VECTOR_BYTES 32
#include "Projects/compressor/CCompKernelsVector.h"

const CCompKernels& CCompAVX2KernelTable() {
  static const CCompKernels kernels = {"avx2", Curve, Gain, MeterPeak};
  return kernels;
}
