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
  if (FindOutputFormat(out, &extension) == nullptr) {
    context.Error(Format("%s: cannot write a file with the extension '%s' (known: %s)", out.c_str(),
                         extension.c_str(), KnownExtensions().c_str()));
    return kExitUsage;
  }
  if (!context.LoadImage(in)) return kExitFailure;
  return WriteImageFile(context, out);
}

[[maybe_unused]] const bool kConvertRegistered = RegisterSubcommand({
    50,
    "convert",
    "IN OUT",
    "write the image of IN to OUT, in OUT's format",
    "IN is read as the other commands read files. OUT receives the image's used\n"
    "bytes (an image with no recognised block gives an empty file), written to a\n"
    "temporary file beside it and renamed over it, so a failure never leaves a\n"
    "half-written OUT. An unknown OUT extension is a usage error, checked before IN\n"
    "is read.\n",
    WritersHelp,
    2,
    2,
    RunConvert,
});

}  // namespace

}  // namespace velmar::cli
