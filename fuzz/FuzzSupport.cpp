#include "fuzz/FuzzSupport.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/EdidImage.h"
#include "app/ImageFiles.h"
#include "dialogs/EditorForm.h"
#include "dialogs/ModeTable.h"
#include "pages/BlockPage.h"
#include "storage/FileFormat.h"
#include "storage/TxtFile.h"
#include "util/Clock.h"

namespace velmar::fuzz {

bool FuzzUserInterface::EditForm(EditorForm& form) {
  // Values of the kinds the forms read: numbers in and around their ranges,
  // reals, letters, blanks and signs.
  static const char* const kTexts[] = {"0", "1", "-1", "15", "16", "53", "127", "255", "256", "1023", "2043",
                                       "65535", "65536", "4294967295", "0x1F", "1G", "0.5", "2.2", "3.54",
                                       "-327.68", "", " ", "ABC", "a", "Monitor Name!", "\xC3\xA9\xC3\xA9"};
  const unsigned steps = Next() % 6;
  for (unsigned step = 0; step < steps; ++step) {
    const auto& fields = form.Fields();
    if (fields.empty()) break;
    const FormField& field = fields[Next() % fields.size()];
    const std::string name = field.name;
    switch (field.kind) {
      case FieldKind::Edit:
        form.SetText(name, kTexts[Next() % (sizeof(kTexts) / sizeof(kTexts[0]))]);
        break;
      case FieldKind::Check:
        form.SetChecked(name, !field.checked);
        break;
      case FieldKind::List:
        form.Select(name, static_cast<int>(Next() % (field.items.size() + 1)) - 1);
        break;
      case FieldKind::Button:
        form.Press(name, *this);
        break;
      case FieldKind::Label:
        break;
    }
  }
  if (Next() % 4 == 0) return false;
  std::string message;
  return form.Accept(message);
}

void CheckLayoutInvariants(const EdidImage& image) {
  unsigned start = 0;
  for (unsigned i = 0; i < image.BlockCount(); ++i) {
    const BlockPage* page = image.GetPage(i);
    VELMAR_FUZZ_CHECK(page != nullptr);
    VELMAR_FUZZ_CHECK(page->GetBlock() != nullptr);
    VELMAR_FUZZ_CHECK(page->GetOffset() == start);
    VELMAR_FUZZ_CHECK(image.BlockEnd(i) == start + page->GetSize());
    VELMAR_FUZZ_CHECK(page->GetSize() > 0);
    start = image.BlockEnd(i);
    VELMAR_FUZZ_CHECK(start <= kMaxEdidSize);
  }
  VELMAR_FUZZ_CHECK(image.GetUsedSize() == start);
}

void RunAllViews(EdidImage& image) {
  CheckLayoutInvariants(image);

  ContentCollector summary;
  image.FillContent(&summary, kContentSummary);
  ContentCollector report;
  image.FillContent(&report, kContentErrorsReport);
  VELMAR_FUZZ_CHECK(report.Text().find("END OF REPORT") != std::string::npos);

  // The list opens sorted by resolution; one more sort by a column the image picks.
  ModeTable modes;
  modes.Open(&image);
  modes.ClickHeading(image.rawData[kMaxEdidSize - 1] % kModeColumnCount);

  for (unsigned index = 0; index < kMaxEdidSize; ++index) {
    std::string name, group, label;
    image.DescribeByte(index, name, group, label);
    if (index >= image.GetUsedSize()) VELMAR_FUZZ_CHECK(name.empty() && group.empty() && label.empty());
  }

  // The text writer's output reads back to the same used bytes.
  const LoadResult parsed = DecodeTxtFile(EncodeImage(image, SourceKind::TxtFile));
  VELMAR_FUZZ_CHECK(parsed.status == LoadStatus::Ok);
  VELMAR_FUZZ_CHECK(parsed.length == image.GetUsedSize());
  VELMAR_FUZZ_CHECK(std::equal(parsed.bytes.begin(), parsed.bytes.begin() + parsed.length, image.rawData.begin()));

  CheckRoundTrips(image);
}

namespace {

// Decodes `contents` as `kind` into a fresh image and checks it holds the same used bytes.
void CheckReadsBack(const EdidImage& image, const std::string& contents, SourceKind kind) {
  FuzzUserInterface ui;
  EdidImage copy(ui);
  const LoadResult result = FormatOf(kind)->decode(contents);
  VELMAR_FUZZ_CHECK(result.status == LoadStatus::Ok);
  VELMAR_FUZZ_CHECK(copy.Load(result, kind, SourceDetails()));
  if (copy.GetUsedSize() != image.GetUsedSize() && std::getenv("VELMAR_FUZZ_DEBUG") != nullptr) {
    std::fprintf(stderr, "used %u -> %u, blocks %u -> %u\n", image.GetUsedSize(), copy.GetUsedSize(),
                 image.BlockCount(), copy.BlockCount());
    for (unsigned i = 0; i < kMaxEdidSize; ++i) {
      std::fprintf(stderr, "%02X%s", image.rawData[i], i % 16 == 15 ? "\n" : " ");
    }
  }
  VELMAR_FUZZ_CHECK(copy.GetUsedSize() == image.GetUsedSize());
  VELMAR_FUZZ_CHECK(std::equal(copy.rawData.begin(), copy.rawData.begin() + copy.GetUsedSize(),
                               image.rawData.begin()));
}

}  // namespace

void CheckRoundTrips(const EdidImage& image) {
  EncodeOptions options;
  options.date.year = 2026;
  options.date.month = 12;
  options.date.day = 8;
  options.registryPath = "SYSTEM\\CurrentControlSet\\Control\\Class\\0000";
  options.valueName = "NEXOEmulatedEDID_D0";
  for (const FileFormat& format : FileFormats()) {
    // The INF and REG files carry an image with at least one block.
    if (image.BlockCount() == 0 && format.kind != SourceKind::BinFile && format.kind != SourceKind::TxtFile) continue;
    CheckReadsBack(image, EncodeImage(image, format.kind, options), format.kind);
  }
}

}  // namespace velmar::fuzz
