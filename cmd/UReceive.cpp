// Lumicon's reply printer.

#include "UReceive.h"

#include <cstdio>
#include <iostream>

#include "UCodePage.h"
#include "UHandleZudirir.h"
#include "UParamNames.h"

namespace {

// Texts are 8-bit in the tools' code page; a POSIX console reads UTF-8.
std::string ForConsole(const std::string& text) {
#ifdef _WIN32
  return text;
#else
  return AnsiToUtf8(text);
#endif
}

}  // namespace

bool TReceiveClass::PrintReplyTo(std::ostream& out, const uint8_t* reply, uint32_t length) {
  switch (AcceptReply(reply, length)) {
    case TReplyAcceptance::Incomplete: return false;
    case TReplyAcceptance::Ignored:
    case TReplyAcceptance::NoRecords: return true;
    case TReplyAcceptance::Walk: break;
  }
  WalkParams(reply, length, [&out](const TZudirirParam& p) {
    const TNamedParam named = NameParam(p, TParamTool::Console);
    char id[16];
    std::snprintf(id, sizeof id, "%.5d", static_cast<int32_t>(p.Id));
    out << id << "; " << ForConsole(named.Name) << "; " << ForConsole(named.Value) << '\n';
  });
  out.flush();
  return true;
}

bool TReceiveClass::PrintReply(const uint8_t* reply, uint32_t length) {
  return PrintReplyTo(std::cout, reply, length);
}
