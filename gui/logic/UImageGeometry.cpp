// Geometry of the image detail window.

#include "UImageGeometry.h"

#include <algorithm>
#include <limits>

namespace {

// Sums and differences of 32-bit values are taken in 64 bits and brought back
// into range, so extreme values from a file or a field never overflow.
int32_t Clamp32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

int32_t PercentEdge(int32_t size, int32_t percent) {
  // The 32-bit product, as the window has always computed it.
  const auto product = static_cast<int32_t>(static_cast<uint32_t>(size) * static_cast<uint32_t>(percent));
  return static_cast<int32_t>(RoundHalfEven(product / 100.0));
}

TStrip Strip(bool large, int32_t edge, int64_t left, int64_t top, int64_t width, int64_t height) {
  TStrip s;
  s.Rect = {Clamp32(left), Clamp32(top), Clamp32(width), Clamp32(height)};
  s.Visible = large && edge > 0 && width > 0 && height > 0;
  return s;
}

}  // namespace

bool IsLargePicture(int32_t width, int32_t height) { return width > 1024 && height > 768; }

TWindowEdges SearchWindowEdges(const TSearchWindow& w, int32_t width, int32_t height) {
  if (!w.Percent) return {w.MinX, w.MinY, w.MaxX, w.MaxY};
  return {PercentEdge(width, w.MinX), PercentEdge(height, w.MinY), PercentEdge(width, w.MaxX),
          PercentEdge(height, w.MaxY)};
}

TSearchStrips SearchWindowStrips(const TSearchWindow& window, int32_t width, int32_t height) {
  const bool large = IsLargePicture(width, height);
  const TWindowEdges e = SearchWindowEdges(window, width, height);
  const int64_t W = width, H = height;
  TSearchStrips s;
  s.PanelVisible = large;
  s.Left = Strip(large, e.Left, 0, 0, e.Left, H);
  s.Right = Strip(large, e.Right, e.Right, 0, W - e.Right, H);
  s.Top = Strip(large, e.Top, 0, 0, W, e.Top);
  s.Bottom = Strip(large, e.Bottom, 0, e.Bottom, W, H - e.Bottom);
  return s;
}

TPlateFrame PlateFrame(const TImageInfo& info) {
  TPlateFrame p;
  p.Text = info.Plate + " (" + std::to_string(info.OcrScore) + "%)";
  p.Visible = info.PlateMinX > 0 || info.PlateMinY > 0 || info.PlateMaxX > 0 || info.PlateMaxY > 0;
  p.Frame = {info.PlateMinX, info.PlateMinY, Clamp32(int64_t{info.PlateMaxX} - info.PlateMinX),
             Clamp32(int64_t{info.PlateMaxY} - info.PlateMinY)};
  p.Label = {p.Frame.Left, Clamp32(int64_t{p.Frame.Top} + p.Frame.Height), p.Frame.Width, PlateLabelHeight};
  return p;
}

TCharBoxes CharSizeBoxes(const TCharSizeLimits& c) {
  TCharBoxes b;
  b.MinVisible = c.MinWidth > 0 && c.MinHeight > 0;
  b.MinWidth = c.MinWidth;
  b.MinHeight = c.MinHeight;
  b.MaxVisible = c.MaxWidth > 0 && c.MaxHeight > 0;
  b.MaxWidth = c.MaxWidth;
  b.MaxHeight = c.MaxHeight;
  return b;
}

TSize ResizeMaxBox(TSize maxBox, TSize minBox, int32_t dx, int32_t dy) {
  return {Clamp32(std::min<int64_t>(60, std::max<int64_t>(int64_t{maxBox.Width} + dx, minBox.Width))),
          Clamp32(std::min<int64_t>(100, std::max<int64_t>(int64_t{maxBox.Height} + dy, minBox.Height)))};
}

TSize ResizeMinBox(TSize minBox, TSize maxBox, int32_t dx, int32_t dy) {
  return {Clamp32(std::max<int64_t>(8, std::min<int64_t>(int64_t{minBox.Width} + dx, maxBox.Width))),
          Clamp32(std::max<int64_t>(8, std::min<int64_t>(int64_t{minBox.Height} + dy, maxBox.Height)))};
}

TPoint MoveBox(TPoint pos, int32_t dx, int32_t dy) {
  return {Clamp32(int64_t{pos.X} + dx), Clamp32(int64_t{pos.Y} + dy)};
}

TPoint CentreMinBox(TPoint maxPos, TSize maxBox, TSize minBox) {
  // Integer division cuts towards zero, also for a small box wider than the large one.
  return {Clamp32(maxPos.X + (int64_t{maxBox.Width} - minBox.Width) / 2),
          Clamp32(maxPos.Y + (int64_t{maxBox.Height} - minBox.Height) / 2)};
}

TPoint LimitsLabelPos(TPoint maxPos, TSize maxBox) { return {maxPos.X, Clamp32(int64_t{maxPos.Y} + maxBox.Height)}; }

bool SettingsChanged(const TSearchWindow& window, const TSearchWindow& saved, const TCharSizeLimits& limits,
                     const TCharSizeLimits& savedLimits) {
  return !(window == saved) || !(limits == savedLimits);
}

bool ApplyEnabled(bool changed, const std::string& macAddress) { return changed && !macAddress.empty(); }

int32_t WheelScrollPosition(int32_t position, int32_t delta, int32_t range) {
  const int64_t d = std::clamp<int64_t>(delta, -20, 20);
  return Clamp32(std::min<int64_t>(std::max<int64_t>(0, int64_t{position} - d), range));
}

TRect ClipRect(const TRect& r, const TRect& b) {
  const int64_t left = std::max<int64_t>(r.Left, b.Left);
  const int64_t top = std::max<int64_t>(r.Top, b.Top);
  const int64_t right = std::min<int64_t>(int64_t{r.Left} + r.Width, int64_t{b.Left} + b.Width);
  const int64_t bottom = std::min<int64_t>(int64_t{r.Top} + r.Height, int64_t{b.Top} + b.Height);
  if (right <= left || bottom <= top) return {};
  return {Clamp32(left), Clamp32(top), Clamp32(right - left), Clamp32(bottom - top)};
}

TRect OverlayBounds(int32_t width, int32_t height) {
  return {-1, -1, Clamp32(int64_t{width} + 2), Clamp32(int64_t{height} + 2)};
}

int32_t FieldNumber(const std::string& text) {
  int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return 0;
    value = std::min<int64_t>(value * 10 + (c - '0'), std::numeric_limits<int32_t>::max());
  }
  return static_cast<int32_t>(value);
}

int32_t InfoMemoWidth(int32_t viewWidth) { return std::max(200, viewWidth / 3); }

int32_t InfoMemoHeight(int32_t lineHeight, int32_t lineCount) {
  return Clamp32(int64_t{lineHeight} * lineCount + 6);
}
