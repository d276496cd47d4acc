#pragma once

#include <array>
#include <cstdint>

namespace velmar {

// Kinds of the data blocks of a CEA-861 extension. The page, its dialogs and
// the summary text use the same numbers.
enum CeaDataBlockKind : unsigned {
  kCeaKindDummy = 0,
  kCeaKindAudio = 1,
  kCeaKindVideo = 2,
  kCeaKindHdmiVsdb = 3,
  kCeaKindSpeakerAllocation = 4,
  kCeaKindVideoCapability = 5,
  kCeaKindColorimetry = 6,
  kCeaKindVendorSpecific = 7,
  kCeaKindVendorSpecificVideo = 8,
  kCeaKindVendorSpecificAudio = 9,
  kCeaKindVesaDtc = 10,
  kCeaKindVesaDisplayDevice = 11,
  kCeaKindVesaVideo = 12,
  kCeaKindHdmiVideo = 13,
  kCeaKindMiscAudio = 14,
  kCeaKindHdmiAudio = 15,
};
inline constexpr unsigned kCeaKindCount = 16;

// Data block tag codes (header bits 7-5).
inline constexpr unsigned kCeaTagAudio = 1;
inline constexpr unsigned kCeaTagVideo = 2;
inline constexpr unsigned kCeaTagVendorSpecific = 3;
inline constexpr unsigned kCeaTagSpeaker = 4;
inline constexpr unsigned kCeaTagVesaDtc = 5;
inline constexpr unsigned kCeaTagReserved6 = 6;
inline constexpr unsigned kCeaTagExtended = 7;

// The IEEE OUI of HDMI Licensing (the HDMI vendor specific data block).
inline constexpr uint32_t kHdmiOui = 0x000C03;
// The OUI a new vendor specific block of another kind starts with.
inline constexpr uint32_t kDefaultVendorOui = 0x000001;

// Limits of one data block and of the block's lists.
inline constexpr unsigned kMaxDataBlockLength = 32;  // header byte included
inline constexpr unsigned kMaxShortVideoDescriptors = 31;
inline constexpr unsigned kMaxShortAudioDescriptors = 10;
inline constexpr unsigned kMaxHdmiVsdbPayload = 28;  // after the OUI
inline constexpr unsigned kMaxAllShortVideoDescriptors = 62;
inline constexpr unsigned kMaxHdmiVics = 7;
inline constexpr unsigned kMaxDetailed3D = 21;

// The caption of a kind ("Audio Data Block" ...); "Dummy" for kind 0 and for
// numbers outside 0-15.
const char* CeaDataBlockKindName(unsigned kind);
// The smallest whole length a data block of `kind` may have; 0 for kind 0 and
// numbers outside 1-15 (such blocks cannot be added).
unsigned CeaDataBlockMinLength(unsigned kind);
// The tag and (for tag 7) the extended tag a new block of `kind` is written with.
unsigned CeaDataBlockTag(unsigned kind);
unsigned CeaDataBlockExtendedTag(unsigned kind);
// Kinds 7, 8 and 9 carry an OUI of their own choice.
bool CeaKindHasOui(unsigned kind);
// The kind of a data block from its codes. `hasExtTag` is false for a tag 7
// block too short to hold its extended tag byte.
unsigned CeaDataBlockKindOf(unsigned tag, bool hasExtTag, unsigned extTag, uint32_t oui);

// One data block found in the collection. Positions count from block byte 4.
struct DataBlockEntry {
  uint8_t tag = 0;
  uint8_t extTag = 0;  // tag 7 only
  uint32_t oui = 0;    // 0 when the block has none
  unsigned position = 0;
  unsigned payloadPosition = 0;
  unsigned headerLength = 0;  // 1, 2, 4 or 5
  unsigned length = 0;        // whole length, header included, inside the collection
  unsigned minLength = 0;
  unsigned kind = kCeaKindDummy;

