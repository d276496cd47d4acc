#pragma once

#include <cstdint>
#include <string>

namespace velmar {

// What the setup information file writer needs to know of the monitor.
struct MonitorInfo {
  std::string pnpId;         // manufacturer letters followed by the product code, up to 32 characters
  std::string manufacturer;  // up to 32 characters
  std::string monitorName;   // up to 32 characters
  int32_t minVRate = 0;
  int32_t maxVRate = 0;
  int32_t minHRate = 0;
  int32_t maxHRate = 0;
  bool powerManagement = false;
};

}  // namespace velmar
