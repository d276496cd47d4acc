#pragma once

#include <cstdint>

namespace velmar {

class CallbackFillContentTgt;
class EdidImage;

// The raw hexadecimal dump of the first `length` bytes that opens the data summary.
void AppendRawDump(CallbackFillContentTgt* target, const uint8_t* data, unsigned length);

// Validates the bytes no block covers; returns 1 when it found a problem, else 0.
unsigned ValidateNonMappedData(const EdidImage& image, CallbackFillContentTgt* report);

}  // namespace velmar
