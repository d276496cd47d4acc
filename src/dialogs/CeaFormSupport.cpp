#include "dialogs/CeaFormSupport.h"

#include "blocks/HdmiVicTable.h"
#include "blocks/VideoFormatTable.h"
#include "dialogs/NumberFormat.h"
#include "util/Format.h"

namespace velmar {

namespace {

constexpr unsigned kLastNativeVic = 64;

}  // namespace

std::string IndexedName(std::string_view base, unsigned index) {
  return std::string(base) + Format("[%u]", index);
}

bool ParseIndexedName(std::string_view name, std::string_view base, unsigned& index) {
  if (name.size() < base.size() + 3 || name.substr(0, base.size()) != base || name[base.size()] != '[' ||
      name.back() != ']') {
    return false;
  }
  const std::string digits(name.substr(base.size() + 1, name.size() - base.size() - 2));
  if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) return false;
  uint32_t value = 0;
  if (!ReadDecimal(digits, value)) return false;
  index = value;
  return true;
}

std::string VideoFormatItem(unsigned vic) {
  const VideoFormat* format = VideoFormatTable::Find(vic);
  if (format == nullptr) return {};
  return Format("[%u] %ux%u%s@%u, %s", vic, static_cast<unsigned>(format->width),
                static_cast<unsigned>(format->height), format->progressive ? "p" : "i",
                static_cast<unsigned>(format->refreshHz),
                format->aspect == PictureAspect::Aspect16x9 ? "16x9" : "4x3");
}

std::string NonCeaTimingItem(unsigned vic) { return Format("[%u] Non-CEA Timing", vic); }

unsigned DescriptorVic(const ShortVideoDescriptor& descriptor) {
  const unsigned code = descriptor.vic & 0x7Fu;
  return descriptor.native && code > kLastNativeVic ? code | 0x80u : code;
}

bool HasNativeFlag(const ShortVideoDescriptor& descriptor) {
  const unsigned code = descriptor.vic & 0x7Fu;
  return code >= 1 && code <= kLastNativeVic;
}

std::string Stereo3DModeLabel(unsigned position, unsigned vic) {
  const VideoFormat* format = VideoFormatTable::Find(vic);
  if (format == nullptr) return "Non-CEA Timing";
  return Format("%2u. %ux%u%s@%uHz", position, static_cast<unsigned>(format->width),
                static_cast<unsigned>(format->height), format->progressive ? "p" : "i",
                static_cast<unsigned>(format->refreshHz));
}

std::string HdmiVicItem(unsigned vic) {
  const HdmiVicFormat* format = HdmiVicTable::Find(vic);
  if (format == nullptr) return NonCeaTimingItem(vic);
  return Format("[%u] %ux%up@%uHz", vic, static_cast<unsigned>(format->width), static_cast<unsigned>(format->height),
                static_cast<unsigned>(format->refreshHz));
}

}  // namespace velmar
