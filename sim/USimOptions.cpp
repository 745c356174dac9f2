#include "USimOptions.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "UIniText.h"

extern char** environ;

namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// Option names compare with dashes and underscores alike.
std::string KeyOf(std::string s) {
  s = Lower(s);
  std::replace(s.begin(), s.end(), '-', '_');
  return s;
}

bool ToInt64(const std::string& text, int64_t& value) {
  std::string_view t = text;
  int base = 10;
  if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
    base = 16;
    t.remove_prefix(2);
  }
  if (t.empty()) return false;
  auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value, base);
  return ec == std::errc() && end == t.data() + t.size();
}

bool ToDouble(const std::string& text, double& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return end == text.c_str() + text.size();
}

bool ToBool(const std::string& text, bool& value) {
  const std::string t = Lower(text);
  if (t == "1" || t == "yes" || t == "on" || t == "true") value = true;
  else if (t == "0" || t == "no" || t == "off" || t == "false") value = false;
  else return false;
  return true;
}

bool Bad(std::string& error, const std::string& key, const std::string& value, const char* what) {
  error = "bad value '" + value + "' for " + key + " (" + what + ")";
  return false;
}

bool IntIn(const std::string& key, const std::string& value, int64_t lo, int64_t hi, int64_t& out,
           std::string& error) {
  if (!ToInt64(value, out) || out < lo || out > hi)
    return Bad(error, key, value, ("a number from " + std::to_string(lo) + " to " + std::to_string(hi)).c_str());
  return true;
}

bool Address(const std::string& key, const std::string& value, uint32_t& out, std::string& error) {
  if (!ParseIPv4(value, out)) return Bad(error, key, value, "an IPv4 address a.b.c.d");
  return true;
}

bool Port(const std::string& key, const std::string& value, uint16_t& out, std::string& error) {
  int64_t v = 0;
  if (!IntIn(key, value, 1, 65535, v, error)) return false;
  out = static_cast<uint16_t>(v);
  return true;
}

bool Milliseconds(const std::string& key, const std::string& value, int64_t& out, std::string& error) {
  return IntIn(key, value, 0, 86400000, out, error);
}

// Faults are written "[CAMERAS:]SWITCH"; several may share one config line,
// separated by blanks.
bool AddFaults(const std::string& text, TSimOptions& o, std::string& error, const std::string& forCamera = "") {
  std::istringstream in(text);
  std::string item;
  bool any = false;
  while (in >> item) {
    any = true;
    std::string cameras = forCamera.empty() ? "all" : forCamera;
    std::string switchText = item;
    if (forCamera.empty())
      if (const size_t colon = item.find(':'); colon != std::string::npos) {
        cameras = item.substr(0, colon);
        switchText = item.substr(colon + 1);
      }
    TSimFault f;
    if (!ParseFault(switchText, f, error)) return false;
    o.Faults.emplace_back(cameras, f);
  }
  if (!any) {
    error = "empty fault switch";
    return false;
  }
  return true;
}

