// The rules of the CEA editor forms: places used from the front, native
// bits, formats the tables do not hold, the HDMI section chain and its free
// bytes, the sub-forms, and data blocks shorter than their kind's layout.

#include <gtest/gtest.h>

#include "blocks/DetailedTiming.h"
#include "dialogs/CEAHdmiVsdbDlg.h"
#include "dialogs/CeaFormTestSupport.h"
#include "util/Format.h"

namespace velmar {
namespace {

using testing::Bytes;
using testing::CeaPage;
using testing::DataBlockBytes;
using testing::ExtendedBlock;
using testing::HdmiBlock;

const FormField& F(const EditorForm& form, const std::string& name) {
  const FormField* field = form.Find(name);
  EXPECT_NE(field, nullptr) << name;
  static const FormField kNone;
  return field != nullptr ? *field : kNone;
}

// Vendor specific data blocks that take `bytes` bytes of the data area.
std::vector<Bytes> Filler(unsigned bytes) {
  std::vector<Bytes> blocks;
  while (bytes > 0) {
    unsigned length = std::min(bytes, 32u);
    if (bytes - length == 1) --length;  // no block of a lone header byte
    blocks.push_back(DataBlockBytes(3, Bytes(length - 1, 0x5A)));
    bytes -= length;
  }
  return blocks;
}

std::vector<Bytes> Join(std::vector<Bytes> first, const std::vector<Bytes>& then) {
  first.insert(first.end(), then.begin(), then.end());
  return first;
}

// ---------------------------------------------------------------------------
// Short video descriptors

TEST(CeaVideoFormTest, ThirtyOneDescriptorsWithoutFreeSpaceAreReleasedOnlyFromTheBack) {
  Bytes svds;
  for (uint8_t vic = 1; vic <= 31; ++vic) svds.push_back(vic);
  // 32 + 32 + 32 + 27 bytes: the data area is full.
  CeaPage page(Join({DataBlockBytes(2, svds)}, Filler(123 - 32)), 0);
  ASSERT_EQ(page.Model().FreeSpace(), 0u);
  auto form = page.Form("db1");
  for (unsigned i = 0; i < 33; ++i) {
    const std::string used = Format("used[%u]", i);
    EXPECT_EQ(F(*form, used).enabled, i < 31) << i;
    EXPECT_EQ(F(*form, used).checked, i < 31) << i;
  }
  EXPECT_FALSE(form->SetChecked("used[5]", false));
  EXPECT_FALSE(form->SetChecked("used[31]", true));
  EXPECT_TRUE(form->SetChecked("used[30]", false));
  EXPECT_FALSE(F(*form, "vic[30]").enabled);
  EXPECT_FALSE(form->SetChecked("used[28]", false));
  EXPECT_TRUE(form->SetChecked("used[29]", false));
  std::string message;
  ASSERT_TRUE(form->Accept(message)) << message;
  ShortVideoDescriptorList list;
  page.Model().GetVideoDataBlock(0, list);
  EXPECT_EQ(list.count, 29u);
  EXPECT_EQ(page.Model().FreeSpace(), 2u);
}

TEST(CeaVideoFormTest, OnePlaceAlwaysStaysUsedAndOnlyTheFirstFreeOneCanBeTaken) {
  CeaPage page({DataBlockBytes(2, {0x01})}, 0);
  auto form = page.Form("db1");
  EXPECT_FALSE(form->SetChecked("used[0]", false));
  EXPECT_FALSE(form->SetChecked("used[2]", true));
  EXPECT_TRUE(form->SetChecked("used[1]", true));
  EXPECT_EQ(F(*form, "native").items,
            (std::vector<std::string>{"None", "Timing at Row[0] Col[0]", "Timing at Row[0] Col[1]"}));
  EXPECT_TRUE(form->SetChecked("used[1]", false));
  EXPECT_EQ(F(*form, "native").items.size(), 2u);
}

TEST(CeaVideoFormTest, FormatsOutsideTheTableAndNativeBitsStayAsRead) {
  // 4K60 (VIC 97), two native descriptors, and VIC 218 whose bit 7 is part of its code.
  CeaPage page({DataBlockBytes(2, {0x61, 0x90, 0x84, 0xDA, 0x05})}, 0);
  auto form = page.Form("db1");
  EXPECT_EQ(EditorForm::ValueText(F(*form, "vic[0]")), "[97] Non-CEA Timing");
  EXPECT_EQ(EditorForm::ValueText(F(*form, "vic[1]")), "[16] 1920x1080p@60, 16x9");
  EXPECT_EQ(EditorForm::ValueText(F(*form, "vic[3]")), "[218] Non-CEA Timing");
  EXPECT_EQ(EditorForm::ValueText(F(*form, "native")), "Timing at Row[0] Col[1]");
  EXPECT_EQ(F(*form, "vic[1]").items.size(), 62u);
  // An edit of one place keeps every other byte, native bits included.
  std::string error;
  ASSERT_TRUE(form->Assign("vic[4]", "[4] 1280x720p@60, 16x9", error)) << error;
  std::string message;
  ASSERT_TRUE(form->Accept(message));
  EXPECT_EQ(page.Range(5, 5), (Bytes{0x61, 0x90, 0x84, 0xDA, 0x04}));

  // "None" clears every native bit; bit 7 of VIC 218 is not one.
  EXPECT_EQ(page.Ok("db1", {{"native", "None"}}), "");
  EXPECT_EQ(page.Range(5, 5), (Bytes{0x61, 0x10, 0x04, 0xDA, 0x04}));
  // A chosen place alone carries the bit.
  EXPECT_EQ(page.Ok("db1", {{"native", "Timing at Row[1] Col[1]"}}), "");
  EXPECT_EQ(page.Range(5, 5), (Bytes{0x61, 0x10, 0x04, 0xDA, 0x84}));
}

// ---------------------------------------------------------------------------
// Short audio descriptors

TEST(CeaAudioFormTest, TheOnlyUsedRowCannotBeReleased) {
  CeaPage page({DataBlockBytes(1, {0x09, 0x07, 0x07})}, 0);
  auto form = page.Form("db1");
  EXPECT_FALSE(form->SetChecked("used[0]", false));
  EXPECT_TRUE(F(*form, "used[0]").checked);
}

TEST(CeaAudioFormTest, BitRateIsStoredInStepsOfEight) {
  CeaPage page({DataBlockBytes(1, {0x09, 0x07, 0x07})}, 0);
  EXPECT_EQ(page.Ok("db1", {{"format[0]", "2: AC-3"}, {"value[0]", "2043"}}), "");
  EXPECT_EQ(page.Range(5, 3), (Bytes{0x11, 0x07, 0xFF}));
  auto form = page.Form("db1");
  EXPECT_EQ(F(*form, "value[0]").text, "2040");
  EXPECT_EQ(F(*form, "value[0]").label, "Maximum bit rate (kHz):");
}

TEST(CeaAudioFormTest, ValueLabelAndSampleSizesFollowTheFormat) {
  CeaPage page({DataBlockBytes(1, {0x09, 0x07, 0x05})}, 0);
  auto form = page.Form("db1");
  EXPECT_FALSE(F(*form, "value[0]").enabled);
  EXPECT_TRUE(F(*form, "bits-24[0]").checked);
  EXPECT_FALSE(F(*form, "bits-20[0]").checked);
  const struct {
    const char* format;
    const char* label;
  } cases[] = {{"7: DTS", "Maximum bit rate (kHz):"}, {"11: DTS-HD", "Value (DEC):"},
               {"14: WMA-Pro", "Profile (DEC):"},    {"15: Extended", "Extended Code (DEC):"},
               {"1: LPCM", ""}};
  for (const auto& c : cases) {
    std::string error;
    ASSERT_TRUE(form->Assign("format[0]", c.format, error)) << error;
    EXPECT_EQ(F(*form, "value[0]").label, c.label);
    EXPECT_EQ(F(*form, "value[0]").enabled, *c.label != '\0');
    EXPECT_EQ(F(*form, "bits-16[0]").enabled, *c.label == '\0');
  }
}

TEST(CeaAudioFormTest, ReservedAndExtendedRowsSurviveAnEditOfAnotherRow) {
  // Row 0: format code 15 with MPEG-H level bits and both bits 7; row 1: the
  // reserved format code 0; row 2: LPCM.
  CeaPage page({DataBlockBytes(1, {0xF9, 0x86, 0x5B, 0x00, 0x00, 0x00, 0x09, 0x07, 0x07})}, 0);
  auto form = page.Form("db1");
  EXPECT_EQ(EditorForm::ValueText(F(*form, "format[1]")), "0: Reserved");
  EXPECT_EQ(EditorForm::ValueText(F(*form, "format[0]")), "15: Extended");
  EXPECT_EQ(F(*form, "format[2]").items.front(), "1: LPCM");
  std::string error;
  ASSERT_TRUE(form->Assign("channels[2]", "8", error));
  ASSERT_TRUE(form->Assign("rate-192[2]", "on", error));
  std::string message;
  ASSERT_TRUE(form->Accept(message)) << message;
  EXPECT_EQ(page.Range(5, 9), (Bytes{0xF9, 0x86, 0x5B, 0x00, 0x00, 0x00, 0x0F, 0x47, 0x07}));
}

TEST(CeaAudioFormTest, ANewRowIsWrittenFromItsFields) {
  CeaPage page({DataBlockBytes(1, {0x09, 0x07, 0x07})}, 0);
  EXPECT_EQ(page.Ok("db1", {{"used[1]", "on"},
                            {"format[1]", "7: DTS"},
                            {"channels[1]", "6"},
                            {"rate-48[1]", "on"},
                            {"value[1]", "1536"}}),
            "");
  EXPECT_EQ(page.Range(4, 7), (Bytes{0x26, 0x09, 0x07, 0x07, 0x3D, 0x04, 0xC0}));
}

// ---------------------------------------------------------------------------
// HDMI vendor specific data block

TEST(CeaHdmiFormTest, SectionsFollowTheBlockLayout) {
  CeaPage page({HdmiBlock({0x10, 0x00})}, 0);
  auto form = page.Form("db1");
  for (const char* section : {"features", "clock-rate", "flags", "latency", "interlaced-latency", "extended-caps"}) {
    EXPECT_FALSE(F(*form, section).checked) << section;
  }
  EXPECT_FALSE(F(*form, "dvi-dual").enabled);
  EXPECT_FALSE(form->SetChecked("clock-rate", true));
  EXPECT_TRUE(form->SetChecked("features", true));
  EXPECT_TRUE(F(*form, "dvi-dual").enabled);
  EXPECT_TRUE(form->SetChecked("clock-rate", true));
  EXPECT_FALSE(form->SetChecked("latency", true));
  EXPECT_FALSE(form->SetChecked("features", false));
  EXPECT_TRUE(form->SetChecked("flags", true));
  EXPECT_TRUE(form->SetChecked("extended-caps", true));
  EXPECT_FALSE(form->SetChecked("interlaced-latency", true));
  EXPECT_TRUE(form->SetChecked("latency", true));
  EXPECT_FALSE(form->SetChecked("flags", false));
  std::string error;
  ASSERT_TRUE(form->Assign("max-tmds-clock", "297", error));
  ASSERT_TRUE(form->Assign("video-latency-type", "Latency in ms", error));
  ASSERT_TRUE(form->Assign("video-latency", "506", error));
  std::string message;
  ASSERT_TRUE(form->Accept(message)) << message;
  // Features 0, 295 MHz, flags: latency and HDMI video; 506 ms as 254, no
  // audio latency; HDMI video flags with no VIC and no 3D.
  EXPECT_EQ(page.Range(4, 14),
            (Bytes{0x6C, 0x03, 0x0C, 0x00, 0x10, 0x00, 0x00, 0x3B, 0xA0, 0xFE, 0x00, 0x00, 0x00, 0x00}));
}

TEST(CeaHdmiFormTest, AMultiChoiceThatDoesNotFitFallsBack) {
  // HDMI video present; the rest of the block is taken but for one byte.
  const Bytes hdmi = HdmiBlock({0x10, 0x00, 0x00, 0x00, 0x20, 0x00, 0x00});
  CeaPage page(Join({hdmi}, Filler(123 - static_cast<unsigned>(hdmi.size()) - 1)), 0);
  ASSERT_EQ(page.Model().FreeSpace(), 1u);
  auto form = page.Form("db1");
  EXPECT_TRUE(form->Select("multi-3d", 2));
  EXPECT_EQ(F(*form, "multi-3d").selection, 0);
  EXPECT_FALSE(F(*form, "select-formats").enabled);
  EXPECT_FALSE(form->SetChecked("latency", true));
}

TEST(CeaHdmiFormTest, WithTwoFreeBytesSelectedFallsBackToAll) {
  const Bytes hdmi = HdmiBlock({0x10, 0x00, 0x00, 0x00, 0x20, 0x00, 0x00});
  CeaPage page(Join({hdmi}, Filler(123 - static_cast<unsigned>(hdmi.size()) - 2)), 0);
  ASSERT_EQ(page.Model().FreeSpace(), 2u);
  EXPECT_EQ(page.Ok("db1", {{"multi-3d", "Selected 16 VICs"}}), "");
  HdmiVsdb v;
  page.Model().GetHdmiVsdb(0, v);
  EXPECT_EQ(v.multi3D, 1u);
  EXPECT_EQ(page.Model().FreeSpace(), 0u);
}

TEST(CeaHdmiFormTest, LatencyOf506IsTheLargest) {
  const Bytes hdmi = HdmiBlock({0x10, 0x00, 0x00, 0x00, 0x80, 0x00, 0x00});
  CeaPage page({hdmi}, 0);
  EXPECT_EQ(page.Ok("db1", {{"audio-latency-type", "Latency in ms"}, {"audio-latency", "507"}}),
            "Invalid Audio Latency (Valid Range 0 --> 506");
  EXPECT_EQ(page.Ok("db1", {{"audio-latency-type", "Latency in ms"}, {"audio-latency", "506"}}), "");
  EXPECT_EQ(page.Range(4 + 4 + 6, 1), Bytes{254});
}

TEST(CeaHdmiFormTest, APhysicalAddressNibbleTakesZeroToFifteen) {
  CeaPage page({HdmiBlock({0x12, 0x34})}, 0);
  EXPECT_EQ(page.Ok("db1", {{"phys-a", "20"}}), "Invalid Source Physical Address A (Valid Range 0 --> 15");
  EXPECT_EQ(page.Ok("db1", {{"phys-a", "15"}, {"phys-d", "0"}}), "");
  EXPECT_EQ(page.Range(8, 2), (Bytes{0xF2, 0x30}));
}

TEST(CeaHdmiFormTest, UncheckingExtendedCapsEmptiesItAndGivesItsBytesBack) {
  // Two HDMI VICs, multi-3D "All", one side-by-side entry.
  const Bytes hdmi = HdmiBlock({0x10, 0x00, 0x00, 0x00, 0x20, 0xA0, 0x44, 0x01, 0x02, 0x00, 0x01, 0x08, 0x10});
  CeaPage page({hdmi, DataBlockBytes(2, {0x10})}, 1);
  const unsigned freeBefore = page.Model().FreeSpace();
  auto form = page.Form("db1");
  EXPECT_EQ(F(*form, "hdmi-vic-count").text, "COUNT: 2");
  EXPECT_EQ(F(*form, "extended-3d-count").text, "COUNT: 1");
  EXPECT_TRUE(form->SetChecked("extended-caps", false));
  EXPECT_EQ(F(*form, "hdmi-vic-count").text, "COUNT: 0");
  EXPECT_EQ(F(*form, "multi-3d").selection, 0);
  // Checked again, the section comes back empty.
  EXPECT_TRUE(form->SetChecked("extended-caps", true));
  EXPECT_TRUE(form->SetChecked("extended-caps", false));
  std::string message;
  ASSERT_TRUE(form->Accept(message)) << message;
  HdmiVsdb v;
  page.Model().GetHdmiVsdb(0, v);
  EXPECT_FALSE(v.hasHdmiVideo);
  EXPECT_EQ(v.payloadSize, 5u);
  EXPECT_EQ(page.Model().FreeSpace(), freeBefore + 8);
  ShortVideoDescriptorList svds;
  page.Model().GetVideoDataBlock(1, svds);
  EXPECT_EQ(svds.count, 1u);
  EXPECT_TRUE(page.cea.ChecksumValid());
}

TEST(CeaHdmiFormTest, KeptBitsComeFromTheBytesReadAtOpening) {
  // Latency, then HDMI video flags with reserved bits 111 and 3D_Structure_ALL
  // with reserved bits, one entry with its low nibble set, then two bytes of
  // a structure this program does not decode.
  const Bytes hdmi = HdmiBlock({0x10, 0x00, 0x06, 0x00, 0xB0, 0x0B, 0x0B, 0x27, 0x06, 0x80, 0x01, 0x28, 0x1F,
                                0x21, 0x33});
  CeaPage page({hdmi}, 0);
  EXPECT_EQ(page.Ok("db1", {{"latency", "off"}}), "");
  EXPECT_EQ(page.Range(4, 17), (Bytes{0x70, 0x03, 0x0C, 0x00, 0x10, 0x00, 0x06, 0x00, 0x30, 0x27, 0x06, 0x80, 0x01,
                                      0x28, 0x1F, 0x21, 0x33}));
  // A no-op OK keeps the undecoded 3D bytes counted in HDMI_3D_LEN.
  EXPECT_EQ(page.Ok("db1", {{"cn0", "on"}, {"cn0", "off"}}), "");
  EXPECT_EQ(page.Ok("db1", {{"phys-a", "2"}}), "");
  EXPECT_EQ(page.Range(8, 1), Bytes{0x20});
  EXPECT_EQ(page.Range(13, 8), (Bytes{0x27, 0x06, 0x80, 0x01, 0x28, 0x1F, 0x21, 0x33}));
}

TEST(CeaHdmiFormTest, AMulti3DChoiceWithoutItsBytesIsGivenThemOrRefused) {
  // Multi-3D "All" announced, but the block ends before 3D_Structure_ALL.
  const Bytes hdmi = HdmiBlock({0x10, 0x00, 0x00, 0x00, 0x20, 0x20, 0x00});
  CeaPage roomy({hdmi}, 0);
  EXPECT_EQ(roomy.Ok("db1", {{"phys-a", "2"}}), "");
  EXPECT_EQ(roomy.Range(4, 13), (Bytes{0x6C, 0x03, 0x0C, 0x00, 0x20, 0x00, 0x00, 0x00, 0x20, 0x20, 0x02, 0x00, 0x00}));

  CeaPage full(Join({hdmi}, Filler(123 - static_cast<unsigned>(hdmi.size()) - 1)), 0);
  const auto before = full.cea.image;
  EXPECT_EQ(full.Ok("db1", {{"phys-a", "2"}}),
            "Not enough free space in the block for the HDMI data (1 bytes more than it can hold)");
  EXPECT_TRUE(full.cea.image == before);
  // Giving up the multi-3D choice makes room.
  EXPECT_EQ(full.Ok("db1", {{"phys-a", "2"}, {"multi-3d", "No Multi 3D Support"}}), "");
}

TEST(CeaHdmiFormTest, SubFormsEditTheCopyAndOnlyTheMainOkWrites) {
  const Bytes hdmi = HdmiBlock({0x10, 0x00, 0x00, 0x00, 0x20, 0x00, 0x00});
  CeaPage page({hdmi, DataBlockBytes(2, {0x10, 0x04})}, 0);
  const auto original = page.cea.image;

  // Sub-forms accepted, the main form cancelled: nothing is written.
  page.ui.formAnswers = {{{{"multi-3d", "Selected 16 VICs"}}, {"edit-hdmi-vics", "select-formats"}, false},
                         {{{"used[0]", "on"}, {"vic[0]", "[3] 3840x2160p@24Hz"}}, {}, true},
                         {{{"side-by-side", "on"}, {"vic[1]", "on"}}, {}, true}};
  EXPECT_FALSE(page.page.OpenForm("db1"));
  EXPECT_TRUE(page.cea.image == original);
  EXPECT_EQ(page.ui.forms, (std::vector<std::string>{"CEA HDMI Vendor Specific Data Block",
                                                     "CEA HDMI Short Video Descriptors",
                                                     "HDMI VSDB Multi-3D Selection"}));

  page.ui.formAnswers = {{{{"multi-3d", "Selected 16 VICs"}}, {"edit-hdmi-vics", "select-formats", "edit-extended-3d"}, true},
                         {{{"used[0]", "on"}, {"vic[0]", "[3] 3840x2160p@24Hz"}}, {}, true},
                         {{{"side-by-side", "on"}, {"vic[1]", "on"}}, {}, true},
                         {{{"used[0]", "on"}, {"vic[0]", "1"}, {"format[0]", "Top-and-Bottom"}}, {}, true}};
  EXPECT_TRUE(page.page.OpenForm("db1"));
  HdmiVsdb v;
  page.Model().GetHdmiVsdb(0, v);
  EXPECT_EQ(v.multi3D, 2u);
  EXPECT_EQ(v.structureAll3D, k3DSideBySide);
  EXPECT_EQ(v.mask3D, 0x0002u);
  ASSERT_EQ(v.hdmiVicCount, 1u);
  EXPECT_EQ(v.hdmiVics[0].vic, 3);
  ASSERT_EQ(v.detailed3DCount, 1u);
  EXPECT_EQ(v.detailed3D[0], (Hdmi3DEntry{k3DKindTopAndBottom, 1, 0, 1}));
  EXPECT_EQ(page.Model().Get3DSupportOfVic(4), k3DSideBySide | k3DTopAndBottom);
  EXPECT_GT(page.context.modifiedCalls, 0u);
}

TEST(CeaHdmiFormTest, SubFormsTakeOnlyTheFreeBytes) {
  // Two bytes free in the block: one HDMI VIC and one one-byte entry fit,
  // a side-by-side entry does not.
  const Bytes hdmi = HdmiBlock({0x10, 0x00, 0x00, 0x00, 0x20, 0x00, 0x00});
  CeaPage page(Join({hdmi, DataBlockBytes(2, {0x10})}, Filler(123 - static_cast<unsigned>(hdmi.size()) - 2 - 2)), 0);
  ASSERT_EQ(page.Model().FreeSpace(), 2u);
  page.ui.formAnswers = {{{}, {"edit-hdmi-vics", "edit-extended-3d"}, true},
                         {{{"used[0]", "on"}, {"vic[0]", "0"}, {"used[1]", "on"}, {"used[2]", "on"}, {"used[1]", "off"}},
                          {},
                          true},
                         {{{"used[0]", "on"}, {"vic[0]", "0"}, {"format[0]", "Side-by-Side"}, {"format[0]", "Frame Packing"},
                           {"used[1]", "on"}}, {}, true}};
  EXPECT_TRUE(page.page.OpenForm("db1"));
  EXPECT_EQ(page.ui.events, (std::vector<std::string>{"form: CEA HDMI Vendor Specific Data Block",
                                                      "form: CEA HDMI Short Video Descriptors", "refused: used[2]",
                                                      "form: CEA HDMI Short Video Descriptors",
                                                      "refused: format[0]", "refused: used[1]"}));
  HdmiVsdb v;
  page.Model().GetHdmiVsdb(0, v);
  EXPECT_EQ(v.hdmiVicCount, 1u);
  EXPECT_EQ(v.detailed3DCount, 1u);
  EXPECT_EQ(page.Model().FreeSpace(), 0u);
}

// ---------------------------------------------------------------------------
// Data blocks shorter than their kind's layout

TEST(CeaShortBlockFormTest, FieldsWithoutTheirBytesAreDisabledAndNothingIsWrittenOutside) {
  // Speaker allocation with one payload byte, colorimetry with one, video
  // capability with none, HDMI with one address byte.
  CeaPage page({DataBlockBytes(4, {0x00}), ExtendedBlock(5, {0x00}), ExtendedBlock(0, {}),
                DataBlockBytes(3, {0x03, 0x0C, 0x00, 0x12}), DataBlockBytes(2, {0x10})},
               1);
  {
    auto form = page.Form("db1");
    EXPECT_TRUE(F(*form, "front-center").enabled);
    EXPECT_FALSE(F(*form, "high-center").enabled);
    EXPECT_FALSE(F(*form, "top-center").enabled);
  }
  {
    auto form = page.Form("db2");
    EXPECT_TRUE(F(*form, "adobe-rgb").enabled);
    EXPECT_FALSE(F(*form, "md-profile-0").enabled);
  }
  {
    auto form = page.Form("db3");
    for (const FormField& field : form->Fields()) EXPECT_FALSE(field.enabled) << field.name;
  }
  {
    auto form = page.Form("db4");
    for (const FormField& field : form->Fields()) {
      EXPECT_TRUE(field.kind == FieldKind::Label || !field.enabled) << field.name;
    }
  }
  const Bytes before = page.Range(0, 127);
  EXPECT_EQ(page.Ok("db1", {{"front-left", "on"}}), "");
  EXPECT_EQ(page.Range(4, 2), (Bytes{0x81, 0x01}));
  EXPECT_EQ(page.Ok("db2", {{"sycc-601", "on"}}), "");
  Bytes expected = before;
  expected[5] = 0x01;
  expected[8] = 0x04;
  EXPECT_EQ(page.Range(0, 127), expected);
  EXPECT_TRUE(page.cea.GuardsIntact());
}

TEST(CeaShortBlockFormTest, TheGenericSizeListRunsFromTheKindsMinimumToItsCapacity) {
  // A VESA DTC block (at least one payload byte) and a vendor specific block
  // without payload; 9 bytes free.
  CeaPage page({DataBlockBytes(5, {0x07}), DataBlockBytes(3, {0x01, 0x02, 0x03})}, 6);
  ASSERT_EQ(page.Model().FreeSpace(), 9u);
  {
    auto form = page.Form("db1");
    EXPECT_EQ(F(*form, "size").items.front(), "1 Bytes");
    EXPECT_EQ(F(*form, "size").items.back(), "10 Bytes");
    EXPECT_FALSE(F(*form, "vendor-id").visible);
    EXPECT_EQ(F(*form, "vendor-id").label, "");
    EXPECT_TRUE(F(*form, "bytes[0]").enabled);
    EXPECT_FALSE(F(*form, "bytes[1]").enabled);
  }
  auto form = page.Form("db2");
  EXPECT_EQ(F(*form, "size").items.front(), "0 Bytes");
  EXPECT_EQ(F(*form, "vendor-id").text, "030201");
  EXPECT_EQ(EditorForm::ValueText(F(*form, "size")), "0 Bytes");
  std::string error;
  ASSERT_TRUE(form->Assign("size", "2 Bytes", error));
  EXPECT_TRUE(F(*form, "bytes[1]").enabled);
  ASSERT_TRUE(form->Assign("bytes[1]", "7f", error));
  ASSERT_TRUE(form->Assign("vendor-id", "00001A", error));
  std::string message;
  ASSERT_TRUE(form->Accept(message)) << message;
  EXPECT_EQ(page.Range(6, 6), (Bytes{0x65, 0x1A, 0x00, 0x00, 0x00, 0x7F}));
}

// ---------------------------------------------------------------------------
// The page's forms

TEST(CeaPageFormsTest, FormsAreNamedByBlockAndPosition) {
  // Video, HDMI, a data block of no known kind (extended tag 6), speakers; two DTDs.
  CeaPage page({DataBlockBytes(2, {0x10}), HdmiBlock({0x10, 0x00}), ExtendedBlock(6, {0x00}),
                DataBlockBytes(4, {0x01, 0x00, 0x00})},
               2);
  EXPECT_EQ(page.page.FormPrefix(), "cea1");
  EXPECT_EQ(page.page.FormNames(), (std::vector<std::string>{"general", "dtd1", "dtd2", "db1", "db2", "db4"}));
  auto hdmi = page.page.CreateForm("hdmi");
  ASSERT_NE(hdmi, nullptr);
  EXPECT_EQ(hdmi->Caption(), "CEA HDMI Vendor Specific Data Block");
  EXPECT_EQ(hdmi->Address(), "cea1.hdmi");
  for (const char* name : {"db3", "db5", "db0", "db01", "dtd0", "dtd3", "dtd", "hdmi2", "slot1"}) {
    EXPECT_EQ(page.page.CreateForm(name), nullptr) << name;
  }

  // The row buttons open their forms (before the rows were ever shown); a
  // block of no known kind opens nothing.
  for (int row = 0; row < 4; ++row) page.page.PressButton(kRightItemId + row);
  page.page.PressButton(kLeftItemId);
  page.page.PressButton(kLeftItemId + 2);
  page.page.PressButton(kLeftItemId + 3);
  EXPECT_EQ(page.ui.forms, (std::vector<std::string>{"CEA Short Video Descriptors",
                                                     "CEA HDMI Vendor Specific Data Block", "CEA Speakers Allocation",
                                                     "CEA Extension General Info", "EDID Detailed Timing"}));
}

TEST(CeaPageFormsTest, ADetailedTimingRowEditsItsTimingOnly) {
  CeaPage page({DataBlockBytes(2, {0x10})}, 2);
  const Bytes first = page.Range(6, 18);
  EXPECT_EQ(page.Ok("dtd2", {{"pixel-clock", "0"}}), "Invalid Pixel Clock (Valid range 1 --> 65535)");
  page.ui.formAnswers = {{{{"hsync-width", "40"}}, {}, true}};
  page.page.PressButton(kLeftItemId + 2);
  DetailedTiming timing;
  page.Model().GetDetailedTiming(1, timing);
  EXPECT_EQ(timing.hSyncWidth, 40u);
  EXPECT_EQ(page.Range(6, 18), first);
  EXPECT_TRUE(page.cea.ChecksumValid());
  EXPECT_TRUE(page.cea.GuardsIntact());
  EXPECT_GT(page.context.modifiedCalls, 0u);
}

// ---------------------------------------------------------------------------
// General info

TEST(CeaGeneralFormTest, ShowsTheBlockAndWritesTheFourFlags) {
  CeaPage page(testing::MakeCea({DataBlockBytes(2, {0x01})}, 1, 3, -1, 0x72));
  auto form = page.Form("general");
  EXPECT_EQ(form->Caption(), "CEA Extension General Info");
  EXPECT_EQ(F(*form, "version").text, "3");
  EXPECT_EQ(F(*form, "detailed-timings").text, "1 (Reported 2)");
  EXPECT_EQ(F(*form, "timing-start").text, "0x06");
  EXPECT_EQ(F(*form, "free-space").text, "103");
  EXPECT_TRUE(F(*form, "basic-audio").checked);
  EXPECT_FALSE(F(*form, "underscan").checked);
  EXPECT_EQ(page.Ok("general", {{"underscan", "on"}, {"ycbcr-422", "off"}}), "");
  EXPECT_EQ(page.cea[3], 0xE2);
  EXPECT_TRUE(page.cea.ChecksumValid());

  CeaPage empty(testing::MakeCea({}, 0, 3, 0, 0));
  EXPECT_EQ(F(*empty.Form("general"), "timing-start").text, "No Timing Data");
}

}  // namespace
}  // namespace velmar
