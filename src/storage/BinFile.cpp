#include "storage/BinFile.h"

#include <algorithm>

namespace velmar {

LoadResult DecodeBinFile(std::string_view contents) {
  LoadResult result;
  std::copy_n(contents.begin(), std::min<size_t>(contents.size(), kMaxEdidSize), result.bytes.begin());
  result.length = contents.size();
  return result;
}

std::string EncodeBinFile(const ImageFileData& image) { return std::string(image.bytes.begin(), image.bytes.end()); }

}  // namespace velmar
