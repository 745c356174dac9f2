#pragma once
// dozusim's settings: command line, optional INI config file, and the
// environment overrides the tools use on a test rig. The result is a list of
// camera identities and the server's settings; nothing here opens a socket.

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "USimCamera.h"

struct TSimPushOptions {
  std::string Host;  // empty: no pushing
  uint16_t Port = 0;
  std::string CameraList = "1";  // which cameras push ("1", "1-3", "all", "1,4")
  int64_t IntervalMs = 2000;     // between two transits of one camera
  int64_t Count = 0;             // transits per camera; 0: until stopped
  int Chunks = 1;                // each message cut into this many writes
  int64_t ChunkPauseMs = 200;    // pause between the writes of one message
  bool Text = false;             // also push a plain text line after each message
};

enum class TSimVerbosity { Quiet, Normal, Verbose };

struct TSimOptions {
  int Cameras = 3;
  uint32_t FirstIp = 0x7F00000B;  // 127.0.0.11
  uint32_t Netmask = 0;           // 0: 255.0.0.0 on loopback, else 255.255.255.0
  uint32_t Gateway = 0;           // 0: the first address of the subnet
  int32_t FirstSerial = 210001;
  uint16_t UdpPort = 1003;
  uint16_t TcpPort = 31000;
  uint16_t HttpPort = 80;
  uint32_t Broadcast = 0xFFFFFFFF;  // where a camera outside the sender's subnet answers
  std::string ListenBroadcast;      // address of the broadcast socket; empty: chosen
  int64_t SpreadMs = 0;             // UDP answers leave after a random 0..SpreadMs ms
  uint32_t Seed = 1;
  int64_t RebootMs = 10000;
  std::string HttpUser = "fieldtech";
  std::string HttpPassword = "fieldtech";
  int ErrorEntries = 3;
  double RunForSeconds = 0.0;  // 0: until interrupted
  TSimVerbosity Verbosity = TSimVerbosity::Normal;
  bool Help = false;
  bool ShowVersion = false;
  TSimPushOptions Push;
  // Switches and per-camera settings as given, applied when the cameras are built.
  std::vector<std::pair<std::string, TSimFault>> Faults;                   // camera list, switch
  std::vector<std::pair<int, std::pair<std::string, std::string>>> CameraSettings;  // camera, key, value
};

// Ports and broadcast address from ZUDIRIR_UDP_PORT, ZUDIRIR_TCP_PORT,
// ZUDIRIR_HTTP_PORT and ZUDIRIR_BROADCAST, over the cameras' fixed ones.
TSimOptions DefaultOptions(const std::map<std::string, std::string>& environment);
std::map<std::string, std::string> ReadEnvironment();

// Reads the command line (argv[0] excluded) over options. A --config file is
// read first, so the command line wins over it. False with a message on error.
bool ParseCommandLine(const std::vector<std::string>& args, TSimOptions& options, std::string& error);
// An INI config file: section [dozusim] with the long option names (dashes
// or underscores), sections [camera N] with per-camera keys.
bool LoadConfigText(const std::string& text, TSimOptions& options, std::string& error);

// Camera numbers of a list such as "all", "2", "1-3", "1,4-5".
bool ParseCameraList(const std::string& text, int cameras, std::vector<int>& numbers, std::string& error);

// The cameras' identities with every setting and switch applied.
bool BuildCameraConfigs(const TSimOptions& options, std::vector<TSimCameraConfig>& cameras, std::string& error);

std::string UsageText();
