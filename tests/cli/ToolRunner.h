#pragma once

// Runs the built velmar-edid and captures what it printed and its exit status.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "support/TestData.h"

extern char** environ;

namespace velmar::testing {

struct ToolResult {
  int status = -1;  // the exit status; -1 when the tool did not exit normally
  std::string out;
  std::string err;
};

inline std::string ToolPath() { return std::string(VELMAR_BINARY_DIR) + "/velmar-edid"; }

struct ToolOptions {
  // Standard error goes where standard output goes (read back in `out`).
  bool mergeStreams = false;
  // Standard output goes to this file instead of being captured.
  std::string stdoutPath;
  // Standard input comes from this file instead of /dev/null.
  std::string stdinPath;
  // The program run instead of velmar-edid (such as the privileged helper).
  std::string program;
};

inline ToolResult RunTool(const std::vector<std::string>& args, const ToolOptions& options = ToolOptions()) {
  ToolResult result;
  const std::string dir = MakeTempDir();
  const std::string outPath = options.stdoutPath.empty() ? dir + "/out" : options.stdoutPath;
  const std::string errPath = dir + "/err";

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  const std::string inPath = options.stdinPath.empty() ? std::string("/dev/null") : options.stdinPath;
  posix_spawn_file_actions_addopen(&actions, 0, inPath.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (options.mergeStreams) {
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
  } else {
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  }

  std::vector<std::string> argv = {options.program.empty() ? ToolPath() : options.program};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> pointers;
  for (std::string& arg : argv) pointers.push_back(arg.data());
  pointers.push_back(nullptr);

  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0].c_str(), &actions, nullptr, pointers.data(), environ) == 0) {
    int wstatus = 0;
    pid_t waited = 0;
    do {
      waited = waitpid(pid, &wstatus, 0);
    } while (waited < 0 && errno == EINTR);
    if (waited == pid && WIFEXITED(wstatus)) result.status = WEXITSTATUS(wstatus);
  }
  posix_spawn_file_actions_destroy(&actions);
  if (options.stdoutPath.empty()) result.out = ReadTextFile(outPath);
  result.err = ReadTextFile(errPath);
  RemoveTree(dir);
  return result;
}

}  // namespace velmar::testing
