#include "UDeviceRecord.h"

#include "UMessages.h"

void StoreDeviceParam(const TZudirirParam& param, const TNamedParam& named, TDeviceInfo& device) {
  switch (param.Id) {
    case 0:
    case 12000:
    case 14017:
      if (param.Word(0) != 0) device.SerialNumber = static_cast<int32_t>(param.Word(0));
      break;
    case 10000:
    case 12001:
      device.MacAddress = named.Value;
      break;
    case 10001:
    case 12002:
      device.IpAddress = named.Value;
      break;
    case 10002:
    case 12003:
      device.Netmask = named.Value;
      break;
    case 10003:
    case 12004:
      device.Gateway = named.Value;
      break;
    case 10006:
    case 12007:
      device.Dhcp = param.Word(0) != 0;
      break;
    case 10008:
    case 12008:
      device.HostName = named.Value;
      break;
    case 10010:
    case 12010:
      device.Description = named.Value;
      break;
    case PARAM_TIME:
      device.DeviceTime = named.DateTime;
      break;
    default:
      // 14002 (NETBIOSNAME) and 14001 (TIME, plain text) share a name with
      // stored records but describe the picture, not the device.
      break;
  }
}
