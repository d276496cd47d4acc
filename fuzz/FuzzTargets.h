#pragma once

#include <cstddef>
#include <cstdint>

namespace velmar::fuzz {

// Each target takes arbitrary bytes, runs them through one way into the image
// and then through every view of it. They are shared by the libFuzzer
// executables and by the unit test that replays the kept regression inputs.

// The bytes as the raw 512-byte image.
void FuzzImage(const uint8_t* data, size_t size);
// The bytes as a file read by the binary, text, INF or REG reader.
void FuzzBinFile(const uint8_t* data, size_t size);
void FuzzTxtFile(const uint8_t* data, size_t size);
void FuzzInfFile(const uint8_t* data, size_t size);
void FuzzRegFile(const uint8_t* data, size_t size);
// The bytes as a program of edits on an image (see FuzzEdit.cpp), with the
// image's invariants checked after every step.
void FuzzEdit(const uint8_t* data, size_t size);

}  // namespace velmar::fuzz
