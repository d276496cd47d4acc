#include "display/DisplayAccess.h"

#include <algorithm>
#include <cstring>

#include "util/Format.h"

namespace velmar {

namespace {

// The library's 8-bit text of a fixed field, read only within the field even
// when it lacks a terminator.
std::string FieldText(const char* field, size_t length) {
  return std::string(field, ::strnlen(field, length));
}

bool StartsWithIgnoringCase(const std::string& text, const char* prefix) {
  const size_t length = std::strlen(prefix);
  return text.size() >= length && ToUpperAscii(text.substr(0, length)) == ToUpperAscii(prefix);
}

// A registry path the program can use as a key: no control character (a line
// break would split it in a REG file) and no "]" (it would end a REG key line).
bool IsUsableRegistryPath(const std::string& path) {
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F || c == ']') return false;
  }
  return true;
}

// Display records are ordered by adapter index, then display index.
bool ComesAfter(const DisplayRecord& first, const DisplayRecord& second) {
  return first.adapterIndex > second.adapterIndex ||
         (first.adapterIndex == second.adapterIndex && first.displayIndex > second.displayIndex);
}

}  // namespace

DisplayAccess::DisplayAccess() : libraryCandidates(PexaLibrary::DefaultCandidates()) {}

DisplayAccess::~DisplayAccess() {
  Release();
}

void DisplayAccess::Release() {
  library.Unload();
}

void DisplayAccess::Reset() {
  initLog.clear();
  table.clear();
  for (std::string& path : adapterRegistryPaths) path.clear();
  connectedCount = 0;
  adapterPositions = 0;
}

void DisplayAccess::LogLibraryError() {
  const std::string reason = library.LastError();
  if (!reason.empty()) Log(Format("Pexa library: %s\r\n", Latin1ToUtf8(reason).c_str()));
}

bool DisplayAccess::InitAdapters() {
  Reset();
  if (!library.IsLoaded()) {
    initialized = false;
    const PexaLibrary::LoadResult loaded = library.Load(libraryCandidates);
    switch (loaded) {
      case PexaLibrary::LoadResult::Loaded: break;
      case PexaLibrary::LoadResult::NotFound: Log("Failed to load Pexa library.\r\n"); break;
      case PexaLibrary::LoadResult::MissingEntryPoint: Log("Main Pexa functionallity not avalaible.\r\n"); break;
      case PexaLibrary::LoadResult::CreateFailed: Log("Failed to allocate Pexa memory.\r\n"); break;
    }
    if (loaded != PexaLibrary::LoadResult::Loaded) {
      for (const std::string& reason : library.LoadFailures()) Log(reason + "\r\n");
      return initialized;
    }
  }
  Log("Connection to Pexa established.\r\n");

  int adapterCount = 0;
  const bool counted = library.NumberOfAdapters(adapterCount);
  if (!counted || adapterCount <= 0 || adapterCount > pexa::kMaxAdapters) {
    Log("No Graphics Adapters detected.\r\n");
    if (!counted) LogLibraryError();
    return initialized;
  }
  std::vector<pexa::AdapterRecord> adapters;
  if (!library.AdapterInfo(adapterCount, adapters)) {
    Log("Failed to obtain Graphics Adapters properties.\r\n");
    LogLibraryError();
    return initialized;
  }

  unsigned physicalCount = 0;
  bool tableFullLogged = false;
  for (size_t position = 0; position < adapters.size(); ++position) {
    const pexa::AdapterRecord& adapter = adapters[position];
    bool duplicate = false;
    for (size_t earlier = 0; earlier < position; ++earlier) {
      const pexa::AdapterRecord& other = adapters[earlier];
      if (other.bus == adapter.bus && other.device == adapter.device && other.function == adapter.function) {
        duplicate = true;
        break;
      }
    }
    const unsigned adapterIndex = static_cast<unsigned>(adapter.adapterIndex);
    Log(Format("Detected Adapter[%u]: BDF[%u:%u:%u], Name: %s.\r\n", adapterIndex, static_cast<unsigned>(adapter.bus),
               static_cast<unsigned>(adapter.device), static_cast<unsigned>(adapter.function),
               Latin1ToUtf8(FieldText(adapter.name, sizeof adapter.name)).c_str()));
    const std::string driverPath = FieldText(adapter.driverPath, sizeof adapter.driverPath);
    if (adapter.exists != 0 && StartsWithIgnoringCase(driverPath, kRegistryPrefix) &&
        IsUsableRegistryPath(driverPath)) {
      adapterRegistryPaths[position] = Latin1ToUtf8(driverPath.substr(std::strlen(kRegistryPrefix)));
    }
    ++adapterPositions;
    if (duplicate) {
      Log("\r\n");
      continue;
    }

    ++physicalCount;
    std::vector<pexa::DisplayRecord> displays;
    if (!library.DisplayInfo(adapter.adapterIndex, displays)) {
      Log(Format("Failed to obtain Displays from Graphics Adapter %u.\r\n", adapterIndex));
      LogLibraryError();
      continue;
    }
    unsigned adapterConnected = 0;
    unsigned adapterTotal = 0;
    for (const pexa::DisplayRecord& display : displays) {
      if (table.size() >= kMaxDisplays) {
        if (!tableFullLogged) {
          Log(Format("Display table full: only the first %u displays are listed.\r\n", kMaxDisplays));
          tableFullLogged = true;
        }
        break;
      }
      DisplayRecord record;
      record.displayIndex = display.displayIndex;
      record.adapterIndex = display.adapterIndex >= 0 && display.adapterIndex < pexa::kMaxAdapters
                                ? display.adapterIndex
                                : static_cast<int32_t>(position);
      ++adapterTotal;
      if ((display.infoValue & pexa::kDisplayConnected) != 0) {
        record.connected = true;
        const std::string name = FieldText(display.name, sizeof display.name);
        record.name = name.empty() ? "Default monitor" : Latin1ToUtf8(name.substr(0, kMaxNameLength));
        ++connectedCount;
        ++adapterConnected;
        Log(Format("On Adapter[%u]: Detected Connected Display[%u], Name: %s.\r\n", adapterIndex,
                   static_cast<unsigned>(display.displayIndex), Latin1ToUtf8(name).c_str()));
      }
      table.push_back(std::move(record));
    }
    Log(Format("On Adapter[%u]: Detected %u Connected Displays\r\n", adapterIndex, adapterConnected));
    Log(Format("On Adapter[%u]: Detected %u Supported Displays\r\n\r\n", adapterIndex, adapterTotal));
  }

  Log(Format("Detected %u logical adapters in total.\r\n", static_cast<unsigned>(adapterCount)));
  Log(Format("Detected %u physical adapters in total.\r\n", physicalCount));
  Log(Format("Detected %u connected displays in total.\r\n", connectedCount));

  // Neighbours are swapped until a pass swaps nothing, so equal records keep their order.
  for (bool swapped = true; swapped;) {
    swapped = false;
    for (size_t i = 1; i < table.size(); ++i) {
      if (ComesAfter(table[i - 1], table[i])) {
        std::swap(table[i - 1], table[i]);
        swapped = true;
      }
    }
  }
  initialized = true;
  return initialized;
}