// One global setting, by its long option name without the dashes.
bool ApplySetting(TSimOptions& o, const std::string& rawKey, const std::string& value, std::string& error) {
  const std::string key = KeyOf(rawKey);
  int64_t n = 0;
  double d = 0;
  bool b = false;
  if (key == "cameras") {
    if (!IntIn(key, value, 1, 10000, n, error)) return false;
    o.Cameras = static_cast<int>(n);
  } else if (key == "first_ip") {
    return Address(key, value, o.FirstIp, error);
  } else if (key == "netmask") {
    return Address(key, value, o.Netmask, error);
  } else if (key == "gateway") {
    return Address(key, value, o.Gateway, error);
  } else if (key == "first_serial") {
    if (!IntIn(key, value, 1, 2000000000, n, error)) return false;
    o.FirstSerial = static_cast<int32_t>(n);
  } else if (key == "udp_port") {
    return Port(key, value, o.UdpPort, error);
  } else if (key == "tcp_port") {
    return Port(key, value, o.TcpPort, error);
  } else if (key == "http_port") {
    return Port(key, value, o.HttpPort, error);
  } else if (key == "broadcast") {
    return Address(key, value, o.Broadcast, error);
  } else if (key == "listen_broadcast") {
    uint32_t a = 0;
    if (!Address(key, value, a, error)) return false;
    o.ListenBroadcast = value;
  } else if (key == "spread") {
    return Milliseconds(key, value, o.SpreadMs, error);
  } else if (key == "seed") {
    if (!IntIn(key, value, 0, 0xFFFFFFFFLL, n, error)) return false;
    o.Seed = static_cast<uint32_t>(n);
  } else if (key == "reboot_time") {
    if (!ToDouble(value, d) || d < 0 || d > 3600) return Bad(error, key, value, "seconds from 0 to 3600");
    o.RebootMs = static_cast<int64_t>(d * 1000);
  } else if (key == "http_user") {
    o.HttpUser = value;
  } else if (key == "http_password") {
    o.HttpPassword = value;
  } else if (key == "errors") {
    if (!IntIn(key, value, 0, 100, n, error)) return false;
    o.ErrorEntries = static_cast<int>(n);
  } else if (key == "run_for") {
    if (!ToDouble(value, d) || d < 0) return Bad(error, key, value, "seconds");
    o.RunForSeconds = d;
  } else if (key == "push") {
    const size_t colon = value.rfind(':');
    int64_t port = 0;
    if (colon == std::string::npos || colon == 0 || !ToInt64(value.substr(colon + 1), port) || port < 1 ||
        port > 65535)
      return Bad(error, key, value, "HOST:PORT");
    o.Push.Host = value.substr(0, colon);
    o.Push.Port = static_cast<uint16_t>(port);
  } else if (key == "push_cameras") {
    o.Push.CameraList = value;
  } else if (key == "push_interval") {
    if (!IntIn(key, value, 1, 86400000, o.Push.IntervalMs, error)) return false;
  } else if (key == "push_count") {
    if (!IntIn(key, value, 0, 1000000000, o.Push.Count, error)) return false;
  } else if (key == "push_chunks") {
    if (!IntIn(key, value, 1, 1000, n, error)) return false;
    o.Push.Chunks = static_cast<int>(n);
  } else if (key == "push_pause") {
    return Milliseconds(key, value, o.Push.ChunkPauseMs, error);
  } else if (key == "push_text") {
    if (!ToBool(value, b)) return Bad(error, key, value, "0 or 1");
    o.Push.Text = b;
  } else if (key == "fault") {
    return AddFaults(value, o, error);
  } else if (key == "quiet") {
    if (!ToBool(value, b)) return Bad(error, key, value, "0 or 1");
    if (b) o.Verbosity = TSimVerbosity::Quiet;
  } else if (key == "verbose") {
    if (!ToBool(value, b)) return Bad(error, key, value, "0 or 1");
    if (b) o.Verbosity = TSimVerbosity::Verbose;
  } else {
    error = "unknown setting '" + rawKey + "'";
    return false;
  }
  return true;
}

// Keys of a camera, checked when the cameras are built.
const char* const CameraKeys[] = {"serial", "mac", "ip", "bind", "netmask", "gateway", "dns", "dhcp",
                                  "hostname", "description", "firmware", "clock_offset", "http_user",
                                  "http_password", "errors", "legacy_ids", "search_window", "country",
                                  "files", "fault"};

