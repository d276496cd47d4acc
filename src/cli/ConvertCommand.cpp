// convert: reads a file in one format and writes it in another.
#include "cli/Cli.h"
#include "cli/ImageFiles.h"
#include "util/Format.h"

namespace velmar::cli {

namespace {

std::string KnownExtensions() {
  std::string list;
  for (const FileFormat& format : FileFormats()) {
    for (const std::string& extension : format.extensions) {
      std::string lower = extension;
      for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
      list += (list.empty() ? "" : ", ") + lower;
    }
  }
  return list;
}

std::string WritersHelp() {
  std::string text = "\nOUT is written in the format its extension names (any case):\n";
  for (const FileFormat& format : FileFormats()) {
    std::string names;
    for (const std::string& extension : format.extensions) names += (names.empty() ? "" : ", ") + extension;
    text += "  " + names + ": " + format.description + (format.needsRegistryValue ? " (--reg-key, --reg-value)" : "") +
            "\n";
  }
  text += "A name without a dot is written as raw binary.\n";
  return text;
}

int RunConvert(CommandContext& context) {
  const std::string& in = context.Operands()[0];
  const std::string& out = context.Operands()[1];
  std::string extension;
  // Nothing is read when the output could never be written.
  const FileFormat* format = FindOutputFormat(out, &extension);
  if (format == nullptr) {
    context.Error(Format("%s: cannot write a file with the extension '%s' (known: %s)", out.c_str(),
                         extension.c_str(), KnownExtensions().c_str()));
    return kExitUsage;
  }
  EncodeOptions options;
  if (const int status = EncodeOptionsFor(context, *format, options); status != kExitOk) return status;
  // Everything is read before OUT is touched, so IN and OUT may be the same file.
  if (!context.LoadImage(in)) return kExitFailure;
  return WriteImageFile(context, out, *format, options);
}

[[maybe_unused]] const bool kConvertRegistered = RegisterSubcommand({
    50,
    "convert",
    "IN OUT",
    "write the image of IN to OUT, in OUT's format",
    "IN is read as the other commands read files. OUT receives the image's used\n"
    "bytes, written to a temporary file beside it and renamed over it, so a failure\n"
    "never leaves a half-written OUT; IN and OUT may be the same file. When IN\n"
    "cannot be read, is not in its format or holds no recognised block, the reason\n"
    "is printed, the exit status is 1 and OUT is left as it was. So it is when OUT\n"
    "is IN and IN holds more than the image's 512 bytes. An unknown OUT\n"
    "extension or a wrong option is checked before IN is read.\n",
    WritersHelp,
    2,
    2,
    RunConvert,
});

}  // namespace

}  // namespace velmar::cli
