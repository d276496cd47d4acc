#include "util/Clock.h"

#include <ctime>

namespace velmar {

LocalTime SystemClock::Now() const {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  localtime_r(&now, &parts);
  LocalTime result;
  result.year = static_cast<unsigned>(parts.tm_year + 1900);
  result.month = static_cast<unsigned>(parts.tm_mon + 1);
  result.day = static_cast<unsigned>(parts.tm_mday);
  result.hour = static_cast<unsigned>(parts.tm_hour);
  result.minute = static_cast<unsigned>(parts.tm_min);
  result.second = static_cast<unsigned>(parts.tm_sec);
  return result;
}

const Clock& SystemClockInstance() {
  static const SystemClock clock;
  return clock;
}

}  // namespace velmar
