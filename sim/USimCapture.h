#pragma once
// Pictures and transit events of a camera: each picture is drawn for a plate,
// compressed, and carries the camera's image information block; a transit is
// a pushed message with the read's records and both pictures.

#include <cstdint>
#include <string>
#include <vector>

#include "UDateTime.h"
#include "UZudirir.h"
#include "USimCamera.h"
#include "USimImageInfo.h"

struct TSimRead {
  std::string Plate;
  int32_t NRead = 0;
  int32_t OcrScore = 0;
  int32_t ClassCode = 1;
  std::string ClassString = "CAR";
  TDateTimeParts Time;  // the camera's clock when the picture was taken
};

// A new read on the camera's clock: next plate, read number, score and class.
TSimRead NextRead(TSimCamera& camera, const TSimNow& now);

struct TSimShot {
  std::vector<uint8_t> Jpeg;  // starts with the information block
  TSimImageInfo Info;
};

inline constexpr int SimJpegQuality = 80;

// channel 0: the black-and-white picture, 1: the colour picture.
TSimShot TakePicture(const TSimCamera& camera, int channel, const TSimRead& read);

// "yyyy-mm-dd" and "hh-nn-ss-zzz", as cameras write date and time.
std::string SimDateText(const TDateTimeParts& t);
std::string SimTimeText(const TDateTimeParts& t);

// The pushed message of one transit: the read's records, then "IMAGE_BW" and
// "IMAGE_COL".
TZudirirMsg BuildTransit(TSimCamera& camera, const TSimNow& now, std::string* summary = nullptr);
// A plain text line a camera may push besides its messages.
std::string TransitTextLine(const TSimCamera& camera, const TSimNow& now, int32_t transitId);
// Cuts wire bytes into at most count chunks of nearly equal size.
std::vector<std::vector<uint8_t>> SplitChunks(const std::vector<uint8_t>& wire, int count);