bool ApplyCameraSetting(TSimCameraConfig& c, const std::string& rawKey, const std::string& value,
                        std::string& error) {
  const std::string key = KeyOf(rawKey);
  const std::string where = "camera " + std::to_string(c.Number) + " " + key;
  int64_t n = 0;
  double d = 0;
  bool b = false;
  if (key == "serial") {
    if (!IntIn(where, value, 1, 2147483647, n, error)) return false;
    c.SerialNumber = static_cast<int32_t>(n);
  } else if (key == "mac") {
    if (!ParseMac(value, c.Mac)) return Bad(error, where, value, "six hex pairs such as 02-0A-1B-00-00-01");
  } else if (key == "ip") {
    return Address(where, value, c.IpAddress, error);
  } else if (key == "bind") {
    return Address(where, value, c.BindAddress, error);
  } else if (key == "netmask") {
    return Address(where, value, c.Netmask, error);
  } else if (key == "gateway") {
    return Address(where, value, c.Gateway, error);
  } else if (key == "dns") {
    return Address(where, value, c.Dns, error);
  } else if (key == "dhcp") {
    if (!ToBool(value, b)) return Bad(error, where, value, "0 or 1");
    c.Dhcp = b;
  } else if (key == "hostname") {
    if (value.empty()) return Bad(error, where, value, "a name");
    c.HostName = value;
  } else if (key == "description") {
    c.Description = value;
  } else if (key == "firmware") {
    int major = 0, minor = 0, build = 0;
    char tail = 0;
    if (std::sscanf(value.c_str(), "%d.%d.%d%c", &major, &minor, &build, &tail) != 3 || major < 0 || minor < 0 ||
        minor > 99 || build < 0)
      return Bad(error, where, value, "MAJOR.MINOR.BUILD");
    c.FirmwareMajor = major;
    c.FirmwareMinor = minor;
    c.FirmwareBuild = build;
  } else if (key == "clock_offset") {
    if (!ToDouble(value, d) || d < -3.2e9 || d > 3.2e9) return Bad(error, where, value, "seconds");
    c.ClockOffsetSeconds = d;
  } else if (key == "http_user") {
    c.HttpUser = value;
  } else if (key == "http_password") {
    c.HttpPassword = value;
  } else if (key == "errors") {
    if (!IntIn(where, value, 0, 100, n, error)) return false;
    c.ErrorEntries = static_cast<int>(n);
  } else if (key == "legacy_ids") {
    if (!ToBool(value, b)) return Bad(error, where, value, "0 or 1");
    c.LegacyIds = b;
  } else if (key == "search_window") {
    const std::string v = Lower(value);
    if (v != "pixels" && v != "percent") return Bad(error, where, value, "pixels or percent");
    c.PixelSearchWindow = v == "pixels";
  } else if (key == "country") {
    c.Country = value;
  } else if (key == "files") {
    c.FilesFolder = value;
  } else {
    error = "unknown camera setting '" + rawKey + "'";
    return false;
  }
  return true;
}

bool IsCameraKey(const std::string& key) {
  for (const char* k : CameraKeys)
    if (KeyOf(key) == k) return true;
  return false;
}

}  // namespace

std::map<std::string, std::string> ReadEnvironment() {
  std::map<std::string, std::string> env;
  for (const char* name : {"ZUDIRIR_UDP_PORT", "ZUDIRIR_TCP_PORT", "ZUDIRIR_HTTP_PORT", "ZUDIRIR_BROADCAST"})
    if (const char* v = std::getenv(name)) env[name] = v;
  return env;
}

TSimOptions DefaultOptions(const std::map<std::string, std::string>& env) {
  TSimOptions o;
  std::string ignored;
  // A malformed override is ignored here, as the tools ignore it.
  if (auto it = env.find("ZUDIRIR_UDP_PORT"); it != env.end()) Port("", it->second, o.UdpPort, ignored);
  if (auto it = env.find("ZUDIRIR_TCP_PORT"); it != env.end()) Port("", it->second, o.TcpPort, ignored);
  if (auto it = env.find("ZUDIRIR_HTTP_PORT"); it != env.end()) Port("", it->second, o.HttpPort, ignored);
  if (auto it = env.find("ZUDIRIR_BROADCAST"); it != env.end()) Address("", it->second, o.Broadcast, ignored);
  return o;
}

