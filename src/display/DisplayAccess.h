#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "blocks/DataBlock.h"
#include "display/PexaLibrary.h"
#include "display/PrivilegedHelper.h"

namespace velmar {

// One display of the display table.
struct DisplayRecord {
  int32_t displayIndex = 0;  // the library's
  // The library's adapter index of the display, or the adapter's enumeration
  // position when the library's index is not below 20.
  int32_t adapterIndex = 0;
  bool connected = false;
  std::string name;  // at most 31 characters of the library's name, as UTF-8
};

// The graphics adapters and their displays as the display library reports
// them, the initialization log, and EDID reads and overrides through the library.
class DisplayAccess {
 public:
  static constexpr unsigned kMaxDisplays = 128;
  static constexpr unsigned kMaxNameLength = 31;
  static constexpr const char* kRegistryPrefix = "\\REGISTRY\\MACHINE\\";

  DisplayAccess();
  ~DisplayAccess();
  DisplayAccess(const DisplayAccess&) = delete;
  DisplayAccess& operator=(const DisplayAccess&) = delete;

  // The library files tried in order when the library is loaded (by default
  // PexaLibrary::DefaultCandidates()).
  void SetLibraryCandidates(std::vector<std::string> candidates) { libraryCandidates = std::move(candidates); }

  // Loads the library when it is not loaded, lists adapters and displays into
  // the table and writes the log. True once an enumeration has succeeded since
  // the library was last loaded.
  bool InitAdapters();
  // Releases the library (window close).
  void Release();

  const std::string& InitLog() const { return initLog; }
  const std::vector<DisplayRecord>& Table() const { return table; }
  unsigned ConnectedCount() const { return connectedCount; }
  unsigned AdapterPositions() const { return adapterPositions; }
  bool IsLibraryLoaded() const { return library.IsLoaded(); }

  // The registry path of a record's adapter (without the machine prefix);
  // none for a record outside the table, an adapter index that is not a
  // filled position, or an adapter without a usable path.
  std::optional<std::string> RegistryPath(size_t record) const;
  // The table positions of the connected records, in table order.
  std::vector<size_t> ConnectedRecords() const;
  // "[%lu]: %sDisplay[%lu] = \"%s\"" or "[%lu]: %sDisplay[%lu] (Not Connected)".
  std::string DisplayListText(size_t record, const std::string& prefix) const;

  // Reads a display's EDID into `bytes` (zeroed first); the number of bytes
  // placed, or -1 when the library fails at once or the record is not in the table.
  int ReadDisplayEdid(size_t record, std::array<uint8_t, kMaxEdidSize>& bytes);
  // Sends `length` bytes (cut to 512) as the display's EDID override; true
  // when it was taken. Run as root, or with a library that does not name the
  // display's connector, the library's request does it; otherwise the
  // privileged helper writes it (through polkit). A failure adds the reason
  // to the log.
  bool OverrideDisplayEdid(unsigned length, size_t record, const uint8_t* bytes);
  // Removes the display's EDID override through the privileged helper (run
  // directly as root); the kernel then reads the monitor's own EDID again.
  // False, with the reason in the log, when it could not.
  bool RemoveDisplayOverride(size_t record);
  // Installs `edid` as the display's boot-time override, or removes it,
  // through the privileged helper (run directly as root), which carries out
  // the plan of BootOverride.h. False, with the reason in the log, when it
  // could not; the files it changed are then as they were.
  bool InstallBootOverride(size_t record, const std::string& edid);
  bool RemoveBootOverride(size_t record);
  // The kernel's name of a record's connector ("card0-HDMI-A-1"); none when
  // the library does not tell it.
  std::optional<std::string> ConnectorName(size_t record) const;

  // The privileged helper the overrides go through.
  PrivilegedHelper& Helper() { return helper; }

 private:
  void Log(const std::string& line) { initLog += line; }
  // Adds the library's reason for its last failure to the log, when it gives one.
  void LogLibraryError();
  void Reset();

  PexaLibrary library;
  PrivilegedHelper helper;
  std::vector<std::string> libraryCandidates;
  bool initialized = false;
  std::string initLog;
  std::vector<DisplayRecord> table;
  std::array<std::string, pexa::kMaxAdapters> adapterRegistryPaths;
  unsigned connectedCount = 0;
  unsigned adapterPositions = 0;
};

}  // namespace velmar
