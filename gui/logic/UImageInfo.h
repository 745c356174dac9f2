#pragma once
// The information block that a camera writes into each JPEG picture, and the
// name under which a received picture is saved.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "UDateTime.h"
#include "UTypes.h"

// Reads the block of a picture's bytes into info (SearchWindow and
// CharSizeLimits included; AllowEdit and AllowCapture untouched) and lines
// (the block's text, line by line). Returns false, touching nothing, when the
// picture has no block. Never reads past the bytes given.
bool ReadImageInfo(std::span<const uint8_t> picture, TImageInfo& info, std::vector<std::string>& lines);
inline bool ReadImageInfo(const uint8_t* bytes, size_t size, TImageInfo& info, std::vector<std::string>& lines) {
  return ReadImageInfo(std::span<const uint8_t>(bytes, bytes ? size : 0), info, lines);
}

// The plate search window and character size limits of a camera's
// recognition settings text, in any of its three forms:
//   Win:(minX,minY) (maxX,maxY) Ch:WxH WxH                  pixels
//   Mode(name UDLR:(up,down,left,right) Ch:WxH WxH          percent
//   Mode(name LUDR:(left,up,down,right) Ch:WxH WxH          percent
// Fields no form reaches stay 0.
void ParseOcrCfg(const std::string& text, TSearchWindow& window, TCharSizeLimits& limits);

// What a picture pane shows of a picture: info reset and filled, memo the
// lines of the block; an empty picture (none in the pane) leaves only the
// flags set.
void ShowImageInfoText(std::span<const uint8_t> picture, TImageInfo& info, std::vector<std::string>& memo,
                       bool allowEdit, bool allowCapture);

// saveFolder/yyyymmdd/NetbiosName_yyyymmdd_hhnnss[_Plate]suffix.jpg, date and
// time from the record or, when it has no date, from now. "\" separates the
// parts on Windows, "/" elsewhere.
std::string ImageFileName(const TImageInfo& info, const std::string& suffix, const std::string& saveFolder,
                          TDateTime now);
inline std::string ImageFileName(const TImageInfo& info, const std::string& suffix, const std::string& saveFolder) {
  return ImageFileName(info, suffix, saveFolder, Now());
}
