#pragma once
// Geometry of the image detail window, in numbers only: the hatched strips
// outside the plate search window, the plate frame and its label, the two
// character size boxes (resized by dragging, the small one centred in the
// large one) and the test that enables Apply. Coordinates are pixels; strips
// and the plate frame are in picture coordinates, the boxes in the view.

#include <cstdint>
#include <string>

#include "UTypes.h"

struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  bool operator==(const TRect&) const = default;
};

struct TStrip {
  TRect Rect;
  bool Visible = false;  // something is drawn
  bool operator==(const TStrip&) const = default;
};

// Pictures above 1024 by 768 (both strictly) show the search window.
bool IsLargePicture(int32_t width, int32_t height);

// Window edges in picture pixels. Percent edges are width (or height) times
// the percentage as a 32-bit product, divided by 100 and rounded half to even.
struct TWindowEdges {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const TWindowEdges&) const = default;
};
TWindowEdges SearchWindowEdges(const TSearchWindow& window, int32_t width, int32_t height);

// The four strips covering everything outside Left <= x < Right,
// Top <= y < Bottom. A strip is shown on a large picture when its edge is
// above 0; one whose width or height is 0 or less draws nothing, so Visible
// is false for it as well.
struct TSearchStrips {
  bool PanelVisible = false;  // "Plate Locator Window" panel: large picture
  TStrip Left, Right, Top, Bottom;
};
TSearchStrips SearchWindowStrips(const TSearchWindow& window, int32_t width, int32_t height);

// The plate frame and its label ("AB123CD (87%)"), 15 high, right below it.
struct TPlateFrame {
  bool Visible = false;  // any of the four plate values above 0
  TRect Frame;
  TRect Label;
  std::string Text;
};
inline constexpr int32_t PlateLabelHeight = 15;
TPlateFrame PlateFrame(const TImageInfo& info);

// The two character boxes for the limits: shown when both sizes are above 0.
struct TCharBoxes {
  bool MinVisible = false;
  int32_t MinWidth = 0, MinHeight = 0;
  bool MaxVisible = false;
  int32_t MaxWidth = 0, MaxHeight = 0;
};
TCharBoxes CharSizeBoxes(const TCharSizeLimits& limits);

struct TSize {
  int32_t Width = 0, Height = 0;
  bool operator==(const TSize&) const = default;
};
struct TPoint {
  int32_t X = 0, Y = 0;
  bool operator==(const TPoint&) const = default;
};

// Shift-drag of the large box by (dx, dy): never smaller than the small box,
// never above 60 wide or 100 high.
TSize ResizeMaxBox(TSize maxBox, TSize minBox, int32_t dx, int32_t dy);
// Ctrl-drag of the small box: never larger than the large box, never below 8.
TSize ResizeMinBox(TSize minBox, TSize maxBox, int32_t dx, int32_t dy);
// Plain drag: the large box moves with the pointer.
TPoint MoveBox(TPoint boxPos, int32_t dx, int32_t dy);
// Top left of the small box centred in the large one (halves cut towards zero).
TPoint CentreMinBox(TPoint maxPos, TSize maxBox, TSize minBox);
// "Char size limits" label: at the large box's left edge, under its bottom.
TPoint LimitsLabelPos(TPoint maxPos, TSize maxBox);

// Apply is enabled when the window or the limits differ from what was read
// or last applied and the device has a MAC address.
bool SettingsChanged(const TSearchWindow& window, const TSearchWindow& saved, const TCharSizeLimits& limits,
                     const TCharSizeLimits& savedLimits);
bool ApplyEnabled(bool changed, const std::string& macAddress);

// Suffix of the four search window fields.
inline const char* SearchWindowSuffix(bool percent) { return percent ? " %" : ""; }

// Mouse wheel: at most 20 pixels per step, wheel away from the user scrolls up.
int32_t WheelScrollPosition(int32_t position, int32_t delta, int32_t range);

// The part of r inside bounds (an empty rectangle when they do not meet). The
// overlays are laid out with it, so edges far outside the picture never reach
// the toolkit as coordinates it cannot hold.
TRect ClipRect(const TRect& r, const TRect& bounds);
// The area the picture's overlays may occupy: the picture and a margin of one
// pixel, so an outline that lies outside the picture stays out of sight.
TRect OverlayBounds(int32_t width, int32_t height);

// The number in one of the window's digit fields: empty is 0; digits beyond
// the 32-bit range stay at its top rather than wrapping.
int32_t FieldNumber(const std::string& text);

// The information memo: at least 200 wide, else a third of the view; as high
// as its lines plus 6.
int32_t InfoMemoWidth(int32_t viewWidth);
int32_t InfoMemoHeight(int32_t lineHeight, int32_t lineCount);
