#pragma once
// Messages as a camera puts them on the wire, written byte by byte here so
// that the window's reading is checked against an independent writer.

#include <cstdint>
#include <string>
#include <vector>

class TTestMessage {
public:
  explicit TTestMessage(uint32_t msgNumber, uint32_t sourceChannel = 0, uint32_t status = 0)
      : MsgNumber(msgNumber), SourceChannel(sourceChannel), Status(status) {}

  // One record: Id, Length, the value, zero bytes up to a multiple of 4.
  TTestMessage& Record(uint32_t id, const std::vector<uint8_t>& value);
  TTestMessage& Word(uint32_t id, uint32_t value);
  TTestMessage& Text(uint32_t id, const std::string& utf8);  // zero-terminated
  TTestMessage& Address(uint32_t id, const std::string& dotted);
  TTestMessage& Mac(uint32_t id, const std::string& mac);  // "00-0A-1B-2C-3D-4E"
  TTestMessage& Raw(const std::vector<uint8_t>& bytes);    // payload bytes as given

  std::vector<uint8_t> Bytes() const;

  uint32_t MsgNumber;
  uint32_t SourceChannel;
  uint32_t Status;
  uint32_t HeaderSize = 24;
  std::vector<uint8_t> Payload;
};

// A device information reply as a camera sends it.
struct TTestCamera {
  int32_t SerialNumber = 0;  // 0: no serial number record at all
  std::string Ip;
  std::string Netmask = "255.255.255.0";
  std::string Gateway = "192.168.1.1";
  std::string Mac;
  std::string HostName;
  std::string Description;
  bool Dhcp = false;
};
std::vector<uint8_t> DeviceInfoReply(const TTestCamera& camera);

// One datagram per fragment of a reply, with the fragment header.
std::vector<std::vector<uint8_t>> ReplyDatagrams(const std::vector<uint8_t>& message);

// A small real JPEG picture (w x h, grey), optionally with an image
// information block of the given text lines as its first segment.
std::vector<uint8_t> TestJpeg(int width, int height, const std::vector<std::string>& infoLines = {});
