// A simulated Pexa display library for the tests. Its adapters, displays,
// EDIDs and failures come from the text file named by VELMAR_PEXA_SIM_CONFIG,
// read again at every enumeration; every override request is appended to the
// file named by VELMAR_PEXA_SIM_RECORD.
//
// Lines (words are key=value, a value may be double-quoted; "#" starts a comment):
//   fail create | fail count | fail adapters | fail override
//   count N                      the number of adapters answered (default: the adapter lines)
//   error "TEXT"                 the text of Pexa_LastError_Get after a failure
//   adapter index= bus= device= function= exists= name= path= namefill=C
//   display adapter=POS index= connected= name= namefill=C adapterfield= edid=FILE chunk= sizes= fail=1
//   displays adapter=POS fail=1 count= null=1 foreign=1 many=N
// `adapter` of display lines is the adapter line's position; `adapterfield`
// sets the record's adapter index field (default the adapter's index).
// `namefill` fills the whole name field with C, leaving no terminator.
// `chunk` is how many bytes one EDID answer gives (default 128): the answer
// for block index i holds the file's bytes from 128*i on; `sizes=a,b,...`
// replaces the sizes answered for block indexes 0, 1, ... `count` of displays replaces the count answered, `null`
// answers a null array, `foreign` an array the program did not allocate,
// `many` adds that many connected displays.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "display/PexaInterface.h"

#define PEXA_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

namespace pexa = velmar::pexa;
using Words = std::map<std::string, std::string>;

struct SimDisplay {
  Words words;
};

struct SimAdapter {
  Words words;
  std::vector<SimDisplay> displays;
  Words listing;  // the "displays" line
};

struct Config {
  bool failCreate = false;
  bool failCount = false;
  bool failAdapters = false;
  bool failOverride = false;
  std::optional<int> count;
  std::string error = "simulated failure";
  std::vector<SimAdapter> adapters;
};

pexa::AllocateFunction g_allocate = nullptr;
Config g_config;
std::string g_lastError;
pexa::DisplayRecord g_foreign[2];

std::vector<std::string> Tokens(const std::string& line) {
  std::vector<std::string> tokens;
  std::string token;
  bool quoted = false;
  bool any = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
      any = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (any) tokens.push_back(token);
      token.clear();
      any = false;
    } else {
      token += c;
      any = true;
    }
  }
  if (any) tokens.push_back(token);
  return tokens;
}

Words ParseWords(const std::vector<std::string>& tokens) {
  Words words;
  for (size_t i = 1; i < tokens.size(); ++i) {
    const size_t equals = tokens[i].find('=');
    if (equals == std::string::npos) {
      words.insert_or_assign(tokens[i], std::string(1, '1'));
    } else {
      words[tokens[i].substr(0, equals)] = tokens[i].substr(equals + 1);
    }
  }
  return words;
}

int Number(const Words& words, const std::string& key, int fallback) {
  const auto found = words.find(key);
  return found == words.end() ? fallback : std::atoi(found->second.c_str());
}

std::string Text(const Words& words, const std::string& key) {
  const auto found = words.find(key);
  return found == words.end() ? std::string() : found->second;
}

