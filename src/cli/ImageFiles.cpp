#include "cli/ImageFiles.h"

#include "app/EdidImage.h"
#include "cli/Cli.h"
#include "cli/ConsoleUserInterface.h"
#include "storage/BinFile.h"
#include "storage/FileIO.h"
#include "storage/TxtFile.h"
#include "util/Format.h"

namespace velmar::cli {

namespace {

std::vector<ImageWriter>& WriterTable() {
  static std::vector<ImageWriter> table;
  return table;
}

const ImageWriter* WriterFor(const std::string& extension) {
  for (const ImageWriter& writer : WriterTable()) {
    for (const std::string& candidate : writer.extensions) {
      if (candidate == extension) return &writer;
    }
  }
  return nullptr;
}

[[maybe_unused]] const bool kBinRegistered = RegisterImageWriter(
    {{"BIN", "EDID", "EBIN"}, "raw binary", [](CommandContext& context) -> std::optional<std::string> {
       return BinFileContents(context.Image());
     }});
[[maybe_unused]] const bool kTxtRegistered = RegisterImageWriter(
    {{"TXT", "ETXT"}, "hexadecimal text (CR LF line ends)", [](CommandContext& context) -> std::optional<std::string> {
       return TxtFileContents(context.Image());
     }});

}  // namespace

bool RegisterImageWriter(ImageWriter writer) {
  WriterTable().push_back(std::move(writer));
  return true;
}

std::vector<const ImageWriter*> ImageWriters() {
  std::vector<const ImageWriter*> list;
  for (const ImageWriter& writer : WriterTable()) list.push_back(&writer);
  return list;
}

const ImageWriter* FindImageWriter(const std::string& path, std::string* extension) {
  const size_t slash = path.rfind('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const size_t dot = name.rfind('.');
  const std::string wanted = dot == std::string::npos ? std::string("BIN") : ToUpperAscii(name.substr(dot + 1));
  const ImageWriter* writer = wanted.empty() ? nullptr : WriterFor(wanted);
  if (writer == nullptr && extension != nullptr) *extension = wanted;
  return writer;
}

int WriteImageFile(CommandContext& context, const std::string& path) {
  std::string extension;
  const ImageWriter* writer = FindImageWriter(path, &extension);
  if (writer == nullptr) {
    context.Ui().ShowMessage(Format("Invalid file extension: %s", extension.c_str()));
    return kExitFailure;
  }
  const std::optional<std::string> contents = writer->contents(context);
  if (!contents) return kExitFailure;
  std::string error;
  switch (WriteFileAtomically(path, *contents, &error)) {
    case WriteStatus::CannotCreate:
      context.Ui().ShowMessage(Format("Failed to open [%s] for writing", path.c_str()));
      return kExitFailure;
    case WriteStatus::WriteFailed:
      context.Ui().ShowMessage(WriteFailureMessage(path, error));
      return kExitFailure;
    case WriteStatus::Ok:
      break;
  }
  return kExitOk;
}

}  // namespace velmar::cli
