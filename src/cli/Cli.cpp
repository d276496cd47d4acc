#include "cli/Cli.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "app/EdidImage.h"
#include "cli/ConsoleUserInterface.h"
#include "storage/FileFormat.h"
#include "storage/FileIO.h"
#include "util/Format.h"

#ifndef VELMAR_VERSION_TEXT
#define VELMAR_VERSION_TEXT "unknown"
#endif

namespace velmar::cli {

namespace {

constexpr char kProgram[] = "velmar-edid";
constexpr char kCrlfOption[] = "--crlf";
constexpr char kTimeOption[] = "--time";
constexpr char kMomentFormat[] = "HH:MM:SS MM/DD/YYYY";

std::vector<Subcommand>& SubcommandTable() {
  static std::vector<Subcommand> table;
  return table;
}

std::vector<OptionSpec>& OptionTable() {
  static std::vector<OptionSpec> table;
  return table;
}

const OptionSpec* FindOption(const std::string& name) {
  for (const OptionSpec& option : OptionTable()) {
    if (option.name == name) return &option;
  }
  return nullptr;
}

bool Applies(const OptionSpec& option, const std::string& subcommand) {
  return option.subcommands.empty() ||
         std::find(option.subcommands.begin(), option.subcommands.end(), subcommand) != option.subcommands.end();
}

[[maybe_unused]] const bool kCrlfRegistered = RegisterOption(
    {kCrlfOption, "", "end printed lines with CR LF instead of LF", {}});
[[maybe_unused]] const bool kTimeRegistered =
    RegisterOption({kTimeOption,
                    Format("\"%s\"", kMomentFormat),
                    "report this moment instead of the clock's",
                    {"report"}});

// "  NAME" padded to the help's second column (or on a line of its own when too
// long), then the help broken at blanks so that no line passes 80 columns.
void AppendItem(std::string& text, const std::string& item, const std::string& help) {
  constexpr size_t kColumn = 26;
  constexpr size_t kWidth = 80;
  std::string line = "  " + item;
  if (line.size() + 2 > kColumn) {
    text += line + "\n";
    line.clear();
  }
  line.resize(kColumn, ' ');
  size_t start = 0;
  while (start < help.size()) {
    size_t end = help.size();
    if (kColumn + (end - start) > kWidth) {
      const size_t blank = help.rfind(' ', start + (kWidth - kColumn));
      end = blank != std::string::npos && blank > start ? blank : help.find(' ', start);
      if (end == std::string::npos) end = help.size();
    }
    text += line + help.substr(start, end - start) + "\n";
    line.assign(kColumn, ' ');
    start = end;
    while (start < help.size() && help[start] == ' ') ++start;
  }
  if (help.empty()) text += line + "\n";
}

std::string OptionItem(const OptionSpec& option) {
  return option.valueName.empty() ? option.name : option.name + " " + option.valueName;
}

std::string GeneralHelp() {
  std::string text = Format("Usage: %s [OPTION]... COMMAND [OPERAND]...\n", kProgram);
  text +=
      "View, check and convert EDID data from files: the command line of Velmar EDID\n"
      "Utility, with the same decoding, checks and file formats as the desktop program.\n"
      "\nCommands:\n";
  for (const Subcommand* command : Subcommands()) {
    AppendItem(text, command->name + " " + command->synopsis, command->summary);
  }
  text += "\nOptions:\n";
  for (const OptionSpec* option : Options()) {
    std::string help = option->help;
    if (!option->subcommands.empty()) {
      std::string names;
      for (const std::string& name : option->subcommands) names += (names.empty() ? "" : ", ") + name;
      help += " [" + names + "]";
    }
    AppendItem(text, OptionItem(*option), help);
  }
  AppendItem(text, "-h, --help", "show this help (with a COMMAND, its help) and exit");
  AppendItem(text, "--version", "show the version and exit");
  text +=
      "\nFiles are read by their extension, in any case, as the desktop program's\n"
      "command line reads them: for example bin, edid and ebin as raw binary, txt and\n"
      "etxt as hexadecimal text. A file name without a dot, such as\n"
      "/sys/class/drm/card0-HDMI-A-1/edid, is read as raw binary. With several files,\n"
      "each file's output follows a line \"==> FILE <==\" naming it as given, and each\n"
      "message about it starts with \"FILE: \". A file that cannot be read or is not\n"
      "in its format prints its message and nothing else.\n"
      "\nPrinted texts end their lines with LF unless --crlf is given. Messages that the\n"
      "desktop program shows in a message box go to standard error, one per line.\n"
      "\nExit status: 0 on success (even when messages were printed); 1 when a file\n"
      "could not be read, is not in its format, or could not be written, and when\n"
      "convert or read-display found no EDID block to write; 2 when the command line\n"
      "is wrong. A command that fails never writes its output file: an existing one\n"
      "is left as it was.\n"
      "\nSee velmar-edid(1) for details.\n";
  return text;
}

std::string CommandHelp(const Subcommand& command) {
  std::string text = Format("Usage: %s [OPTION]... %s %s\n", kProgram, command.name.c_str(), command.synopsis.c_str());
  text += command.summary + "\n";
  if (!command.description.empty()) text += "\n" + command.description;
  if (command.moreHelp) text += command.moreHelp();
  if (!text.empty() && text.back() != '\n') text += '\n';
  text += "\nOptions:\n";
  for (const OptionSpec* option : Options()) {
    if (Applies(*option, command.name)) AppendItem(text, OptionItem(*option), option->help);
  }
  AppendItem(text, "-h, --help", "show this help and exit");
  return text;
}

void Print(std::FILE* stream, const std::string& text) { std::fwrite(text.data(), 1, text.size(), stream); }

int UsageError(std::FILE* err, const std::string& message) {
  Print(err, Format("%s: %s\nTry '%s --help' for more information.\n", kProgram, message.c_str(), kProgram));
  return kExitUsage;
}

// Appends the names of the list file `list` ("-" for standard input), one per
// line; empty lines are skipped. Any file that can be read will do, pipes
// included, since the list is what the user hands over on purpose.
bool ReadFileNames(const std::string& list, std::vector<std::string>& names, std::string& reason) {
  std::FILE* file = list == "-" ? stdin : std::fopen(list.c_str(), "rb");
  if (file == nullptr) {
    reason = std::strerror(errno);
    return false;
  }
  std::string text;
  char buffer[1 << 16];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
  const bool failed = std::ferror(file) != 0;
  const int error = errno;
  if (file != stdin) std::fclose(file);
  if (failed) {
    reason = std::strerror(error);
    return false;
  }
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    if (end > start) names.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return true;
}

bool ParseField(const std::string& text, size_t position, size_t digits, unsigned& value) {
  if (position + digits > text.size()) return false;
  value = 0;
  for (size_t i = position; i < position + digits; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + static_cast<unsigned>(text[i] - '0');
  }
  return true;
}

}  // namespace

bool RegisterSubcommand(Subcommand subcommand) {
  SubcommandTable().push_back(std::move(subcommand));
  return true;
}

bool RegisterOption(OptionSpec option) {
  OptionTable().push_back(std::move(option));
  return true;
}

std::vector<const Subcommand*> Subcommands() {
  std::vector<const Subcommand*> list;
  for (const Subcommand& command : SubcommandTable()) list.push_back(&command);
  std::stable_sort(list.begin(), list.end(), [](const Subcommand* a, const Subcommand* b) {
    return a->order != b->order ? a->order < b->order : a->name < b->name;
  });
  return list;
}

std::vector<const OptionSpec*> Options() {
  std::vector<const OptionSpec*> list;
  for (const OptionSpec& option : OptionTable()) list.push_back(&option);
  std::stable_sort(list.begin(), list.end(), [](const OptionSpec* a, const OptionSpec* b) { return a->name < b->name; });
  return list;
}

const Subcommand* FindSubcommand(const std::string& name) {
  for (const Subcommand& command : SubcommandTable()) {
    if (command.name == name) return &command;
  }
  return nullptr;
}

std::optional<LocalTime> ParseMoment(const std::string& text) {
  // HH:MM:SS MM/DD/YYYY
  if (text.size() != 19 || text[2] != ':' || text[5] != ':' || text[8] != ' ' || text[11] != '/' ||
      text[14] != '/') {
    return std::nullopt;
  }
  LocalTime moment;
  if (!ParseField(text, 0, 2, moment.hour) || !ParseField(text, 3, 2, moment.minute) ||
      !ParseField(text, 6, 2, moment.second) || !ParseField(text, 9, 2, moment.month) ||
      !ParseField(text, 12, 2, moment.day) || !ParseField(text, 15, 4, moment.year)) {
    return std::nullopt;
  }
  if (moment.hour > 23 || moment.minute > 59 || moment.second > 60 || moment.month < 1 || moment.month > 12 ||
      moment.day < 1 || moment.day > 31) {
    return std::nullopt;
  }
  return moment;
}

CommandContext::CommandContext(const Subcommand& subcommand, std::vector<std::string> operands,
                               std::map<std::string, std::string> options, ConsoleOutput& output)
    : subcommand_(subcommand),
      operands_(std::move(operands)),
      options_(std::move(options)),
      output_(output),
      ui_(std::make_unique<ConsoleUserInterface>(output)) {
  if (const auto time = Option(kTimeOption)) {
    if (const auto moment = ParseMoment(*time)) fixedClock_ = std::make_unique<FixedClock>(*moment);
  }
  image_ = std::make_unique<EdidImage>(*ui_);
  image_->SetClock(&ReportClock());
}

CommandContext::~CommandContext() = default;

std::optional<std::string> CommandContext::Option(const std::string& name) const {
  const auto found = options_.find(name);
  if (found == options_.end()) return std::nullopt;
  return found->second;
}

const Clock& CommandContext::ReportClock() const {
  return fixedClock_ ? static_cast<const Clock&>(*fixedClock_) : SystemClockInstance();
}

bool CommandContext::LoadImage(const std::string& path) {
  const size_t slash = path.rfind('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const FileFormat* format = nullptr;
  if (name.find('.') == std::string::npos) {
    // The kernel's own EDID files (/sys/class/drm/*/edid) have no extension.
    format = FormatOf(SourceKind::BinFile);
  } else if (name.back() == '.') {
    FileError(path, "no extension after the last dot tells the file's format");
    return false;
  } else {
    const std::string extension = ToUpperAscii(name.substr(name.rfind('.') + 1));
    format = FormatForExtension(extension);
    if (format == nullptr) {
      ui_->ShowMessage(Format("Invalid file extension: %s", extension.c_str()));
      return false;
    }
  }
  SourceDetails details;
  details.file = path;
  return TakeImage(ReadImageFile(*format, path), format->kind, details);
}

bool CommandContext::TakeImage(const LoadResult& result, SourceKind kind, const SourceDetails& details) {
  // A format failure leaves nothing of the file to show: only its message.
  if (!image_->Load(result, kind, details) || result.status != LoadStatus::Ok) return false;
  const unsigned used = image_->GetUsedSize();
  if (image_->BlockCount() > 0 && result.length > used) {
    ui_->ShowMessage(
        Format("warning: %zu bytes after the last block, from byte %u on, were ignored", result.length - used, used));
  }
  return true;
}

bool CommandContext::RequireBlocks() {
  if (image_->BlockCount() > 0) return true;
  // Bytes that no block took were refused with a message already.
  const bool allZero = std::all_of(image_->rawData.begin(), image_->rawData.end(), [](uint8_t b) { return b == 0; });
  if (allZero) ui_->ShowMessage("Operation Failed. Need valid EDID with at least 1 block");
  return false;
}

int CommandContext::ForEachFile(const std::function<void()>& show) {
  int status = kExitOk;
  const bool several = operands_.size() > 1;
  for (const std::string& path : operands_) {
    if (several) {
      output_.Line("==> " + path + " <==");
      ui_->SetMessagePrefix(path + ": ");
    }
    if (!LoadImage(path)) {
      status = kExitFailure;
      continue;
    }
    show();
  }
  ui_->SetMessagePrefix(std::string());
  return status;
}

void CommandContext::Error(const std::string& message) { output_.Message(Format("%s: %s", kProgram, message.c_str())); }

void CommandContext::FileError(const std::string& path, const std::string& message) {
  if (ui_->MessagePrefix().empty()) {
    Error(path + ": " + message);
  } else {
    ui_->ShowMessage(message);
  }
}

int Run(int argc, const char* const* argv, std::FILE* out, std::FILE* err) {
  std::vector<std::string> positional;
  std::map<std::string, std::string> given;
  bool help = false;
  bool version = false;
  bool endOfOptions = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (!endOfOptions && arg == "--") {
      endOfOptions = true;
      continue;
    }
    if (endOfOptions || arg.size() < 2 || arg[0] != '-') {
      positional.push_back(arg);
      continue;
    }
    if (arg == "-h" || arg == "--help") {
      help = true;
      continue;
    }
    if (arg == "--version") {
      version = true;
      continue;
    }
    const size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    const OptionSpec* option = arg.compare(0, 2, "--") == 0 ? FindOption(name) : nullptr;
    if (option == nullptr) return UsageError(err, Format("unrecognized option '%s'", arg.c_str()));
    if (option->valueName.empty()) {
      if (equals != std::string::npos) {
        return UsageError(err, Format("option '%s' doesn't allow an argument", name.c_str()));
      }
      given[name] = std::string();
    } else if (equals != std::string::npos) {
      given[name] = arg.substr(equals + 1);
    } else if (i + 1 < argc) {
      given[name] = argv[++i];
    } else {
      return UsageError(err, Format("option '%s' requires an argument", name.c_str()));
    }
  }

  const Subcommand* command = nullptr;
  if (!positional.empty()) {
    command = FindSubcommand(positional.front());
    if (command == nullptr) return UsageError(err, Format("unknown command '%s'", positional.front().c_str()));
  }
  if (help) {
    Print(out, command != nullptr ? CommandHelp(*command) : GeneralHelp());
    return std::fflush(out) == 0 ? kExitOk : kExitFailure;
  }
  if (version) {
    Print(out, Format("%s (Velmar EDID Utility) %s\n", kProgram, VELMAR_VERSION_TEXT));
    return std::fflush(out) == 0 ? kExitOk : kExitFailure;
  }
  if (command == nullptr) return UsageError(err, "missing command");

  std::vector<std::string> operands(positional.begin() + 1, positional.end());
  const auto fileList = given.find(kFilesFromOption);
  if (operands.size() < command->minOperands && fileList == given.end()) {
    return UsageError(err, Format("%s: missing operand (%s)", command->name.c_str(), command->synopsis.c_str()));
  }
  if (operands.size() > command->maxOperands) {
    return UsageError(err, Format("%s: extra operand '%s'", command->name.c_str(),
                                  operands[command->maxOperands].c_str()));
  }
  for (const auto& [name, value] : given) {
    if (!Applies(*FindOption(name), command->name)) {
      return UsageError(err, Format("option '%s' does not apply to '%s'", name.c_str(), command->name.c_str()));
    }
  }
  if (const auto time = given.find(kTimeOption); time != given.end() && !ParseMoment(time->second)) {
    return UsageError(err, Format("invalid moment '%s' for %s: write it as \"%s\"", time->second.c_str(),
                                  kTimeOption, kMomentFormat));
  }

  if (fileList != given.end()) {
    // Appended after the operands; an empty list is a run over no file.
    std::string reason;
    if (!ReadFileNames(fileList->second, operands, reason)) {
      const std::string list = fileList->second == "-" ? std::string("standard input") : fileList->second;
      Print(err, Format("%s: %s\n", kProgram, ReadOpenFailureMessage(list, reason).c_str()));
      return kExitFailure;
    }
  }

  ConsoleOutput output(out, err, given.count(kCrlfOption) != 0);
  int status = kExitFailure;
  {
    CommandContext context(*command, std::move(operands), std::move(given), output);
    status = command->run ? command->run(context) : kExitFailure;
  }
  if (!output.Finish()) {
    output.Message(Format("%s: error writing standard output", kProgram));
    return kExitFailure;
  }
  return status;
}

}  // namespace velmar::cli