bool DisplayAccess::RemoveDisplayOverride(size_t record) {
  if (record >= table.size() || !library.IsLoaded()) return false;
  const DisplayRecord& display = table[record];
  const std::optional<std::string> connector = ConnectorName(record);
  std::string why = "The display library does not name the display's connector";
  if (connector && helper.Run({"reset", *connector}, std::string(), why)) return true;
  Log(Format("Failed to remove the EDID override of Display[%u] on Adapter[%u].\r\n",
             static_cast<unsigned>(display.displayIndex), static_cast<unsigned>(display.adapterIndex)));
  Log(why + "\r\n");
  return false;
}

bool DisplayAccess::InstallBootOverride(size_t record, const std::string& edid) {
  if (record >= table.size() || !library.IsLoaded()) return false;
  const std::optional<std::string> connector = ConnectorName(record);
  std::string why = "The display library does not name the display's connector";
  if (connector && helper.Run({"install-boot", *connector}, edid, why)) return true;
  Log(Format("Failed to install the boot-time EDID override of Display[%u] on Adapter[%u].\r\n",
             static_cast<unsigned>(table[record].displayIndex), static_cast<unsigned>(table[record].adapterIndex)));
  Log(why + "\r\n");
  return false;
}

bool DisplayAccess::RemoveBootOverride(size_t record) {
  if (record >= table.size() || !library.IsLoaded()) return false;
  const std::optional<std::string> connector = ConnectorName(record);
  std::string why = "The display library does not name the display's connector";
  if (connector && helper.Run({"remove-boot", *connector}, std::string(), why)) return true;
  Log(Format("Failed to remove the boot-time EDID override of Display[%u] on Adapter[%u].\r\n",
             static_cast<unsigned>(table[record].displayIndex), static_cast<unsigned>(table[record].adapterIndex)));
  Log(why + "\r\n");
  return false;
}

std::optional<std::string> DisplayAccess::RegistryPath(size_t record) const {
  if (record >= table.size()) return std::nullopt;
  const int32_t adapter = table[record].adapterIndex;
  if (adapter < 0 || static_cast<unsigned>(adapter) >= adapterPositions ||
      static_cast<size_t>(adapter) >= adapterRegistryPaths.size()) {
    return std::nullopt;
  }
  const std::string& path = adapterRegistryPaths[static_cast<size_t>(adapter)];
  if (path.empty()) return std::nullopt;
  return path;
}

