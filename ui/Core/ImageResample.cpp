#include "ui/Core/ImageResample.h"

#include <cstddef>

namespace vt {

namespace {

// The source pixels one output pixel covers along an axis, with the length
// of each overlap as its weight (the weights of a pixel sum to 1).
struct Span {
  int first = 0;
  std::vector<float> weights;
};

std::vector<Span> Spans(int srcLen, int dstLen) {
  std::vector<Span> spans(static_cast<size_t>(dstLen));
  double step = static_cast<double>(srcLen) / dstLen;
  for (int o = 0; o < dstLen; ++o) {
    double a = o * step;
    double b = (o + 1) * step;
    if (b > srcLen) b = srcLen;
    int first = static_cast<int>(a);
    Span& s = spans[static_cast<size_t>(o)];
    s.first = first;
    for (int i = first; i < srcLen && i < b; ++i) {
      double lo = i > a ? i : a;
      double hi = i + 1 < b ? i + 1 : b;
      if (hi > lo) s.weights.push_back(static_cast<float>((hi - lo) / (b - a)));
      else s.weights.push_back(0.0f);
    }
  }
  return spans;
}

inline uint32_t Pack(const float c[4]) {
  int v[4];
  for (int k = 0; k < 4; ++k) {
    int x = static_cast<int>(c[k] + 0.5f);
    v[k] = x < 0 ? 0 : (x > 255 ? 255 : x);
  }
  // Premultiplied: no colour above its alpha.
  for (int k = 1; k < 4; ++k) {
    if (v[k] > v[0]) v[k] = v[0];
  }
  return static_cast<uint32_t>(v[0]) << 24 | static_cast<uint32_t>(v[1]) << 16 |
         static_cast<uint32_t>(v[2]) << 8 | static_cast<uint32_t>(v[3]);
}

}  // namespace

bool ResampleImage(const uint32_t* src, int srcW, int srcH, int dstW, int dstH, std::vector<uint32_t>& dst) {
  dst.clear();
  auto ok = [](int v) { return v >= 1 && v <= kMaxResampleSide; };
  if (!src || !ok(srcW) || !ok(srcH) || !ok(dstW) || !ok(dstH)) return false;
  std::vector<Span> xs = Spans(srcW, dstW);
  std::vector<Span> ys = Spans(srcH, dstH);
  // Rows first: srcH rows of dstW pixels, four channels (A, R, G, B).
  std::vector<float> rows(static_cast<size_t>(dstW) * srcH * 4);
  for (int y = 0; y < srcH; ++y) {
    const uint32_t* in = src + static_cast<size_t>(y) * srcW;
    float* out = rows.data() + static_cast<size_t>(y) * dstW * 4;
    for (int x = 0; x < dstW; ++x) {
      const Span& s = xs[static_cast<size_t>(x)];
      float acc[4] = {0, 0, 0, 0};
      for (size_t i = 0; i < s.weights.size(); ++i) {
        uint32_t p = in[s.first + static_cast<int>(i)];
        float w = s.weights[i];
        acc[0] += w * static_cast<float>(p >> 24);
        acc[1] += w * static_cast<float>((p >> 16) & 0xFF);
        acc[2] += w * static_cast<float>((p >> 8) & 0xFF);
        acc[3] += w * static_cast<float>(p & 0xFF);
      }
      for (int k = 0; k < 4; ++k) out[x * 4 + k] = acc[k];
    }
  }
  dst.resize(static_cast<size_t>(dstW) * dstH);
  for (int y = 0; y < dstH; ++y) {
    const Span& s = ys[static_cast<size_t>(y)];
    for (int x = 0; x < dstW; ++x) {
      float acc[4] = {0, 0, 0, 0};
      for (size_t i = 0; i < s.weights.size(); ++i) {
        const float* p = rows.data() + (static_cast<size_t>(s.first) + i) * dstW * 4 + static_cast<size_t>(x) * 4;
        float w = s.weights[i];
        for (int k = 0; k < 4; ++k) acc[k] += w * p[k];
      }
      dst[static_cast<size_t>(y) * dstW + x] = Pack(acc);
    }
  }
  return true;
}

}  // namespace vt