void LoadConfig() {
  g_config = Config();
  const char* path = std::getenv("VELMAR_PEXA_SIM_CONFIG");
  if (path == nullptr) return;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (const size_t hash = line.find('#'); hash != std::string::npos) line.resize(hash);
    const std::vector<std::string> tokens = Tokens(line);
    if (tokens.empty()) continue;
    const std::string& kind = tokens[0];
    if (kind == "fail" && tokens.size() > 1) {
      if (tokens[1] == "create") g_config.failCreate = true;
      if (tokens[1] == "count") g_config.failCount = true;
      if (tokens[1] == "adapters") g_config.failAdapters = true;
      if (tokens[1] == "override") g_config.failOverride = true;
    } else if (kind == "count" && tokens.size() > 1) {
      g_config.count = std::atoi(tokens[1].c_str());
    } else if (kind == "error" && tokens.size() > 1) {
      g_config.error = tokens[1];
    } else if (kind == "adapter") {
      g_config.adapters.push_back(SimAdapter{ParseWords(tokens), {}, {}});
    } else if (kind == "display") {
      const Words words = ParseWords(tokens);
      const int adapter = Number(words, "adapter", 0);
      if (adapter >= 0 && static_cast<size_t>(adapter) < g_config.adapters.size()) {
        g_config.adapters[static_cast<size_t>(adapter)].displays.push_back(SimDisplay{words});
      }
    } else if (kind == "displays") {
      const Words words = ParseWords(tokens);
      const int adapter = Number(words, "adapter", 0);
      if (adapter >= 0 && static_cast<size_t>(adapter) < g_config.adapters.size()) {
        g_config.adapters[static_cast<size_t>(adapter)].listing = words;
      }
    }
  }
}

void SetName(char* field, const Words& words) {
  const std::string fill = Text(words, "namefill");
  if (!fill.empty()) {
    std::memset(field, fill[0], pexa::kTextLength);
    return;
  }
  const std::string name = Text(words, "name");
  std::snprintf(field, pexa::kTextLength, "%s", name.c_str());
}

int Failure() {
  g_lastError = g_config.error;
  return pexa::kFailed;
}