std::vector<size_t> DisplayAccess::ConnectedRecords() const {
  std::vector<size_t> connected;
  for (size_t i = 0; i < table.size(); ++i) {
    if (table[i].connected) connected.push_back(i);
  }
  return connected;
}

std::string DisplayAccess::DisplayListText(size_t record, const std::string& prefix) const {
  if (record >= table.size()) return std::string();
  const DisplayRecord& display = table[record];
  const unsigned long adapter = static_cast<uint32_t>(display.adapterIndex);
  const unsigned long index = static_cast<uint32_t>(display.displayIndex);
  if (display.connected) {
    return Format("[%lu]: %sDisplay[%lu] = \"%s\"", adapter, prefix.c_str(), index, display.name.c_str());
  }
  return Format("[%lu]: %sDisplay[%lu] (Not Connected)", adapter, prefix.c_str(), index);
}

int DisplayAccess::ReadDisplayEdid(size_t record, std::array<uint8_t, kMaxEdidSize>& bytes) {
  bytes.fill(0);
  if (record >= table.size() || !library.IsLoaded()) return -1;
  const DisplayRecord& display = table[record];
  unsigned total = 0;
  unsigned room = kMaxEdidSize;
  // Every answer but the first is placed from byte 128 on, so that a library
  // answering one 128-byte block per block index reproduces the EDID; the
  // loop ends at the latest when the 512 bytes are full.
  for (int32_t block = 0; block <= static_cast<int32_t>(kMaxEdidSize); ++block) {
    if (block >= 2 && room == 0) break;
    pexa::EdidRecord answer{};
    answer.size = sizeof(pexa::EdidRecord);
    answer.blockIndex = block;
    if (!library.EdidData(display.adapterIndex, display.displayIndex, answer)) {
      if (block == 0) {
        Log(Format("Failed to read EDID of Display[%u] on Adapter[%u].\r\n",
                   static_cast<unsigned>(display.displayIndex), static_cast<unsigned>(display.adapterIndex)));
        LogLibraryError();
        return -1;
      }
      break;
    }
    if (answer.edidSize < 1) break;
    if (block == 1) {
      total = kBlockSize;
      room = kMaxEdidSize - kBlockSize;
    }
    const unsigned size = std::min(static_cast<unsigned>(answer.edidSize), static_cast<unsigned>(pexa::kEdidChunkSize));
    const unsigned copied = std::min(size, room);
    std::memcpy(bytes.data() + total, answer.data, copied);
    total += copied;
    room -= copied;
  }
  if (total == 0) {
    Log(Format("No EDID bytes from Display[%u] on Adapter[%u].\r\n", static_cast<unsigned>(display.displayIndex),
               static_cast<unsigned>(display.adapterIndex)));
  }
  return static_cast<int>(total);
}

std::optional<std::string> DisplayAccess::ConnectorName(size_t record) const {
  if (record >= table.size() || !library.IsLoaded()) return std::nullopt;
  const std::string name = library.ConnectorName(table[record].adapterIndex, table[record].displayIndex);
  if (name.empty()) return std::nullopt;
  return name;
}

bool DisplayAccess::OverrideDisplayEdid(unsigned length, size_t record, const uint8_t* bytes) {
  if (record >= table.size() || !library.IsLoaded() || (bytes == nullptr && length > 0)) return false;
  length = std::min(length, kMaxEdidSize);
  const DisplayRecord& display = table[record];
  // Without root the kernel takes no override from us: the helper writes it.
  if (const std::optional<std::string> connector = ConnectorName(record); connector && helper.ThroughPolkit()) {
    std::string why;
    const std::string edid(reinterpret_cast<const char*>(bytes), length);
    if (helper.Run({"override", *connector}, edid, why)) return true;
    Log(Format("Failed to override EDID of Display[%u] on Adapter[%u].\r\n",
               static_cast<unsigned>(display.displayIndex), static_cast<unsigned>(display.adapterIndex)));
    Log(why + "\r\n");
    return false;
  }
  pexa::OverrideInput input{};
  input.size = sizeof(pexa::OverrideInput);
  input.requestCode = pexa::kOverrideRequest;
  input.displayIndex = display.displayIndex;
  input.payloadSize = pexa::kOverridePayloadSize;
  input.edidLength = static_cast<int32_t>(length);
  if (length > 0) std::memcpy(input.edid, bytes, length);
  pexa::RequestHeader header{};
  header.adapterIndex = display.adapterIndex;
  header.inputSize = sizeof(pexa::OverrideInput);
  header.input = &input;
  if (library.Send(header) == pexa::kOk) return true;
  Log(Format("Failed to override EDID of Display[%u] on Adapter[%u].\r\n", static_cast<unsigned>(display.displayIndex),
             static_cast<unsigned>(display.adapterIndex)));
  LogLibraryError();
  return false;
}

}  // namespace velmar
