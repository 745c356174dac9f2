#pragma once
// The pictures a simulated camera takes: a street scene with a vehicle and its
// plate, drawn in memory and compressed with libjpeg-turbo. The camera's
// image information block goes in as the first application segment, where the
// test tool looks for it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct TSimRaster {
  int Width = 0;
  int Height = 0;
  int Channels = 1;  // 1 grey, 3 RGB
  std::vector<uint8_t> Pixels;
  // The plate's rectangle in pixels (edges included).
  int PlateMinX = 0, PlateMinY = 0, PlateMaxX = 0, PlateMaxY = 0;
};

struct TSimScene {
  std::string Plate;    // drawn on the plate
  std::string Caption;  // drawn along the top edge (host name, time, ...)
  uint32_t Seed = 0;    // varies the vehicle's shade and position a little
};

// The black-and-white picture is larger than 1024 x 768, so the test tool's
// detail window has room outside the search window; the colour picture is the
// smaller overview a camera's second sensor gives.
inline constexpr int BwWidth = 1280, BwHeight = 960;
inline constexpr int ColourWidth = 800, ColourHeight = 600;

TSimRaster DrawScene(bool colour, const TSimScene& scene);

// JPEG file of a raster (throws EJpegError when the encoder fails).
std::vector<uint8_t> EncodeJpeg(const TSimRaster& raster, int quality);

// Puts text as the first application segment (FF E0, then the big-endian
// length that counts itself and the text), replacing a JFIF header that the
// encoder wrote there. Texts longer than a segment holds are cut.
std::vector<uint8_t> InsertInfoBlock(const std::vector<uint8_t>& jpeg, std::string_view text);