// The adapter whose index field is `index`.
const SimAdapter* FindAdapter(int index) {
  for (size_t i = 0; i < g_config.adapters.size(); ++i) {
    if (Number(g_config.adapters[i].words, "index", static_cast<int>(i)) == index) return &g_config.adapters[i];
  }
  return nullptr;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

PEXA_EXPORT int Pexa_Main_Control_Create(pexa::AllocateFunction allocate, int connectedOnly) {
  (void)connectedOnly;
  LoadConfig();
  if (g_config.failCreate || allocate == nullptr) return Failure();
  g_allocate = allocate;
  return pexa::kOk;
}

PEXA_EXPORT int Pexa_Main_Control_Destroy() {
  g_allocate = nullptr;
  return pexa::kOk;
}

PEXA_EXPORT int Pexa_Adapter_NumberOfAdapters_Get(int* count) {
  LoadConfig();
  g_lastError.clear();
  if (g_config.failCount) return Failure();
  *count = g_config.count.value_or(static_cast<int>(g_config.adapters.size()));
  return pexa::kOk;
}

PEXA_EXPORT int Pexa_Adapter_AdapterInfo_Get(pexa::AdapterRecord* records, int byteSize) {
  if (g_config.failAdapters) return Failure();
  const size_t fit = static_cast<size_t>(byteSize) / sizeof(pexa::AdapterRecord);
  for (size_t i = 0; i < g_config.adapters.size() && i < fit; ++i) {
    const Words& words = g_config.adapters[i].words;
    pexa::AdapterRecord& record = records[i];
    record.adapterIndex = Number(words, "index", static_cast<int>(i));
    record.bus = Number(words, "bus", static_cast<int>(i));
    record.device = Number(words, "device", 0);
    record.function = Number(words, "function", 0);
    record.exists = Number(words, "exists", 1);
    SetName(record.name, words);
    std::snprintf(record.driverPath, sizeof record.driverPath, "%s", Text(words, "path").c_str());
  }
  return pexa::kOk;
}

PEXA_EXPORT int Pexa_Display_DisplayInfo_Get(int adapterIndex, int* count, pexa::DisplayRecord** records,
                                             int forceDetect) {
  (void)forceDetect;
  const SimAdapter* adapter = FindAdapter(adapterIndex);
  if (adapter == nullptr) return Failure();
  const Words& listing = adapter->listing;
  if (Number(listing, "fail", 0) != 0) return Failure();
  const size_t many = static_cast<size_t>(Number(listing, "many", 0));
  const size_t total = adapter->displays.size() + many;
  *count = Number(listing, "count", static_cast<int>(total));
  if (Number(listing, "null", 0) != 0) {
    *records = nullptr;
    return pexa::kOk;
  }
  if (Number(listing, "foreign", 0) != 0) {
    *records = g_foreign;
    return pexa::kOk;
  }
  if (total == 0) {
    *records = nullptr;
    return pexa::kOk;
  }
  auto* array = static_cast<pexa::DisplayRecord*>(g_allocate(static_cast<int>(total * sizeof(pexa::DisplayRecord))));
  for (size_t i = 0; i < total; ++i) {
    pexa::DisplayRecord& record = array[i];
    if (i < adapter->displays.size()) {
      const Words& words = adapter->displays[i].words;
      record.displayIndex = Number(words, "index", static_cast<int>(i));
      record.adapterIndex = Number(words, "adapterfield", adapterIndex);
      record.infoValue = Number(words, "connected", 1) != 0 ? pexa::kDisplayConnected : 0;
      SetName(record.name, words);
    } else {
      record.displayIndex = static_cast<int>(i);
      record.adapterIndex = adapterIndex;
      record.infoValue = pexa::kDisplayConnected;
      std::snprintf(record.name, sizeof record.name, "Many %zu", i);
    }
  }
  *records = array;
  return pexa::kOk;
}

PEXA_EXPORT int Pexa_Display_EdidData_Get(int adapterIndex, int displayIndex, pexa::EdidRecord* record) {
  const SimAdapter* adapter = FindAdapter(adapterIndex);
  if (adapter == nullptr || record == nullptr || record->size != static_cast<int>(sizeof(pexa::EdidRecord))) {
    return Failure();
  }
  for (size_t i = 0; i < adapter->displays.size(); ++i) {
    const Words& words = adapter->displays[i].words;
    if (Number(words, "index", static_cast<int>(i)) != displayIndex) continue;
    if (Number(words, "fail", 0) != 0) return Failure();
    const std::string edid = ReadAll(Text(words, "edid"));
    const size_t start = record->blockIndex >= 0 ? static_cast<size_t>(record->blockIndex) * 128 : edid.size();
    const size_t chunk = static_cast<size_t>(Number(words, "chunk", 128));
    const size_t size = start < edid.size() ? std::min(std::min(chunk, edid.size() - start), sizeof record->data) : 0;
    if (size > 0) std::memcpy(record->data, edid.data() + start, size);
    // "sizes=a,b,..." answers these sizes for block indexes 0, 1, ...
    std::vector<int> sizes;
    std::istringstream list(Text(words, "sizes"));
    for (std::string item; std::getline(list, item, ',');) sizes.push_back(std::atoi(item.c_str()));
    const size_t block = static_cast<size_t>(record->blockIndex);
    if (record->blockIndex >= 0 && block < sizes.size()) {
      record->edidSize = sizes[block];
      return pexa::kOk;
    }
    if (size == 0) return Failure();
    record->edidSize = static_cast<int>(size);
    return pexa::kOk;
  }
  return Failure();
}

PEXA_EXPORT int Send(pexa::RequestHeader* header) {
  if (const char* path = std::getenv("VELMAR_PEXA_SIM_RECORD")) {
    if (FILE* out = std::fopen(path, "a")) {
      std::fprintf(out, "adapter=%d inputSize=%d outputSize=%d output=%d reserved=%d input=", header->adapterIndex,
                   header->inputSize, header->outputSize, header->output != nullptr ? 1 : 0, header->reserved);
      const auto* bytes = static_cast<const unsigned char*>(header->input);
      for (int i = 0; bytes != nullptr && i < header->inputSize; ++i) std::fprintf(out, "%02X", bytes[i]);
      std::fprintf(out, "\n");
      std::fclose(out);
    }
  }
  if (g_config.failOverride) return Failure();
  return pexa::kOk;
}

PEXA_EXPORT int Pexa_LastError_Get(char* buffer, int size) {
  if (buffer == nullptr || size <= 0) return pexa::kFailed;
  std::snprintf(buffer, static_cast<size_t>(size), "%s", g_lastError.c_str());
  return pexa::kOk;
}
