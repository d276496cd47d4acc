// Every message of the CEA editor forms for its bad input: OK refuses with
// the message, writes nothing, and the dialog stays open (the form keeps the
// user's values).

#include <gtest/gtest.h>

#include "dialogs/CeaFormTestSupport.h"

namespace velmar {
namespace {

using testing::Bytes;
using testing::CeaPage;
using testing::Changes;
using testing::DataBlockBytes;
using testing::ExtendedBlock;
using testing::HdmiBlock;
using testing::kNoChoice;

// Video (db1), audio LPCM + AC-3 (db2), vendor specific (db3), video
// capability (db4), HDMI with every section and one HDMI VIC (db5), one DTD.
std::vector<Bytes> AllKinds() {
  return {
      DataBlockBytes(2, {0x90, 0x04, 0x1F}),
      DataBlockBytes(1, {0x09, 0x07, 0x07, 0x15, 0x07, 0x50}),
      DataBlockBytes(3, {0x01, 0x02, 0x03, 0xAA, 0xBB}),
      ExtendedBlock(0, {0x3F}),
      HdmiBlock({0x10, 0x00, 0xB8, 0x3C, 0xE0, 0x0B, 0x0B, 0x15, 0x15, 0x80, 0x20, 0x01}),
  };
}

struct MessageCase {
  const char* form;
  Changes changes;
  const char* message;
};

TEST(CeaEditorFormMessagesTest, EachBadInputGivesItsMessageAndWritesNothing) {
  const MessageCase cases[] = {
      {"db1", {{"used[3]", "on"}}, "Entry[1:0]: Invalid Selection"},
      {"db1", {{"vic[2]", kNoChoice}}, "Entry[0:2]: Invalid Selection"},
      {"db2", {{"format[1]", kNoChoice}}, "Entry[1]: Invalid Audio Format selection"},
      {"db2", {{"used[2]", "on"}}, "Entry[2]: Invalid Audio Format selection"},
      {"db2", {{"channels[0]", "9"}}, "Entry[0]: Invalid Number of channels (Valid range is 1 --> 8)"},
      {"db2", {{"channels[1]", "0"}}, "Entry[1]: Invalid Number of channels (Valid range is 1 --> 8)"},
      {"db2", {{"channels[0]", "two"}}, "Entry[0]: Invalid Number of channels (Valid range is 1 --> 8)"},
      {"db2", {{"value[1]", "2044"}}, "Entry[1]: Invalid BitRate (Valid range is 0 --> 2043)"},
      {"db2", {{"format[0]", "2: AC-3"}}, "Entry[0]: Invalid BitRate (Valid range is 0 --> 2043)"},
      {"db2", {{"format[1]", "10: E-AC-3"}}, "Entry[1]: Invalid Format-dependant Value (Valid range is 0 --> 255)"},
      {"db2", {{"format[1]", "14: WMA-Pro"}, {"value[1]", "8"}}, "Entry[1]: Invalid Profile (Valid range is 0 --> 7)"},
      {"db2",
       {{"format[1]", "15: Extended"}, {"value[1]", "32"}},
       "Entry[1]: Invalid Audio Format Code Extension (Valid range is 0 --> 31)"},
      {"db3", {{"size", kNoChoice}}, "Invalid Number Of Data Bytes selection"},
      {"db3", {{"vendor-id", "1000000"}}, "Invalid Vendor ID (Valid range is 0 --> 0xFFFFFF)"},
      {"db3", {{"vendor-id", "xyz"}}, "Invalid Vendor ID (Valid range is 0 --> 0xFFFFFF)"},
      {"db3", {{"size", "7 Bytes"}, {"bytes[6]", "100"}}, "Invalid Data Byte (Row 1, Col 2) (Valid range is 0 --> 0xFF)"},
      {"db3", {{"bytes[1]", "G"}}, "Invalid Data Byte (Row 0, Col 1) (Valid range is 0 --> 0xFF)"},
      {"db4", {{"ce-scan", kNoChoice}}, "Invalid CE Scan Type selection"},
      {"db4", {{"it-scan", kNoChoice}}, "Invalid IT Scan Type selection"},
      {"db4", {{"pt-scan", kNoChoice}}, "Invalid PT Scan Type selection"},
      {"db4", {{"rgb-quantization", kNoChoice}}, "Invalid RGB Quantization Range"},
      {"db4", {{"ycc-quantization", kNoChoice}}, "Invalid YCC Quantization Range"},
      {"db5", {{"phys-a", "16"}}, "Invalid Source Physical Address A (Valid Range 0 --> 15"},
      {"db5", {{"phys-b", "-1"}}, "Invalid Source Physical Address B (Valid Range 0 --> 15"},
      {"db5", {{"phys-c", "127"}}, "Invalid Source Physical Address C (Valid Range 0 --> 15"},
      {"db5", {{"phys-d", "20"}}, "Invalid Source Physical Address D (Valid Range 0 --> 15"},
      {"db5", {{"max-tmds-clock", "1276"}}, "Invalid Max TMDS Clock (Valid Range 0 --> 1275"},
      {"db5", {{"video-latency-type", kNoChoice}}, "Invalid Video Latency Type Selection"},
      {"db5", {{"video-latency", "507"}}, "Invalid Video Latency (Valid Range 0 --> 506"},
      {"db5", {{"audio-latency-type", kNoChoice}}, "Invalid Audio Latency Type Selection"},
      {"db5", {{"audio-latency", "ms"}}, "Invalid Audio Latency (Valid Range 0 --> 506"},
      {"db5", {{"interlaced-video-latency-type", kNoChoice}}, "Invalid Interlaced Video Latency Type Selection"},
      {"db5", {{"interlaced-video-latency", "600"}}, "Invalid Interlaced Video Latency (Valid Range 0 --> 506"},
      {"db5", {{"interlaced-audio-latency-type", kNoChoice}}, "Invalid Interlaced Audio Latency Type Selection"},
      {"db5", {{"interlaced-audio-latency", "507"}}, "Invalid Interlaced Audio Latency (Valid Range 0 --> 506"},
      {"db5", {{"image-size", kNoChoice}}, "Invalid Image Size Type Selection"},
      {"db5", {{"multi-3d", kNoChoice}}, "Invalid Multi 3D Selection"},
      // The first failure in the dialog's order wins.
      {"db5", {{"image-size", kNoChoice}, {"phys-d", "16"}}, "Invalid Source Physical Address D (Valid Range 0 --> 15"},
      {"db2", {{"value[1]", "9999"}, {"channels[0]", "0"}}, "Entry[0]: Invalid Number of channels (Valid range is 1 --> 8)"},
  };
  for (const MessageCase& c : cases) {
    CeaPage page(AllKinds(), 1);
    const auto before = page.cea.image;
    std::unique_ptr<EditorForm> form = page.Form(c.form);
    ASSERT_NE(form, nullptr);
    testing::MakeChanges(*form, c.changes);
    std::vector<std::string> values;
    for (const FormField& field : form->Fields()) values.push_back(EditorForm::ValueText(field));
    std::string message;
    EXPECT_FALSE(form->Accept(message)) << c.message;
    EXPECT_EQ(message, c.message);
    EXPECT_TRUE(page.cea.image == before) << c.message;
    // The dialog stays as the user left it.
    std::vector<std::string> after;
    for (const FormField& field : form->Fields()) after.push_back(EditorForm::ValueText(field));
    EXPECT_EQ(after, values) << c.message;
  }
}

TEST(CeaEditorFormMessagesTest, SubFormMessagesKeepTheSubFormOpenAndTheBlockAsItWas) {
  const struct {
    const char* button;
    Changes changes;
    const char* message;
  } cases[] = {
      {"edit-extended-3d", {{"used[0]", "on"}}, "Entry[0:0]: Invalid VIC Selection"},
      {"edit-extended-3d", {{"used[0]", "on"}, {"vic[0]", "0"}}, "Entry[0:0]: Invalid Format Selection"},
      {"edit-extended-3d",
       {{"used[0]", "on"}, {"vic[0]", "0"}, {"format[0]", "Side-by-Side"}, {"detail[0]", "16"}},
       "Invalid Detailed Value (Row 0, Col 0) (Valid range is 0 --> 15)"},
      {"edit-hdmi-vics", {{"used[1]", "on"}}, "Entry[0:1]: Invalid Selection"},
  };
  for (const auto& c : cases) {
    CeaPage page(AllKinds(), 1);
    const auto before = page.cea.image;
    page.ui.formAnswers = {{{}, {c.button}, true}, {c.changes, {}, true}};
    page.page.OpenForm("db5");
    EXPECT_EQ(page.ui.messages, std::vector<std::string>{c.message});
    EXPECT_TRUE(page.cea.image == before) << c.message;
  }
}

}  // namespace
}  // namespace velmar
