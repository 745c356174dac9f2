#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "UErrors.h"
#include "USettings.h"

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

TEST(Settings, FileNameIsTheProgramsWithIni) {
  struct Case {
    std::string program, settings;
  } cases[] = {
      {"/opt/lumi/Lumidor", "/opt/lumi/Lumidor.ini"},
      {"/opt/lumi.d/Lumidor", "/opt/lumi.d/Lumidor.ini"},
      {"/opt/lumi/Lumidor.exe", "/opt/lumi/Lumidor.ini"},
      {"C:\\Tools\\Lumidor.exe", "C:\\Tools\\Lumidor.ini"},
      {"Lumidor", "Lumidor.ini"},
  };
  for (const Case& c : cases) EXPECT_EQ(SettingsFileName(c.program), c.settings) << c.program;
}

TEST(Settings, PortAndPathWithDefaults) {
  struct Case {
    const char* name;
    Lines file;
    TSettings expected;
  } cases[] = {
      {"no file", {}, {32000, ""}},
      {"hexadecimal with 0x", {"[options]", "port=0x7D01"}, {32001, ""}},
      {"hexadecimal with $", {"[Options]", "PORT = $7D02", "path = C:\\pics "}, {32002, "C:\\pics"}},
      {"not a number", {"[options]", "port=thirty", "path=/srv/pics"}, {32000, "/srv/pics"}},
      {"fraction is not a number", {"[options]", "port=80.5"}, {32000, ""}},
      {"sign", {"[options]", "port=+8080"}, {8080, ""}},
      {"other section does not count", {"[other]", "port=1", "[options]"}, {32000, ""}},
      {"later key wins", {"[options]", "port=1", "port=2"}, {2, ""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ParseSettings(c.file), c.expected);
  }
}

TEST(Settings, RenderKeepsEverythingElse) {
  EXPECT_EQ(RenderSettings({}, {}), (Lines{"[options]", "port=32000", "path=", ""}));
  EXPECT_EQ(RenderSettings({"[view]", "zoom=2", "[options]", "Path=old", "extra=1"}, {4000, "/pics"}),
            (Lines{"[view]", "zoom=2", "", "[options]", "path=/pics", "extra=1", "port=4000", ""}));
}

class SettingsFile : public ::testing::Test {
protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("lumi_settings_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                       "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    file = (dir / "Lumidor.ini").string();
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string Read() const {
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  fs::path dir;
  std::string file;
};

TEST_F(SettingsFile, FirstStartThenCloseWritesTheDefaults) {
  const TSettings s = LoadSettings(file);
  EXPECT_EQ(s, TSettings{});
  SaveSettings(file, s);
  EXPECT_EQ(Read(), "[options]\nport=32000\npath=\n\n");
  EXPECT_EQ(LoadSettings(file), s);
}

TEST_F(SettingsFile, SaveKeepsOtherSectionsAndRoundTrips) {
  std::ofstream(file, std::ios::binary) << "; written by hand\r\n[options]\r\nport=0x7D01\r\nlang=de\r\n[recent]\r\nfile=a.jpg\r\n";
  TSettings s = LoadSettings(file);
  EXPECT_EQ(s.Port, 32001);
  s.SaveFolder = "/srv/pics \xE4";
  SaveSettings(file, s);
  EXPECT_EQ(Read(), "[options]\nport=32001\nlang=de\npath=/srv/pics \xE4\n\n[recent]\nfile=a.jpg\n\n");
  EXPECT_EQ(LoadSettings(file), s);
}

TEST_F(SettingsFile, UnwritableFileRaises) {
  EXPECT_THROW(SaveSettings((dir / "missing" / "Lumidor.ini").string(), TSettings{}), EFileError);
}

}  // namespace
