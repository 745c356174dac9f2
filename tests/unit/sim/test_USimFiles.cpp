// A camera's files: the backup archive, the settings it starts with, the
// error log layout and the names it accepts.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "USimErrorLog.h"
#include "USimFiles.h"

namespace {

uint64_t Octal(const uint8_t* field, size_t width) {
  uint64_t v = 0;
  for (size_t i = 0; i < width && field[i] >= '0' && field[i] <= '7'; ++i) v = v * 8 + (field[i] - '0');
  return v;
}

TEST(SimFiles, BackupIsAStableUstarArchiveOfEveryFile) {
  TSimFiles files = {{"device.ini", "[A]\r\nB=1\r\n"}, {"empty.ini", ""}, {"big.bin", std::string(1000, 'x')}};
  const std::vector<uint8_t> a = BackupArchive(files);
  EXPECT_EQ(a, BackupArchive(files));
  ASSERT_EQ(a.size() % 512, 0u);

  // Walk it as a tar reader would: names in order, sizes, checksums, contents.
  std::vector<std::string> names;
  size_t at = 0;
  while (at + 512 <= a.size() && a[at] != 0) {
    const uint8_t* h = a.data() + at;
    const std::string name(reinterpret_cast<const char*>(h));
    names.push_back(name);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(h + 257), 5), "ustar");
    unsigned sum = 0;
    for (size_t i = 0; i < 512; ++i) sum += (i >= 148 && i < 156) ? ' ' : h[i];
    EXPECT_EQ(Octal(h + 148, 8), sum) << name;
    const uint64_t size = Octal(h + 124, 12);
    ASSERT_EQ(size, files.at(name).size());
    EXPECT_EQ(std::string(a.begin() + static_cast<ptrdiff_t>(at + 512),
                          a.begin() + static_cast<ptrdiff_t>(at + 512 + size)),
              files.at(name));
    at += 512 + (size + 511) / 512 * 512;
  }
  EXPECT_EQ(names, (std::vector<std::string>{"big.bin", "device.ini", "empty.ini"}));
  EXPECT_EQ(a.size(), at + 1024);  // two empty blocks end it

  files["device.ini"] += "C=2\r\n";
  EXPECT_NE(BackupArchive(files), a);
}

TEST(SimFiles, NetworkSettingsFromDeviceIni) {
  const TSimNetworkSettings s = ReadNetworkSettings(
      "; comment\r\n[network eth_imx_0]\r\nip = 10.0.0.5\r\nNetMask=255.255.0.0\r\nGateway=10.0.300.1\r\n"
      "DHCP=1\r\n[Device Parameters]\r\nNetBiosName=Cam\xE9ra\r\n");
  ASSERT_TRUE(s.IpAddress);
  EXPECT_EQ(FormatIPv4(*s.IpAddress), "10.0.0.5");
  EXPECT_EQ(FormatIPv4(*s.Netmask), "255.255.0.0");
  EXPECT_FALSE(s.Gateway);  // not an address: kept as it was
  EXPECT_TRUE(*s.Dhcp);
  EXPECT_EQ(*s.HostName, "Cam\xC3\xA9ra");  // the file's 8-bit text becomes UTF-8
  const TSimNetworkSettings none = ReadNetworkSettings("");
  EXPECT_FALSE(none.IpAddress || none.Netmask || none.Gateway || none.Dhcp || none.HostName);
}

TEST(SimFiles, DefaultFilesAndNames) {
  TSimFileIdentity id;
  id.HostName = "DOZU-1";
  ASSERT_TRUE(ParseIPv4("127.0.0.11", id.IpAddress));
  const TSimFiles files = DefaultFiles(id);
  const TSimNetworkSettings s = ReadNetworkSettings(files.at("device.ini"));
  EXPECT_EQ(*s.IpAddress, id.IpAddress);
  EXPECT_EQ(*s.HostName, "DOZU-1");
  EXPECT_EQ(files.at("ocrp_cfg.ini").find("[SEARCH WINDOW]"), std::string::npos);
  id.PixelSearchWindow = true;
  EXPECT_NE(DefaultFiles(id).at("ocrp_cfg.ini").find("[SEARCH WINDOW]"), std::string::npos);

  for (const char* good : {"device.ini", "a", "x.y.z"}) EXPECT_TRUE(IsValidFileName(good)) << good;
  for (const char* bad : {"", ".", "..", "a/b", "a\\b", "tab\tname", "0123456789012345678901234567890123456789012345678901234567890123456789"})
    EXPECT_FALSE(IsValidFileName(bad)) << bad;
}

TEST(SimFiles, FolderReplacesAndAddsFiles) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("dozusim-files-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir / "sub");
  std::ofstream(dir / "device.ini", std::ios::binary) << "[Network ETH_IMX_0]\r\nIP=10.1.1.1\r\n";
  std::ofstream(dir / "site.ini", std::ios::binary) << std::string("A=\xE9\0B", 5);
  TSimFiles files = {{"device.ini", "old"}, {"keep.ini", "kept"}};
  std::string error;
  ASSERT_TRUE(LoadFilesFolder(dir.string(), files, error)) << error;
  EXPECT_EQ(files.size(), 3u);  // the subfolder is not a file
  EXPECT_EQ(files.at("device.ini"), "[Network ETH_IMX_0]\r\nIP=10.1.1.1\r\n");
  EXPECT_EQ(files.at("site.ini"), std::string("A=\xE9\0B", 5));  // bytes as they are
  EXPECT_EQ(files.at("keep.ini"), "kept");
  std::filesystem::remove_all(dir);
  EXPECT_FALSE(LoadFilesFolder(dir.string(), files, error));
  EXPECT_NE(error.find("cannot read"), std::string::npos);
}

TEST(SimErrorLog, KeepsTheNewestWithinItsBuffer) {
  TSimErrorLog log;
  log.BufferSize = 2;
  for (int i = 1; i <= 3; ++i) log.Add({"error " + std::to_string(i), i, "f.c", i, 0, 0, 0});
  ASSERT_EQ(log.Entries.size(), 2u);
  EXPECT_EQ(log.Entries[0].Code, 3);
  EXPECT_EQ(log.TotalCount, 3);
  // A 64-byte description fills its field without a zero byte.
  log.Entries[0].Description = std::string(70, 'D');
  const std::vector<uint8_t> r = BuildErrorReport(log, 100, 1, 2, 3);
  ASSERT_EQ(r.size(), 104u + 2 * 128);
  EXPECT_EQ(std::string(r.begin() + 104, r.begin() + 168), std::string(64, 'D'));
  EXPECT_EQ(r[168], 3);  // the code follows at once
  log.Erase();
  EXPECT_TRUE(log.Entries.empty());
  EXPECT_EQ(log.TotalCount, 0);
}

}  // namespace
