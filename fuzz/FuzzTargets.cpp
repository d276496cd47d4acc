#include "fuzz/FuzzTargets.h"

#include <algorithm>

#include "app/EdidImage.h"
#include "fuzz/FuzzSupport.h"
#include "storage/FileFormat.h"

namespace velmar::fuzz {

namespace {

// The bytes go straight to the format's decoder, then through the image's one load.
void LoadThenView(const uint8_t* data, size_t size, SourceKind kind) {
  FuzzUserInterface ui;
  EdidImage image(ui);
  const FileFormat* format = FormatOf(kind);
  VELMAR_FUZZ_CHECK(format != nullptr);
  const LoadResult result = format->decode(std::string_view(reinterpret_cast<const char*>(data), size));
  VELMAR_FUZZ_CHECK(result.status == LoadStatus::Ok ||
                    std::all_of(result.bytes.begin(), result.bytes.end(), [](uint8_t b) { return b == 0; }));
  SourceDetails details;
  details.file = "fuzz";
  VELMAR_FUZZ_CHECK(image.Load(result, kind, details));
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

void FuzzBinFile(const uint8_t* data, size_t size) { LoadThenView(data, size, SourceKind::BinFile); }
void FuzzTxtFile(const uint8_t* data, size_t size) { LoadThenView(data, size, SourceKind::TxtFile); }
void FuzzInfFile(const uint8_t* data, size_t size) { LoadThenView(data, size, SourceKind::InfFile); }
void FuzzRegFile(const uint8_t* data, size_t size) { LoadThenView(data, size, SourceKind::RegFile); }

}  // namespace velmar::fuzz
