#include "gui/monitor/luma.h"

#include <algorithm>

namespace velvasto::gui {
namespace {

constexpr int kHlsMax = 240;
constexpr int kRgbMax = 255;
// The hue of a grey, which has none.
constexpr int kUndefinedHue = kHlsMax * 2 / 3;

struct Hls {
  int hue;
  int luminance;
  int saturation;
};

Hls ToHls(Rgb colour) {
  const int r = colour.r;
  const int g = colour.g;
  const int b = colour.b;
  const int high = std::max({r, g, b});
  const int low = std::min({r, g, b});
  const int sum = high + low;
  const int spread = high - low;
  Hls hls{kUndefinedHue, (sum * kHlsMax + kRgbMax) / (2 * kRgbMax), 0};
  if (spread == 0) return hls;
  if (hls.luminance <= kHlsMax / 2) {
    hls.saturation = (spread * kHlsMax + sum / 2) / sum;
  } else {
    hls.saturation = (spread * kHlsMax + (2 * kRgbMax - sum) / 2) / (2 * kRgbMax - sum);
  }
  // How far each channel stands below the highest, in sixths of the hue circle.
  const auto delta = [&](int channel) { return ((high - channel) * (kHlsMax / 6) + spread / 2) / spread; };
  if (r == high) {
    hls.hue = delta(b) - delta(g);
  } else if (g == high) {
    hls.hue = kHlsMax / 3 + delta(r) - delta(b);
  } else {
    hls.hue = 2 * kHlsMax / 3 + delta(g) - delta(r);
  }
  if (hls.hue < 0) hls.hue += kHlsMax;
  if (hls.hue > kHlsMax) hls.hue -= kHlsMax;
  return hls;
}

int HueToChannel(int low, int high, int hue) {
  if (hue < 0) hue += kHlsMax;
  if (hue > kHlsMax) hue -= kHlsMax;
  if (hue < kHlsMax / 6) return low + ((high - low) * hue + kHlsMax / 12) / (kHlsMax / 6);
  if (hue < kHlsMax / 2) return high;
  if (hue < kHlsMax * 2 / 3) return low + ((high - low) * (kHlsMax * 2 / 3 - hue) + kHlsMax / 12) / (kHlsMax / 6);
  return low;
}

std::uint8_t ToByte(int value) { return static_cast<std::uint8_t>(std::clamp(value, 0, kRgbMax)); }

Rgb ToRgb(const Hls& hls) {
  const int l = hls.luminance;
  const int s = hls.saturation;
  if (s == 0) {
    const std::uint8_t grey = ToByte(l * kRgbMax / kHlsMax);
    return {grey, grey, grey};
  }
  const int high =
      l <= kHlsMax / 2 ? (l * (kHlsMax + s) + kHlsMax / 2) / kHlsMax : l + s - (l * s + kHlsMax / 2) / kHlsMax;
  const int low = 2 * l - high;
  const auto channel = [&](int hue) {
    return ToByte((HueToChannel(low, high, hue) * kRgbMax + kHlsMax / 2) / kHlsMax);
  };
  return {channel(hls.hue + kHlsMax / 3), channel(hls.hue), channel(hls.hue - kHlsMax / 3)};
}

}  // namespace

Rgb AdjustLuma(Rgb colour, int thousandths) {
  if (thousandths == 0) return colour;
  Hls hls = ToHls(colour);
  if (thousandths < 0) {
    hls.luminance += hls.luminance * thousandths / 1000;
  } else {
    hls.luminance += (kHlsMax - hls.luminance) * thousandths / 1000;
  }
  hls.luminance = std::clamp(hls.luminance, 0, kHlsMax);
  return ToRgb(hls);
}

}  // namespace velvasto::gui
