#include "USimRequest.h"

#include <algorithm>
#include <cstring>

#include "USimCapture.h"
#include "USimIds.h"
#include "USimRecords.h"

namespace {

struct TRequest {
  uint32_t MsgNumber = 0;
  uint32_t SourceChannel = 0;
  uint32_t TargetChannel = 0;
  const uint8_t* Payload = nullptr;
  uint32_t PayloadSize = 0;  // bounded by the bytes held
  bool Short = false;        // the header announced more payload than arrived
};

TZudirirMsg StartReply(const TRequest& rq) {
  TZudirirMsg m;
  TFormZudirir::InitMsg(m, rq.MsgNumber, rq.SourceChannel);
  return m;
}

// A zero-terminated text at offset of the payload; false when no zero byte
// ends it inside the payload. next is set to the word after its zero bytes.
bool ReadText(const TRequest& rq, uint32_t offset, std::string& text, uint32_t& next) {
  if (offset >= rq.PayloadSize) return false;
  const uint8_t* start = rq.Payload + offset;
  const uint8_t* end = rq.Payload + rq.PayloadSize;
  const uint8_t* zero = std::find(start, end, uint8_t{0});
  if (zero == end) return false;
  text.assign(reinterpret_cast<const char*>(start), static_cast<size_t>(zero - start));
  next = offset + (static_cast<uint32_t>(text.size()) + 4) / 4 * 4;
  return true;
}

// The value of the first record with this identifier, walking the payload
// as the tools' records are laid out.
bool FindRecord(const TRequest& rq, uint32_t id, const uint8_t*& value, uint32_t& length) {
  uint32_t at = 0;
  while (rq.PayloadSize - at >= 8) {
    const uint32_t rid = ReadWordLE(rq.Payload + at);
    const uint32_t len = ReadWordLE(rq.Payload + at + 4);
    const uint32_t held = rq.PayloadSize - at - 8;
    if (rid == id) {
      value = rq.Payload + at + 8;
      length = std::min(len, held);
      return true;
    }
    if (len > held) return false;
    at += 8 + (len + 3) / 4 * 4;
  }
  return false;
}

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

void DeviceInfo(TSimCamera& cam, const TSimNow& now, TZudirirMsg& m, std::string& summary) {
  const TSimCameraConfig& c = cam.Config;
  // Older firmware sends identity and network in the 10000 range.
  const bool old = c.LegacyIds;
  AddIntRecord(m, old ? SimId::LegacySerialNumber : SimId::SerialNumber, c.SerialNumber);
  AddMacRecord(m, old ? SimId::LegacyMacAddress : SimId::MacAddress, c.Mac);
  AddIPv4Record(m, old ? SimId::LegacyIpAddress : SimId::IpAddress, c.IpAddress);
  AddIPv4Record(m, old ? SimId::LegacyNetmask : SimId::Netmask, c.Netmask);
  AddIPv4Record(m, old ? SimId::LegacyGateway : SimId::Gateway, c.Gateway);
  AddIntRecord(m, old ? SimId::LegacyDhcp : SimId::Dhcp, c.Dhcp ? 1 : 0);
  AddTextRecord(m, old ? SimId::LegacyNetbiosName : SimId::NetbiosName, c.HostName);
  AddTextRecord(m, old ? SimId::LegacyDescription : SimId::Description, c.Description);
  if (!c.LegacyIds) AddIPv4Record(m, SimId::Dns, c.Dns);
  AddIntRecord(m, SimId::FirmwareVersionHigh, c.FirmwareMajor * 100 + c.FirmwareMinor);
  AddIntRecord(m, SimId::FirmwareVersionLow, c.FirmwareBuild);
  AddIntRecord(m, SimId::BoardCode, 0x0D20);
  AddIntRecord(m, SimId::BoardRevision, 3);
  AddIntRecord(m, SimId::FpgaVersion, 0x0212);
  AddIntRecord(m, SimId::Temperature, cam.Temperature(now.SteadyMs));
  AddIntRecord(m, SimId::CpuUptime, static_cast<int32_t>(cam.UptimeMs(now.SteadyMs) / 1000));
  const int32_t used = cam.MemoryUsed(now.SteadyMs);
  AddIntRecord(m, SimId::MemoryTotal, cam.MemoryTotal());
  AddIntRecord(m, SimId::MemoryUsed, used);
  AddIntRecord(m, SimId::MemoryFree, cam.MemoryTotal() - used);
  AddIntRecord(m, SimId::DeviceStatus, 0);
  AddIntRecord(m, SimId::NumHwChannel, 2);
  AddIntRecord(m, SimId::DigitalInputNumber, 2);
  AddIntRecord(m, SimId::DigitalOutputNumber, 2);
  AddIntRecord(m, SimId::DigitalInputStatus, 0);
  AddIntRecord(m, SimId::DigitalOutputStatus, 0);
  summary = c.HostName + " " + FormatIPv4(c.IpAddress) + " " + FormatMac(c.Mac) + " SN " +
            std::to_string(c.SerialNumber);
}

void ReadFile(TSimCamera& cam, const TRequest& rq, TZudirirMsg& m, std::string& summary) {
  std::string name;
  uint32_t next = 0;
  if (!ReadText(rq, 0, name, next)) {
    m.Status = SimStatus::BadRequest;
    summary = "no file name";
    return;
  }
  auto it = cam.Files.find(name);
  if (it == cam.Files.end()) {
    m.Status = SimStatus::NoSuchFile;
    summary = "no file " + Quoted(name);
    return;
  }
  TFormZudirir::AddWord(m, static_cast<uint32_t>(it->second.size()));
  AddRawBytes(m, reinterpret_cast<const uint8_t*>(it->second.data()), it->second.size());
  summary = Quoted(name) + ", " + std::to_string(it->second.size()) + " bytes";
}

void WriteFile(TSimCamera& cam, const TRequest& rq, TZudirirMsg& m, std::string& summary) {
  std::string name;
  uint32_t next = 0;
  if (!ReadText(rq, 0, name, next) || rq.PayloadSize - std::min(next, rq.PayloadSize) < 4) {
    m.Status = SimStatus::BadRequest;
    summary = "no file name or size";
    return;
  }
  if (!IsValidFileName(name)) {
    m.Status = SimStatus::BadValue;
    summary = "refused file name " + Quoted(name);
    return;
  }
  const uint32_t n = ReadWordLE(rq.Payload + next);
  const uint32_t held = rq.PayloadSize - next - 4;
  if (n > held) {
    m.Status = SimStatus::BadRequest;
    summary = Quoted(name) + ": size word says " + std::to_string(n) + " bytes, " + std::to_string(held) +
              " arrived";
    return;
  }
  const bool existed = cam.Files.count(name) != 0;
  cam.Files[name].assign(reinterpret_cast<const char*>(rq.Payload + next + 4), n);
  summary = Quoted(name) + " " + (existed ? "replaced" : "created") + ", " + std::to_string(n) + " bytes";
}

void GetErrors(TSimCamera& cam, const TRequest& rq, const TSimNow& now, TZudirirMsg& m, std::string& summary) {
  // The request names how many entries the tool wants; without it, all.
  const uint32_t max = rq.PayloadSize >= 4 ? ReadWordLE(rq.Payload) : 0xFFFFFFFF;
  const int32_t used = cam.MemoryUsed(now.SteadyMs);
  const std::vector<uint8_t> report =
      BuildErrorReport(cam.ErrorLog, max, static_cast<int32_t>(cam.UptimeMs(now.SteadyMs)),
                       cam.MemoryTotal() - used, used);
  AddRawBytes(m, report.data(), report.size());
  summary = std::to_string((report.size() - ErrorHeaderSize) / ErrorEntrySize) + " entries of " +
            std::to_string(cam.ErrorLog.TotalCount) + " errors";
}

void GetImage(TSimCamera& cam, const TRequest& rq, const TSimNow& now, TZudirirMsg& m, std::string& summary) {
  if (rq.TargetChannel > 1) {
    m.Status = SimStatus::BadValue;
    summary = "no image channel " + std::to_string(rq.TargetChannel);
    return;
  }
  const int channel = static_cast<int>(rq.TargetChannel);
  const TSimRead read = NextRead(cam, now);
  const TSimShot shot = TakePicture(cam, channel, read);
  m.SourceChannel = rq.TargetChannel;
  AddBytesRecord(m, SimId::Image, shot.Jpeg.data(), shot.Jpeg.size());
  AddDateTimeRecord(m, SimId::ImageTime, read.Time);
  AddIntRecord(m, SimId::JpegQuality, shot.Info.JpegQuality);
  summary = std::string(channel ? "colour" : "black-and-white") + " picture " + std::to_string(shot.Info.Width) +
            "x" + std::to_string(shot.Info.Height) + ", " + std::to_string(shot.Jpeg.size()) + " bytes, plate " +
            read.Plate;
}

void GetDateTime(TSimCamera& cam, const TSimNow& now, TZudirirMsg& m, std::string& summary) {
  const TDateTime clock = cam.Clock(now.Wall);
  AddDateTimeRecord(m, SimId::Time, DecodeDateTime(clock));
  summary = FormatDateTimeText(clock);
}

void SetDateTime(TSimCamera& cam, const TRequest& rq, const TSimNow& now, TZudirirMsg& m, std::string& summary) {
  const uint8_t* v = nullptr;
  uint32_t len = 0;
  if (!FindRecord(rq, SimId::Time, v, len) || len < 10) {
    m.Status = SimStatus::BadRequest;
    summary = "no TIME record";
    return;
  }
  const uint32_t w0 = ReadWordLE(v), w1 = ReadWordLE(v + 4);
  const uint32_t w2 = len >= 12 ? ReadWordLE(v + 8) : (static_cast<uint32_t>(v[8]) | (static_cast<uint32_t>(v[9]) << 8));
  TDateTimeParts p;
  p.Day = static_cast<int>(w0 & 0xFF);
  p.Month = static_cast<int>((w0 >> 8) & 0xFF);
  p.Year = static_cast<int>(w0 >> 16);
  p.Hour = static_cast<int>(w1 & 0xFFFF);
  p.Minute = static_cast<int>(w1 >> 16);
  p.Second = static_cast<int>(w2 & 0xFFFF);
  p.Millisecond = static_cast<int>(w2 >> 16);
  if (!IsValidDate(p.Year, p.Month, p.Day) || !IsValidTime(p.Hour, p.Minute, p.Second, p.Millisecond)) {
    m.Status = SimStatus::BadValue;
    summary = "invalid date or time";
    return;
  }
  const TDateTime value = EncodeDateTime(p);
  cam.SetClock(value, now.Wall);
  summary = "clock set to " + FormatDateTimeText(value);
}

}  // namespace

