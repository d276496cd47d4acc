#pragma once

#include <string>
#include <vector>

#include "display/PexaInterface.h"

namespace velmar {

// The binding to the graphics driver's display library: loads it at run time,
// resolves its entry points by name and calls them. Nothing the library
// answers is trusted: counts, sizes and arrays are checked before use, and
// every array it allocated through the program's allocator is released.
class PexaLibrary {
 public:
  enum class LoadResult { Loaded, NotFound, MissingEntryPoint, CreateFailed };

  PexaLibrary() = default;
  ~PexaLibrary();
  PexaLibrary(const PexaLibrary&) = delete;
  PexaLibrary& operator=(const PexaLibrary&) = delete;

  // The file named by VELMAR_PEXA_LIBRARY alone when it is set (a library
  // named on purpose is never replaced by another). Otherwise our
  // libtovuxy.so beside the program (the build folder), then in the library
  // folder of the installation the program belongs to, then "libtovuxy.so"
  // and "libtovuxx.so" found by the loader's usual search.
  static std::vector<std::string> DefaultCandidates();

  // Loads the first candidate that loads, resolves the entry points and
  // creates the library's control. On any failure nothing stays loaded and
  // LoadFailures() says why. Run as root, a candidate given by its path is
  // loaded only when nobody but root can change it.
  LoadResult Load(const std::vector<std::string>& candidates);
  // Why the last Load failed to find a library, one line per reason (without
  // line ends): each candidate that could not be loaded with the loader's
  // reason, or the library and the entry point it lacks.
  const std::vector<std::string>& LoadFailures() const { return loadFailures; }
  // Destroys the control, unloads the library and forgets its entry points.
  void Unload();
  bool IsLoaded() const { return handle != nullptr; }
  // The candidate that was loaded.
  const std::string& LoadedName() const { return loadedName; }

  // The calls; false when the library answers a failure.
  bool NumberOfAdapters(int& count);
  // Fetches `count` adapter records into a zeroed array.
  bool AdapterInfo(int count, std::vector<pexa::AdapterRecord>& records);
  // The displays of an adapter. A count of 0 or less or a null array give
  // none; a count beyond what the library's array holds is cut to it.
  bool DisplayInfo(int adapterIndex, std::vector<pexa::DisplayRecord>& displays);
  bool EdidData(int adapterIndex, int displayIndex, pexa::EdidRecord& record);
  // Sends a request; the library's answer (0 for success).
  int Send(pexa::RequestHeader& header);
  // The library's text for its last failure; empty when it offers none.
  std::string LastError() const;
  // The kernel's name of a display's connector ("card0-HDMI-A-1"); empty when
  // the library does not tell it.
  std::string ConnectorName(int adapterIndex, int displayIndex) const;

  // Arrays allocated through the program's allocator that were not released yet.
  static size_t OutstandingAllocations();

 private:
  void* Resolve(const char* name) const;
  void Forget();

  void* handle = nullptr;
  bool created = false;
  std::string loadedName;
  std::vector<std::string> loadFailures;
  pexa::MainControlCreateFunction create = nullptr;
  pexa::MainControlDestroyFunction destroy = nullptr;
  pexa::NumberOfAdaptersGetFunction numberOfAdapters = nullptr;
  pexa::AdapterInfoGetFunction adapterInfo = nullptr;
  pexa::DisplayInfoGetFunction displayInfo = nullptr;
  pexa::EdidDataGetFunction edidData = nullptr;
  pexa::SendFunction send = nullptr;
  pexa::LastErrorGetFunction lastError = nullptr;
  pexa::ConnectorNameGetFunction connectorName = nullptr;
};

}  // namespace velmar
