#include "storage/BinFile.h"

#include <algorithm>

#include "app/EdidImage.h"
#include "common/UserInterface.h"
#include "storage/FileIO.h"
#include "util/Format.h"

namespace velmar {

bool LoadBinFile(EdidImage& image, const std::string& path) {
  std::string contents;
  if (ReadFilePrefix(path, kMaxEdidSize, contents) != ReadStatus::Ok) {
    image.Ui().ShowMessage(Format("Failed to open [%s] for reading", path.c_str()));
    return false;
  }
  image.ResetForLoad();
  std::copy(contents.begin(), contents.end(), image.rawData.begin());
  image.Rebuild();
  SourceDetails details;
  details.file = path;
  image.SetSource(SourceKind::BinFile, details);
  return true;
}

std::string BinFileContents(const EdidImage& image) {
  return std::string(reinterpret_cast<const char*>(image.rawData.data()), image.GetUsedSize());
}

}  // namespace velmar
