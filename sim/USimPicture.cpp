#include "USimPicture.h"

#include <turbojpeg.h>

#include <algorithm>
#include <cstring>

#include "UErrors.h"
#include "USimFont.h"

namespace {

struct TColour {
  uint8_t R, G, B;
};

uint8_t Grey(TColour c) { return static_cast<uint8_t>((c.R * 77 + c.G * 150 + c.B * 29) >> 8); }

void FillRect(TSimRaster& r, int x0, int y0, int x1, int y1, TColour c) {
  x0 = std::max(x0, 0);
  y0 = std::max(y0, 0);
  x1 = std::min(x1, r.Width - 1);
  y1 = std::min(y1, r.Height - 1);
  for (int y = y0; y <= y1; ++y) {
    uint8_t* row = r.Pixels.data() + (static_cast<size_t>(y) * r.Width) * r.Channels;
    for (int x = x0; x <= x1; ++x) {
      if (r.Channels == 1) {
        row[x] = Grey(c);
      } else {
        row[3 * x] = c.R;
        row[3 * x + 1] = c.G;
        row[3 * x + 2] = c.B;
      }
    }
  }
}

int TextWidth(std::string_view text, int scale) {
  return static_cast<int>(text.size()) * (GlyphWidth + 1) * scale - scale;
}

void DrawText(TSimRaster& r, int x, int y, int scale, std::string_view text, TColour c) {
  for (char ch : text) {
    const uint8_t* rows = GlyphRows(ch);
    for (int gy = 0; gy < GlyphHeight; ++gy)
      for (int gx = 0; gx < GlyphWidth; ++gx)
        if (rows[gy] & (0x10 >> gx))
          FillRect(r, x + gx * scale, y + gy * scale, x + (gx + 1) * scale - 1, y + (gy + 1) * scale - 1, c);
    x += (GlyphWidth + 1) * scale;
  }
}

}  // namespace

TSimRaster DrawScene(bool colour, const TSimScene& scene) {
  TSimRaster r;
  r.Width = colour ? ColourWidth : BwWidth;
  r.Height = colour ? ColourHeight : BwHeight;
  r.Channels = colour ? 3 : 1;
  r.Pixels.assign(static_cast<size_t>(r.Width) * r.Height * r.Channels, 0);
  const int W = r.Width, H = r.Height;

  // Sky fading towards the horizon, then the road with its lane marks.
  const int horizon = H * 35 / 100;
  for (int y = 0; y < horizon; ++y) {
    const int t = y * 60 / horizon;
    FillRect(r, 0, y, W - 1, y, {static_cast<uint8_t>(120 + t), static_cast<uint8_t>(160 + t / 2), 215});
  }
  FillRect(r, 0, horizon, W - 1, H - 1, {92, 94, 98});
  for (int k = 0; k < 6; ++k) {
    const int y0 = horizon + (H - horizon) * k / 6;
    FillRect(r, W / 2 - W / 200 - 1, y0, W / 2 + W / 200, y0 + (H - horizon) / 14, {235, 235, 225});
  }

  // The vehicle: body, windscreen, lights; its shade and offset vary per shot.
  const int shift = static_cast<int>(scene.Seed % 41) - 20;
  const int cx = W / 2 + shift * W / 640;
  const int bodyHalf = W * 23 / 100;
  const uint8_t shade = static_cast<uint8_t>(40 + scene.Seed % 50);
  const TColour body = colour ? TColour{static_cast<uint8_t>(140 + scene.Seed % 100), 30, 36}
                              : TColour{shade, shade, shade};
  FillRect(r, cx - bodyHalf, H * 38 / 100, cx + bodyHalf, H * 86 / 100, body);
  FillRect(r, cx - bodyHalf * 8 / 10, H * 41 / 100, cx + bodyHalf * 8 / 10, H * 55 / 100, {150, 170, 185});
  FillRect(r, cx - bodyHalf + W / 64, H * 62 / 100, cx - bodyHalf + W / 9, H * 66 / 100, {250, 250, 230});
  FillRect(r, cx + bodyHalf - W / 9, H * 62 / 100, cx + bodyHalf - W / 64, H * 66 / 100, {250, 250, 230});
  FillRect(r, cx - bodyHalf - W / 80, H * 86 / 100, cx - bodyHalf + W / 20, H * 92 / 100, {20, 20, 20});
  FillRect(r, cx + bodyHalf - W / 20, H * 86 / 100, cx + bodyHalf + W / 80, H * 92 / 100, {20, 20, 20});

  // The plate: white with a black rim, the characters in black; on the colour
  // picture with the blue band of a European plate.
  const int scale = std::max(2, H / 240);
  const int pad = 2 * scale;
  const std::string plate = scene.Plate.empty() ? std::string("-") : scene.Plate;
  const int textW = TextWidth(plate, scale);
  const int band = colour ? 3 * scale : 0;
  const int plateW = textW + 2 * pad + band;
  const int plateH = GlyphHeight * scale + 2 * pad;
  r.PlateMinX = cx - plateW / 2;
  r.PlateMinY = H * 70 / 100;
  r.PlateMaxX = r.PlateMinX + plateW - 1;
  r.PlateMaxY = r.PlateMinY + plateH - 1;
  FillRect(r, r.PlateMinX - 1, r.PlateMinY - 1, r.PlateMaxX + 1, r.PlateMaxY + 1, {10, 10, 10});
  FillRect(r, r.PlateMinX, r.PlateMinY, r.PlateMaxX, r.PlateMaxY, {245, 245, 240});
  if (band) FillRect(r, r.PlateMinX, r.PlateMinY, r.PlateMinX + band - 1, r.PlateMaxY, {20, 60, 170});
  DrawText(r, r.PlateMinX + band + pad, r.PlateMinY + pad, scale, plate, {15, 15, 15});

  // The caption band along the top edge.
  if (!scene.Caption.empty()) {
    const int cs = std::max(1, H / 480);
    FillRect(r, 0, 0, W - 1, (GlyphHeight + 4) * cs, {0, 0, 0});
    DrawText(r, 2 * cs, 2 * cs, cs, scene.Caption, {255, 255, 255});
  }
  return r;
}

