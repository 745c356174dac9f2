#pragma once
// Which parameter record fills which field of the device record, the rule by
// which the main window gathers a device information reply into CurrentDevice.

#include "UHandleZudirir.h"
#include "UParamNames.h"
#include "UTypes.h"

// Stores what param tells about the device it came from into device, taking
// texts and the date-time as NameParam gave them (named), so the description
// arrives already rewritten. A serial number of 0 stores nothing. Fields whose
// record is missing keep their values: the record is not cleared between
// replies. Records that describe no device field (pictures among them) leave
// device as it is.
void StoreDeviceParam(const TZudirirParam& param, const TNamedParam& named, TDeviceInfo& device);