bool LoadConfigText(const std::string& text, TSimOptions& o, std::string& error) {
  const TIniText ini = TIniText::FromText(text);
  for (const TIniSection& s : ini.Sections()) {
    const std::string name = Lower(std::string(TrimIni(s.Name)));
    int camera = 0;
    if (name == "dozusim") {
      camera = 0;
    } else if (name.rfind("camera", 0) == 0) {
      int64_t n = 0;
      const std::string num(TrimIni(std::string_view(name).substr(6)));
      if (!ToInt64(num, n) || n < 1 || n > 10000) {
        error = "config: bad section [" + s.Name + "], expected [camera N]";
        return false;
      }
      camera = static_cast<int>(n);
    } else {
      error = "config: unknown section [" + s.Name + "]";
      return false;
    }
    for (const TIniLine& line : s.Lines) {
      if (!line.HasKey) {
        error = "config: line '" + line.Value + "' in [" + s.Name + "] holds no '='";
        return false;
      }
      if (camera == 0) {
        if (!ApplySetting(o, line.Key, line.Value, error)) {
          error = "config: " + error;
          return false;
        }
      } else if (KeyOf(line.Key) == "fault") {
        if (!AddFaults(line.Value, o, error, std::to_string(camera))) {
          error = "config: " + error;
          return false;
        }
      } else if (IsCameraKey(line.Key)) {
        o.CameraSettings.push_back({camera, {line.Key, line.Value}});
      } else {
        error = "config: unknown camera setting '" + line.Key + "' in [" + s.Name + "]";
        return false;
      }
    }
  }
  return true;
}

bool ParseCommandLine(const std::vector<std::string>& args, TSimOptions& o, std::string& error) {
  // Options take their value as "--name=value" or as the next argument.
  struct TArg {
    std::string Key, Value;
    bool HasValue;
  };
  std::vector<TArg> parsed;
  static const char* const Flags[] = {"help", "version", "quiet", "verbose", "push_text"};
  for (size_t i = 0; i < args.size(); ++i) {
    std::string a = args[i];
    if (a == "-h" || a == "-?") a = "--help";
    if (a == "-q") a = "--quiet";
    if (a == "-v") a = "--verbose";
    if (a == "-n") a = "--cameras";
    if (a.rfind("--", 0) != 0 || a.size() < 3) {
      error = "unexpected argument '" + a + "' (see --help)";
      return false;
    }
    a = a.substr(2);
    TArg t;
    if (const size_t eq = a.find('='); eq != std::string::npos) {
      t = {KeyOf(a.substr(0, eq)), a.substr(eq + 1), true};
    } else {
      t = {KeyOf(a), "", false};
      const bool flag = std::find_if(std::begin(Flags), std::end(Flags), [&](const char* f) { return t.Key == f; }) !=
                        std::end(Flags);
      if (!flag) {
        if (i + 1 >= args.size()) {
          error = "option --" + a + " needs a value";
          return false;
        }
        t.Value = args[++i];
        t.HasValue = true;
      }
    }
    parsed.push_back(t);
  }
  for (const TArg& t : parsed)
    if (t.Key == "config") {
      std::ifstream in(t.Value, std::ios::binary);
      if (!in) {
        error = "cannot read config file '" + t.Value + "'";
        return false;
      }
      std::stringstream text;
      text << in.rdbuf();
      if (!LoadConfigText(text.str(), o, error)) {
        error = t.Value + ": " + error;
        return false;
      }
    }
  for (const TArg& t : parsed) {
    if (t.Key == "config") continue;
    if (t.Key == "help") {
      o.Help = true;
    } else if (t.Key == "version") {
      o.ShowVersion = true;
    } else if (!t.HasValue) {
      if (!ApplySetting(o, t.Key, "1", error)) return false;
    } else if (t.Key == "camera") {
      // --camera N:KEY=VALUE
      const size_t colon = t.Value.find(':');
      const size_t eq = t.Value.find('=', colon == std::string::npos ? 0 : colon);
      int64_t n = 0;
      if (colon == std::string::npos || eq == std::string::npos || !ToInt64(t.Value.substr(0, colon), n) || n < 1 ||
          n > 10000) {
        error = "bad --camera '" + t.Value + "', expected N:KEY=VALUE";
        return false;
      }
      const std::string key = t.Value.substr(colon + 1, eq - colon - 1);
      const std::string value = t.Value.substr(eq + 1);
      if (KeyOf(key) == "fault") {
        if (!AddFaults(value, o, error, std::to_string(n))) return false;
      } else if (IsCameraKey(key)) {
        o.CameraSettings.push_back({static_cast<int>(n), {key, value}});
      } else {
        error = "unknown camera setting '" + key + "'";
        return false;
      }
    } else if (!ApplySetting(o, t.Key, t.Value, error)) {
      return false;
    }
  }
  return true;
}

