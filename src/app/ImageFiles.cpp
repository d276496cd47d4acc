#include "app/ImageFiles.h"

#include <sys/stat.h>

#include "app/EdidImage.h"
#include "common/UserInterface.h"
#include "pages/BlockPage.h"
#include "storage/CommandLine.h"
#include "storage/FileFormat.h"
#include "storage/FileIO.h"
#include "util/Format.h"

namespace velmar {

namespace {

SourceDetails FileDetails(const std::string& path) {
  SourceDetails details;
  details.file = path;
  return details;
}

// The same file under either name: the same text, or the same file system object.
bool SameFile(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  if (a == b) return true;
  struct stat first {};
  struct stat second {};
  return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}

}  // namespace

ImageFileData FileDataOf(const EdidImage& image, const EncodeOptions& options) {
  ImageFileData data;
  data.options = options;
  data.bytes.assign(image.rawData.begin(), image.rawData.begin() + image.GetUsedSize());
  for (unsigned i = 0; i < image.BlockCount(); ++i) {
    const BlockPage* page = image.GetPage(i);
    data.blocks.push_back(ImageFileBlock{page->GetTitle(), i == 0 ? 0 : image.BlockEnd(i - 1), image.BlockEnd(i)});
    page->GetLargestMode(data.largestWidth, data.largestHeight);
  }
  if (const BlockPage* first = image.GetPage(0)) first->GetMonitorInfo(data.monitor);
  return data;
}

std::string EncodeImage(const EdidImage& image, SourceKind kind, const EncodeOptions& options) {
  const FileFormat* format = FormatOf(kind);
  return format != nullptr ? format->encode(FileDataOf(image, options)) : std::string();
}

bool LoadImageFile(EdidImage& image, SourceKind kind, const std::string& path) {
  const FileFormat* format = FormatOf(kind);
  if (format == nullptr) return false;
  return image.Load(ReadImageFile(*format, path), kind, FileDetails(path));
}

bool OverwritesLongerSource(const EdidImage& image, const std::string& path) {
  return !image.SourceLengthNote().empty() && SameFile(path, image.SourceFile());
}

bool SaveImageFile(EdidImage& image, SourceKind kind, const std::string& path, const EncodeOptions& options) {
  const FileFormat* format = FormatOf(kind);
  if (format == nullptr) return false;
  if (format->optionsProblem != nullptr) {
    const std::string problem = format->optionsProblem(options);
    if (!problem.empty()) {
      image.Ui().ShowMessage(WriteOpenFailureMessage(path, problem));
      return false;
    }
  }
  // The image holds only the first 512 bytes of a longer source: writing
  // over that source drops the rest of it.
  if (OverwritesLongerSource(image, path) &&
      !image.Ui().AskOkCancel(Format("%s\r\nSaving over [%s] drops the rest of it.\r\nAre you sure?",
                                     image.SourceLengthNote().c_str(), path.c_str()))) {
    return false;
  }
  std::string error;
  switch (WriteFileAtomically(path, EncodeImage(image, kind, options), &error)) {
    case WriteStatus::CannotCreate:
      image.Ui().ShowMessage(WriteOpenFailureMessage(path, error));
      return false;
    case WriteStatus::WriteFailed:
      image.Ui().ShowMessage(WriteFailureMessage(path, error));
      return false;
    case WriteStatus::Ok:
      break;
  }
  image.SetSource(kind, FileDetails(path));
  image.ClearModified();
  return true;
}

bool OpenFileFromCommandLine(EdidImage& image, const std::string& path) {
  std::string extension;
  const FileFormat* format = CommandLineFormat(path, extension);
  if (extension.empty()) return false;
  if (format == nullptr) {
    image.Ui().ShowMessage(Format("Invalid file extension: %s", extension.c_str()));
    return false;
  }
  return LoadImageFile(image, format->kind, path);
}

}  // namespace velmar
