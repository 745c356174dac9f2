#pragma once
// Parameter records of replies and pushed messages: the acceptance rule, the
// record walk and the value decoders. Every read is bounded by the bytes
// really held: a record never reads past the valid data it was found in.

#include <cstdint>
#include <functional>
#include <string>

#include "UDateTime.h"
#include "UPicture.h"
#include "UZudirir.h"

// One parameter record, seen in place inside a reply or a pushed message.
struct TZudirirParam {
  uint32_t Id = 0;
  uint32_t Length = 0;            // value bytes as the record states them
  const uint8_t* Value = nullptr;  // first value byte
  // Bytes from Value to the end of the valid data (the payload's end). May be
  // less than Length for a record that runs past the end, or more (the words
  // after a short value belong to the next record).
  uint32_t Available = 0;

  // Value byte i, or 0 when it lies outside the valid data.
  uint8_t Byte(uint32_t i) const { return i < Available ? Value[i] : 0; }
  // Value word i (little-endian), bytes outside the valid data read as 0.
  uint32_t Word(uint32_t i) const;
  // Length bounded by what is really held.
  uint32_t HeldLength() const { return Length < Available ? Length : Available; }
};

// The header words of a message at p (24 bytes must be readable); Payload
// stays empty.
TZudirirMsg ReadMsgHeader(const uint8_t* p);

// What a reply handler does with a buffer (reply, length).
enum class TReplyAcceptance {
  Incomplete,  // fewer bytes than a whole message: the handler returns false
  Ignored,     // HeaderSize != 24, PayloadSize >= 0xFFF00 or Status != 0: true, nothing else
  NoRecords,   // a reply that carries no records (read file, errors, list files): true, handled apart
  Walk,        // walk the records: true
};
inline constexpr uint32_t MaxAcceptedPayload = 0xFFF00;  // 1,048,320

TReplyAcceptance AcceptReply(const uint8_t* reply, uint32_t length);
// The message numbers whose replies carry no parameter records.
bool IsRecordlessMsg(uint32_t msgNumber);

// Calls visit for every record of the payload in order (the walk of both
// reply handlers). The payload must hold payloadSize readable bytes.
void WalkPayload(const uint8_t* payload, uint32_t payloadSize,
                 const std::function<void(const TZudirirParam&)>& visit);
// Walks the records of a whole message (header + payload, length valid
// bytes). Walks nothing when the message is not complete.
void WalkParams(const uint8_t* reply, uint32_t length,
                const std::function<void(const TZudirirParam&)>& visit);

// Value decoders. None of them checks Id.
// Text up to the first zero byte (or the end of the valid data), UTF-8 decoded
// into the tools' 8-bit code page; invalid UTF-8 gives an empty text.
std::string ParamString(const TZudirirParam& p);
// First value word as signed decimal.
std::string ParamInteger(const TZudirirParam& p);
// First value word as a.b.c.d, a being its most significant byte.
std::string ParamIPAddress(const TZudirirParam& p);
// Octets last-first on the wire shown in natural order, "AA-BB-CC-DD-EE-FF".
std::string ParamMACAddress(const TZudirirParam& p);
// "x,y" of the first two value words (signed).
std::string ParamPoint(const TZudirirParam& p);
// All value bytes from the last to the first as upper-case hex pairs.
std::string ParamData(const TZudirirParam& p);
// "yyyy-mm-dd hh:nn:ss" and the date-time value; fields that form no valid
// date or time throw EConvertError.
std::string ParamDateTime(const TZudirirParam& p, TDateTime& value);
// The JPEG bytes of a picture value (after the 40-byte block when the first
// word is 0), bounded by the valid data.
std::vector<uint8_t> ParamImageBytes(const TZudirirParam& p);
// The picture of a picture value; data that are not JPEG throw EJpegError.
TJpegPicture ParamImage(const TZudirirParam& p);
