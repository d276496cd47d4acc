#include "display/PexaLibrary.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

#include "util/TrustedPath.h"

namespace velmar {

namespace {

// The largest array the library may ask for; far beyond any real answer.
constexpr int kMaxAllocation = 64 * 1024 * 1024;

// Every array the library allocated through the program, with its size, so
// that an answer is only read within what was really allocated and only
// memory of ours is ever freed.
struct Allocations {
  std::mutex mutex;
  std::map<void*, size_t> sizes;
};

Allocations& TheAllocations() {
  static Allocations allocations;
  return allocations;
}

void* AllocateForLibrary(int byteCount) {
  if (byteCount <= 0 || byteCount > kMaxAllocation) return nullptr;
  void* memory = std::calloc(1, static_cast<size_t>(byteCount));
  if (memory == nullptr) return nullptr;
  Allocations& all = TheAllocations();
  std::lock_guard<std::mutex> lock(all.mutex);
  all.sizes[memory] = static_cast<size_t>(byteCount);
  return memory;
}

// The size of an array the library got from us; 0 for any other pointer.
size_t AllocationSize(const void* memory) {
  Allocations& all = TheAllocations();
  std::lock_guard<std::mutex> lock(all.mutex);
  const auto found = all.sizes.find(const_cast<void*>(memory));
  return found == all.sizes.end() ? 0 : found->second;
}

void Release(void* memory) {
  if (memory == nullptr) return;
  Allocations& all = TheAllocations();
  std::lock_guard<std::mutex> lock(all.mutex);
  const auto found = all.sizes.find(memory);
  if (found == all.sizes.end()) return;  // not ours: never free it
  all.sizes.erase(found);
  std::free(memory);
}

// Arrays are handed back only during a call, so once the library is gone any
// array still listed was allocated and dropped by it.
void ReleaseAll() {
  Allocations& all = TheAllocations();
  std::lock_guard<std::mutex> lock(all.mutex);
  for (auto& [memory, size] : all.sizes) {
    (void)size;
    std::free(memory);
  }
  all.sizes.clear();
}

}  // namespace

PexaLibrary::~PexaLibrary() {
  Unload();
}

std::vector<std::string> PexaLibrary::DefaultCandidates() {
  const char* named = std::getenv("VELMAR_PEXA_LIBRARY");
  if (named != nullptr && named[0] != '\0') return {named};
  std::vector<std::string> candidates;
  // The program's own folder, found without any run path: a run path entry
  // that is empty or relative would let the current folder supply libraries.
  std::vector<char> program(4096);
  const ssize_t length = ::readlink("/proc/self/exe", program.data(), program.size() - 1);
  const std::string path = length > 0 ? std::string(program.data(), static_cast<size_t>(length)) : std::string();
  const size_t slash = path.rfind('/');
  if (!path.empty() && path[0] == '/' && slash != std::string::npos) {
    const std::string folder = path.substr(0, slash);
    candidates.push_back(folder + "/libtovuxy.so");
#ifdef VELMAR_LIBRARY_FROM_PROGRAM
    candidates.push_back(folder + "/" VELMAR_LIBRARY_FROM_PROGRAM "/libtovuxy.so");
#endif
  }
  candidates.emplace_back("libtovuxy.so");
  candidates.emplace_back("libtovuxx.so");
  return candidates;
}

void* PexaLibrary::Resolve(const char* name) const {
  return handle != nullptr ? ::dlsym(handle, name) : nullptr;
}

PexaLibrary::LoadResult PexaLibrary::Load(const std::vector<std::string>& candidates) {
  Unload();
  loadFailures.clear();
  for (const std::string& candidate : candidates) {
    // A bare name is the loader's search of the system's folders; a path may
    // come from an unprivileged user's environment. A file that is not there
    // is left to the loader to report.
    if (candidate.find('/') != std::string::npos && RunsPrivileged()) {
      const std::string reason = UntrustedPathReason(candidate, true);
      if (!reason.empty()) {
        loadFailures.push_back("Not loading " + candidate + " as root: " + reason);
        continue;
      }
    }
    handle = ::dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle != nullptr) {
      loadedName = candidate;
      break;
    }
    const char* reason = ::dlerror();
    loadFailures.push_back("Cannot load " + candidate + ": " + (reason != nullptr ? reason : "unknown reason"));
  }
  if (handle == nullptr) return LoadResult::NotFound;
  loadFailures.clear();

