#include "storage/CommandLine.h"

#include "app/EdidImage.h"
#include "common/UserInterface.h"
#include "storage/BinFile.h"
#include "storage/InfFile.h"
#include "storage/RegFile.h"
#include "storage/TxtFile.h"
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

bool OpenFileFromCommandLine(EdidImage& image, const std::string& path) {
  if (path.empty()) return false;
  const std::string name = FileNameOf(path);
  // Only the file name counts: folders such as ~/.config keep their dots to themselves.
  const std::string extension = ToUpperAscii(name.find('.') == std::string::npos ? name : FileExtension(path));
  if (extension.empty()) return false;
  if (extension == "INF") return LoadInfFile(image, path);
  if (extension == "REG") return LoadRegFile(image, path);
  if (extension == "TXT" || extension == "ETXT") return LoadTxtFile(image, path);
  if (extension == "BIN" || extension == "EBIN" || extension == "EDID") return LoadBinFile(image, path);
  image.Ui().ShowMessage(Format("Invalid file extension: %s", extension.c_str()));
  return false;
}

}  // namespace velmar