bool ParseCameraList(const std::string& text, int cameras, std::vector<int>& numbers, std::string& error) {
  numbers.clear();
  if (Lower(text) == "all") {
    for (int i = 1; i <= cameras; ++i) numbers.push_back(i);
    return true;
  }
  std::stringstream in(text);
  std::string part;
  while (std::getline(in, part, ',')) {
    int64_t a = 0, b = 0;
    const size_t dash = part.find('-');
    const bool ok = dash == std::string::npos ? ToInt64(part, a) && (b = a, true)
                                              : ToInt64(part.substr(0, dash), a) && ToInt64(part.substr(dash + 1), b);
    if (!ok || a < 1 || b < a || b > cameras) {
      error = "camera list '" + text + "' does not name cameras 1 to " + std::to_string(cameras);
      return false;
    }
    for (int64_t i = a; i <= b; ++i) numbers.push_back(static_cast<int>(i));
  }
  if (numbers.empty()) {
    error = "empty camera list";
    return false;
  }
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  return true;
}

bool BuildCameraConfigs(const TSimOptions& o, std::vector<TSimCameraConfig>& cameras, std::string& error) {
  const uint32_t netmask = o.Netmask ? o.Netmask : (IsLoopback(o.FirstIp) ? 0xFF000000u : 0xFFFFFF00u);
  const uint32_t gateway = o.Gateway ? o.Gateway : (o.FirstIp & netmask) + 1;
  if (static_cast<uint64_t>(o.FirstIp) + static_cast<uint64_t>(o.Cameras) > 0xFFFFFFFFull) {
    error = "not enough addresses after " + FormatIPv4(o.FirstIp) + " for " + std::to_string(o.Cameras) + " cameras";
    return false;
  }
  cameras.clear();
  for (int i = 0; i < o.Cameras; ++i) {
    TSimCameraConfig c = DefaultCameraConfig(i, o.FirstSerial, o.FirstIp, netmask, gateway);
    c.HttpUser = o.HttpUser;
    c.HttpPassword = o.HttpPassword;
    c.ErrorEntries = o.ErrorEntries;
    cameras.push_back(c);
  }
  for (const auto& [number, kv] : o.CameraSettings) {
    if (number > o.Cameras) {
      error = "setting for camera " + std::to_string(number) + ", but only " + std::to_string(o.Cameras) +
              " cameras run";
      return false;
    }
    if (!ApplyCameraSetting(cameras[static_cast<size_t>(number - 1)], kv.first, kv.second, error)) return false;
  }
  for (const auto& [list, fault] : o.Faults) {
    std::vector<int> numbers;
    if (!ParseCameraList(list, o.Cameras, numbers, error)) return false;
    for (int n : numbers) cameras[static_cast<size_t>(n - 1)].Faults.push_back(fault);
  }
  // Two cameras with one serial, MAC or listening address would confuse the
  // tools and the sockets alike.
  std::map<int32_t, int> serials;
  std::map<TSimMac, int> macs;
  std::map<uint32_t, int> addresses;
  for (const TSimCameraConfig& c : cameras) {
    auto clash = [&](auto& seen, const auto& key, const std::string& what) {
      auto [it, fresh] = seen.emplace(key, c.Number);
      if (!fresh) error = "cameras " + std::to_string(it->second) + " and " + std::to_string(c.Number) + " share " + what;
      return !fresh;
    };
    if (clash(serials, c.SerialNumber, "serial number " + std::to_string(c.SerialNumber))) return false;
    if (clash(macs, c.Mac, "MAC " + FormatMac(c.Mac))) return false;
    if (clash(addresses, c.ListenAddress(), "address " + FormatIPv4(c.ListenAddress()))) return false;
  }
  return true;
}