  create = reinterpret_cast<pexa::MainControlCreateFunction>(Resolve(pexa::kMainControlCreate));
  destroy = reinterpret_cast<pexa::MainControlDestroyFunction>(Resolve(pexa::kMainControlDestroy));
  numberOfAdapters = reinterpret_cast<pexa::NumberOfAdaptersGetFunction>(Resolve(pexa::kNumberOfAdaptersGet));
  adapterInfo = reinterpret_cast<pexa::AdapterInfoGetFunction>(Resolve(pexa::kAdapterInfoGet));
  displayInfo = reinterpret_cast<pexa::DisplayInfoGetFunction>(Resolve(pexa::kDisplayInfoGet));
  edidData = reinterpret_cast<pexa::EdidDataGetFunction>(Resolve(pexa::kEdidDataGet));
  send = reinterpret_cast<pexa::SendFunction>(Resolve(pexa::kSend));
  lastError = reinterpret_cast<pexa::LastErrorGetFunction>(Resolve(pexa::kLastErrorGet));
  connectorName = reinterpret_cast<pexa::ConnectorNameGetFunction>(Resolve(pexa::kConnectorNameGet));
  const std::pair<const void*, const char*> required[] = {
      {reinterpret_cast<const void*>(create), pexa::kMainControlCreate},
      {reinterpret_cast<const void*>(destroy), pexa::kMainControlDestroy},
      {reinterpret_cast<const void*>(numberOfAdapters), pexa::kNumberOfAdaptersGet},
      {reinterpret_cast<const void*>(adapterInfo), pexa::kAdapterInfoGet},
      {reinterpret_cast<const void*>(displayInfo), pexa::kDisplayInfoGet},
      {reinterpret_cast<const void*>(edidData), pexa::kEdidDataGet},
      {reinterpret_cast<const void*>(send), pexa::kSend},
  };
  for (const auto& [entry, name] : required) {
    if (entry == nullptr) {
      loadFailures.push_back(loadedName + " has no entry point " + name);
      Unload();
      return LoadResult::MissingEntryPoint;
    }
  }
  if (create(&AllocateForLibrary, 1) != pexa::kOk) {
    Unload();
    return LoadResult::CreateFailed;
  }
  created = true;
  return LoadResult::Loaded;
}

void PexaLibrary::Unload() {
  if (handle == nullptr) return;
  if (created && destroy != nullptr) destroy();
  ::dlclose(handle);
  ReleaseAll();
  Forget();
}

void PexaLibrary::Forget() {
  handle = nullptr;
  created = false;
  loadedName.clear();
  create = nullptr;
  destroy = nullptr;
  numberOfAdapters = nullptr;
  adapterInfo = nullptr;
  displayInfo = nullptr;
  edidData = nullptr;
  send = nullptr;
  lastError = nullptr;
  connectorName = nullptr;
}

bool PexaLibrary::NumberOfAdapters(int& count) {
  count = 0;
  if (numberOfAdapters == nullptr) return false;
  return numberOfAdapters(&count) == pexa::kOk;
}

bool PexaLibrary::AdapterInfo(int count, std::vector<pexa::AdapterRecord>& records) {
  records.clear();
  if (adapterInfo == nullptr || count <= 0 || count > pexa::kMaxAdapters) return false;
  records.assign(static_cast<size_t>(count), pexa::AdapterRecord{});
  const int bytes = count * static_cast<int>(sizeof(pexa::AdapterRecord));
  return adapterInfo(records.data(), bytes) == pexa::kOk;
}

bool PexaLibrary::DisplayInfo(int adapterIndex, std::vector<pexa::DisplayRecord>& displays) {
  displays.clear();
  if (displayInfo == nullptr) return false;
  int count = 0;
  pexa::DisplayRecord* array = nullptr;
  const bool ok = displayInfo(adapterIndex, &count, &array, 0) == pexa::kOk;
  if (ok && count > 0 && array != nullptr) {
    const size_t held = AllocationSize(array) / sizeof(pexa::DisplayRecord);
    const size_t usable = std::min(static_cast<size_t>(count), held);
    displays.resize(usable);
    if (usable > 0) std::memcpy(displays.data(), array, usable * sizeof(pexa::DisplayRecord));
  }
  Release(array);
  return ok;
}

bool PexaLibrary::EdidData(int adapterIndex, int displayIndex, pexa::EdidRecord& record) {
  if (edidData == nullptr) return false;
  return edidData(adapterIndex, displayIndex, &record) == pexa::kOk;
}

int PexaLibrary::Send(pexa::RequestHeader& header) {
  if (send == nullptr) return pexa::kFailed;
  return send(&header);
}

std::string PexaLibrary::LastError() const {
  if (lastError == nullptr) return std::string();
  char buffer[1024] = {};
  if (lastError(buffer, static_cast<int>(sizeof(buffer))) != pexa::kOk) return std::string();
  return std::string(buffer, ::strnlen(buffer, sizeof(buffer)));
}

std::string PexaLibrary::ConnectorName(int adapterIndex, int displayIndex) const {
  if (connectorName == nullptr) return std::string();
  char buffer[256] = {};
  if (connectorName(adapterIndex, displayIndex, buffer, static_cast<int>(sizeof(buffer))) != pexa::kOk) {
    return std::string();
  }
  return std::string(buffer, ::strnlen(buffer, sizeof(buffer)));
}

size_t PexaLibrary::OutstandingAllocations() {
  Allocations& all = TheAllocations();
  std::lock_guard<std::mutex> lock(all.mutex);
  return all.sizes.size();
}

}  // namespace velmar
