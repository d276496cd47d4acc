// libtovuxy.so: the Pexa display library over the Linux kernel's DRM
// subsystem. Adapters are the DRM cards of sysfs (class/drm/cardN), displays
// their connectors; EDIDs come from the connectors' "edid" files and overrides
// go to the connectors' "edid_override" files in debugfs.
//
// VELMAR_SYSFS_ROOT and VELMAR_DEBUGFS_ROOT move both trees for tests (see
// DrmConnector.h).

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "display/PexaInterface.h"
#include "display/pexa-drm/DrmConnector.h"

#define PEXA_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

using velmar::pexa::AdapterRecord;
using velmar::pexa::AllocateFunction;
using velmar::pexa::DisplayRecord;
using velmar::pexa::EdidRecord;
using velmar::pexa::OverrideInput;
using velmar::pexa::RequestHeader;
namespace pexa = velmar::pexa;
namespace drm = velmar::drm;

// The kernel never exposes more than 256 blocks of 128 bytes.
constexpr size_t kMaxEdidFileSize = 256 * 128;
constexpr const char* kRegistryBase = "\\REGISTRY\\MACHINE\\SYSTEM\\Velmar\\Display\\";
// Bus numbers from here on are not PCI buses (the PCI domain is folded into
// bits 8-23): they name devices that have no PCI address.
constexpr int32_t kSyntheticBus = 0x1000000;

struct Connector {
  std::string entry;      // "card0-HDMI-A-1"
  std::string shortName;  // "HDMI-A-1", as debugfs names it
  std::string folder;
  int32_t index = 0;
};

struct Card {
  int number = 0;
  std::string folder;      // <sysfs>/class/drm/cardN
  std::string deviceName;  // "0000:01:00.0"
  int32_t bus = 0;
  int32_t device = 0;
  int32_t function = 0;
  int32_t vendorId = 0;
  std::string driver;
  std::string name;
  std::string registryPath;
  // The connectors as the last display list reported them.
  std::vector<Connector> listed;
  bool listedOnce = false;
};

struct State {
  std::mutex mutex;
  AllocateFunction allocate = nullptr;
  bool created = false;
  bool scanned = false;
  std::vector<Card> cards;
  std::string lastError;
};

State& TheState() {
  static State state;
  return state;
}

std::string ErrorText(int error) {
  return std::strerror(error);
}

void Fail(State& state, const std::string& reason) {
  state.lastError = reason;
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The real path a link leads to, or empty.
std::string RealPath(const std::string& path) {
  char buffer[PATH_MAX];
  return ::realpath(path.c_str(), buffer) != nullptr ? std::string(buffer) : std::string();
}

// Reads at most `limit` bytes of a file; none when it cannot be read.
std::optional<std::string> ReadFile(const std::string& path, size_t limit, int* error = nullptr) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    if (error != nullptr) *error = errno;
    return std::nullopt;
  }
  std::string contents;
  char buffer[4096];
  while (contents.size() < limit) {
    const ssize_t got = ::read(fd, buffer, std::min(sizeof buffer, limit - contents.size()));
    if (got < 0) {
      if (errno == EINTR) continue;
      if (error != nullptr) *error = errno;
      ::close(fd);
      return std::nullopt;
    }
    if (got == 0) break;
    contents.append(buffer, static_cast<size_t>(got));
  }
  ::close(fd);
  return contents;
}

std::string FirstLine(const std::string& text) {
  const size_t end = text.find_first_of("\r\n");
  return end == std::string::npos ? text : text.substr(0, end);
}

// A base-16 attribute such as "0x10de".
std::optional<long> ReadHexAttribute(const std::string& path) {
  const std::optional<std::string> text = ReadFile(path, 64);
  if (!text) return std::nullopt;
  const std::string line = FirstLine(*text);
  char* end = nullptr;
  const long value = std::strtol(line.c_str(), &end, 16);
  if (line.empty() || end == line.c_str() || *end != '\0') return std::nullopt;
  return value;
}

