#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "UImageGeometry.h"

namespace {

TSearchWindow Pixels(int32_t l, int32_t t, int32_t r, int32_t b) { return {l, t, r, b, false}; }
TSearchWindow Percent(int32_t l, int32_t t, int32_t r, int32_t b) { return {l, t, r, b, true}; }

TEST(ImageGeometry, LargePictureIsAbove1024By768) {
  EXPECT_FALSE(IsLargePicture(1024, 768));
  EXPECT_FALSE(IsLargePicture(1025, 768));
  EXPECT_FALSE(IsLargePicture(1024, 769));
  EXPECT_TRUE(IsLargePicture(1025, 769));
}

TEST(ImageGeometry, PercentEdgesScaleAndRoundHalfToEven) {
  struct Case {
    const char* name;
    TSearchWindow w;
    int32_t width, height;
    TWindowEdges expected;
  } cases[] = {
      {"pixels as they are", Pixels(100, 50, 1180, 900), 1280, 960, {100, 50, 1180, 900}},
      {"percent of width and height", Percent(10, 20, 90, 80), 1280, 960, {128, 192, 1152, 768}},
      {"12.5 rounds down to even", Percent(5, 0, 100, 100), 250, 100, {12, 0, 250, 100}},
      {"13.5 rounds up to even", Percent(1, 0, 100, 100), 1350, 100, {14, 0, 1350, 100}},
      // 1280 * 2000000 does not fit 32 bits: the product wraps as it always did.
      {"32-bit product wraps", Percent(0, 0, 2000000, 100), 1280, 960, {0, 0, -17349673, 960}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SearchWindowEdges(c.w, c.width, c.height), c.expected);
  }
}

TEST(ImageGeometry, StripsCoverWhatLiesOutsideTheWindow) {
  const TSearchStrips s = SearchWindowStrips(Pixels(100, 50, 1180, 900), 1280, 960);
  EXPECT_TRUE(s.PanelVisible);
  EXPECT_EQ(s.Left, (TStrip{{0, 0, 100, 960}, true}));
  EXPECT_EQ(s.Right, (TStrip{{1180, 0, 100, 960}, true}));
  EXPECT_EQ(s.Top, (TStrip{{0, 0, 1280, 50}, true}));
  EXPECT_EQ(s.Bottom, (TStrip{{0, 900, 1280, 60}, true}));

  struct Case {
    const char* name;
    TSearchWindow w;
    int32_t width, height;
    bool panel, left, right, top, bottom;
  } cases[] = {
      {"picture not large", Pixels(100, 50, 900, 700), 1024, 768, false, false, false, false, false},
      {"zero edges show no left or top strip", Pixels(0, 0, 1000, 800), 1280, 960, true, false, true, false, true},
      {"no WinMaxX/WinMaxY: nothing right or below", Pixels(10, 10, INT32_MAX, INT32_MAX), 1280, 960, true, true,
       false, true, false},
      {"edges at the picture border", Pixels(10, 10, 1280, 960), 1280, 960, true, true, false, true, false},
      {"negative edges", Pixels(-5, -5, INT32_MIN, INT32_MIN), 1280, 960, true, false, false, false, false},
      {"percent window", Percent(10, 20, 90, 80), 1280, 960, true, true, true, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TSearchStrips t = SearchWindowStrips(c.w, c.width, c.height);
    EXPECT_EQ(t.PanelVisible, c.panel);
    EXPECT_EQ(t.Left.Visible, c.left);
    EXPECT_EQ(t.Right.Visible, c.right);
    EXPECT_EQ(t.Top.Visible, c.top);
    EXPECT_EQ(t.Bottom.Visible, c.bottom);
  }
}

TEST(ImageGeometry, PlateFrameAndLabel) {
  TImageInfo info;
  info.Plate = "AB123CD";
  info.OcrScore = 87;
  TPlateFrame p = PlateFrame(info);
  EXPECT_FALSE(p.Visible);
  EXPECT_EQ(p.Text, "AB123CD (87%)");

  info.PlateMaxY = 5;  // one value above 0 is enough
  EXPECT_TRUE(PlateFrame(info).Visible);

  info.PlateMinX = 300;
  info.PlateMinY = 400;
  info.PlateMaxX = 420;
  info.PlateMaxY = 430;
  p = PlateFrame(info);
  EXPECT_EQ(p.Frame, (TRect{300, 400, 120, 30}));
  EXPECT_EQ(p.Label, (TRect{300, 430, 120, PlateLabelHeight}));

  info.PlateMinX = INT32_MIN;
  info.PlateMaxX = INT32_MAX;
  EXPECT_EQ(PlateFrame(info).Frame.Width, INT32_MAX);  // no overflow
}

TEST(ImageGeometry, CharBoxesShownWithBothSizes) {
  const TCharBoxes b = CharSizeBoxes({8, 40, 0, 60});  // min width, max width, min height, max height
  EXPECT_FALSE(b.MinVisible);
  EXPECT_TRUE(b.MaxVisible);
  EXPECT_EQ(b.MaxWidth, 40);
  EXPECT_EQ(b.MaxHeight, 60);
}

TEST(ImageGeometry, DraggingResizesWithinTheLimits) {
  struct Case {
    const char* name;
    bool max;  // resize the max box, else the min box
    TSize box, other;
    int32_t dx, dy;
    TSize expected;
  } cases[] = {
      {"max box stops at 60 by 100", true, {40, 60}, {8, 12}, 100, 100, {60, 100}},
      {"max box never below the min box", true, {40, 60}, {20, 30}, -100, -100, {20, 30}},
      {"max box follows the pointer", true, {40, 60}, {8, 12}, 5, -7, {45, 53}},
      {"min box stops at 8", false, {20, 30}, {40, 60}, -100, -100, {8, 8}},
      {"min box never above the max box", false, {20, 30}, {40, 60}, 100, 100, {40, 60}},
      {"min box follows the pointer", false, {20, 30}, {40, 60}, 3, 4, {23, 34}},
      {"extreme pointer steps do not overflow", true, {40, 60}, {8, 12}, INT32_MAX, INT32_MIN, {60, 12}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.max ? ResizeMaxBox(c.box, c.other, c.dx, c.dy) : ResizeMinBox(c.box, c.other, c.dx, c.dy),
              c.expected);
  }
}

TEST(ImageGeometry, DragSequencesKeepTheMinBoxInsideTheMaxBox) {
  // From sizes within 8..60 by 8..100, any run of resizes keeps min <= max.
  TSize maxBox{40, 60}, minBox{8, 12};
  const int32_t steps[] = {-50, 30, -3, 100, -100, 7, 0, 61, -61};
  for (int32_t dx : steps)
    for (int32_t dy : steps) {
      maxBox = ResizeMaxBox(maxBox, minBox, dx, dy);
      ASSERT_GE(maxBox.Width, minBox.Width);
      ASSERT_GE(maxBox.Height, minBox.Height);
      minBox = ResizeMinBox(minBox, maxBox, -dy, dx);
      ASSERT_LE(minBox.Width, maxBox.Width);
      ASSERT_LE(minBox.Height, maxBox.Height);
      ASSERT_LE(maxBox.Width, 60);
      ASSERT_LE(maxBox.Height, 100);
      ASSERT_GE(minBox.Width, 8);
      ASSERT_GE(minBox.Height, 8);
    }
}

TEST(ImageGeometry, BoxPlacement) {
  EXPECT_EQ(MoveBox({10, 10}, 25, -4), (TPoint{35, 6}));
  EXPECT_EQ(CentreMinBox({10, 10}, {40, 60}, {8, 13}), (TPoint{26, 33}));
  // A typed min box wider than the max box: the half is cut towards zero.
  EXPECT_EQ(CentreMinBox({10, 10}, {40, 60}, {45, 61}), (TPoint{8, 10}));
  EXPECT_EQ(LimitsLabelPos({10, 10}, {40, 60}), (TPoint{10, 70}));
}

TEST(ImageGeometry, ApplyNeedsAChangeAndAMacAddress) {
  const TSearchWindow w = Pixels(1, 2, 3, 4);
  const TCharSizeLimits l{8, 40, 12, 60};
  TSearchWindow percentOnly = w;
  percentOnly.Percent = true;
  TCharSizeLimits otherLimits = l;
  otherLimits.MaxHeight = 61;
  EXPECT_FALSE(SettingsChanged(w, w, l, l));
  EXPECT_TRUE(SettingsChanged(percentOnly, w, l, l));
  EXPECT_TRUE(SettingsChanged(w, w, otherLimits, l));
  EXPECT_TRUE(ApplyEnabled(true, "00-0A-1B-2C-3D-4E"));
  EXPECT_FALSE(ApplyEnabled(true, ""));
  EXPECT_FALSE(ApplyEnabled(false, "00-0A-1B-2C-3D-4E"));
}

TEST(ImageGeometry, WheelAndMemo) {
  EXPECT_EQ(WheelScrollPosition(100, 120, 500), 80);   // one notch up: 20 pixels
  EXPECT_EQ(WheelScrollPosition(100, -120, 500), 120);
  EXPECT_EQ(WheelScrollPosition(10, 120, 500), 0);
  EXPECT_EQ(WheelScrollPosition(495, -120, 500), 500);
  EXPECT_EQ(WheelScrollPosition(100, 7, 500), 93);
  EXPECT_EQ(InfoMemoWidth(500), 200);
  EXPECT_EQ(InfoMemoWidth(900), 300);
  EXPECT_EQ(InfoMemoHeight(13, 4), 58);
  EXPECT_STREQ(SearchWindowSuffix(true), " %");
  EXPECT_STREQ(SearchWindowSuffix(false), "");
}

TEST(ImageGeometry, OverlaysAreClippedToThePicture) {
  const TRect bounds = OverlayBounds(1280, 960);
  EXPECT_EQ(bounds, (TRect{-1, -1, 1282, 962}));
  struct Case {
    const char* name;
    TRect r;
    TRect expected;
  } cases[] = {
      {"inside stays as it is", {1180, 0, 100, 960}, {1180, 0, 100, 960}},
      {"left strip wider than the picture", {0, 0, 5000, 960}, {0, 0, 1281, 960}},
      {"edge near the top of the range", {0, 0, INT32_MAX, INT32_MAX}, {0, 0, 1281, 961}},
      {"far left and above", {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, {}},
      {"entirely to the right", {2000, 10, 50, 50}, {}},
      {"negative size", {100, 100, -20, 30}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ClipRect(c.r, bounds), c.expected);
  }
}

TEST(ImageGeometry, FieldNumbers) {
  struct Case {
    const char* text;
    int32_t expected;
  } cases[] = {
      {"", 0}, {"0", 0}, {"200", 200}, {"007", 7}, {"2147483647", INT32_MAX}, {"9999999999", INT32_MAX},
      {"12a", 0}, {"-5", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FieldNumber(c.text), c.expected);
  }
}

}  // namespace
