#pragma once

#include <cstdint>

namespace velmar {

// Picture aspect of a CEA video format.
enum class PictureAspect : uint8_t {
  Aspect4x3 = 0,
  Aspect16x9 = 1,
};

// One row of the CEA-861 video format table.
struct VideoFormat {
  uint8_t vic = 0;
  uint16_t width = 0;   // active pixels, repeated pixels included
  uint16_t height = 0;  // active lines of the frame
  bool progressive = true;
  uint16_t refreshHz = 0;  // field rate for interlaced formats; the integer rate
  PictureAspect aspect = PictureAspect::Aspect4x3;
  uint8_t repetition = 1;  // the displayed width is width / repetition
  uint32_t clockKHz = 0;
  uint32_t clock1001KHz = 0;  // the 1000/1001 variant; equal to clockKHz when there is none

  // The width shown for the format (pixel repetition taken out).
  unsigned DisplayedWidth() const { return repetition != 0 ? width / repetition : width; }
  // True when the format exists at a 1000/1001 rate too.
  bool HasFractionalRate() const { return clock1001KHz != clockKHz; }
};

// The CEA-861 video formats VIC 1-62, used by the detailed timings' format
// lookup and by the CEA extension's short video descriptors.
class VideoFormatTable {
 public:
  static constexpr unsigned kFirstVic = 1;
  static constexpr unsigned kLastVic = 62;

  // The row of `vic`, or null for VIC 0 and VICs above 62.
  static const VideoFormat* Find(unsigned vic);

  // The first row that fits a timing: same width, frame height and scan, the
  // same refresh rate (whole Hz, field rate when interlaced), and a clock equal
  // to either of the row's clocks. Null when no row fits.
  static const VideoFormat* Match(unsigned width, unsigned frameHeight, bool interlaced, unsigned clockKHz,
                                  unsigned refreshHz);

  // True when a timing at `clockKHz` that matched `row` runs at the 1000/1001 rate.
  static bool IsFractional(const VideoFormat& row, unsigned clockKHz);
};

}  // namespace velmar
