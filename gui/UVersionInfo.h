#pragma once
// The program's version record: what the caption and the about box show.

#include <QString>

struct TVersionInfo {
  QString ProductName;
  QString ProductVersion;
  QString LegalCopyright;
  QString WebSite;  // the maker's web address, shown and opened by the about box
};

// The record compiled into this program.
const TVersionInfo& VersionInfo();
