#include "blocks/CeaDataBlocks.h"

#include <algorithm>

namespace velmar {

namespace {

struct KindRow {
  const char* name;
  uint8_t tag;
  uint8_t extTag;
  uint8_t minLength;
};

constexpr KindRow kKinds[kCeaKindCount] = {
    {"Dummy", 0, 0, 0},
    {"Audio Data Block", kCeaTagAudio, 0, 4},
    {"Video Data Block", kCeaTagVideo, 0, 2},
    {"HDMI Vendor Specific Data Block", kCeaTagVendorSpecific, 0, 6},
    {"Speaker Allocation Data Block", kCeaTagSpeaker, 0, 4},
    {"Video Capability Data Block", kCeaTagExtended, 0, 3},
    {"Colorimetry Data Block", kCeaTagExtended, 5, 4},
    {"Vendor Specific Data Block", kCeaTagVendorSpecific, 0, 4},
    {"Vendor-Specific Video Data Block", kCeaTagExtended, 1, 5},
    {"Vendor-Specific Audio Data Block", kCeaTagExtended, 17, 5},
    {"VESA DTC Data Block", kCeaTagVesaDtc, 0, 2},
    {"VESA Video Display Device Info", kCeaTagExtended, 2, 3},
    {"VESA Video Data Block", kCeaTagExtended, 3, 3},
    {"HDMI Video Data Block", kCeaTagExtended, 4, 3},
    {"CEA Miscellaneous Audio Fields", kCeaTagExtended, 16, 3},
    {"HDMI Audio Data Block", kCeaTagExtended, 18, 3},
};

bool Bit(uint8_t value, unsigned bit) { return ((value >> bit) & 1u) != 0; }

uint8_t BitIf(bool flag, unsigned bit) { return flag ? static_cast<uint8_t>(1u << bit) : 0; }

}  // namespace

const char* CeaDataBlockKindName(unsigned kind) { return kind < kCeaKindCount ? kKinds[kind].name : kKinds[0].name; }

unsigned CeaDataBlockMinLength(unsigned kind) { return kind < kCeaKindCount ? kKinds[kind].minLength : 0; }

unsigned CeaDataBlockTag(unsigned kind) { return kind < kCeaKindCount ? kKinds[kind].tag : 0; }

unsigned CeaDataBlockExtendedTag(unsigned kind) { return kind < kCeaKindCount ? kKinds[kind].extTag : 0; }

bool CeaKindHasOui(unsigned kind) {
  return kind == kCeaKindVendorSpecific || kind == kCeaKindVendorSpecificVideo || kind == kCeaKindVendorSpecificAudio;
}

unsigned CeaDataBlockKindOf(unsigned tag, bool hasExtTag, unsigned extTag, uint32_t oui) {
  switch (tag) {
    case kCeaTagAudio: return kCeaKindAudio;
    case kCeaTagVideo: return kCeaKindVideo;
    case kCeaTagVendorSpecific: return oui == kHdmiOui ? kCeaKindHdmiVsdb : kCeaKindVendorSpecific;
    case kCeaTagSpeaker: return kCeaKindSpeakerAllocation;
    case kCeaTagVesaDtc: return kCeaKindVesaDtc;
    case kCeaTagExtended:
      if (!hasExtTag) return kCeaKindDummy;
      switch (extTag) {
        case 0: return kCeaKindVideoCapability;
        case 1: return kCeaKindVendorSpecificVideo;
        case 2: return kCeaKindVesaDisplayDevice;
        case 3: return kCeaKindVesaVideo;
        case 4: return kCeaKindHdmiVideo;
        case 5: return kCeaKindColorimetry;
        case 16: return kCeaKindMiscAudio;
        case 17: return kCeaKindVendorSpecificAudio;
        case 18: return kCeaKindHdmiAudio;
        default: return kCeaKindDummy;
      }
    default: return kCeaKindDummy;
  }
}

const char* ScanBehaviourName(unsigned value) {
  static const char* const kNames[4] = {"Video Format not supported", "Always Overscanned", "Always Underscanned",
                                        "Supports both Overscan and Underscan"};
  return value < 4 ? kNames[value] : "";
}

unsigned CeaCapacity(unsigned current, unsigned freeUnits, unsigned maximum) {
  if (freeUnits >= maximum) return maximum;
  return std::min(current + freeUnits, maximum);
}

void DecodeShortVideoDescriptors(const uint8_t* payload, unsigned size, ShortVideoDescriptorList& list) {
  list.count = std::min<unsigned>(size, static_cast<unsigned>(list.entries.size()));
  for (unsigned i = 0; i < list.count; ++i) {
    list.entries[i].vic = payload[i] & 0x7F;
    list.entries[i].native = Bit(payload[i], 7);
  }
}

uint8_t EncodeShortVideoDescriptor(const ShortVideoDescriptor& descriptor) {
  return static_cast<uint8_t>((descriptor.native ? 0x80 : 0) | (descriptor.vic & 0x7F));
}

void DecodeShortAudioDescriptor(const uint8_t* data, ShortAudioDescriptor& descriptor) {
  descriptor.formatCode = (data[0] >> 3) & 15;
  descriptor.channels = (data[0] & 7) + 1;
  descriptor.sampleRates = data[1] & 0x7F;
  const uint8_t value = data[2];
  const unsigned code = descriptor.formatCode;
  if (code == 1) {
    descriptor.formatValue = value & 7;
  } else if (code >= 2 && code <= 8) {
    descriptor.formatValue = value * 8u;
  } else if (code >= 9 && code <= 13) {
    descriptor.formatValue = value;
  } else if (code == 14) {
    descriptor.formatValue = value & 7;
  } else if (code == 15) {
    descriptor.formatValue = value >> 3;
  } else {
    descriptor.formatValue = 0;
  }
  descriptor.extensionBits = {};
  if (code == 15) {
    descriptor.extensionBits = {static_cast<uint8_t>(data[0] & 0x80), static_cast<uint8_t>(data[1] & 0x80),
                                static_cast<uint8_t>(value & 0x07)};
  }
}

void EncodeShortAudioDescriptor(const ShortAudioDescriptor& descriptor, uint8_t* data) {
  const unsigned code = descriptor.formatCode & 15;
  const unsigned channels = descriptor.channels > 0 ? descriptor.channels - 1 : 0;
  data[0] = static_cast<uint8_t>((code << 3) | (channels & 7));
  data[1] = static_cast<uint8_t>(descriptor.sampleRates & 0x7F);
  const unsigned value = descriptor.formatValue;
  if (code == 1) {
    data[2] = static_cast<uint8_t>(value & 7);
  } else if (code >= 2 && code <= 8) {
    data[2] = static_cast<uint8_t>(std::min(value / 8, 255u));
  } else if (code >= 9 && code <= 13) {
    data[2] = static_cast<uint8_t>(value & 0xFF);
  } else if (code == 14) {
    data[2] = static_cast<uint8_t>(value & 7);
  } else if (code == 15) {
    data[0] = static_cast<uint8_t>(data[0] | (descriptor.extensionBits[0] & 0x80));
    data[1] = static_cast<uint8_t>(data[1] | (descriptor.extensionBits[1] & 0x80));
    data[2] = static_cast<uint8_t>(((value & 31) << 3) | (descriptor.extensionBits[2] & 0x07));
  } else {
    data[2] = 0;
  }
}

void DecodeSpeakerAllocation(const uint8_t* payload, unsigned size, SpeakerAllocation& speakers) {
  const uint8_t b0 = size > 0 ? payload[0] : 0;
  const uint8_t b1 = size > 1 ? payload[1] : 0;
  speakers.fc = Bit(b0, 2);
  speakers.flcFrc = Bit(b0, 5);
  speakers.fch = Bit(b1, 2);
  speakers.flhFrh = Bit(b1, 0);
  speakers.flFr = Bit(b0, 0);
  speakers.flwFrw = Bit(b0, 7);
  speakers.lfe = Bit(b0, 1);
  speakers.rc = Bit(b0, 4);
  speakers.rlcRrc = Bit(b0, 6);
  speakers.rlRr = Bit(b0, 3);
  speakers.tc = Bit(b1, 1);
}

void EncodeSpeakerAllocation(const SpeakerAllocation& speakers, uint8_t* payload, unsigned size) {
  if (size > 0) {
    payload[0] = static_cast<uint8_t>(BitIf(speakers.flFr, 0) | BitIf(speakers.lfe, 1) | BitIf(speakers.fc, 2) |
                                      BitIf(speakers.rlRr, 3) | BitIf(speakers.rc, 4) | BitIf(speakers.flcFrc, 5) |
                                      BitIf(speakers.rlcRrc, 6) | BitIf(speakers.flwFrw, 7));
  }
  if (size > 1) {
    payload[1] = static_cast<uint8_t>((payload[1] & ~0x07u) | BitIf(speakers.flhFrh, 0) | BitIf(speakers.tc, 1) |
                                      BitIf(speakers.fch, 2));
  }
}

void DecodeColorimetry(const uint8_t* payload, unsigned size, ColorimetryFlags& flags) {
  const uint8_t b0 = size > 0 ? payload[0] : 0;
  const uint8_t b1 = size > 1 ? payload[1] : 0;
  flags.xvYcc601 = Bit(b0, 0);
  flags.xvYcc709 = Bit(b0, 1);
  flags.sYcc601 = Bit(b0, 2);
  flags.adobeYcc601 = Bit(b0, 3);
  flags.adobeRgb = Bit(b0, 4);
  flags.metadataProfile0 = Bit(b1, 0);
  flags.metadataProfile1 = Bit(b1, 1);
  flags.metadataProfile2 = Bit(b1, 2);
  flags.metadataProfile3 = Bit(b1, 3);
}

void EncodeColorimetry(const ColorimetryFlags& flags, uint8_t* payload, unsigned size) {
  if (size > 0) {
    payload[0] = static_cast<uint8_t>((payload[0] & ~0x1Fu) | BitIf(flags.xvYcc601, 0) | BitIf(flags.xvYcc709, 1) |
                                      BitIf(flags.sYcc601, 2) | BitIf(flags.adobeYcc601, 3) |
                                      BitIf(flags.adobeRgb, 4));
  }
  if (size > 1) {
    payload[1] = static_cast<uint8_t>((payload[1] & ~0x0Fu) | BitIf(flags.metadataProfile0, 0) |
                                      BitIf(flags.metadataProfile1, 1) | BitIf(flags.metadataProfile2, 2) |
                                      BitIf(flags.metadataProfile3, 3));
  }
}

void DecodeVideoCapability(const uint8_t* payload, unsigned size, VideoCapability& caps) {
  const uint8_t b = size > 0 ? payload[0] : 0;
  caps.ceScan = b & 3;
  caps.itScan = (b >> 2) & 3;
  caps.ptScan = (b >> 4) & 3;
  caps.rgbQuantSelectable = Bit(b, 6);
  caps.yccQuantSelectable = Bit(b, 7);
}

void EncodeVideoCapability(const VideoCapability& caps, uint8_t* payload, unsigned size) {
  if (size == 0) return;
  payload[0] = static_cast<uint8_t>((caps.ceScan & 3) | ((caps.itScan & 3) << 2) | ((caps.ptScan & 3) << 4) |
                                    BitIf(caps.rgbQuantSelectable, 6) | BitIf(caps.yccQuantSelectable, 7));
}

void DecodeLatencyByte(uint8_t value, unsigned& kind, unsigned& ms) {
  if (value == 0) {
    kind = kLatencyNoData;
    ms = 0;
  } else if (value == 255) {
    kind = kLatencyNotSupported;
    ms = 0;
  } else {
    kind = kLatencyInMs;
    ms = 2u * value - 2;
  }
}

uint8_t EncodeLatencyByte(unsigned kind, unsigned ms) {
  if (kind == kLatencyNotSupported) return 255;
  if (kind != kLatencyInMs) return 0;
  // Half steps round away from zero; 254 (506 ms) is the largest latency, 255
  // would read back as "not supported".
  const unsigned halves = ms / 2 + (ms % 2);
  return static_cast<uint8_t>(std::min(halves + 1, 254u));
}

uint8_t EncodeMaxTmds(unsigned mhz) {
  const unsigned steps = (std::min(mhz, 5000u) * 2 + 5) / 10;
  return static_cast<uint8_t>(std::min(steps, 255u));
}

void DecodeHdmiVsdb(const uint8_t* payload, unsigned size, HdmiVsdb& vsdb) {
  const unsigned capacity = vsdb.capacity;
  vsdb = HdmiVsdb{};
  vsdb.capacity = capacity;
  vsdb.payloadSize = size;
  const uint8_t* p = payload;
  const unsigned n = size;
  if (n >= 1) {
    vsdb.physA = p[0] >> 4;
    vsdb.physB = p[0] & 15;
  }
  if (n >= 2) {
    vsdb.physC = p[1] >> 4;
    vsdb.physD = p[1] & 15;
  }
  if (n >= 3) {
    vsdb.hasFeatures = true;
    vsdb.dviDual = Bit(p[2], 0);
    vsdb.deepColorY444 = Bit(p[2], 3);
    vsdb.deepColor30 = Bit(p[2], 4);
    vsdb.deepColor36 = Bit(p[2], 5);
    vsdb.deepColor48 = Bit(p[2], 6);
    vsdb.supportsAi = Bit(p[2], 7);
  }
  if (n >= 4) {
    vsdb.hasMaxTmds = true;
    vsdb.maxTmdsMHz = p[3] * 5u;
  }
  unsigned left = 0;
  uint8_t flags = 0;
  if (n >= 5) {
    vsdb.hasContentFlags = true;
    flags = p[4];
    vsdb.cnc0 = Bit(flags, 0);
    vsdb.cnc1 = Bit(flags, 1);
    vsdb.cnc2 = Bit(flags, 2);
    vsdb.cnc3 = Bit(flags, 3);
    left = n - 5;
  }
  unsigned pos = 5;
  if (left >= 2 && Bit(flags, 7)) {
    DecodeLatencyByte(p[pos], vsdb.latencyKind[kLatencyVideo], vsdb.latencyMs[kLatencyVideo]);
    DecodeLatencyByte(p[pos + 1], vsdb.latencyKind[kLatencyAudio], vsdb.latencyMs[kLatencyAudio]);
    vsdb.hasLatency = true;
    pos += 2;
    left -= 2;
  }
  if (left >= 2 && Bit(flags, 7) && Bit(flags, 6)) {
    DecodeLatencyByte(p[pos], vsdb.latencyKind[kLatencyInterlacedVideo], vsdb.latencyMs[kLatencyInterlacedVideo]);
    DecodeLatencyByte(p[pos + 1], vsdb.latencyKind[kLatencyInterlacedAudio], vsdb.latencyMs[kLatencyInterlacedAudio]);
    vsdb.hasInterlacedLatency = true;
    pos += 2;
    left -= 2;
  }
  if (left < 2 || !Bit(flags, 5)) return;

  vsdb.hasHdmiVideo = true;
  vsdb.imageSize = (p[pos] >> 3) & 3;
  vsdb.present3D = Bit(p[pos], 7);
  vsdb.multi3D = (p[pos] >> 5) & 3;
  vsdb.videoFlagsLowBits = p[pos] & 0x07;
  const unsigned vicLength = p[pos + 1] >> 5;
  const unsigned length3D = p[pos + 1] & 31;
  pos += 2;
  left -= 2;
  vsdb.hdmiVicCount = std::min({vicLength, left, kMaxHdmiVics});
  for (unsigned i = 0; i < vsdb.hdmiVicCount; ++i) vsdb.hdmiVics[i] = HdmiVicEntry{p[pos + i], 1};
  pos += vsdb.hdmiVicCount;
  left -= vsdb.hdmiVicCount;

  // 3D_Structure_ALL and 3D_MASK are counted inside HDMI_3D_LEN: the detailed
  // entries take only what remains of it after them.
  unsigned consumed = 0;
  if (left >= 2 && (vsdb.multi3D == 1 || vsdb.multi3D == 2)) {
    vsdb.structureAll3D = (Bit(p[pos + 1], 0) ? k3DFramePacking : 0) | (Bit(p[pos], 0) ? k3DSideBySide : 0) |
                          (Bit(p[pos + 1], 6) ? k3DTopAndBottom : 0);
    vsdb.structureAllOtherBits = ((p[pos] & ~0x01u) << 8) | (p[pos + 1] & ~0x41u);
    pos += 2;
    left -= 2;
    consumed += 2;
    if (left >= 2 && vsdb.multi3D == 2) {
      vsdb.mask3D = p[pos] * 256u + p[pos + 1];
      pos += 2;
      left -= 2;
      consumed += 2;
    }
  }
  const unsigned span = length3D > consumed ? std::min(left, length3D - consumed) : 0;
  const unsigned end = pos + span;
  unsigned q = pos;
  while (q < end && vsdb.detailed3DCount < kMaxDetailed3D) {
    const unsigned index = p[q] >> 4;
    const unsigned structure = p[q] & 15;
    Hdmi3DEntry entry;
    entry.vicIndex = index;
    if (structure == 0) {
      entry.kind = k3DKindFramePacking;
      entry.size = 1;
    } else if (structure == 6) {
      entry.kind = k3DKindTopAndBottom;
      entry.size = 1;
    } else if (structure == 8 && q + 1 < end) {
      entry.kind = k3DKindSideBySide;
      entry.detail = p[q + 1] >> 4;
      entry.detailLowBits = p[q + 1] & 15;
      entry.size = 2;
    } else {
      break;
    }
    vsdb.detailed3D[vsdb.detailed3DCount++] = entry;
    q += entry.size;
  }
  vsdb.extra3DCount = std::min<unsigned>(end - q, static_cast<unsigned>(vsdb.extra3D.size()));
  for (unsigned i = 0; i < vsdb.extra3DCount; ++i) vsdb.extra3D[i] = p[q + i];
}

void EncodeHdmiVsdb(const HdmiVsdb& vsdb, uint8_t* payload, unsigned size) {
  // Every write is bounded by the payload: a record that announces more than
  // the block holds writes what fits.
  auto put = [&](unsigned i, unsigned value) {
    if (i < size) payload[i] = static_cast<uint8_t>(value);
  };
  auto at = [&](unsigned i) -> unsigned { return i < size ? payload[i] : 0u; };

  put(0, ((vsdb.physA & 15) << 4) | (vsdb.physB & 15));
  put(1, ((vsdb.physC & 15) << 4) | (vsdb.physD & 15));
  if (vsdb.hasFeatures) {
    put(2, (at(2) & 0x06) | BitIf(vsdb.dviDual, 0) | BitIf(vsdb.deepColorY444, 3) | BitIf(vsdb.deepColor30, 4) |
               BitIf(vsdb.deepColor36, 5) | BitIf(vsdb.deepColor48, 6) | BitIf(vsdb.supportsAi, 7));
  }
  if (vsdb.hasMaxTmds) put(3, EncodeMaxTmds(vsdb.maxTmdsMHz));
  if (vsdb.hasContentFlags) {
    put(4, (at(4) & 0x10) | BitIf(vsdb.cnc0, 0) | BitIf(vsdb.cnc1, 1) | BitIf(vsdb.cnc2, 2) | BitIf(vsdb.cnc3, 3));
  }
  unsigned pos = 5;
  if (vsdb.hasLatency) {
    put(4, at(4) | 0x80);
    put(pos, EncodeLatencyByte(vsdb.latencyKind[kLatencyVideo], vsdb.latencyMs[kLatencyVideo]));
    put(pos + 1, EncodeLatencyByte(vsdb.latencyKind[kLatencyAudio], vsdb.latencyMs[kLatencyAudio]));
    pos += 2;
  }
  if (vsdb.hasInterlacedLatency) {
    put(4, at(4) | 0x40);
    put(pos, EncodeLatencyByte(vsdb.latencyKind[kLatencyInterlacedVideo], vsdb.latencyMs[kLatencyInterlacedVideo]));
    put(pos + 1,
        EncodeLatencyByte(vsdb.latencyKind[kLatencyInterlacedAudio], vsdb.latencyMs[kLatencyInterlacedAudio]));
    pos += 2;
  }
  if (!vsdb.hasHdmiVideo) return;

  put(4, at(4) | 0x20);
  // Bits without a field come from the record, not from the byte now at this
  // place: the sections before it may have moved it.
  put(pos, (vsdb.videoFlagsLowBits & 0x07) | ((vsdb.imageSize & 3) << 3) | ((vsdb.multi3D & 3) << 5) |
               BitIf(vsdb.present3D, 7));
  const unsigned vicCount = std::min(vsdb.hdmiVicCount, kMaxHdmiVics);
  unsigned length3D = 0;
  unsigned q = pos + 2;
  for (unsigned i = 0; i < vicCount; ++i) put(q++, vsdb.hdmiVics[i].vic);
  if (vsdb.multi3D == 1 || vsdb.multi3D == 2) {
    put(q, ((vsdb.structureAllOtherBits >> 8) & 0xFE) | ((vsdb.structureAll3D & k3DSideBySide) ? 0x01 : 0));
    put(q + 1, (vsdb.structureAllOtherBits & 0xBE) | ((vsdb.structureAll3D & k3DFramePacking) ? 0x01 : 0) |
                   ((vsdb.structureAll3D & k3DTopAndBottom) ? 0x40 : 0));
    q += 2;
    length3D += 2;
    if (vsdb.multi3D == 2) {
      put(q, (vsdb.mask3D >> 8) & 0xFF);
      put(q + 1, vsdb.mask3D & 0xFF);
      q += 2;
      length3D += 2;
    }
  }
  const unsigned entries = std::min(vsdb.detailed3DCount, kMaxDetailed3D);
  for (unsigned i = 0; i < entries; ++i) {
    const Hdmi3DEntry& entry = vsdb.detailed3D[i];
    const unsigned index = (entry.vicIndex & 15) << 4;
    if (entry.kind == k3DKindFramePacking) {
      put(q++, index | 0);
      length3D += 1;
    } else if (entry.kind == k3DKindTopAndBottom) {
      put(q++, index | 6);
      length3D += 1;
    } else if (entry.kind == k3DKindSideBySide) {
      put(q, index | 8);
      put(q + 1, ((entry.detail & 15) << 4) | (entry.detailLowBits & 15));
      q += 2;
      length3D += 2;
    }
  }
  const unsigned extra = std::min<unsigned>(vsdb.extra3DCount, static_cast<unsigned>(vsdb.extra3D.size()));
  for (unsigned i = 0; i < extra; ++i) put(q++, vsdb.extra3D[i]);
  length3D += extra;
  put(pos + 1, (vicCount << 5) | (length3D & 31));
}

unsigned HdmiVsdbContentSize(const HdmiVsdb& vsdb) {
  unsigned end = 2;  // the physical address
  if (vsdb.hasFeatures) end = 3;
  if (vsdb.hasMaxTmds) end = 4;
  // The content flags byte also carries the presence bits of what follows it.
  if (vsdb.hasContentFlags || vsdb.hasLatency || vsdb.hasInterlacedLatency || vsdb.hasHdmiVideo) end = 5;
  if (vsdb.hasLatency) end += 2;
  if (vsdb.hasInterlacedLatency) end += 2;
  if (!vsdb.hasHdmiVideo) return end;
  end += 2 + std::min(vsdb.hdmiVicCount, kMaxHdmiVics);
  if (vsdb.multi3D == 1 || vsdb.multi3D == 2) end += 2;
  if (vsdb.multi3D == 2) end += 2;
  const unsigned entries = std::min(vsdb.detailed3DCount, kMaxDetailed3D);
  for (unsigned i = 0; i < entries; ++i) {
    const unsigned kind = vsdb.detailed3D[i].kind;
    if (kind == k3DKindFramePacking || kind == k3DKindTopAndBottom) end += 1;
    if (kind == k3DKindSideBySide) end += 2;
  }
  return end + std::min<unsigned>(vsdb.extra3DCount, static_cast<unsigned>(vsdb.extra3D.size()));
}

unsigned Mandatory3DFormats(unsigned vic) {
  switch (vic) {
    case 4:
    case 19:
    case 32: return k3DFramePacking | k3DTopAndBottom;
    case 5:
    case 20: return k3DSideBySide;
    default: return 0;
  }
}

}  // namespace velmar
