#include "app/RawDataReport.h"

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

void AppendRawDump(CallbackFillContentTgt* target, const uint8_t* data, unsigned length) {
  target->Append("[EDID RAW DATA]\r\n");
  std::string heading = "    |";
  for (unsigned column = 0; column < 16; ++column) AppendFormat(heading, "%02X|", column);
  heading += "\r\n";
  target->Append(heading);
  std::string rule = "----+";
  for (unsigned column = 0; column < 16; ++column) rule += "--+";
  rule += "\r\n";
  target->Append(rule);
  const unsigned rows = length / 16 + (length % 16 != 0 ? 1 : 0);
  for (unsigned row = 0; row < rows; ++row) {
    std::string line = Format("%2X0 |", row);
    for (unsigned column = 0; column < 16 && row * 16 + column < length; ++column) {
      AppendFormat(line, "%02x ", data[row * 16 + column]);
    }
    line += "\r\n";
    target->Append(line);
  }
}

unsigned ValidateNonMappedData(const EdidImage& image, CallbackFillContentTgt* report) {
  const unsigned start = image.GetUsedSize();
  const unsigned room = kMaxEdidSize - start;
  const unsigned count = image.BlockCount();
  const unsigned announced = count > 0 ? image.GetPage(0)->GetExtensionCount() : 0;
  report->Append(Format("\r\nValidating Non-Mapped Raw Data. Data Range: Byte[%u] --> Byte[%u]\r\n", start,
                        start + room - 1));

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

  if (count > 0) {
    if (!anyNonZero) {
      if (count - 1 < announced) {
        report->Append(Format(
            "  Invalid number of extensions: %u while there is only %u extensions detected (rest buffer is Zero)\r\n",
            announced, count - 1));
        return 1;
      }
      report->Append(kValid);
      return 0;
    }
    if (count == announced + 1) {
      report->Append(Format("  Invalid number of extensions: %u while non-zero Byte[%u] = 0x%02X found\r\n",
                            announced, firstNonZero, raw[firstNonZero]));
      return 1;
    }
    // Each check writes its own findings; all three run.
    const bool cea = CeaExtBlock::CheckCandidate(raw, start, room, report);
    const bool di = DiExtBlock::CheckCandidate(raw, start, room, report);
    const bool displayId = DisplayIDBlock::CheckExtensionCandidate(raw, start, room, report);
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
