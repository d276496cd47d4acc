#pragma once

// The framework of velmar-edid: a table of subcommands and options that each
// source file of src/cli/ adds to at start-up, the parsed command line, and
// what every subcommand shares (output, messages, the image, reading files).
//
// Adding a subcommand: in a new file of src/cli/, write a function
// `int Run(CommandContext&)` and register it:
//
//   [[maybe_unused]] const bool kRegistered = RegisterSubcommand({...});
//
// Its options are registered the same way with RegisterOption; --help then
// documents both.

#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/SourceKind.h"
#include "storage/LoadResult.h"
#include "util/Clock.h"

namespace velmar {
class EdidImage;
}

namespace velmar::cli {

class CommandContext;
class ConsoleOutput;
class ConsoleUserInterface;

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // a file could not be read, loaded or written
inline constexpr int kExitUsage = 2;    // the command line itself is wrong

inline constexpr unsigned kManyOperands = ~0u;

// The option that reads more FILE operands from a file, one name per line
// ("-" for standard input). A command accepts it by listing itself in the
// option's registration (see ViewCommands.cpp).
inline constexpr char kFilesFromOption[] = "--files-from";

struct Subcommand {
  // Position in --help and the manual's order; commands of one group stay together.
  int order = 0;
  std::string name;
  // The operands after the name, as --help shows them: "FILE...", "IN OUT".
  std::string synopsis;
  // One line for the command list of --help.
  std::string summary;
  // The rest of the command's own --help, already broken into lines.
  std::string description;
  // More of it that depends on what else registered (such as the file formats).
  std::function<std::string()> moreHelp;
  unsigned minOperands = 0;
  unsigned maxOperands = kManyOperands;
  std::function<int(CommandContext&)> run;
};

struct OptionSpec {
  std::string name;       // "--date"
  std::string valueName;  // "M/D/YYYY"; empty for an option without a value
  std::string help;       // one line
  // The subcommands that accept it; empty for every subcommand.
  std::vector<std::string> subcommands;
};

// Both return true so that a file can register from a namespace-scope constant.
bool RegisterSubcommand(Subcommand subcommand);
bool RegisterOption(OptionSpec option);

// The registered subcommands in their order, and the options sorted by name.
std::vector<const Subcommand*> Subcommands();
std::vector<const OptionSpec*> Options();
const Subcommand* FindSubcommand(const std::string& name);

// What a subcommand runs with.
class CommandContext {
 public:
  CommandContext(const Subcommand& subcommand, std::vector<std::string> operands,
                 std::map<std::string, std::string> options, ConsoleOutput& output);
  ~CommandContext();
  CommandContext(const CommandContext&) = delete;
  CommandContext& operator=(const CommandContext&) = delete;

  const Subcommand& Command() const { return subcommand_; }
  const std::vector<std::string>& Operands() const { return operands_; }
  // The value of an option given on the command line ("" for one without a
  // value), or nothing when it was not given.
  std::optional<std::string> Option(const std::string& name) const;

  ConsoleOutput& Out() { return output_; }
  ConsoleUserInterface& Ui() { return *ui_; }
  // The one image of the process; every file is loaded into it in turn.
  EdidImage& Image() { return *image_; }
  // The clock of the errors report: the system's, or the moment of --time.
  const Clock& ReportClock() const;

  // Loads `path` into the image as the command line reads files: by its
  // extension, and as raw binary when the file name has no ".". True when the
  // file was read and decoded (its bytes may still give no block: Rebuild said
  // so); otherwise the reason went to standard error. Bytes of the file after
  // the image's last block are warned about.
  bool LoadImage(const std::string& path);
  // The same for bytes read from elsewhere (a display): loads `result` as
  // EdidImage::Load does and judges it as LoadImage does.
  bool TakeImage(const LoadResult& result, SourceKind kind, const SourceDetails& details);
  // Whether the image has at least one block to write. Without one, and with
  // no other byte the load could have complained about (all zero), prints
  // "Operation Failed. Need valid EDID with at least 1 block".
  bool RequireBlocks();
  // Loads every operand in turn and calls `show` for each file that loaded;
  // a file that did not (LoadImage) prints its message and nothing else. With several
  // files, each file's part starts with "==> NAME <==" and each message about
  // it with "NAME: ". Returns kExitFailure when any file did not load, else kExitOk.
  int ForEachFile(const std::function<void()>& show);

  // A message of the tool itself, "velmar-edid: ..." on standard error.
  void Error(const std::string& message);
  // A message of the tool about the file `path`: "velmar-edid: PATH: ...", or
  // "PATH: ..." when several files are named.
  void FileError(const std::string& path, const std::string& message);

 private:
  const Subcommand& subcommand_;
  std::vector<std::string> operands_;
  std::map<std::string, std::string> options_;
  ConsoleOutput& output_;
  std::unique_ptr<ConsoleUserInterface> ui_;
  std::unique_ptr<FixedClock> fixedClock_;
  std::unique_ptr<EdidImage> image_;
};

// Parses "HH:MM:SS MM/DD/YYYY"; nothing when the text is not such a moment.
std::optional<LocalTime> ParseMoment(const std::string& text);

// The whole program: parses the arguments, runs the subcommand, returns the
// exit status. Output goes to `out`, messages to `err`.
int Run(int argc, const char* const* argv, std::FILE* out, std::FILE* err);

}  // namespace velmar::cli
