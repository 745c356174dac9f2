#pragma once
// Which row of the device list a device belongs to, decided over the texts of
// its rows.

#include <string>
#include <vector>

// The row whose serial number text (snTexts, in display order) equals key
// exactly, searching from the last row up; -1 when there is none and the
// device needs a new row. The search from the bottom means a list that ever
// held a key twice updates the lower row.
int FindDeviceRow(const std::vector<std::string>& snTexts, const std::string& key);
