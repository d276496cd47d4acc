#include "fuzz/FuzzSupport.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "app/EdidImage.h"
#include "dialogs/EditorForm.h"
#include "dialogs/ModeTable.h"
#include "pages/BlockPage.h"
#include "storage/BinFile.h"
#include "storage/InfFile.h"
#include "storage/RegFile.h"
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

MemoryFile::MemoryFile(const uint8_t* data, size_t size) {
  fd_ = ::memfd_create("velmar-fuzz", MFD_CLOEXEC);
  VELMAR_FUZZ_CHECK(fd_ >= 0);
  size_t written = 0;
  while (written < size) {
    const ssize_t result = ::write(fd_, data + written, size - written);
    VELMAR_FUZZ_CHECK(result > 0);
    written += static_cast<size_t>(result);
  }
  path_ = "/proc/self/fd/" + std::to_string(fd_);
}

MemoryFile::~MemoryFile() {
  if (fd_ >= 0) ::close(fd_);
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
  const std::string text = TxtFileContents(image);
  std::array<uint8_t, kMaxEdidSize> parsed{};
  unsigned count = 0;
  VELMAR_FUZZ_CHECK(ParseTxtBytes(text, parsed, &count) == TxtParseStatus::Ok);
  VELMAR_FUZZ_CHECK(count == image.GetUsedSize());
  VELMAR_FUZZ_CHECK(std::equal(parsed.begin(), parsed.begin() + count, image.rawData.begin()));

  CheckRoundTrips(image);
}

namespace {

// Loads `contents` with `load` into a fresh image and checks it holds the same used bytes.
void CheckReadsBack(const EdidImage& image, const std::string& contents,
                    bool (*load)(EdidImage&, const std::string&)) {
  FuzzUserInterface ui;
  EdidImage copy(ui);
  MemoryFile file(reinterpret_cast<const uint8_t*>(contents.data()), contents.size());
  VELMAR_FUZZ_CHECK(load(copy, file.Path()));
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
  LocalTime date;
  date.year = 2026;
  date.month = 12;
  date.day = 8;
  CheckReadsBack(image, BinFileContents(image), LoadBinFile);
  CheckReadsBack(image, TxtFileContents(image), LoadTxtFile);
  // The INF and REG files carry an image with at least one block.
  if (image.BlockCount() > 0) {
    CheckReadsBack(image, InfFileContents(image, date), LoadInfFile);
    CheckReadsBack(image, RegFileContents(image, "SYSTEM\\CurrentControlSet\\Control\\Class\\0000",
                                          "NEXOEmulatedEDID_D0"),
                   LoadRegFile);
  }
}

}  // namespace velmar::fuzz
