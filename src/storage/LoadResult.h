#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "blocks/DataBlock.h"

namespace velmar {

// How reading an EDID from a file, a display or the registry ended. One status
// for every source, so that every load ends in the same place.
enum class LoadStatus : int {
  Ok = 0,
  // Nothing was read (the file could not be opened or read, the registry value
  // is missing): the image must stay as it was.
  CannotOpen = 1,
  // The source was read but is not in its format.
  InvalidFormat = 2,
  // The source holds more than the 512 bytes an image has room for.
  Overflow = 3,
  // The source answered without any EDID byte (a display that gives none).
  NoData = 4,
};

// What a decoder or a reader hands to the image: the status and the image's
// 512 bytes. The bytes are all zero unless the status is Ok.
struct LoadResult {
  LoadStatus status = LoadStatus::Ok;
  std::array<uint8_t, kMaxEdidSize> bytes{};
  // How many EDID bytes the source held. For a raw file this is its size,
  // which may be larger than the 512 bytes kept.
  size_t length = 0;
  // CannotOpen: the system's reason ("No such file or directory").
  std::string reason;

  static LoadResult Failed(LoadStatus failure, std::string why = std::string()) {
    LoadResult result;
    result.status = failure;
    result.reason = std::move(why);
    return result;
  }
};

}  // namespace velmar