  bool operator==(const DataBlockEntry&) const = default;
};

// The block's general information (bytes 2 and 3 and the parse's figures).
struct CeaGeneralInfo {
  unsigned dtdOffset = 0;         // byte 2 as stored
  unsigned reportedDtdCount = 0;  // byte 3 bits 3-0
  unsigned dtdCount = 0;
  unsigned dataBlockCount = 0;
  unsigned freeInCollection = 0;
  unsigned freeAfterDtds = 0;
  bool ycbcr422 = false;
  bool ycbcr444 = false;
  bool basicAudio = false;
  bool underscan = false;

  bool operator==(const CeaGeneralInfo&) const = default;
};

struct ShortVideoDescriptor {
  uint8_t vic = 0;  // descriptor bits 6-0
  bool native = false;

  bool operator==(const ShortVideoDescriptor&) const = default;
};

// A Video Data Block's descriptors, or (with capacity 62) every descriptor of
// the block's Video Data Blocks.
struct ShortVideoDescriptorList {
  unsigned count = 0;
  unsigned capacity = 0;
  std::array<ShortVideoDescriptor, kMaxAllShortVideoDescriptors> entries{};

  bool operator==(const ShortVideoDescriptorList&) const = default;
};

struct ShortAudioDescriptor {
  unsigned channels = 1;    // 1-8
  unsigned formatCode = 0;  // 0-15
  unsigned sampleRates = 0; // 7 bits: 32, 44.1, 48, 88.2, 96, 176.4, 192 kHz
  unsigned formatValue = 0; // by format code
  // Format code 15 only: the bits of the descriptor that no field above
  // carries (byte 0 bit 7, byte 1 bit 7, byte 2 bits 2-0), as read, so that
  // writing the list back keeps them; zero for every other code.
  std::array<uint8_t, 3> extensionBits{};

  bool operator==(const ShortAudioDescriptor&) const = default;
};

struct ShortAudioDescriptorList {
  unsigned count = 0;
  unsigned capacity = 0;
  std::array<ShortAudioDescriptor, kMaxShortAudioDescriptors> entries{};

  bool operator==(const ShortAudioDescriptorList&) const = default;
};

struct GenericDataBlock {
  bool hasOui = false;
  std::array<uint8_t, 3> oui{};  // least significant byte first, as stored
  unsigned length = 0;           // payload bytes
  unsigned capacity = 0;
  std::array<uint8_t, kMaxDataBlockLength> data{};

  uint32_t OuiValue() const { return oui[0] | (oui[1] << 8) | (static_cast<uint32_t>(oui[2]) << 16); }
  void SetOuiValue(uint32_t value) {
    oui = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value >> 16)};
  }

  bool operator==(const GenericDataBlock&) const = default;
};

struct SpeakerAllocation {
  bool fc = false;      // byte 0 bit 2
  bool flcFrc = false;  // byte 0 bit 5
  bool fch = false;     // byte 1 bit 2
  bool flhFrh = false;  // byte 1 bit 0
  bool flFr = false;    // byte 0 bit 0
  bool flwFrw = false;  // byte 0 bit 7
  bool lfe = false;     // byte 0 bit 1
  bool rc = false;      // byte 0 bit 4
  bool rlcRrc = false;  // byte 0 bit 6
  bool rlRr = false;    // byte 0 bit 3
  bool tc = false;      // byte 1 bit 1

  bool operator==(const SpeakerAllocation&) const = default;
};

struct ColorimetryFlags {
  bool xvYcc601 = false;
  bool xvYcc709 = false;
  bool sYcc601 = false;
  bool adobeYcc601 = false;
  bool adobeRgb = false;
  bool metadataProfile0 = false;
  bool metadataProfile1 = false;
  bool metadataProfile2 = false;
  bool metadataProfile3 = false;

  bool operator==(const ColorimetryFlags&) const = default;
};