std::string UsageText() {
  std::string text = R"(usage: dozusim [options]

Simulated ANPR cameras for the service tools. Each camera answers device
searches and file, error-log and reboot requests over UDP, pictures and clock
requests over TCP, and serves its configuration backup over HTTP. By default
three cameras run on 127.0.0.11, 127.0.0.12 and 127.0.0.13; point the tools at
them with ZUDIRIR_BROADCAST=127.255.255.255 and the same ports.

Cameras
  -n, --cameras N          number of cameras (default 3; 1000 and more work)
  --first-ip A             address of camera 1, the others follow (default 127.0.0.11)
  --netmask M              (default 255.0.0.0 on loopback, else 255.255.255.0)
  --gateway G              (default the first address of the subnet)
  --first-serial N         serial number of camera 1 (default 210001)
  --errors N               error log entries of each camera (default 3)
  --http-user U, --http-password P
                           backup download credentials (default fieldtech / fieldtech)
  --camera N:KEY=VALUE     one setting of camera N; KEY is one of serial, mac, ip,
                           bind (listen here instead of at ip), netmask, gateway, dns,
                           dhcp, hostname, description, firmware (4.2.1187),
                           clock_offset (seconds), http_user, http_password,
                           errors, legacy_ids (identity in the 10000 range),
                           search_window (pixels|percent), country,
                           files (a folder whose files replace the defaults), fault
  --config FILE            INI file: [dozusim] with the options below (without the
                           dashes), [camera N] with the camera keys above; the
                           command line wins over it

Network (defaults from ZUDIRIR_UDP_PORT, ZUDIRIR_TCP_PORT, ZUDIRIR_HTTP_PORT,
ZUDIRIR_BROADCAST, else the cameras' own 1003, 31000, 80, 255.255.255.255)
  --udp-port P, --tcp-port P, --http-port P
  --broadcast A            where a camera answers a sender outside its subnet
                           (cameras on loopback always use 127.255.255.255)
  --listen-broadcast A     address of the socket that takes broadcasts
                           (default 127.255.255.255 when every camera is on
                           loopback, else 0.0.0.0)
  --spread MS              each UDP answer leaves after a random 0..MS ms, as the
                           answers of real cameras spread out (default 0: at once)
  --seed N                 seed of that spread (default 1)
  --reboot-time S          seconds a rebooting camera stays away (default 10)

Event pushing
  --push HOST:PORT         cameras connect to this event server and push transits
  --push-cameras LIST      which cameras push: 1, 1-3, 2,5 or all (default 1)
  --push-interval MS       between two transits of a camera (default 2000)
  --push-count N           transits per camera, then stop pushing (default 0: no end)
  --push-chunks N          write each message in N pieces (default 1)
  --push-pause MS          pause between those pieces (default 200)
  --push-text              also push a plain text line after each message

Fault switches
  --fault [LIST:]SWITCH    make cameras in LIST (default all) misbehave:
%FAULTS%
Other
  --run-for S              stop after S seconds (default: run until Ctrl+C)
  -q, --quiet              log only start, stop, reboots and errors
  -v, --verbose            also log every datagram and connection
  -h, --help               this text
  --version

Examples
  dozusim
  dozusim --cameras 1000 --spread 300 --quiet
  dozusim --push 127.0.0.1:32000 --push-cameras all --push-interval 5000
  dozusim --fault 2:status=5@MSG_GET_DATE_TIME --fault 3:noreply
)";
  // Each switch line of the fault help, indented under --fault.
  std::string faults;
  std::istringstream lines(FaultHelp());
  for (std::string line; std::getline(lines, line);) faults += "    " + line + "\n";
  text.replace(text.find("%FAULTS%\n"), 9, faults);
  return text;
}
