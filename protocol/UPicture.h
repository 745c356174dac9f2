#pragma once
// A decoded JPEG picture that keeps the bytes it was decoded from. Saving a
// picture and reading the information block a camera embeds in it work on
// those bytes, so they are kept exactly as received.

#include <cstddef>
#include <cstdint>
#include <vector>

struct TJpegPicture {
  std::vector<uint8_t> Bytes;  // the JPEG bytes exactly as received
  int Width = 0;
  int Height = 0;
  std::vector<uint8_t> Rgb;  // 3 bytes per pixel (R, G, B), rows top to bottom
  bool Empty() const { return Width == 0 || Height == 0; }
};

// Decodes JPEG data with libjpeg-turbo. Data that are not a JPEG picture
// throw EJpegError carrying the reader's message.
TJpegPicture DecodeJpeg(const uint8_t* data, size_t size);
