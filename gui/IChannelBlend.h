#pragma once
// How a bitmap or shape is combined with what lies below: a method and an opacity.

#include "raster/PIX_Pixel.h"

struct IChannelBlend {
  enum EBlendMethod : int {
    kBlendNone = 0,    // copy weighted by the source alpha (the default)
    kBlendClobber = 1, // opaque copy, source alpha ignored
    kBlendAdd = 2,     // add weighted by the source alpha
    kBlendColorDodge = 3
  };

  int mMethod = kBlendNone;
  float mWeight = 1.0f; // 0.0-1.0

  IChannelBlend() = default;
  IChannelBlend(int method, float weight = 1.0f) : mMethod(method), mWeight(weight) {}
};

// The raster combine mode of a blend; no blend means the default method. Unknown methods
// behave as the default.
inline int IBlendToMode(const IChannelBlend* blend) {
  switch (blend ? blend->mMethod : IChannelBlend::kBlendNone) {
  case IChannelBlend::kBlendClobber:
    return PIX_COMBINE_COPY;
  case IChannelBlend::kBlendAdd:
    return PIX_COMBINE_ADD | PIX_COMBINE_SOURCEALPHA;
  case IChannelBlend::kBlendColorDodge:
    return PIX_COMBINE_DODGE | PIX_COMBINE_SOURCEALPHA;
  default:
    return PIX_COMBINE_COPY | PIX_COMBINE_SOURCEALPHA;
  }
}

// The opacity of a blend; full without one.
inline float IBlendToWeight(const IChannelBlend* blend) {
  return blend ? blend->mWeight : 1.0f;
}
