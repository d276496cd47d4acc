#pragma once

namespace velmar {

// A moment in local time, as the reports and generated files print it.
struct LocalTime {
  unsigned year = 0;
  unsigned month = 0;  // 1-12
  unsigned day = 0;    // 1-31
  unsigned hour = 0;
  unsigned minute = 0;
  unsigned second = 0;
};

// Source of the local time; tests inject a fixed one so that texts are stable.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime Now() const = 0;
};

// The machine's local time.
class SystemClock : public Clock {
 public:
  LocalTime Now() const override;
};

// A clock that always answers the same moment.
class FixedClock : public Clock {
 public:
  explicit FixedClock(const LocalTime& moment) : moment_(moment) {}
  LocalTime Now() const override { return moment_; }
  void Set(const LocalTime& moment) { moment_ = moment; }

 private:
  LocalTime moment_;
};

// The process-wide system clock.
const Clock& SystemClockInstance();

}  // namespace velmar
