// Acceptance rule, record walk and value decoders of parameter records.

#include "UHandleZudirir.h"

#include <algorithm>
#include <cstdio>

#include "UCodePage.h"
#include "UTools.h"

uint32_t TZudirirParam::Word(uint32_t i) const {
  const uint32_t at = i * 4;
  return static_cast<uint32_t>(Byte(at)) | (static_cast<uint32_t>(Byte(at + 1)) << 8) |
         (static_cast<uint32_t>(Byte(at + 2)) << 16) | (static_cast<uint32_t>(Byte(at + 3)) << 24);
}

TZudirirMsg ReadMsgHeader(const uint8_t* p) {
  TZudirirMsg m;
  m.HeaderSize = ReadWordLE(p);
  m.MsgNumber = ReadWordLE(p + 4);
  m.SourceChannel = ReadWordLE(p + 8);
  m.TargetChannel = ReadWordLE(p + 12);
  m.Status = ReadWordLE(p + 16);
  m.PayloadSize = ReadWordLE(p + 20);
  return m;
}

bool IsRecordlessMsg(uint32_t msgNumber) {
  return msgNumber == 4100 || msgNumber == 4118 || msgNumber == 4119 || msgNumber == 4126;
}

TReplyAcceptance AcceptReply(const uint8_t* reply, uint32_t length) {
  if (reply == nullptr || length < MsgHeaderSize) return TReplyAcceptance::Incomplete;
  const TZudirirMsg h = ReadMsgHeader(reply);
  // 64-bit sum: a header with huge sizes must not wrap into "complete".
  if (static_cast<uint64_t>(length) < static_cast<uint64_t>(h.HeaderSize) + h.PayloadSize)
    return TReplyAcceptance::Incomplete;
  if (h.HeaderSize != MsgHeaderSize || h.PayloadSize >= MaxAcceptedPayload || h.Status != 0)
    return TReplyAcceptance::Ignored;
  if (IsRecordlessMsg(h.MsgNumber)) return TReplyAcceptance::NoRecords;
  return TReplyAcceptance::Walk;
}

void WalkPayload(const uint8_t* payload, uint32_t payloadSize,
                 const std::function<void(const TZudirirParam&)>& visit) {
  uint32_t remaining = payloadSize;
  const uint8_t* pos = payload;
  while (remaining > 11) {
    TZudirirParam p;
    p.Id = ReadWordLE(pos);
    p.Length = ReadWordLE(pos + 4);
    p.Value = pos + 8;
    p.Available = remaining - 8;
    visit(p);
    // 8 header bytes plus the value, brought up to a multiple of 4; in 64 bits
    // so that a huge Length ends the walk instead of wrapping to a small step.
    const uint64_t step = (static_cast<uint64_t>(p.Length) + 11) & ~static_cast<uint64_t>(3);
    if (step >= remaining) break;
    remaining -= static_cast<uint32_t>(step);
    pos += step;
  }
}

void WalkParams(const uint8_t* reply, uint32_t length,
                const std::function<void(const TZudirirParam&)>& visit) {
  if (reply == nullptr || length < MsgHeaderSize) return;
  const TZudirirMsg h = ReadMsgHeader(reply);
  if (static_cast<uint64_t>(length) < static_cast<uint64_t>(MsgHeaderSize) + h.PayloadSize) return;
  WalkPayload(reply + MsgHeaderSize, h.PayloadSize, visit);
}

std::string ParamString(const TZudirirParam& p) {
  // Up to the first zero byte; a text without one stops at the end of the data.
  const uint8_t* end = std::find(p.Value, p.Value + p.Available, uint8_t{0});
  std::string text;
  Utf8ToAnsi(std::string_view(reinterpret_cast<const char*>(p.Value), static_cast<size_t>(end - p.Value)), text);
  return text;
}

std::string ParamInteger(const TZudirirParam& p) { return std::to_string(static_cast<int32_t>(p.Word(0))); }

std::string ParamIPAddress(const TZudirirParam& p) {
  const uint32_t w = p.Word(0);
  char text[16];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", w >> 24, (w >> 16) & 0xFF, (w >> 8) & 0xFF, w & 0xFF);
  return text;
}

std::string ParamMACAddress(const TZudirirParam& p) {
  static const char digits[] = "0123456789ABCDEF";
  const uint32_t n = p.HeldLength();
  std::string text;
  text.reserve(n * 3);
  // Each byte goes in front, so the last byte on the wire comes first.
  for (uint32_t i = n; i-- > 0;) {
    text += '-';
    text += digits[p.Value[i] >> 4];
    text += digits[p.Value[i] & 0xF];
  }
  return text.size() > 7 ? text.substr(7) : std::string();
}

std::string ParamPoint(const TZudirirParam& p) {
  return std::to_string(static_cast<int32_t>(p.Word(0))) + "," + std::to_string(static_cast<int32_t>(p.Word(1)));
}

std::string ParamData(const TZudirirParam& p) {
  static const char digits[] = "0123456789ABCDEF";
  const uint32_t n = p.HeldLength();
  std::string text;
  text.reserve(static_cast<size_t>(n) * 2);
  for (uint32_t i = n; i-- > 0;) {
    text += digits[p.Value[i] >> 4];
    text += digits[p.Value[i] & 0xF];
  }
  return text;
}

std::string ParamDateTime(const TZudirirParam& p, TDateTime& value) {
  const unsigned day = p.Byte(0);
  const unsigned month = p.Byte(1);
  const auto half = [&p](uint32_t at) { return static_cast<unsigned>(p.Byte(at) | (p.Byte(at + 1) << 8)); };
  const unsigned year = half(2), hour = half(4), minute = half(6), second = half(8);
  char text[64];
  std::snprintf(text, sizeof text, "%.4u%c%.2u%c%.2u %.2u%c%.2u%c%.2u", year, DateSeparator, month, DateSeparator,
                day, hour, TimeSeparator, minute, TimeSeparator, second);
  // Reading the text back is what rejects fields that form no date or time.
  value = StrToDateTime(text);
  return text;
}

std::vector<uint8_t> ParamImageBytes(const TZudirirParam& p) {
  // A first word of 0 marks a 40-byte block in front of the JPEG data.
  const uint32_t start = p.Word(0) != 0 ? 0 : 40;
  if (start >= p.Available) return {};
  const uint32_t n = std::min(p.Length, p.Available - start);
  return std::vector<uint8_t>(p.Value + start, p.Value + start + n);
}

TJpegPicture ParamImage(const TZudirirParam& p) {
  const std::vector<uint8_t> bytes = ParamImageBytes(p);
  return DecodeJpeg(bytes.data(), bytes.size());
}
