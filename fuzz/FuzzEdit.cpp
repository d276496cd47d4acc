#include "fuzz/FuzzTargets.h"

namespace velmar::fuzz {

void FuzzEdit(const uint8_t* data, size_t size) {
  (void)data, (void)size;
}

}  // namespace velmar::fuzz
