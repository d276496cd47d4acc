#include "storage/CommandLine.h"

#include "util/Format.h"

namespace velmar {

namespace {

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string FileExtension(const std::string& path) {
  const std::string name = FileNameOf(path);
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

const FileFormat* CommandLineFormat(const std::string& path, std::string& extension) {
  const std::string name = FileNameOf(path);
  // Only the file name counts: folders such as ~/.config keep their dots to themselves.
  extension = ToUpperAscii(name.find('.') == std::string::npos ? name : FileExtension(path));
  return extension.empty() ? nullptr : FormatForExtension(extension);
}

}  // namespace velmar
