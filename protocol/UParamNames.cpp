// The identifier table and the naming of one record.

#include "UParamNames.h"

#include <array>
#include <cctype>

namespace {

using K = TParamKind;
constexpr TParamScope B = TParamScope::Both;
constexpr TParamScope T = TParamScope::TestTool;

constexpr TParamName Table[] = {
    {0, "SERIAL_NUMBER", K::Integer, B},
    {12000, "SERIAL_NUMBER", K::Integer, B},
    {14017, "SERIAL_NUMBER", K::Integer, B},
    {2000, "IMAGE", K::Image, T},
    {2001, "IMAGE_TIME", K::DateTime, T},
    {10000, "MAC_ADDRESS", K::MACAddress, B},
    {12001, "MAC_ADDRESS", K::MACAddress, B},
    {10001, "IP_ADDRESS", K::IPAddress, B},
    {12002, "IP_ADDRESS", K::IPAddress, B},
    {10002, "NETMASK", K::IPAddress, B},
    {12003, "NETMASK", K::IPAddress, B},
    {10003, "GATEWAY", K::IPAddress, B},
    {12004, "GATEWAY", K::IPAddress, B},
    {10006, "DHCP", K::Integer, B},
    {12007, "DHCP", K::Integer, B},
    {10008, "NETBIOSNAME", K::String, B},
    {12008, "NETBIOSNAME", K::String, B},
    {10010, "DESCRIPTION", K::String, B},
    {12010, "DESCRIPTION", K::String, B},
    {10015, "JPEG_QUALITY", K::Integer, T},
    {10037, "TIMEZONE", K::Integer, T},
    {10041, "TIMEDST", K::Integer, T},
    {10069, "POINT", K::Point, T},
    {10082, "COMPLETION_STATUS", K::Integer, T},
    {10111, "FIRMWARE_VERSION_HIGH", K::Integer, B},
    {10112, "FIRMWARE_VERSION_LOW", K::Integer, B},
    {12005, "DNS", K::IPAddress, B},
    {12013, "BOARD_CODE", K::Integer, B},
    {12014, "BOARD_REVISION", K::Integer, B},
    {12019, "TEMPERATURE", K::Integer, B},
    {12020, "FPGA_VERSION", K::Integer, B},
    {12021, "CPU_UPTIME", K::Integer, B},
    {12022, "MEMORY_TOTAL_SIZE", K::Integer, B},
    {12023, "MEMORY_USED_SIZE", K::Integer, B},
    {12024, "MEMORY_FREE_SIZE", K::Integer, B},
    {12026, "TIME", K::DateTime, B},
    {12033, "DEVICE_STATUS", K::Integer, B},
    {12034, "TSK", K::Data, B},
    {12038, "FILE_NAME", K::String, B},
    {12039, "FILE_DATA", K::Data, B},
    {12040, "NUM_HW_CHANNEL", K::Integer, B},
    {12041, "DIGITAL_INPUT_NUMBER", K::Integer, B},
    {12042, "DIGITAL_OUTPUT_NUMBER", K::Integer, B},
    {12043, "DIGITAL_INPUT_STATUS", K::Integer, B},
    {12044, "DIGITAL_OUTPUT_STATUS", K::Integer, B},
    {12518, "CAM_SIGNATURE", K::String, B},
    {14000, "DATE", K::String, T},
    {14001, "TIME", K::String, T},
    {14002, "NETBIOSNAME", K::String, T},
    {14003, "PLATE", K::String, T},
    {14004, "PLATE_STRING", K::String, T},
    {14005, "PLATE_COUNTRY", K::String, T},
    {14006, "NREAD", K::Integer, T},
    {14007, "IMAGENAME", K::String, T},
    {14008, "IMAGEPATH", K::String, T},
    {14009, "TRANSIT_ID", K::Integer, T},
    {14010, "PLATE_MIN_X", K::Integer, T},
    {14011, "PLATE_MIN_Y", K::Integer, T},
    {14012, "PLATE_MAX_X", K::Integer, T},
    {14013, "PLATE_MAX_Y", K::Integer, T},
    {14014, "SPEED", K::Integer, T},
    {14015, "CLASS", K::Integer, T},
    {14016, "CLASS_STRING", K::String, T},
    {14018, "DIRECTION", K::String, T},
    {14019, "NET_TRIG_ID", K::String, T},
    {14020, "IMAGE_BW", K::Image, T},
    {14021, "IMAGE_COL", K::Image, T},
    {14022, "OCRSCORE", K::Integer, T},
    {14023, "PLATE_DESC_A", K::String, T},
    {14024, "PLATE_DESC_B", K::String, T},
    {14025, "ACQUISITION_MODE", K::String, T},
    {14026, "PLATE_STR", K::String, T},
    {14027, "PLATE_TRL", K::String, T},
    {14028, "PLATE_ADR", K::String, T},
};

}  // namespace

std::span<const TParamName> ParamNameTable() { return Table; }

const TParamName* FindParamName(uint32_t id, TParamTool tool) {
  for (const TParamName& row : Table) {
    if (row.Id != id) continue;
    if (row.Scope == TParamScope::TestTool && tool == TParamTool::Console) return nullptr;
    return &row;
  }
  return nullptr;
}

bool IsSerialNumberId(uint32_t id) { return id == 0 || id == 12000 || id == 14017; }

bool IsDescriptionId(uint32_t id) { return id == 10010 || id == 12010; }

std::string RewriteDescription(const std::string& input) {
  std::string text = input;
  const size_t at = text.find(" RovevOvu");
  if (at != std::string::npos) text.erase(at, 24);  // the space, the word and 15 more characters
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    if (i + 4 <= text.size() && std::toupper(static_cast<unsigned char>(text[i])) == 'D' &&
        std::toupper(static_cast<unsigned char>(text[i + 1])) == 'O' &&
        std::toupper(static_cast<unsigned char>(text[i + 2])) == 'Z' &&
        std::toupper(static_cast<unsigned char>(text[i + 3])) == 'U') {
      out += "ANPR";
      i += 4;
    } else {
      out += text[i++];
    }
  }
  return out;
}

TNamedParam NameParam(const TZudirirParam& p, TParamTool tool) {
  TNamedParam named;
  const TParamName* row = FindParamName(p.Id, tool);
  if (row == nullptr) {
    named.Name = std::to_string(static_cast<int32_t>(p.Id));  // "%d"
    named.Value = ParamData(p);
    return named;
  }
  named.Known = true;
  named.Kind = row->Kind;
  // A serial number of 0 names nothing: the record stays nameless and empty.
  if (IsSerialNumberId(p.Id) && p.Word(0) == 0) return named;
  named.Name = row->Name;
  switch (row->Kind) {
    case TParamKind::String: named.Value = ParamString(p); break;
    case TParamKind::Integer: named.Value = ParamInteger(p); break;
    case TParamKind::IPAddress: named.Value = ParamIPAddress(p); break;
    case TParamKind::MACAddress: named.Value = ParamMACAddress(p); break;
    case TParamKind::Point: named.Value = ParamPoint(p); break;
    case TParamKind::Data: named.Value = ParamData(p); break;
    case TParamKind::DateTime: named.Value = ParamDateTime(p, named.DateTime); break;
    case TParamKind::Image: break;  // shown by the caller, not as text
  }
  if (IsDescriptionId(p.Id)) named.Value = RewriteDescription(named.Value);
  return named;
}
