#include "dialogs/EDIDGenericInfoDlg.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/EdidImage.h"
#include "pages/EdidBaseBlockPage.h"
#include "support/RecordingContext.h"
#include "support/ScriptedUserInterface.h"
#include "support/TestData.h"

namespace velmar {
namespace {

class GenericInfoFormTest : public ::testing::Test {
 protected:
  void SetUp() override { bytes = testing::MakeBase13(); }

  // The form over a fresh model of `bytes`, fields set as given, then OK.
  std::string RunOk(const std::vector<std::pair<std::string, std::string>>& changes) {
    Edid13Block model(0, bytes.data(), 128, nullptr);
    EDIDGenericInfoDlg form("base.general", model);
    for (const auto& [name, value] : changes) {
      std::string error;
      EXPECT_TRUE(form.Assign(name, value, error)) << name << ": " << error;
    }
    std::string message;
    form.Accept(message);
    return message;
  }

  std::vector<uint8_t> bytes;
};

TEST_F(GenericInfoFormTest, EachBadFieldGivesItsMessageAndWritesNothing) {
  const struct {
    const char* field;
    const char* value;
    const char* message;
  } cases[] = {
      {"product-code", "0x10000", "Invalid [ID Product Code] value"},
      {"product-code", "1G", "Invalid [ID Product Code] value"},
      {"serial-number", "0x100000000", "Invalid [ID Serial Number] value"},
      {"week", "54", "Invalid [Week of Manufacture] value"},
      {"week", "-1", "Invalid [Week of Manufacture] value"},
      {"year", "1989", "Invalid [Year of Manufacture] value"},
      {"year", "2246", "Invalid [Year of Manufacture] value"},
      {"year", "-4294965306", "Invalid [Year of Manufacture] value"},
      {"manufacturer", "AB", "Invalid [ID Manufacturer Name] value"},
      {"manufacturer", "abc", "Invalid [ID Manufacturer Name] value"},
  };
  const std::vector<uint8_t> original = bytes;
  for (const auto& c : cases) {
    EXPECT_EQ(RunOk({{c.field, c.value}}), c.message) << c.field << "=" << c.value;
    EXPECT_EQ(bytes, original) << c.field << "=" << c.value;
  }
  // The first failing field in the dialog's order wins.
  EXPECT_EQ(RunOk({{"manufacturer", "x"}, {"year", "1"}}), "Invalid [Year of Manufacture] value");
}

TEST_F(GenericInfoFormTest, EditsReachTheirBytes) {
  EXPECT_EQ(RunOk({{"manufacturer", "VLM"}, {"product-code", "0xBEEF"}, {"serial-number", "0x01020304"},
                   {"week", "255"}, {"year", "2245"}}),
            "");
  const uint8_t expected[] = {0x59, 0x8D, 0xEF, 0xBE, 0x04, 0x03, 0x02, 0x01, 0xFF, 0xFF};
  EXPECT_TRUE(std::equal(std::begin(expected), std::end(expected), bytes.begin() + 8));
  EXPECT_EQ(DataBlock::ComputeChecksum(bytes.data(), 127), bytes[127]);
}

TEST_F(GenericInfoFormTest, UntouchedFieldsKeepTheirStoredValues) {
  // Reserved bit 7 of byte 8 and a letter code with no letter (0, 27-31),
  // shown as a blank name, survive an edit of another field.
  for (const uint8_t firstCode : {0, 27, 31}) {
    bytes[8] = static_cast<uint8_t>(0x80 | (firstCode << 2));
    bytes[9] = 0x21;
    testing::FixChecksum(bytes.data());
    {
      Edid13Block model(0, bytes.data(), 128, nullptr);
      EXPECT_EQ(EDIDGenericInfoDlg("base.general", model).Find("manufacturer")->text, "") << int{firstCode};
    }
    EXPECT_EQ(RunOk({{"week", "7"}}), "");
    EXPECT_EQ(bytes[8], 0x80 | (firstCode << 2)) << int{firstCode};
    EXPECT_EQ(bytes[9], 0x21);
    EXPECT_EQ(bytes[16], 7);
  }
}

TEST(GenericInfoPageTest, SectionButtonOpensTheFormAndOkMarksModified) {
  testing::ScriptedUserInterface ui;
  EdidImage image(ui);
  const std::vector<uint8_t> base = testing::MakeBase13();
  std::copy(base.begin(), base.end(), image.rawData.begin());
  image.Rebuild();
  image.ClearModified();
  BlockPage* page = image.GetPage(0);
  ASSERT_NE(page, nullptr);

  ui.formAnswers.push_back({{{"year", "2020"}}, {}, false});
  page->PressButton(kLeftItemId);
  EXPECT_EQ(ui.forms, std::vector<std::string>{"EDID General Info"});
  EXPECT_EQ(image.rawData[17], base[17]);
  EXPECT_FALSE(image.IsModified());

  ui.formAnswers.push_back({{{"year", "2020"}}, {}, true});
  page->PressButton(kLeftItemId);
  EXPECT_EQ(image.rawData[17], 30);
  EXPECT_TRUE(image.IsModified());
}

}  // namespace
}  // namespace velmar
