#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/TestData.h"

namespace velmar::testing {

// The simulated display library of the tests: a temporary folder with its
// configuration and its record of override requests, named to the library
// through the environment for the lifetime of this object.
class SimLibrary {
 public:
  SimLibrary() : dir(MakeTempDir()) {
    ::setenv("VELMAR_PEXA_SIM_CONFIG", Path("sim.conf").c_str(), 1);
    ::setenv("VELMAR_PEXA_SIM_RECORD", Path("requests.txt").c_str(), 1);
    Configure("");
  }
  ~SimLibrary() {
    ::unsetenv("VELMAR_PEXA_SIM_CONFIG");
    ::unsetenv("VELMAR_PEXA_SIM_RECORD");
    RemoveTree(dir);
  }
  SimLibrary(const SimLibrary&) = delete;
  SimLibrary& operator=(const SimLibrary&) = delete;

  static std::vector<std::string> Candidates() { return {VELMAR_PEXA_SIM_LIBRARY}; }

  // Replaces the configuration; the library reads it at every enumeration.
  void Configure(const std::string& text) const { WriteTextFile(Path("sim.conf"), text); }
  std::string Path(const std::string& name) const { return dir + "/" + name; }
  // Writes bytes to a file of the folder and returns its path.
  std::string WriteBytes(const std::string& name, const std::vector<uint8_t>& bytes) const {
    WriteTextFile(Path(name), std::string(bytes.begin(), bytes.end()));
    return Path(name);
  }
  // The override requests received, one line each.
  std::vector<std::string> Requests() const {
    std::vector<std::string> lines;
    std::string text = ReadTextFile(Path("requests.txt"));
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
      lines.push_back(text.substr(start, end - start));
    }
    return lines;
  }

  std::string dir;
};

// The 540-byte override input the library should receive, built field by
// field in little-endian order.
inline std::string ExpectedOverrideInput(int32_t displayIndex, const std::vector<uint8_t>& edid) {
  std::vector<uint8_t> input(540, 0);
  const auto put = [&input](size_t offset, uint32_t value) {
    for (unsigned i = 0; i < 4; ++i) input[offset + i] = static_cast<uint8_t>(value >> (8 * i));
  };
  put(0, 540);
  put(4, 0x130032);
  put(8, static_cast<uint32_t>(displayIndex));
  put(16, 524);
  put(20, static_cast<uint32_t>(edid.size()));
  for (size_t i = 0; i < edid.size() && i < 512; ++i) input[24 + i] = edid[i];
  std::string hex;
  static const char kDigits[] = "0123456789ABCDEF";
  for (uint8_t b : input) {
    hex += kDigits[b >> 4];
    hex += kDigits[b & 15];
  }
  return hex;
}

}  // namespace velmar::testing
