#include "USimFaults.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "USimIds.h"

namespace {

struct TKindName {
  TSimFaultKind Kind;
  const char* Name;
  bool NeedsValue;
  bool TakesValue;
  int64_t Default;
};

constexpr TKindName KindNames[] = {
    {TSimFaultKind::Status, "status", false, true, 1},
    {TSimFaultKind::NoReply, "noreply", false, false, 0},
    {TSimFaultKind::Delay, "delay", true, true, 0},
    {TSimFaultKind::LoseFragment, "losefrag", false, true, -1},
    {TSimFaultKind::Oversize, "oversize", false, true, OversizePayload},
    {TSimFaultKind::Truncate, "truncate", false, true, -1},
    {TSimFaultKind::TcpClose, "tcpclose", false, false, 0},
    {TSimFaultKind::TcpHang, "tcphang", false, false, 0},
    {TSimFaultKind::Http401, "http401", false, false, 0},
    {TSimFaultKind::HttpSlow, "httpslow", false, true, 5000},
};

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool ParseNumber(std::string_view text, int64_t& value) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return false;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  return ec == std::errc() && end == text.data() + text.size();
}

struct TMsgName {
  const char* Name;
  uint32_t Number;
};
constexpr TMsgName MsgNames[] = {
    {"msg_device_info", MSG_DEVICE_INFO},     {"msg_reboot", MSG_REBOOT},
    {"msg_read_file", MSG_READ_FILE},         {"msg_get_errors", MSG_GET_ERRORS},
    {"msg_erase_errors", MSG_ERASE_ERRORS},   {"msg_write_file", MSG_WRITE_FILE},
    {"msg_list_files", MSG_LIST_FILES},       {"msg_get_image", MSG_GET_IMAGE},
    {"msg_set_date_time", MSG_SET_DATE_TIME}, {"msg_get_date_time", MSG_GET_DATE_TIME},
    {"msg_transit", MSG_TRANSIT},
};

}  // namespace

bool ParseFault(std::string_view text, TSimFault& fault, std::string& error) {
  TSimFault f;
  std::string_view body = text;
  if (const size_t at = body.find('@'); at != std::string_view::npos) {
    const std::string msg = Lower(body.substr(at + 1));
    body = body.substr(0, at);
    int64_t number = 0;
    bool found = false;
    for (const TMsgName& m : MsgNames)
      if (msg == m.Name || msg == std::string(m.Name).substr(4)) {
        f.Msg = m.Number;
        found = true;
      }
    if (!found) {
      if (!ParseNumber(msg, number) || number <= 0 || number > 0xFFFFFFFFLL) {
        error = "unknown message '" + std::string(text.substr(at + 1)) + "' in fault '" + std::string(text) + "'";
        return false;
      }
      f.Msg = static_cast<uint32_t>(number);
    }
  }
  std::string_view name = body;
  std::string_view value;
  bool hasValue = false;
  if (const size_t eq = body.find('='); eq != std::string_view::npos) {
    name = body.substr(0, eq);
    value = body.substr(eq + 1);
    hasValue = true;
  }
  const std::string lname = Lower(name);
  for (const TKindName& k : KindNames) {
    if (lname != k.Name) continue;
    f.Kind = k.Kind;
    f.Value = k.Default;
    if (hasValue && !k.TakesValue) {
      error = "fault '" + lname + "' takes no value";
      return false;
    }
    if (!hasValue && k.NeedsValue) {
      error = "fault '" + lname + "' needs a value (" + lname + "=N)";
      return false;
    }
    if (hasValue && (!ParseNumber(value, f.Value) || (f.Value < 0 && f.Kind != TSimFaultKind::LoseFragment))) {
      error = "bad value '" + std::string(value) + "' in fault '" + std::string(text) + "'";
      return false;
    }
    if (f.Kind == TSimFaultKind::Status && (f.Value == 0 || f.Value > 0xFFFFFFFFLL)) {
      error = "fault 'status' needs a non-zero 32-bit code";
      return false;
    }
    fault = f;
    return true;
  }
  error = "unknown fault '" + std::string(name) + "'";
  return false;
}