std::optional<long> ReadDecimalAttribute(const std::string& path) {
  const std::optional<std::string> text = ReadFile(path, 64);
  if (!text) return std::nullopt;
  const std::string line = FirstLine(*text);
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(line.c_str(), &end, 10);
  if (line.empty() || end == line.c_str() || *end != '\0' || errno != 0) return std::nullopt;
  return value;
}

bool IsDirectory(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Names of a folder's entries, sorted; none when it cannot be listed.
std::optional<std::vector<std::string>> ListFolder(const std::string& path, int* error) {
  DIR* folder = ::opendir(path.c_str());
  if (folder == nullptr) {
    *error = errno;
    return std::nullopt;
  }
  std::vector<std::string> names;
  while (const dirent* entry = ::readdir(folder)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  ::closedir(folder);
  std::sort(names.begin(), names.end());
  return names;
}

// "cardN" exactly: not render nodes, not connectors.
std::optional<int> CardNumber(const std::string& name) {
  if (name.size() < 5 || name.compare(0, 4, "card") != 0 || name.size() > 12) return std::nullopt;
  int number = 0;
  for (size_t i = 4; i < name.size(); ++i) {
    if (name[i] < '0' || name[i] > '9') return std::nullopt;
    number = number * 10 + (name[i] - '0');
  }
  return number;
}

// Splits "DDDD:BB:DD.F".
bool ParsePciAddress(const std::string& text, unsigned& domain, unsigned& bus, unsigned& device, unsigned& function) {
  char tail = 0;
  return std::sscanf(text.c_str(), "%x:%x:%x.%x%c", &domain, &bus, &device, &function, &tail) == 4 &&
         domain <= 0xFFFF && bus <= 0xFF && device <= 0x1F && function <= 0x7;
}

void CopyText(char* field, size_t size, const std::string& text) {
  const size_t length = std::min(text.size(), size - 1);
  std::memcpy(field, text.data(), length);
  field[length] = '\0';
}

Card DescribeCard(int number, const std::string& folder, size_t position) {
  Card card;
  card.number = number;
  card.folder = folder;
  const std::string device = RealPath(folder + "/device");
  card.deviceName = device.empty() ? std::string() : BaseName(device);
  std::string subsystem = device.empty() ? std::string() : BaseName(RealPath(device + "/subsystem"));
  card.driver = device.empty() ? std::string() : BaseName(RealPath(device + "/driver"));

  unsigned domain = 0, bus = 0, slot = 0, function = 0;
  const bool pci = !card.deviceName.empty() && ParsePciAddress(card.deviceName, domain, bus, slot, function);
  std::string ids;
  if (pci) {
    if (subsystem.empty()) subsystem = "pci";
    card.bus = static_cast<int32_t>((domain << 8) | bus);
    card.device = static_cast<int32_t>(slot);
    card.function = static_cast<int32_t>(function);
    const std::optional<long> vendor = ReadHexAttribute(device + "/vendor");
    const std::optional<long> product = ReadHexAttribute(device + "/device");
    if (vendor) card.vendorId = static_cast<int32_t>(*vendor);
    if (vendor && product) {
      char text[32];
      std::snprintf(text, sizeof text, "%04lX:%04lX", *vendor & 0xFFFF, *product & 0xFFFF);
      ids = text;
    }
  } else {
    card.bus = kSyntheticBus + static_cast<int32_t>(position);
  }

  card.name = "card" + std::to_string(number);
  if (!card.driver.empty()) card.name += ": " + card.driver;
  if (!ids.empty()) card.name += " (" + ids + ")";
  const std::string identity = card.deviceName.empty()
                                   ? card.name.substr(0, card.name.find(':'))
                                   : (subsystem.empty() ? "device" : subsystem) + "-" + card.deviceName;
  card.registryPath = kRegistryBase + identity;
  return card;
}

bool ScanCards(State& state) {
  state.cards.clear();
  state.scanned = true;
  std::string why;
  const std::optional<std::string> root = drm::SysfsRoot(why);
  if (!root) {
    Fail(state, why);
    return false;
  }
  const std::string folder = *root + "/class/drm";
  int error = 0;
  const std::optional<std::vector<std::string>> names = ListFolder(folder, &error);
  if (!names) {
    Fail(state, "Cannot list " + folder + ": " + ErrorText(error));
    return false;
  }
  std::vector<std::pair<int, std::string>> found;
  for (const std::string& name : *names) {
    if (const std::optional<int> number = CardNumber(name)) found.emplace_back(*number, name);
  }
  std::sort(found.begin(), found.end());
  for (const auto& [number, name] : found) {
    if (state.cards.size() >= static_cast<size_t>(pexa::kMaxAdapters)) break;
    Card card = DescribeCard(number, folder + "/" + name, state.cards.size());
    // Bus, device and function must tell the adapters apart.
    for (const Card& earlier : state.cards) {
      if (earlier.bus == card.bus && earlier.device == card.device && earlier.function == card.function) {
        card.bus = kSyntheticBus + static_cast<int32_t>(state.cards.size());
        card.device = 0;
        card.function = 0;
      }
    }
    state.cards.push_back(std::move(card));
  }
  return true;
}

// The card's connectors sorted by name; each numbered by its connector id
// when the kernel gives every connector a distinct one, else by its position.
// Either number survives reboots and hot-plug of other displays.
std::optional<std::vector<Connector>> ListConnectors(State& state, const Card& card) {
  int error = 0;
  const std::optional<std::vector<std::string>> names = ListFolder(card.folder, &error);
  if (!names) {
    Fail(state, "Cannot list " + card.folder + ": " + ErrorText(error));
    return std::nullopt;
  }
  const std::string prefix = "card" + std::to_string(card.number) + "-";
  std::vector<Connector> connectors;
  for (const std::string& name : *names) {
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
    if (!drm::IsPlainConnectorName(name.substr(prefix.size()))) continue;
    const std::string folder = card.folder + "/" + name;
    if (!IsDirectory(folder)) continue;
    Connector connector;
    connector.entry = name;
    connector.shortName = name.substr(prefix.size());
    connector.folder = folder;
    connectors.push_back(std::move(connector));
  }
  std::vector<int32_t> ids;
  for (const Connector& connector : connectors) {
    const std::optional<long> id = ReadDecimalAttribute(connector.folder + "/connector_id");
    if (!id || *id < 0 || *id > INT32_MAX) break;
    ids.push_back(static_cast<int32_t>(*id));
  }
  std::vector<int32_t> sorted = ids;
  std::sort(sorted.begin(), sorted.end());
  const bool useIds =
      ids.size() == connectors.size() && std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end();
  for (size_t i = 0; i < connectors.size(); ++i) connectors[i].index = useIds ? ids[i] : static_cast<int32_t>(i);
  return connectors;
}

bool IsConnected(const Connector& connector) {
  const std::optional<std::string> status = ReadFile(connector.folder + "/status", 64);
  return status && FirstLine(*status) == "connected";
}

std::string ReadEdid(const Connector& connector) {
  return ReadFile(connector.folder + "/edid", kMaxEdidFileSize).value_or(std::string());
}

// The text of the EDID's product name descriptor, or empty.
std::string ProductName(const std::string& edid) {
  static const unsigned char kHeader[8] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
  if (edid.size() < 128 || std::memcmp(edid.data(), kHeader, 8) != 0) return std::string();
  for (size_t slot = 54; slot <= 108; slot += 18) {
    const auto* d = reinterpret_cast<const unsigned char*>(edid.data() + slot);
    if (d[0] != 0 || d[1] != 0 || d[2] != 0 || d[3] != 0xFC) continue;
    std::string name;
    for (size_t i = 5; i < 18 && d[i] != 0x0A && d[i] != 0x00; ++i) name += static_cast<char>(d[i]);
    while (!name.empty() && name.back() == ' ') name.pop_back();
    return name;
  }
  return std::string();
}

std::string ManufacturerId(const std::string& edid) {
  if (edid.size() < 10) return std::string();
  const unsigned code = (static_cast<unsigned char>(edid[8]) << 8) | static_cast<unsigned char>(edid[9]);
  std::string id;
  for (int shift = 10; shift >= 0; shift -= 5) {
    const unsigned letter = (code >> shift) & 0x1F;
    if (letter >= 1 && letter <= 26) id += static_cast<char>('A' + letter - 1);
  }
  return id;
}

Card* FindCard(State& state, int adapterIndex) {
  if (!state.scanned) ScanCards(state);
  if (adapterIndex < 0 || static_cast<size_t>(adapterIndex) >= state.cards.size()) {
    Fail(state, "No adapter " + std::to_string(adapterIndex));
    return nullptr;
  }
  return &state.cards[static_cast<size_t>(adapterIndex)];
}

const Connector* FindConnector(const std::vector<Connector>& connectors, int32_t index) {
  for (const Connector& connector : connectors) {
    if (connector.index == index) return &connector;
  }
  return nullptr;
}

drm::ConnectorPlace PlaceOf(const Card& card, const Connector& connector) {
  drm::ConnectorPlace place;
  place.cardNumber = card.number;
  place.deviceName = card.deviceName;
  place.entry = connector.entry;
  place.shortName = connector.shortName;
  place.folder = connector.folder;
  return place;
}

int SendOverride(State& state, const RequestHeader& header, const OverrideInput& input) {
  if (input.size != static_cast<int32_t>(sizeof(OverrideInput)) || input.payloadSize != pexa::kOverridePayloadSize ||
      input.edidLength < 1 || input.edidLength > pexa::kMaxOverrideLength) {
    Fail(state, "Malformed EDID override request");
    return pexa::kFailed;
  }
  Card* card = FindCard(state, header.adapterIndex);
  if (card == nullptr) return pexa::kFailed;
  const std::optional<std::vector<Connector>> connectors = ListConnectors(state, *card);
  if (!connectors) return pexa::kFailed;
  const Connector* now = FindConnector(*connectors, input.displayIndex);
  const Connector* then = card->listedOnce ? FindConnector(card->listed, input.displayIndex) : nullptr;
  if (now == nullptr || then == nullptr || now->entry != then->entry) {
    Fail(state, "Display " + std::to_string(input.displayIndex) + " of " + card->name +
                    " changed since the displays were listed; list them again");
    return pexa::kFailed;
  }
  if (!IsConnected(*now)) {
    Fail(state, now->entry + " is not connected");
    return pexa::kFailed;
  }
  const drm::ConnectorPlace place = PlaceOf(*card, *now);
  std::string why;
  if (!drm::WriteOverrideFile(place, input.edid, static_cast<size_t>(input.edidLength), why)) {
    Fail(state, why);
    return pexa::kFailed;
  }
  drm::Reprobe(place);
  return pexa::kOk;
}

}  // namespace

PEXA_EXPORT int Pexa_Main_Control_Create(AllocateFunction allocate, int connectedOnly) {
  (void)connectedOnly;
  State& state = TheState();
  std::lock_guard<std::mutex> lock(state.mutex);
  state.lastError.clear();
  if (allocate == nullptr) {
    Fail(state, "No allocator given");
    return pexa::kFailed;
  }
  state.allocate = allocate;
  state.created = true;
  state.scanned = false;
  state.cards.clear();
  return pexa::kOk;
}

PEXA_EXPORT int Pexa_Main_Control_Destroy() {
  State& state = TheState();
  std::lock_guard<std::mutex> lock(state.mutex);
  state.allocate = nullptr;
  state.created = false;
  state.scanned = false;
  state.cards.clear();
  state.lastError.clear();
  return pexa::kOk;
}

PEXA_EXPORT int Pexa_Adapter_NumberOfAdapters_Get(int* count) {
  State& state = TheState();
  std::lock_guard<std::mutex> lock(state.mutex);
  state.lastError.clear();
  if (count == nullptr || !state.created) {
    Fail(state, "Library not initialized");
    return pexa::kFailed;
  }
  *count = 0;
  if (!ScanCards(state)) return pexa::kFailed;
  *count = static_cast<int>(state.cards.size());
  return pexa::kOk;
}

PEXA_EXPORT int Pexa_Adapter_AdapterInfo_Get(AdapterRecord* records, int byteSize) {
  State& state = TheState();
  std::lock_guard<std::mutex> lock(state.mutex);
  state.lastError.clear();
  if (records == nullptr || byteSize < 0 || !state.created) {
    Fail(state, "Library not initialized");
    return pexa::kFailed;
  }
  if (!state.scanned && !ScanCards(state)) return pexa::kFailed;
  const size_t fit = static_cast<size_t>(byteSize) / sizeof(AdapterRecord);
  for (size_t i = 0; i < state.cards.size() && i < fit; ++i) {
    const Card& card = state.cards[i];
    AdapterRecord& record = records[i];
    std::memset(&record, 0, sizeof record);
    record.size = sizeof(AdapterRecord);
    record.adapterIndex = static_cast<int32_t>(i);
    CopyText(record.udid, sizeof record.udid, card.deviceName);
    record.bus = card.bus;
    record.device = card.device;
    record.function = card.function;
    record.vendorId = card.vendorId;
    CopyText(record.adapterName, sizeof record.adapterName, card.driver);
    CopyText(record.name, sizeof record.name, card.name);
    record.present = 1;
    record.exists = 1;
    CopyText(record.driverPath, sizeof record.driverPath, card.registryPath);
    record.osDisplayIndex = card.number;
  }
  return pexa::kOk;
}

PEXA_EXPORT int Pexa_Display_DisplayInfo_Get(int adapterIndex, int* count, DisplayRecord** records, int forceDetect) {
  (void)forceDetect;
  State& state = TheState();
  std::lock_guard<std::mutex> lock(state.mutex);
  state.lastError.clear();
  if (count == nullptr || records == nullptr || !state.created) {
    Fail(state, "Library not initialized");
    return pexa::kFailed;
  }
  *count = 0;
  *records = nullptr;
  Card* card = FindCard(state, adapterIndex);
  if (card == nullptr) return pexa::kFailed;
  std::optional<std::vector<Connector>> connectors = ListConnectors(state, *card);
  if (!connectors) return pexa::kFailed;
  card->listed = *connectors;
  card->listedOnce = true;
  if (connectors->empty()) return pexa::kOk;
  auto* array =
      static_cast<DisplayRecord*>(state.allocate(static_cast<int>(connectors->size() * sizeof(DisplayRecord))));
  if (array == nullptr) {
    Fail(state, "Out of memory");
    return pexa::kFailed;
  }
  for (size_t i = 0; i < connectors->size(); ++i) {
    const Connector& connector = (*connectors)[i];
    DisplayRecord& record = array[i];
    std::memset(&record, 0, sizeof record);
    record.displayIndex = connector.index;
    record.physicalIndex = connector.index;
    record.adapterIndex = adapterIndex;
    record.physicalAdapterIndex = adapterIndex;
    record.controllerIndex = -1;
    record.infoMask = pexa::kDisplayConnected;
    if (IsConnected(connector)) {
      const std::string edid = ReadEdid(connector);
      CopyText(record.name, sizeof record.name, ProductName(edid));
      CopyText(record.manufacturer, sizeof record.manufacturer, ManufacturerId(edid));
      record.infoValue = pexa::kDisplayConnected;
    }
  }
  *count = static_cast<int>(connectors->size());
  *records = array;
  return pexa::kOk;
}

PEXA_EXPORT int Pexa_Display_EdidData_Get(int adapterIndex, int displayIndex, EdidRecord* record) {
  State& state = TheState();
  std::lock_guard<std::mutex> lock(state.mutex);
  state.lastError.clear();
  if (record == nullptr || !state.created) {
    Fail(state, "Library not initialized");
    return pexa::kFailed;
  }
  if (record->size != static_cast<int32_t>(sizeof(EdidRecord))) {
    Fail(state, "Unexpected EDID record size " + std::to_string(record->size));
    return pexa::kFailed;
  }
  Card* card = FindCard(state, adapterIndex);
  if (card == nullptr) return pexa::kFailed;
  const std::optional<std::vector<Connector>> connectors = ListConnectors(state, *card);
  if (!connectors) return pexa::kFailed;
  const Connector* connector = FindConnector(*connectors, displayIndex);
  if (connector == nullptr) {
    Fail(state, "No display " + std::to_string(displayIndex) + " on " + card->name);
    return pexa::kFailed;
  }
  int error = 0;
  const std::optional<std::string> edid = ReadFile(connector->folder + "/edid", kMaxEdidFileSize, &error);
  if (!edid) {
    Fail(state, "Cannot read " + connector->folder + "/edid: " + ErrorText(error));
    return pexa::kFailed;
  }
  // One 128-byte block per block index.
  const int32_t block = record->blockIndex;
  if (block < 0 || static_cast<size_t>(block) * 128 >= edid->size()) {
    Fail(state, edid->empty() ? connector->entry + " has no EDID"
                              : connector->entry + " has no EDID block " + std::to_string(block));
    return pexa::kFailed;
  }
  const size_t start = static_cast<size_t>(block) * 128;
  const size_t size = std::min<size_t>(128, edid->size() - start);
  std::memset(record->data, 0, sizeof record->data);
  std::memcpy(record->data, edid->data() + start, size);
  record->edidSize = static_cast<int32_t>(size);
  return pexa::kOk;
}

PEXA_EXPORT int Send(RequestHeader* header) {
  State& state = TheState();
  std::lock_guard<std::mutex> lock(state.mutex);
  state.lastError.clear();
  if (header == nullptr || !state.created) {
    Fail(state, "Library not initialized");
    return pexa::kFailed;
  }
  if (header->inputSize != static_cast<int32_t>(sizeof(OverrideInput)) || header->input == nullptr) {
    Fail(state, "Unsupported request");
    return pexa::kFailed;
  }
  const auto* input = static_cast<const OverrideInput*>(header->input);
  if (input->requestCode != pexa::kOverrideRequest) {
    char text[64];
    std::snprintf(text, sizeof text, "Unsupported request 0x%X", static_cast<unsigned>(input->requestCode));
    Fail(state, text);
    return pexa::kFailed;
  }
  return SendOverride(state, *header, *input);
}

PEXA_EXPORT int Pexa_LastError_Get(char* buffer, int size) {
  if (buffer == nullptr || size <= 0) return pexa::kFailed;
  State& state = TheState();
  std::lock_guard<std::mutex> lock(state.mutex);
  CopyText(buffer, static_cast<size_t>(size), state.lastError);
  return pexa::kOk;
}

PEXA_EXPORT int Pexa_Display_ConnectorName_Get(int adapterIndex, int displayIndex, char* buffer, int size) {
  State& state = TheState();
  std::lock_guard<std::mutex> lock(state.mutex);
  state.lastError.clear();
  if (buffer == nullptr || size <= 0 || !state.created) {
    Fail(state, "Library not initialized");
    return pexa::kFailed;
  }
  Card* card = FindCard(state, adapterIndex);
  if (card == nullptr) return pexa::kFailed;
  // The connector the display list named, as overrides are sent to it.
  const Connector* connector = card->listedOnce ? FindConnector(card->listed, displayIndex) : nullptr;
  if (connector == nullptr) {
    Fail(state, "No display " + std::to_string(displayIndex) + " on " + card->name);
    return pexa::kFailed;
  }
  CopyText(buffer, static_cast<size_t>(size), connector->entry);
  return pexa::kOk;
}