TSimAnswer HandleRequest(TSimCamera& cam, const uint8_t* request, size_t size, TSimTransport transport,
                         const TSimNow& now) {
  (void)transport;  // every message is served on both transports
  TSimAnswer a;
  if (size < MsgHeaderSize || ReadWordLE(request) != MsgHeaderSize) return a;
  TRequest rq;
  rq.MsgNumber = ReadWordLE(request + 4);
  rq.SourceChannel = ReadWordLE(request + 8);
  rq.TargetChannel = ReadWordLE(request + 12);
  const uint32_t declared = ReadWordLE(request + 20);
  const size_t held = size - MsgHeaderSize;
  rq.Payload = request + MsgHeaderSize;
  rq.PayloadSize = static_cast<uint32_t>(std::min<size_t>(declared, held));
  rq.Short = declared > held;

  a.Reply = true;
  a.Request = SimMsgName(rq.MsgNumber);
  a.Message = StartReply(rq);
  TZudirirMsg& m = a.Message;
  // Replies carry no channel unless they carry a picture.
  m.SourceChannel = 0xFFFFFFFF;
  if (rq.Short) {
    m.Status = SimStatus::BadRequest;
    a.Summary = "payload of " + std::to_string(declared) + " bytes announced, " + std::to_string(held) + " arrived";
    return a;
  }
  switch (rq.MsgNumber) {
    case MSG_DEVICE_INFO: DeviceInfo(cam, now, m, a.Summary); break;
    case MSG_REBOOT:
      a.Reboot = true;
      a.Summary = "rebooting";
      break;
    case MSG_READ_FILE: ReadFile(cam, rq, m, a.Summary); break;
    case MSG_WRITE_FILE: WriteFile(cam, rq, m, a.Summary); break;
    case MSG_LIST_FILES: {
      const std::string listing = FileListing(cam.Files);
      AddRawBytes(m, reinterpret_cast<const uint8_t*>(listing.data()), listing.size());
      a.Summary = std::to_string(cam.Files.size()) + " files";
      break;
    }
    case MSG_GET_ERRORS: GetErrors(cam, rq, now, m, a.Summary); break;
    case MSG_ERASE_ERRORS:
      cam.ErrorLog.Erase();
      a.Summary = "error log erased";
      break;
    case MSG_GET_IMAGE: GetImage(cam, rq, now, m, a.Summary); break;
    case MSG_GET_DATE_TIME: GetDateTime(cam, now, m, a.Summary); break;
    case MSG_SET_DATE_TIME: SetDateTime(cam, rq, now, m, a.Summary); break;
    default:
      m.Status = SimStatus::Unsupported;
      a.Summary = "not a message this camera serves";
      break;
  }
  return a;
}