std::string DescribeFault(const TSimFault& f) {
  std::string s;
  for (const TKindName& k : KindNames)
    if (k.Kind == f.Kind) s = k.Name;
  const bool showValue = f.Kind == TSimFaultKind::Status || f.Kind == TSimFaultKind::Delay ||
                         f.Kind == TSimFaultKind::Oversize || f.Kind == TSimFaultKind::HttpSlow ||
                         (f.Kind == TSimFaultKind::LoseFragment && f.Value >= 0) ||
                         (f.Kind == TSimFaultKind::Truncate && f.Value >= 0);
  if (showValue) s += "=" + std::to_string(f.Value);
  if (f.Msg) s += "@" + std::to_string(f.Msg);
  return s;
}

const char* FaultHelp() {
  return "  status[=N]      the reply carries Status N (default 1)\n"
         "  noreply         the request is not answered\n"
         "  delay=MS        the reply leaves MS milliseconds late\n"
         "  losefrag[=I]    UDP fragment I of the reply is not sent (default: the last)\n"
         "  oversize[=N]    the reply is padded to N payload bytes (default 1048576)\n"
         "  truncate[=N]    only N bytes of the reply leave (default: half); TCP then closes\n"
         "  tcpclose        the TCP connection is closed without a reply\n"
         "  tcphang         the TCP connection is accepted and never answered\n"
         "  http401         the backup download always answers 401\n"
         "  httpslow[=MS]   the backup download answers MS milliseconds late (default 5000)\n"
         "Add @MSG (a number such as 26011, or a name such as MSG_GET_DATE_TIME) to limit a\n"
         "switch to one message.\n";
}

TSimFaultPlan PlanFaults(const std::vector<TSimFault>& faults, uint32_t msgNumber) {
  TSimFaultPlan p;
  for (const TSimFault& f : faults) {
    if (f.Msg != 0 && f.Msg != msgNumber) continue;
    switch (f.Kind) {
      case TSimFaultKind::Status:
        p.SetStatus = true;
        p.Status = static_cast<uint32_t>(f.Value);
        break;
      case TSimFaultKind::NoReply: p.NoReply = true; break;
      case TSimFaultKind::Delay: p.DelayMs += f.Value; break;
      case TSimFaultKind::LoseFragment:
        p.LoseFragment = true;
        p.FragmentIndex = f.Value;
        break;
      case TSimFaultKind::Oversize: p.OversizeTo = f.Value; break;
      case TSimFaultKind::Truncate:
        p.Truncate = true;
        p.TruncateTo = f.Value;
        break;
      case TSimFaultKind::TcpClose: p.TcpClose = true; break;
      case TSimFaultKind::TcpHang: p.TcpHang = true; break;
      case TSimFaultKind::Http401:
      case TSimFaultKind::HttpSlow: break;
    }
  }
  return p;
}

bool HttpAlways401(const std::vector<TSimFault>& faults) {
  for (const TSimFault& f : faults)
    if (f.Kind == TSimFaultKind::Http401) return true;
  return false;
}

int64_t HttpDelayMs(const std::vector<TSimFault>& faults) {
  int64_t ms = 0;
  for (const TSimFault& f : faults)
    if (f.Kind == TSimFaultKind::HttpSlow) ms += f.Value;
  return ms;
}

std::vector<uint8_t> FaultedWire(TZudirirMsg reply, const TSimFaultPlan& plan) {
  if (plan.SetStatus) reply.Status = plan.Status;
  if (plan.OversizeTo > 0 && static_cast<uint64_t>(plan.OversizeTo) > reply.PayloadSize) {
    const uint32_t size = static_cast<uint32_t>(std::min<int64_t>(plan.OversizeTo, int64_t{16} << 20)) & ~3u;
    reply.Payload.resize(size / 4, 0);
    reply.PayloadSize = size;
  }
  std::vector<uint8_t> wire = SerializeMsg(reply);
  if (plan.Truncate) {
    const size_t keep = plan.TruncateTo >= 0 ? static_cast<size_t>(plan.TruncateTo) : wire.size() / 2;
    if (keep < wire.size()) wire.resize(std::max<size_t>(keep, 1));
  }
  return wire;
}

std::vector<std::vector<uint8_t>> FaultedDatagrams(const std::vector<uint8_t>& wire,
                                                   const uint8_t targetMac[8],
                                                   const TSimFaultPlan& plan) {
  std::vector<std::vector<uint8_t>> datagrams = FragmentMessage(wire, targetMac);
  if (plan.LoseFragment && !datagrams.empty()) {
    const int64_t index = plan.FragmentIndex < 0 ? static_cast<int64_t>(datagrams.size()) - 1 : plan.FragmentIndex;
    if (index < static_cast<int64_t>(datagrams.size())) datagrams.erase(datagrams.begin() + index);
  }
  return datagrams;
}
