#include "app/RawDataReport.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "common/Callbacks.h"
#include "app/EdidImage.h"
#include "blocks/CeaExtBlock.h"
#include "blocks/DiExtBlock.h"
#include "blocks/DisplayIDBlock.h"
#include "blocks/Edid13Block.h"
#include "blocks/Edid14Block.h"
#include "pages/BlockPage.h"
#include "util/Format.h"

namespace velmar {

namespace {

// The dump's texts that do not depend on the image, formatted once.
struct RawDumpTexts {
  static constexpr unsigned kRows = kMaxEdidSize / 16;
  std::string heading;
  std::string rule;
  std::array<std::string, kRows> rowStarts;
  std::array<std::string, 256> cells;
  static constexpr size_t kCellRoom = 4;
  size_t cellWidth = 0;  // 0: the cells are not all kCellRoom - 1 wide

  RawDumpTexts() {
    heading = "    |";
    for (unsigned column = 0; column < 16; ++column) AppendFormat(heading, "%02X|", column);
    heading += "\r\n";
    rule = "----+";
    for (unsigned column = 0; column < 16; ++column) rule += "--+";
    rule += "\r\n";
    for (unsigned row = 0; row < kRows; ++row) rowStarts[row] = Format("%2X0 |", row);
    for (unsigned value = 0; value < 256; ++value) cells[value] = Format("%02x ", value);
    // When every cell is kCellRoom - 1 characters, a cell is copied as its
    // text and its terminator, a fixed size; the next cell or the row's own
    // terminator overwrites the terminator.
    cellWidth = kCellRoom - 1;
    for (const std::string& cell : cells) {
      if (cell.size() != kCellRoom - 1) cellWidth = 0;
    }
  }
};

const RawDumpTexts& DumpTexts() {
  static const RawDumpTexts texts;
  return texts;
}

}  // namespace

void AppendRawDump(CallbackFillContentTgt* target, const uint8_t* data, unsigned length) {
  const RawDumpTexts& texts = DumpTexts();
  target->Append("[EDID RAW DATA]\r\n");
  target->Append(texts.heading);
  target->Append(texts.rule);
  const unsigned rows = length / 16 + (length % 16 != 0 ? 1 : 0);
  std::string line;
  for (unsigned row = 0; row < rows; ++row) {
    if (row < RawDumpTexts::kRows) {
      line = texts.rowStarts[row];
    } else {
      AssignFormat(line, "%2X0 |", row);
    }
    const unsigned count = std::min(16u, length - row * 16);
    if (texts.cellWidth != 0) {
      // Cells of one width: the row is laid out in place.
      const size_t at = line.size();
      line.resize(at + count * texts.cellWidth);
      char* out = line.data() + at;
      for (unsigned column = 0; column < count; ++column, out += texts.cellWidth) {
        std::memcpy(out, texts.cells[data[row * 16 + column]].data(), RawDumpTexts::kCellRoom);
      }
    } else {
      for (unsigned column = 0; column < count; ++column) line += texts.cells[data[row * 16 + column]];
    }
    line += "\r\n";
    target->Append(line);
  }
}

namespace {

// What stands where the first extension the base block announces but the
// image does not hold should begin: why the load could not make a block of it.
std::string MissingExtensionFinding(const EdidImage& image, unsigned announced) {
  const unsigned number = image.BlockCount();
  const unsigned start = image.GetUsedSize();
  const unsigned room = kMaxEdidSize - start;
  const size_t length = image.SourceLength();
  const uint8_t* q = image.rawData.data() + start;
  std::string why;
  if (length > 0 && length < static_cast<size_t>(start) + kBlockSize && length <= kMaxEdidSize) {
    why = length <= start ? Format("the data end at Byte[%u]", static_cast<unsigned>(length) - 1)
                          : Format("the data end at Byte[%u], inside it", static_cast<unsigned>(length) - 1);
  } else if (room < kBlockSize) {
    why = room == 0 ? Format("the image's %u bytes are full", kMaxEdidSize)
                    : Format("only %u bytes are left in the image", room);
  } else if (std::all_of(q, q + kBlockSize, [](uint8_t b) { return b == 0; })) {
    why = "its 128 bytes are all zero";
  } else if (std::memcmp(q, kEdidHeader, kEdidHeaderLength) == 0) {
    why = "it is an EDID base block, not an extension block";
  } else {
    why = Format("Byte[%u] = 0x%02X is not an extension tag", start, q[0]);
  }
  return Format("  Extension Block %u of %u (from Byte[%u]) not loaded: %s\r\n", number, announced, start,
                why.c_str());
}

}  // namespace

unsigned ValidateNonMappedData(const EdidImage& image, CallbackFillContentTgt* report) {
  const unsigned start = image.GetUsedSize();
  const unsigned room = kMaxEdidSize - start;
  const unsigned count = image.BlockCount();
  const unsigned announced = count > 0 ? image.GetPage(0)->GetExtensionCount() : 0;
  report->AppendFormatted("\r\nValidating Non-Mapped Raw Data. Data Range: Byte[%u] --> Byte[%u]\r\n", start,
                        start + room - 1);

  unsigned firstNonZero = kMaxEdidSize;
  for (unsigned i = start; i < kMaxEdidSize; ++i) {
    if (image.rawData[i] != 0) {
      firstNonZero = i;
      break;
    }
  }
  const bool anyNonZero = firstNonZero < kMaxEdidSize;
  const uint8_t* raw = image.rawData.data();
  static const char kValid[] = "   Non-Mapped Raw Data is valid\r\n";
  // What the load left out: the source's bytes past the image, and the
  // extension it could not make a block of.
  const std::string& lengthNote = image.SourceLengthNote();
  const std::string lost =
      (lengthNote.empty() ? std::string() : "  " + lengthNote + "\r\n") +
      (count > 0 && count - 1 < announced ? MissingExtensionFinding(image, announced) : std::string());

  if (count > 0) {
    if (!anyNonZero) {
      if (count - 1 < announced) {
        report->AppendFormatted(
            "  Invalid number of extensions: %u while there is only %u extensions detected (rest buffer is Zero)\r\n",
            announced, count - 1);
        report->Append(lost);
        return 1;
      }
      report->Append(lost);
      report->Append(kValid);
      return 0;
    }
    if (count == announced + 1) {
      report->AppendFormatted("  Invalid number of extensions: %u while non-zero Byte[%u] = 0x%02X found\r\n",
                            announced, firstNonZero, raw[firstNonZero]);
      report->Append(lost);
      return 1;
    }
    // Each check writes its own findings; all three run.
    const bool cea = CeaExtBlock::CheckCandidate(raw, start, room, report);
    const bool di = DiExtBlock::CheckCandidate(raw, start, room, report);
    const bool displayId = DisplayIDBlock::CheckExtensionCandidate(raw, start, room, report);
    report->Append(lost);
    if (cea && di && displayId) {
      report->Append(kValid);
      return 0;
    }
    return 1;
  }

  if (anyNonZero) {
    const bool edid13 = Edid13Block::CheckCandidate(raw, 0, kMaxEdidSize, report);
    const bool edid14 = Edid14Block::CheckCandidate(raw, 0, kMaxEdidSize, report);
    const bool displayId = DisplayIDBlock::CheckBaseCandidate(raw, 0, kMaxEdidSize, report);
    if (edid13 && edid14 && displayId) {
      report->Append(kValid);
      return 0;
    }
    return 1;
  }
  report->Append(kValid);
  return 0;
}

}  // namespace velmar