// Scan behaviours of the video capability block's 2-bit fields.
inline constexpr unsigned kScanNotSupported = 0;
inline constexpr unsigned kScanAlwaysOverscanned = 1;
inline constexpr unsigned kScanAlwaysUnderscanned = 2;
inline constexpr unsigned kScanBoth = 3;
// "Video Format not supported" ... for 0-3; empty text otherwise.
const char* ScanBehaviourName(unsigned value);

struct VideoCapability {
  unsigned ceScan = 0;  // bits 1-0
  unsigned itScan = 0;  // bits 3-2
  unsigned ptScan = 0;  // bits 5-4
  bool rgbQuantSelectable = false;  // bit 6
  bool yccQuantSelectable = false;  // bit 7

  bool operator==(const VideoCapability&) const = default;
};

// Stereo 3D structure bits (of `vic3DFlags` and `structureAll3D`).
inline constexpr unsigned k3DFramePacking = 1u << 0;
inline constexpr unsigned k3DSideBySide = 1u << 1;
inline constexpr unsigned k3DTopAndBottom = 1u << 2;

// Kinds of a detailed 3D entry (the mode list's 3D structure codes).
inline constexpr unsigned k3DKindFramePacking = 3;
inline constexpr unsigned k3DKindSideBySide = 4;
inline constexpr unsigned k3DKindTopAndBottom = 5;

struct Hdmi3DEntry {
  unsigned kind = 0;      // 3, 4 or 5
  unsigned vicIndex = 0;  // 0-15: position of the short video descriptor
  unsigned detail = 0;    // 0-15, side-by-side only
  unsigned size = 0;      // 1 or 2 bytes
  unsigned detailLowBits = 0;  // side-by-side: bits 3-0 of the second byte, as read

  bool operator==(const Hdmi3DEntry&) const = default;
};

struct HdmiVicEntry {
  uint8_t vic = 0;
  uint8_t flag = 0;

  bool operator==(const HdmiVicEntry&) const = default;
};

// Latency kinds and the indexes of the four latencies.
inline constexpr unsigned kLatencyNoData = 0;
inline constexpr unsigned kLatencyNotSupported = 1;
inline constexpr unsigned kLatencyInMs = 2;
inline constexpr unsigned kLatencyVideo = 0;
inline constexpr unsigned kLatencyAudio = 1;
inline constexpr unsigned kLatencyInterlacedVideo = 2;
inline constexpr unsigned kLatencyInterlacedAudio = 3;

// The decoded HDMI vendor specific data block. Payload byte 0 is the first
// byte after the OUI.
struct HdmiVsdb {
  unsigned payloadSize = 0;
  unsigned capacity = 0;
  unsigned hdmiVicCount = 0;
  unsigned detailed3DCount = 0;
  bool hasFeatures = false;
  bool hasMaxTmds = false;
  bool hasContentFlags = false;
  bool hasLatency = false;
  bool hasInterlacedLatency = false;
  bool hasHdmiVideo = false;
  // Section sizes in bytes, for the dialog's free-space arithmetic.
  unsigned sizePhysicalAddress = 2;
  unsigned sizeFeatures = 1;
  unsigned sizeMaxTmds = 1;
  unsigned sizeContentFlags = 1;
  unsigned sizeInterlacedLatency = 2;
  unsigned sizeLatency = 2;
  unsigned sizeHdmiVideoFlags = 2;
  unsigned sizeStructureAll3D = 2;
  unsigned sizeMask3D = 2;
  unsigned physB = 0;
  unsigned physA = 0;
  unsigned physD = 0;
  unsigned physC = 0;
  bool dviDual = false;
  bool deepColorY444 = false;
  bool deepColor30 = false;
  bool deepColor36 = false;
  bool deepColor48 = false;
  bool supportsAi = false;
  unsigned maxTmdsMHz = 0;
  bool cnc0 = false;
  bool cnc1 = false;
  bool cnc2 = false;
  bool cnc3 = false;
  std::array<unsigned, 4> latencyKind{};  // video, audio, interlaced video, interlaced audio
  std::array<unsigned, 4> latencyMs{};
  unsigned imageSize = 0;
  bool present3D = false;
  unsigned multi3D = 0;
  unsigned structureAll3D = 0;
  unsigned mask3D = 0;
  std::array<Hdmi3DEntry, kMaxDetailed3D> detailed3D{};
  std::array<HdmiVicEntry, kMaxHdmiVics> hdmiVics{};
  // Bits the record has no field for, as read, so that a write keeps them
  // wherever the sections before them put their bytes now: bits 2-0 of the
  // HDMI video flags byte, and the bits of the two 3D_Structure_ALL bytes
  // (first byte high) other than the three structures.
  unsigned videoFlagsLowBits = 0;
  unsigned structureAllOtherBits = 0;
  // The 3D bytes after the last detailed entry understood (an entry of a
  // structure this program does not decode, and everything after it up to
  // HDMI_3D_LEN): written back as read after the entries and counted in HDMI_3D_LEN.
  unsigned extra3DCount = 0;
  std::array<uint8_t, kMaxHdmiVsdbPayload> extra3D{};

