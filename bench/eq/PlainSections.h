// The floor the equaliser's stages are measured against: the same direct-form-I sections with
// fixed coefficients, in plain loops with the state in locals, one stage after the other over
// the block. On doubles it filters one channel; on Pairs both channels of a stereo block at once,
// one per vector lane (packed SSE2), which is the floor of a two-channel cascade evaluated in the
// stages' order of arithmetic.
#pragma once

#include "Projects/eq/CFilter.h"

#include <algorithm>

typedef double PlainPair __attribute__((vector_size(16)));

// One channel's sample, or both channels' samples side by side.
inline double LaneValues(double left, double /*right*/, double) {
  return left;
}
inline PlainPair LaneValues(double left, double right, PlainPair) {
  return PlainPair{left, right};
}

template <class T> struct PlainSections {
  int order;
  T b0, b1, b2, a1, a2; // section 1
  T c0, c1, c2, d1, d2; // section 2
  T k;                  // order 4: output = x + k * section 2
  T x1{}, x2{}, y1{}, y2{}, u1{}, u2{}, z1{}, z2{};

  // The settled coefficients of one stage per lane (both lanes the same stage for doubles).
  PlainSections(const CFilter& left, const CFilter& right) : order(left.GetOrder()) {
    double ln[7], ld[6], rn[7], rd[6];
    left.GetCoefficients(ln, ld);
    right.GetCoefficients(rn, rd);
    auto lanes = [](double l, double r) { return LaneValues(l, r, T{}); };
    b0 = lanes(ln[0], rn[0]), b1 = lanes(ln[1], rn[1]), b2 = lanes(ln[2], rn[2]);
    a1 = lanes(ld[1], rd[1]), a2 = lanes(ld[2], rd[2]);
    c0 = lanes(ln[3], rn[3]), c1 = lanes(ln[4], rn[4]), c2 = lanes(ln[5], rn[5]);
    d1 = lanes(ld[4], rd[4]), d2 = lanes(ld[5], rd[5]);
    k = lanes(ln[6], rn[6]);
  }
  explicit PlainSections(const CFilter& stage) : PlainSections(stage, stage) {}

  void Process(double* x, int n) {
    Run(
        n, [x](int i) { return x[i]; }, [x](int i, double v) { x[i] = v; });
  }
  void Process(double* l, double* r, int n) {
    Run(
        n,
        [l, r](int i) {
          return PlainPair{l[i], r[i]};
        },
        [l, r](int i, PlainPair v) {
          l[i] = v[0];
          r[i] = v[1];
        });
  }

private:
  // One loop per order, so that the loop body is nothing but the sections.
  template <class Load, class Store> void Run(int n, Load load, Store store) {
    T X1 = x1, X2 = x2, Y1 = y1, Y2 = y2, U1 = u1, U2 = u2, Z1 = z1, Z2 = z2;
    if (order == 2) {
      for (int i = 0; i < n; ++i) {
        const T in = load(i);
        const T y = b0 * in + b1 * X1 + b2 * X2 - a1 * Y1 - a2 * Y2;
        X2 = X1, X1 = in, Y2 = Y1, Y1 = y;
        store(i, y);
      }
    } else if (order == 3) {
      for (int i = 0; i < n; ++i) {
        const T in = load(i);
        const T y = b0 * in + b1 * X1 + b2 * X2 - a1 * Y1 - a2 * Y2;
        X2 = X1, X1 = in, Y2 = Y1, Y1 = y;
        const T z = c0 * y + c1 * U1 - d1 * Z1;
        U1 = y, Z1 = z;
        store(i, z);
      }
    } else {
      for (int i = 0; i < n; ++i) {
        const T in = load(i);
        const T y = b0 * in + b1 * X1 + b2 * X2 - a1 * Y1 - a2 * Y2;
        X2 = X1, X1 = in, Y2 = Y1, Y1 = y;
        const T z = c0 * y + c1 * U1 + c2 * U2 - d1 * Z1 - d2 * Z2;
        U2 = U1, U1 = y, Z2 = Z1, Z1 = z;
        store(i, in + k * z);
      }
    }
    x1 = X1, x2 = X2, y1 = Y1, y2 = Y2, u1 = U1, u2 = U2, z1 = Z1, z2 = Z2;
  }
};
