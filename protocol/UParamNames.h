#pragma once
// The table of parameter identifiers: display name, decoder, and which tool
// knows each one. The console tool knows the rows marked Both; the test tool
// knows every row.

#include <cstdint>
#include <span>
#include <string>

#include "UDateTime.h"
#include "UHandleZudirir.h"

enum class TParamKind { String, Integer, IPAddress, MACAddress, Point, Data, DateTime, Image };
enum class TParamScope { Both, TestTool };
// Which tool is naming a record.
enum class TParamTool { Console, TestTool };

struct TParamName {
  uint32_t Id;
  const char* Name;
  TParamKind Kind;
  TParamScope Scope;
};

// Every listed identifier, one row per identifier.
std::span<const TParamName> ParamNameTable();
// The row of id as the given tool knows it; nullptr for an unlisted one.
const TParamName* FindParamName(uint32_t id, TParamTool tool);

// 0, 12000 and 14017: named only when the first value word is not 0.
bool IsSerialNumberId(uint32_t id);
// 10010 and 12010: the decoded text goes through RewriteDescription.
bool IsDescriptionId(uint32_t id);
// Drops " RovevOvu" and the 15 characters after it (first occurrence), then
// shows every "DOZU", in any case, as "ANPR".
std::string RewriteDescription(const std::string& text);

// One record named and decoded for display.
struct TNamedParam {
  std::string Name;   // table name, decimal id when unlisted, empty for serial number 0
  std::string Value;  // decoder text; empty for pictures and for serial number 0
  TParamKind Kind = TParamKind::Data;  // the decoder applied (Data for unlisted)
  bool Known = false;                  // listed for this tool
  TDateTime DateTime = 0.0;            // the decoded value of a DateTime record
};

// Names a record and decodes its value for the given tool. Pictures are not
// decoded here (Value stays empty; the caller runs ParamImage where it shows
// them). A DateTime record with an invalid date throws EConvertError.
TNamedParam NameParam(const TZudirirParam& p, TParamTool tool);
