#include "TTestMessages.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <cstdio>

namespace {
void PutWord(std::vector<uint8_t>& out, uint32_t w) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(w >> (8 * i)));
}
}  // namespace

TTestMessage& TTestMessage::Record(uint32_t id, const std::vector<uint8_t>& value) {
  PutWord(Payload, id);
  PutWord(Payload, static_cast<uint32_t>(value.size()));
  Payload.insert(Payload.end(), value.begin(), value.end());
  while (Payload.size() % 4 != 0) Payload.push_back(0);
  return *this;
}

TTestMessage& TTestMessage::Word(uint32_t id, uint32_t value) {
  std::vector<uint8_t> bytes;
  PutWord(bytes, value);
  return Record(id, bytes);
}

TTestMessage& TTestMessage::Text(uint32_t id, const std::string& utf8) {
  std::vector<uint8_t> bytes(utf8.begin(), utf8.end());
  bytes.push_back(0);
  return Record(id, bytes);
}

TTestMessage& TTestMessage::Address(uint32_t id, const std::string& dotted) {
  unsigned a = 0, b = 0, c = 0, d = 0;
  std::sscanf(dotted.c_str(), "%u.%u.%u.%u", &a, &b, &c, &d);
  return Word(id, (a << 24) | (b << 16) | (c << 8) | d);
}

TTestMessage& TTestMessage::Mac(uint32_t id, const std::string& mac) {
  unsigned o[6] = {};
  std::sscanf(mac.c_str(), "%x-%x-%x-%x-%x-%x", &o[0], &o[1], &o[2], &o[3], &o[4], &o[5]);
  std::vector<uint8_t> bytes;
  for (int i = 5; i >= 0; --i) bytes.push_back(static_cast<uint8_t>(o[i]));
  bytes.push_back(0);
  bytes.push_back(0);
  return Record(id, bytes);
}

TTestMessage& TTestMessage::Raw(const std::vector<uint8_t>& bytes) {
  Payload.insert(Payload.end(), bytes.begin(), bytes.end());
  return *this;
}

std::vector<uint8_t> TTestMessage::Bytes() const {
  std::vector<uint8_t> out;
  PutWord(out, HeaderSize);
  PutWord(out, MsgNumber);
  PutWord(out, SourceChannel);
  PutWord(out, 0);
  PutWord(out, Status);
  PutWord(out, static_cast<uint32_t>(Payload.size()));
  // A longer header than the usual 24 bytes is padded, so the message is whole.
  while (out.size() < HeaderSize) out.push_back(0);
  out.insert(out.end(), Payload.begin(), Payload.end());
  return out;
}

std::vector<uint8_t> DeviceInfoReply(const TTestCamera& camera) {
  TTestMessage m(4096);
  if (camera.SerialNumber != 0) m.Word(12000, static_cast<uint32_t>(camera.SerialNumber));
  m.Mac(12001, camera.Mac)
      .Address(12002, camera.Ip)
      .Address(12003, camera.Netmask)
      .Address(12004, camera.Gateway)
      .Word(12007, camera.Dhcp ? 1 : 0)
      .Text(12008, camera.HostName)
      .Text(12010, camera.Description)
      .Word(12019, 41);  // a temperature, which only names itself
  return m.Bytes();
}

std::vector<std::vector<uint8_t>> ReplyDatagrams(const std::vector<uint8_t>& message) {
  const size_t slice = 1440;
  const uint32_t count = static_cast<uint32_t>((message.size() + slice - 1) / slice);
  std::vector<std::vector<uint8_t>> datagrams;
  for (uint32_t i = 0; i < count; ++i) {
    const size_t from = i * slice;
    const size_t n = std::min(slice, message.size() - from);
    std::vector<uint8_t> d;
    PutWord(d, count);
    PutWord(d, i);
    PutWord(d, static_cast<uint32_t>(n + 32));
    PutWord(d, static_cast<uint32_t>(message.size()));
    d.resize(32, 0xFF);
    for (int k = 16; k < 24; ++k) d[k] = 0;
    d.insert(d.end(), message.begin() + static_cast<long>(from), message.begin() + static_cast<long>(from + n));
    datagrams.push_back(std::move(d));
  }
  return datagrams;
}

std::vector<uint8_t> TestJpeg(int width, int height, const std::vector<std::string>& infoLines) {
  QImage image(width, height, QImage::Format_RGB888);
  image.fill(QColor(90, 90, 90));
  QByteArray jpeg;
  QBuffer buffer(&jpeg);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "jpeg");
  writer.write(image);
  std::vector<uint8_t> bytes(jpeg.begin(), jpeg.end());
  if (infoLines.empty()) return bytes;
  // The camera's block replaces the JFIF header as the first APP0 segment.
  std::string text;
  for (const std::string& line : infoLines) text += line + "\r\n";
  const size_t l = text.size() + 2;
  std::vector<uint8_t> out = {0xFF, 0xD8, 0xFF, 0xE0, static_cast<uint8_t>(l >> 8), static_cast<uint8_t>(l)};
  out.insert(out.end(), text.begin(), text.end());
  out.insert(out.end(), bytes.begin() + 2, bytes.end());
  return out;
}
