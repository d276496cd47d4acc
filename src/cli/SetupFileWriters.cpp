// The options of the INF and REG files that convert, read-display and edit write.
#include <cctype>

#include "cli/Cli.h"
#include "cli/ImageFiles.h"
#include "storage/RegFile.h"
#include "util/Format.h"

namespace velmar::cli {

namespace {

constexpr char kDateOption[] = "--date";
constexpr char kRegKeyOption[] = "--reg-key";
constexpr char kRegValueOption[] = "--reg-value";

// "M/D/YYYY", each number without or with leading zeros.
std::optional<LocalTime> ParseDate(const std::string& text) {
  unsigned parts[3] = {0, 0, 0};
  size_t digits[3] = {0, 0, 0};
  unsigned part = 0;
  for (char c : text) {
    if (c == '/') {
      if (++part > 2) return std::nullopt;
    } else if (std::isdigit(static_cast<unsigned char>(c)) && digits[part] < 4) {
      parts[part] = parts[part] * 10 + static_cast<unsigned>(c - '0');
      ++digits[part];
    } else {
      return std::nullopt;
    }
  }
  if (part != 2 || digits[0] == 0 || digits[1] == 0 || digits[2] != 4) return std::nullopt;
  if (parts[0] < 1 || parts[0] > 12 || parts[1] < 1 || parts[1] > 31) return std::nullopt;
  LocalTime date;
  date.month = parts[0];
  date.day = parts[1];
  date.year = parts[2];
  return date;
}

// The key as the registry path of a display, without the machine's prefix
// when it was given with one.
std::string RegistryKey(std::string key) {
  for (const char* prefix : {"HKEY_LOCAL_MACHINE\\", "HKLM\\", "\\REGISTRY\\MACHINE\\"}) {
    const std::string text = prefix;
    if (ToUpperAscii(key.substr(0, text.size())) == text) return key.substr(text.size());
  }
  return key;
}

[[maybe_unused]] const bool kDateRegistered =
    RegisterOption({kDateOption,
                    "M/D/YYYY",
                    "INF files' driver date (default: today)",
                    {"convert", "read-display", "edit"}});
[[maybe_unused]] const bool kRegKeyRegistered =
    RegisterOption({kRegKeyOption,
                    "PATH",
                    "REG files' key under HKEY_LOCAL_MACHINE",
                    {"convert", "read-display", "edit"}});
[[maybe_unused]] const bool kRegValueRegistered =
    RegisterOption({kRegValueOption,
                    "NAME",
                    "REG files' value name, such as NEXOEmulatedEDID_D0",
                    {"convert", "read-display", "edit"}});

}  // namespace

int EncodeOptionsFor(CommandContext& context, const FileFormat& format, EncodeOptions& options) {
  options.date = SystemClockInstance().Now();
  if (const auto text = context.Option(kDateOption)) {
    const std::optional<LocalTime> given = ParseDate(*text);
    if (!given) {
      context.Error(Format("invalid date '%s' for %s: write it as M/D/YYYY", text->c_str(), kDateOption));
      return kExitFailure;
    }
    options.date = *given;
  }
  if (!format.needsRegistryValue) return kExitOk;
  const std::optional<std::string> key = context.Option(kRegKeyOption);
  const std::optional<std::string> value = context.Option(kRegValueOption);
  if (!key || !value || key->empty() || value->empty()) {
    context.Error(
        Format("a REG file needs %s PATH and %s NAME (the display's registry path and value name, "
               "such as NEXOEmulatedEDID_D0)",
               kRegKeyOption, kRegValueOption));
    return kExitFailure;
  }
  options.registryPath = RegistryKey(*key);
  options.valueName = *value;
  // A key or value name that would end its line early is never written.
  if (format.optionsProblem != nullptr) {
    const std::string problem = format.optionsProblem(options);
    if (!problem.empty()) {
      context.Error(problem);
      return kExitUsage;
    }
  }
  // A file the program itself would load as an empty image is refused.
  EncodeOptions plainKey = options;
  plainKey.registryPath = "SYSTEM";
  if (!RegFileReadsBack(plainKey)) {
    context.Error(Format("invalid value name '%s' for %s: the REG reader only reads values named like "
                         "NEXOEmulatedEDID_D0 or NEXOEmulatedEDID_A1",
                         value->c_str(), kRegValueOption));
    return kExitUsage;
  }
  if (!RegFileReadsBack(options)) {
    context.Error(Format("invalid key '%s' for %s: the REG file's lines would not read back", key->c_str(),
                         kRegKeyOption));
    return kExitUsage;
  }
  return kExitOk;
}

}  // namespace velmar::cli
