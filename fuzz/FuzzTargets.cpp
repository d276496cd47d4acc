#include "fuzz/FuzzTargets.h"

#include <algorithm>

#include "app/EdidImage.h"
#include "fuzz/FuzzSupport.h"
#include "storage/BinFile.h"
#include "storage/InfFile.h"
#include "storage/RegFile.h"
#include "storage/TxtFile.h"

namespace velmar::fuzz {

namespace {

void LoadThenView(const uint8_t* data, size_t size, bool (*load)(EdidImage&, const std::string&)) {
  FuzzUserInterface ui;
  EdidImage image(ui);
  MemoryFile file(data, size);
  VELMAR_FUZZ_CHECK(load(image, file.Path()));
  RunAllViews(image);
}

}  // namespace

void FuzzImage(const uint8_t* data, size_t size) {
  FuzzUserInterface ui;
  EdidImage image(ui);
  std::copy(data, data + std::min<size_t>(size, kMaxEdidSize), image.rawData.begin());
  image.Rebuild();
  RunAllViews(image);
}

void FuzzBinFile(const uint8_t* data, size_t size) { LoadThenView(data, size, LoadBinFile); }
void FuzzTxtFile(const uint8_t* data, size_t size) { LoadThenView(data, size, LoadTxtFile); }
void FuzzInfFile(const uint8_t* data, size_t size) { LoadThenView(data, size, LoadInfFile); }
void FuzzRegFile(const uint8_t* data, size_t size) { LoadThenView(data, size, LoadRegFile); }

}  // namespace velmar::fuzz