  bool operator==(const HdmiVsdb&) const = default;
};

// ---------------------------------------------------------------------------
// Payload codecs. `payload` points at the first byte after the header (after
// the extended tag and the OUI where there is one) and `size` says how many
// payload bytes the data block holds; nothing outside them is read or written.

// How far a list may grow: the kind's maximum `maximum` when the free space
// allows it, else the current amount plus what the free space holds; never
// more than `maximum`.
unsigned CeaCapacity(unsigned current, unsigned freeUnits, unsigned maximum);

void DecodeShortVideoDescriptors(const uint8_t* payload, unsigned size, ShortVideoDescriptorList& list);
uint8_t EncodeShortVideoDescriptor(const ShortVideoDescriptor& descriptor);

void DecodeShortAudioDescriptor(const uint8_t* data, ShortAudioDescriptor& descriptor);
void EncodeShortAudioDescriptor(const ShortAudioDescriptor& descriptor, uint8_t* data);

void DecodeSpeakerAllocation(const uint8_t* payload, unsigned size, SpeakerAllocation& speakers);
void EncodeSpeakerAllocation(const SpeakerAllocation& speakers, uint8_t* payload, unsigned size);

void DecodeColorimetry(const uint8_t* payload, unsigned size, ColorimetryFlags& flags);
void EncodeColorimetry(const ColorimetryFlags& flags, uint8_t* payload, unsigned size);

void DecodeVideoCapability(const uint8_t* payload, unsigned size, VideoCapability& caps);
void EncodeVideoCapability(const VideoCapability& caps, uint8_t* payload, unsigned size);

// Latency byte codec: 0 no data, 255 not supported, b gives 2b - 2 ms.
void DecodeLatencyByte(uint8_t value, unsigned& kind, unsigned& ms);
uint8_t EncodeLatencyByte(unsigned kind, unsigned ms);
// Maximum TMDS clock in MHz <-> its byte (5 MHz steps).
uint8_t EncodeMaxTmds(unsigned mhz);

// The HDMI vendor specific data block's payload (capacity is left to the caller).
void DecodeHdmiVsdb(const uint8_t* payload, unsigned size, HdmiVsdb& vsdb);
void EncodeHdmiVsdb(const HdmiVsdb& vsdb, uint8_t* payload, unsigned size);
// The payload bytes (after the OUI) that the sections a record announces take.
unsigned HdmiVsdbContentSize(const HdmiVsdb& vsdb);

// The structures that the mandatory 3D formats give `vic` (k3D... bits).
unsigned Mandatory3DFormats(unsigned vic);

}  // namespace velmar
