#pragma once
// Fault switches: per camera and per message number, a camera can be told to
// misbehave in the ways the tools must survive. Written on the command line
// as KIND[=VALUE][@MSG], for example "status=5@26011", "noreply@4096",
// "losefrag", "httpslow=4000".

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "UZudirir.h"

enum class TSimFaultKind {
  Status,        // the reply carries this non-zero Status
  NoReply,       // the request is read and not answered
  Delay,         // the reply leaves this many milliseconds late
  LoseFragment,  // one UDP fragment of the reply is not sent (Value: its index, -1 the last)
  Oversize,      // the reply is padded to this many payload bytes (more than a tool can hold)
  Truncate,      // only this many bytes of the reply leave (-1: half of it); TCP then closes
  TcpClose,      // the TCP connection is closed without a reply
  TcpHang,       // the TCP connection is accepted and never answered
  Http401,       // the backup download always answers 401
  HttpSlow,      // the backup download answers this many milliseconds late
};

struct TSimFault {
  TSimFaultKind Kind = TSimFaultKind::NoReply;
  uint32_t Msg = 0;   // message number it applies to; 0 for every message
  int64_t Value = 0;
};

bool ParseFault(std::string_view text, TSimFault& fault, std::string& error);
std::string DescribeFault(const TSimFault& fault);
// The help text listing every switch.
const char* FaultHelp();

inline constexpr uint32_t OversizePayload = 1048576;  // one more header than a tool's buffer holds

// What the switches that apply to one message say, combined.
struct TSimFaultPlan {
  bool SetStatus = false;
  uint32_t Status = 0;
  bool NoReply = false;
  int64_t DelayMs = 0;
  bool LoseFragment = false;
  int64_t FragmentIndex = -1;
  int64_t OversizeTo = 0;  // 0: no padding
  bool Truncate = false;
  int64_t TruncateTo = -1;
  bool TcpClose = false;
  bool TcpHang = false;
  bool Any() const {
    return SetStatus || NoReply || DelayMs || LoseFragment || OversizeTo || Truncate || TcpClose || TcpHang;
  }
};

TSimFaultPlan PlanFaults(const std::vector<TSimFault>& faults, uint32_t msgNumber);
// The first HTTP switch of the list, if any.
bool HttpAlways401(const std::vector<TSimFault>& faults);
int64_t HttpDelayMs(const std::vector<TSimFault>& faults);

// The reply's wire bytes with the Status and oversize switches applied, cut
// short by the truncate switch.
std::vector<uint8_t> FaultedWire(TZudirirMsg reply, const TSimFaultPlan& plan);
// The UDP datagrams of wire bytes, without the fragment the plan loses.
std::vector<std::vector<uint8_t>> FaultedDatagrams(const std::vector<uint8_t>& wire,
                                                   const uint8_t targetMac[8],
                                                   const TSimFaultPlan& plan);