std::vector<uint8_t> EncodeJpeg(const TSimRaster& raster, int quality) {
  tjhandle handle = tjInitCompress();
  if (!handle) throw EJpegError("cannot start the JPEG encoder");
  unsigned char* jpeg = nullptr;
  unsigned long size = 0;
  const int pixelFormat = raster.Channels == 1 ? TJPF_GRAY : TJPF_RGB;
  const int subsampling = raster.Channels == 1 ? TJSAMP_GRAY : TJSAMP_420;
  const int rc = tjCompress2(handle, raster.Pixels.data(), raster.Width, 0, raster.Height, pixelFormat, &jpeg,
                             &size, subsampling, quality, TJFLAG_FASTDCT);
  std::string error = rc != 0 ? tjGetErrorStr2(handle) : "";
  std::vector<uint8_t> out;
  if (rc == 0) out.assign(jpeg, jpeg + size);
  tjFree(jpeg);
  tjDestroy(handle);
  if (rc != 0) throw EJpegError("JPEG encoding failed: " + error);
  return out;
}

std::vector<uint8_t> InsertInfoBlock(const std::vector<uint8_t>& jpeg, std::string_view text) {
  if (jpeg.size() < 2 || jpeg[0] != 0xFF || jpeg[1] != 0xD8) throw EJpegError("not a JPEG file");
  size_t rest = 2;
  // Drop the JFIF header the encoder put first, so that our segment is the
  // first application segment.
  if (jpeg.size() >= 6 && jpeg[2] == 0xFF && jpeg[3] == 0xE0) {
    const size_t len = (static_cast<size_t>(jpeg[4]) << 8) | jpeg[5];
    if (len >= 2 && 4 + len <= jpeg.size()) rest = 4 + len;
  }
  size_t textSize = std::min<size_t>(text.size(), 0xFFFF - 2);
  // Never cut a UTF-8 sequence in two.
  if (textSize < text.size())
    while (textSize > 0 && (static_cast<uint8_t>(text[textSize]) & 0xC0) == 0x80) --textSize;
  const size_t segment = textSize + 2;
  std::vector<uint8_t> out(6 + textSize + (jpeg.size() - rest));
  out[0] = 0xFF;
  out[1] = 0xD8;
  out[2] = 0xFF;
  out[3] = 0xE0;
  out[4] = static_cast<uint8_t>(segment >> 8);
  out[5] = static_cast<uint8_t>(segment & 0xFF);
  std::memcpy(out.data() + 6, text.data(), textSize);
  std::memcpy(out.data() + 6 + textSize, jpeg.data() + rest, jpeg.size() - rest);
  return out;
}
