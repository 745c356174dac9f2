// Lumicon's request flow.

#include "ULumicon.h"

#include "ULumiconOptions.h"
#include "UReceive.h"
#include "UErrors.h"
#include "UZudirir.h"

void RunLumicon(TFormZudirir& zudirir, const std::vector<std::string>& args, std::ostream& out) {
  const TLumiconRequest r = ParseCommandLine(args);
  if (r.ShowUsage) {
    out << LumiconUsage << '\n';
    return;
  }
  TZudirirMsg msg;
  TFormZudirir::InitMsg(msg, r.MsgNumber, 0);
  const ReplyHandler print = [&out](const uint8_t* reply, uint32_t length) {
    return TReceiveClass::PrintReplyTo(out, reply, length);
  };
  if (r.Tcp) {
    zudirir.ExchangeTcp(r.Host, msg, print);
  } else {
    const uint8_t* reply = nullptr;
    // One address answers once; a broadcast is heard out for about a second.
    zudirir.ExchangeUdp(r.Host, "", msg, reply, r.Host.empty() ? 10 : 1, print);
  }
}

int LumiconMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  try {
    TFormZudirir zudirir;
    RunLumicon(zudirir, args, out);
    out.flush();
    return 0;
  } catch (const EZudirirError& e) {
    out.flush();
    err << e.ClassName << ": " << e.what() << '\n';
  } catch (const std::exception& e) {
    out.flush();
    err << "Exception: " << e.what() << '\n';
  }
  return 1;
}
