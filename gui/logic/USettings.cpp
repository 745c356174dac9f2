// Settings file of the test tool.

#include "USettings.h"

#include <fstream>
#include <iterator>

#include "UErrors.h"
#include "UIniText.h"
#include "UPaths.h"

namespace {

constexpr std::string_view Section = "options";

#ifdef _WIN32
constexpr std::string_view FileEol = "\r\n";
#else
constexpr std::string_view FileEol = "\n";
#endif

std::vector<std::string> ReadLines(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in) return {};
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return SplitLines(text);
}

}  // namespace

std::string SettingsFileName(const std::string& programFile) {
  const size_t folderEnd = programFile.find_last_of(std::string{NativePathDelimiter, '/', ':'});
  const size_t dot = programFile.rfind('.');
  const bool hasExt = dot != std::string::npos && (folderEnd == std::string::npos || dot > folderEnd);
  return (hasExt ? programFile.substr(0, dot) : programFile) + ".ini";
}

TSettings ParseSettings(const std::vector<std::string>& lines) {
  const TIniText ini(lines);
  TSettings s;
  s.Port = ini.ReadInteger(Section, "port", DefaultServerPort, TIntSyntax::DollarOr0x);
  s.SaveFolder = ini.ReadString(Section, "path");
  return s;
}

std::vector<std::string> RenderSettings(const std::vector<std::string>& existing, const TSettings& settings) {
  TIniText ini(existing);
  ini.WriteInteger(Section, "port", settings.Port);
  ini.WriteString(Section, "path", settings.SaveFolder);
  return ini.Render();
}

TSettings LoadSettings(const std::string& fileName) { return ParseSettings(ReadLines(fileName)); }

void SaveSettings(const std::string& fileName, const TSettings& settings) {
  const std::string text = JoinLines(RenderSettings(ReadLines(fileName), settings), FileEol);
  std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
  if (out) out.write(text.data(), static_cast<std::streamsize>(text.size()));
  if (!out) throw EFileError("Cannot create file \"" + fileName + "\"");
}
