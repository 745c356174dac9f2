#include "USimFiles.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "UCodePage.h"
#include "UIniText.h"

namespace {

std::string Line(const std::string& key, const std::string& value) { return key + "=" + value + "\r\n"; }

}  // namespace

TSimFiles DefaultFiles(const TSimFileIdentity& id) {
  TSimFiles files;
  std::string device;
  device += "; DOZU camera configuration\r\n";
  device += "[Device Parameters]\r\n";
  // Identity texts are UTF-8 (as in replies); files hold the tools' 8-bit text.
  std::string hostName;
  if (!Utf8ToAnsi(id.HostName, hostName)) hostName = id.HostName;
  device += Line("NetBiosName", hostName);
  device += Line("SerialNumber", std::to_string(id.SerialNumber));
  device += Line("Location", "Lane " + std::to_string(id.Lane));
  device += "\r\n[Network ETH_IMX_0]\r\n";
  device += Line("IP", FormatIPv4(id.IpAddress));
  device += Line("NetMask", FormatIPv4(id.Netmask));
  device += Line("Gateway", FormatIPv4(id.Gateway));
  device += Line("DHCP", id.Dhcp ? "1" : "0");
  device += Line("Mode", "2");
  device += Line("DNS", FormatIPv4(id.Dns));
  device += "\r\n[Time]\r\n";
  device += Line("NtpServer", FormatIPv4(id.Gateway));
  device += Line("TimeZone", "0");
  files["device.ini"] = device;

  std::string ocr;
  ocr += "; plate recognition settings\r\n";
  if (id.PixelSearchWindow) {
    ocr += "[SEARCH WINDOW]\r\n";
    ocr += Line("WinMinX", "64") + Line("WinMinY", "288") + Line("WinMaxX", "1216") + Line("WinMaxY", "900");
    ocr += "\r\n";
  }
  ocr += "[PLATE LOCATOR]\r\n";
  ocr += Line("PercLaneLeft", "5") + Line("PercLaneRight", "95") + Line("PercLaneUp", "30") +
         Line("PercLaneDown", "90");
  ocr += "\r\n[PLATE CHAR SIZE LIMITS]\r\n";
  ocr += Line("CharMinWidth", "8") + Line("CharMaxWidth", "40") + Line("CharMinHeight", "12") +
         Line("CharMaxHeight", "60");
  ocr += "\r\n[OCR]\r\n";
  ocr += Line("Country", id.Country) + Line("MinScore", "60") + Line("Mode", "Std");
  files["ocrp_cfg.ini"] = ocr;
  files["ocrp_cfg.ini.bak"] = ocr;

  files["io_cfg.ini"] =
      "[INPUTS]\r\nIn0=Trigger\r\nIn1=None\r\n\r\n[OUTPUTS]\r\nOut0=Strobe\r\nOut1=Barrier\r\nPulseMs=500\r\n";
  files["ftp_cfg.ini"] =
      "[FTP]\r\nEnabled=0\r\nServer=\r\nUser=anpr\r\nFolder=/transits\r\n";
  files["event_cfg.ini"] = "[EVENT SERVER]\r\nEnabled=0\r\nHost=\r\nPort=32000\r\nSendImages=1\r\n";
  files["readme.txt"] = "Configuration files of this camera. Changes take effect after a reboot.\r\n";
  return files;
}

std::string FileListing(const TSimFiles& files) {
  std::string out;
  char size[16];
  for (const auto& [name, data] : files) {
    std::snprintf(size, sizeof size, "%7zu ", std::min<size_t>(data.size(), 9999999));
    out += size;
    out += name;
    out += '\n';
  }
  return out;
}

namespace {

void PutOctal(uint8_t* field, size_t width, uint64_t value) {
  // width - 1 octal digits and a terminating zero byte
  std::string digits(width - 1, '0');
  for (size_t i = width - 1; i-- > 0 && value;) {
    digits[i] = static_cast<char>('0' + (value & 7));
    value >>= 3;
  }
  std::memcpy(field, digits.data(), width - 1);
  field[width - 1] = 0;
}

}  // namespace

std::vector<uint8_t> BackupArchive(const TSimFiles& files) {
  std::vector<uint8_t> out;
  for (const auto& [name, data] : files) {
    uint8_t h[512] = {};
    std::memcpy(h, name.data(), std::min<size_t>(name.size(), 100));
    PutOctal(h + 100, 8, 0644);          // mode
    PutOctal(h + 108, 8, 0);             // uid
    PutOctal(h + 116, 8, 0);             // gid
    PutOctal(h + 124, 12, data.size());  // size
    PutOctal(h + 136, 12, 1704067200);   // 2024-01-01, the same for every file
    std::memset(h + 148, ' ', 8);        // checksum counts as blanks while summed
    h[156] = '0';                        // regular file
    std::memcpy(h + 257, "ustar", 6);
    std::memcpy(h + 263, "00", 2);
    std::memcpy(h + 265, "root", 4);
    std::memcpy(h + 297, "root", 4);
    unsigned sum = 0;
    for (uint8_t b : h) sum += b;
    PutOctal(h + 148, 7, sum);
    h[155] = ' ';
    out.insert(out.end(), h, h + 512);
    out.insert(out.end(), data.begin(), data.end());
    out.resize((out.size() + 511) / 512 * 512, 0);
  }
  out.resize(out.size() + 1024, 0);  // two empty blocks end the archive
  return out;
}

TSimNetworkSettings ReadNetworkSettings(const std::string& deviceIni) {
  const TIniText ini = TIniText::FromText(deviceIni);
  TSimNetworkSettings s;
  std::string v;
  uint32_t a = 0;
  if (ini.TryReadString("Network ETH_IMX_0", "IP", v) && ParseIPv4(v, a)) s.IpAddress = a;
  if (ini.TryReadString("Network ETH_IMX_0", "NetMask", v) && ParseIPv4(v, a)) s.Netmask = a;
  if (ini.TryReadString("Network ETH_IMX_0", "Gateway", v) && ParseIPv4(v, a)) s.Gateway = a;
  if (ini.TryReadString("Network ETH_IMX_0", "DHCP", v) && (v == "0" || v == "1")) s.Dhcp = v == "1";
  if (ini.TryReadString("Device Parameters", "NetBiosName", v) && !v.empty()) s.HostName = AnsiToUtf8(v);
  return s;
}

bool IsValidFileName(const std::string& name) {
  if (name.empty() || name.size() > 64 || name == "." || name == "..") return false;
  for (char c : name)
    if (c == '/' || c == '\\' || static_cast<uint8_t>(c) < 0x20) return false;
  return true;
}

bool LoadFilesFolder(const std::string& folder, TSimFiles& files, std::string& error) {
  std::error_code ec;
  std::filesystem::directory_iterator it(folder, ec);
  if (ec) {
    error = "cannot read the folder '" + folder + "': " + ec.message();
    return false;
  }
  for (const auto& entry : it) {
    if (!entry.is_regular_file(ec)) continue;
    const std::string name = entry.path().filename().string();
    if (!IsValidFileName(name)) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    if (!in) {
      error = "cannot read '" + entry.path().string() + "'";
      return false;
    }
    files[name].assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return true;
}
