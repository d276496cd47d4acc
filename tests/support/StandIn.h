#pragma once

// Stand-ins for system programs the tests must not run (pkexec, update-grub,
// update-initramfs): shell scripts that record how they were called.

#include <sys/stat.h>

#include <string>
#include <vector>

#include "support/TestData.h"

namespace velmar::testing {

// Writes the executable script `folder`/`name`. Each call appends one line to
// `folder`/`name`.calls: its arguments separated by blanks. Then it runs
// `then` (shell text; "$@" holds the arguments), or exits 0.
inline std::string WriteStandIn(const std::string& folder, const std::string& name, const std::string& then = "") {
  const std::string path = folder + "/" + name;
  WriteTextFile(path, "#!/bin/sh\necho \"$*\" >> \"" + path + ".calls\"\n" + (then.empty() ? "exit 0" : then) + "\n");
  ::chmod(path.c_str(), 0755);
  return path;
}

// The calls a stand-in recorded, one line each.
inline std::vector<std::string> StandInCalls(const std::string& standIn) {
  std::vector<std::string> lines;
  const std::string text = ReadTextFile(standIn + ".calls");
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

}  // namespace velmar::testing
