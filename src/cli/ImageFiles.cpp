#include "cli/ImageFiles.h"

#include "app/EdidImage.h"
#include "app/ImageFiles.h"
#include "cli/Cli.h"
#include "cli/ConsoleUserInterface.h"
#include "util/Format.h"

namespace velmar::cli {

const FileFormat* FindOutputFormat(const std::string& path, std::string* extension) {
  const size_t slash = path.rfind('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const size_t dot = name.rfind('.');
  const std::string wanted = dot == std::string::npos ? std::string("BIN") : ToUpperAscii(name.substr(dot + 1));
  const FileFormat* format = wanted.empty() ? nullptr : FormatForExtension(wanted);
  if (format == nullptr && extension != nullptr) *extension = wanted;
  return format;
}

int WriteImageFile(CommandContext& context, const std::string& path, const FileFormat& format,
                   const EncodeOptions& options) {
  if (!context.RequireBlocks()) return kExitFailure;
  // Nobody can be asked here, so the rest of a longer file is never dropped.
  if (OverwritesLongerSource(context.Image(), path)) {
    context.Ui().ShowMessage(
        Format("%s; [%s] was not written over", context.Image().SourceLengthNote().c_str(), path.c_str()));
    return kExitFailure;
  }
  return SaveImageFile(context.Image(), format.kind, path, options) ? kExitOk : kExitFailure;
}

}  // namespace velmar::cli
