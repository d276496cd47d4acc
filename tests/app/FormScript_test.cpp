// Editing by address over the real EDIDs: every field the forms offer is
// listed and reachable, an assignment does exactly what the same edit in the
// form does, and the pages' add and remove buttons run from addresses.

#include "app/FormScript.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "blocks/DiExtBlock.h"
#include "blocks/Edid13Block.h"
#include "common/ScriptedChoice.h"
#include "dialogs/FormTestSupport.h"
#include "dialogs/NumberFormat.h"

namespace velmar {
namespace {

using Assignments = std::vector<std::pair<std::string, std::string>>;
using testing::LoadedImage;

// An image of the bytes with a script over it, answering lists by text.
struct ScriptedImage {
  explicit ScriptedImage(const std::vector<uint8_t>& bytes) : loaded(bytes), script(loaded.image, choice) {
    loaded.ui.scriptedChoice = &choice;
  }
  std::string Run(const Assignments& assignments) {
    ScriptFailure failure;
    if (script.Run(assignments, failure)) return "";
    return failure.address + ": " + failure.message;
  }
  LoadedImage loaded;
  ScriptedChoice choice;
  FormScript script;
};

// A form as it stood when it opened, kept after the dialog that opened it ended.
struct OpenedForm {
  std::string address;
  std::deque<FormField> fields;
};

// The form the button `name` of `form` opens (cancelled at once), if any.
std::optional<OpenedForm> OpenedBy(EditorForm& form, const std::string& name, testing::ScriptedUserInterface& ui) {
  std::optional<OpenedForm> opened;
  ScriptedChoice recorder;
  recorder.SetFormAnswer([&opened](EditorForm& sub) {
    opened = OpenedForm{sub.Address(), sub.Fields()};
    return false;
  });
  ScriptedChoice* const before = ui.scriptedChoice;
  ui.scriptedChoice = &recorder;
  form.Press(name, ui);
  ui.scriptedChoice = before;
  return opened;
}

// A base block, a DI-EXT block and a CEA block.
std::vector<uint8_t> ThreeBlocks() {
  std::vector<uint8_t> bytes = testing::MakeBase13(2);
  bytes.resize(384);
  DiExtBlock::InitDefaultBytes(bytes.data() + 128, 128);
  bytes[256] = 0x02;  // CEA tag, revision 3, no data
  bytes[257] = 3;
  bytes[258] = 4;
  testing::FixChecksum(bytes.data() + 256);
  return bytes;
}

TEST(FormScriptTest, FieldsListEveryEditableFieldOfEveryFormAsTheFormShowsIt) {
  size_t total = 0;
  size_t subTotal = 0;
  for (const std::string& path : testing::CorpusFiles()) {
    ScriptedImage edited(testing::ReadBytes(path));
    const std::vector<ScriptField> fields = edited.script.Fields();
    std::map<std::string, const ScriptField*> byAddress;
    for (const ScriptField& field : fields) {
      EXPECT_TRUE(byAddress.emplace(field.address, &field).second) << path << " twice: " << field.address;
    }
    size_t expected = 0;
    for (unsigned b = 0; b < edited.loaded.image.BlockCount(); ++b) {
      BlockPage* page = edited.loaded.Page(b);
      for (const std::string& name : page->FormNames()) {
        const std::unique_ptr<EditorForm> form = page->CreateForm(name);
        std::vector<OpenedForm> forms = {{form->Address(), form->Fields()}};
        // The forms its buttons open, as they open.
        for (const FormField& button : form->Fields()) {
          if (button.kind != FieldKind::Button || !button.enabled) continue;
          const std::optional<OpenedForm> opened = OpenedBy(*form, button.name, edited.loaded.ui);
          ASSERT_TRUE(opened.has_value()) << path << " " << form->Address() << "." << button.name;
          forms.push_back(*opened);
        }
        for (const OpenedForm& listed : forms) {
          for (const FormField& field : listed.fields) {
            if (field.kind == FieldKind::Label || field.kind == FieldKind::Button || !field.visible) continue;
            ++expected;
            const auto found = byAddress.find(listed.address + "." + field.name);
            ASSERT_NE(found, byAddress.end()) << path << " " << listed.address << "." << field.name;
            EXPECT_EQ(found->second->value, EditorForm::ValueText(field));
            EXPECT_EQ(found->second->label, field.label);
          }
        }
        subTotal += forms.size() - 1;
      }
    }
    EXPECT_EQ(fields.size(), expected) << path;
    total += fields.size();
  }
  EXPECT_GT(total, 1000u);
  EXPECT_GT(subTotal, 30u);
}

TEST(FormScriptTest, NoAssignmentsAcceptEveryFormAndChangeNoByte) {
  for (const std::string& path : testing::CorpusFiles()) {
    ScriptedImage edited(testing::ReadBytes(path));
    const auto before = edited.loaded.image.rawData;
    ScriptFailure failure;
    EXPECT_TRUE(edited.script.AcceptAll(failure)) << path << " " << failure.address << ": " << failure.message;
    EXPECT_TRUE(edited.loaded.image.rawData == before) << path;
    EXPECT_FALSE(edited.loaded.image.IsModified()) << path;
  }
}

// The kinds of field an assignment can reach, and a new value for each that
// the dialog may take or refuse.
enum class Kind { Check, List, Number, Real, Text, Row };

Kind KindOf(const FormField& field) {
  if (field.kind == FieldKind::Check) return Kind::Check;
  if (field.kind == FieldKind::List) return Kind::List;
  if (field.name.find('[') != std::string::npos) return Kind::Row;
  uint32_t number = 0;
  if (ReadDecimal(field.text, number) || ReadHex(field.text, number)) return Kind::Number;
  double real = 0;
  if (!field.text.empty() && ParseReal(field.text, real)) return Kind::Real;
  return Kind::Text;
}

std::string NewValue(const FormField& field) {
  switch (KindOf(field)) {
    case Kind::Check: return field.checked ? "off" : "on";
    case Kind::List: return std::to_string((field.selection + 1) % static_cast<int>(field.items.size()));
    case Kind::Number:
    case Kind::Row: {
      uint32_t number = 0;
      if (!ReadDecimal(field.text, number)) return "0x10";
      return std::to_string(number > 0 ? number - 1 : 1);
    }
    case Kind::Real: return "1.5";
    case Kind::Text: return "VELMAR";
  }
  return "";
}

TEST(FormScriptTest, AnAssignmentOfEachKindDoesWhatTheSameEditInTheFormDoes) {
  size_t compared = 0;
  for (const std::string& path : testing::CorpusFiles()) {
    const std::vector<uint8_t> bytes = testing::ReadBytes(path);
    LoadedImage probe(bytes);
    for (unsigned b = 0; b < probe.image.BlockCount(); ++b) {
      for (const std::string& name : probe.Page(b)->FormNames()) {
        const std::unique_ptr<EditorForm> form = probe.Page(b)->CreateForm(name);
        std::map<Kind, const FormField*> firsts;
        for (const FormField& field : form->Fields()) {
          if (field.kind == FieldKind::Label || field.kind == FieldKind::Button || !field.enabled || !field.visible) {
            continue;
          }
          firsts.emplace(KindOf(field), &field);
        }
        for (const auto& [kind, field] : firsts) {
          const std::string value = NewValue(*field);
          const std::string address = form->Address() + "." + field->name;
          // Through the form itself.
          LoadedImage direct(bytes);
          const std::unique_ptr<EditorForm> same = direct.Page(b)->CreateForm(name);
          std::string error;
          std::string message;
          const bool taken = same->Assign(field->name, value, error);
          const bool accepted = taken && same->Accept(message);
          // Through its address.
          ScriptedImage scripted(bytes);
          const std::string result = scripted.Run({{address, value}});
          EXPECT_EQ(result.empty(), accepted) << path << " " << address << "=" << value << ": " << result;
          if (taken && !accepted) {
            EXPECT_EQ(result, address + ": " + message);
          }
          EXPECT_TRUE(scripted.loaded.image.rawData == direct.image.rawData) << path << " " << address;
          if (accepted && !(direct.image.rawData == probe.image.rawData)) {
            EXPECT_NE(scripted.loaded.Summary(b), probe.Summary(b)) << path << " " << address;
          }
          ++compared;
        }
      }
    }
  }
  EXPECT_GT(compared, 100u);
}

TEST(FormScriptTest, AnAssignmentInAFormAButtonOpensDoesWhatTheSameEditThereDoes) {
  size_t compared = 0;
  for (const std::string& path : testing::CorpusFiles()) {
    const std::vector<uint8_t> bytes = testing::ReadBytes(path);
    LoadedImage probe(bytes);
    for (unsigned b = 0; b < probe.image.BlockCount(); ++b) {
      for (const std::string& name : probe.Page(b)->FormNames()) {
        const std::unique_ptr<EditorForm> form = probe.Page(b)->CreateForm(name);
        for (const FormField& button : form->Fields()) {
          if (button.kind != FieldKind::Button || !button.enabled) continue;
          const std::optional<OpenedForm> sub = OpenedBy(*form, button.name, probe.ui);
          ASSERT_TRUE(sub.has_value()) << path << " " << form->Address() << "." << button.name;
          std::map<Kind, const FormField*> firsts;
          for (const FormField& field : sub->fields) {
            if (field.kind == FieldKind::Label || field.kind == FieldKind::Button || !field.enabled || !field.visible) {
              continue;
            }
            firsts.emplace(KindOf(field), &field);
          }
          for (const auto& [kind, field] : firsts) {
            const std::string value = NewValue(*field);
            const std::string address = sub->address + "." + field->name;
            // Through the dialogs: the button, the field, the sub-form's OK, the form's OK.
            LoadedImage direct(bytes);
            const std::unique_ptr<EditorForm> same = direct.Page(b)->CreateForm(name);
            direct.ui.formAnswers.push_back({{{field->name, value}}, {}, true});
            ASSERT_TRUE(same->Press(button.name, direct.ui));
            const bool taken = std::find(direct.ui.events.begin(), direct.ui.events.end(), "refused: " + field->name) ==
                               direct.ui.events.end();
            std::string message;
            const bool accepted = taken && direct.ui.messages.empty() && same->Accept(message);
            // Through its address.
            ScriptedImage scripted(bytes);
            const std::string result = scripted.Run({{address, value}});
            EXPECT_EQ(result.empty(), accepted) << path << " " << address << "=" << value << ": " << result;
            if (taken && !direct.ui.messages.empty()) {
              EXPECT_EQ(result, address + ": " + direct.ui.messages.front());
            } else if (taken && !accepted) {
              EXPECT_EQ(result, address + ": " + message);
            }
            EXPECT_TRUE(scripted.loaded.image.rawData == direct.image.rawData) << path << " " << address;
            if (accepted && !(direct.image.rawData == probe.image.rawData)) {
              EXPECT_NE(scripted.loaded.Summary(b), probe.Summary(b)) << path << " " << address;
            }
            ++compared;
          }
        }
      }
    }
  }
  EXPECT_GT(compared, 30u);
}

TEST(FormScriptTest, FieldsOfOneFormGoTogetherBeforeItsOk) {
  ScriptedImage edited(ThreeBlocks());
  // The year is only open once the release kind is a date.
  EXPECT_EQ(edited.Run({{"di1.general.release", "Date Code"}, {"di1.general.year", "2010"},
                        {"di1.gamma.count", "7"}}),
            "");
  EXPECT_EQ(edited.loaded.image.rawData[128 + 3], 0xC0);
  EXPECT_EQ(edited.loaded.image.rawData[128 + 4], 20);
  EXPECT_EQ(edited.loaded.image.rawData[128 + 81], 7);
  EXPECT_TRUE(edited.loaded.image.IsModified());
  // A refusal names the field when it was the form's only one, else the form.
  EXPECT_EQ(edited.Run({{"base.general.year", "1989"}}), "base.general.year: Invalid [Year of Manufacture] value");
  EXPECT_EQ(edited.Run({{"di1.general.year", "1989"}, {"di1.general.day", "3"}}),
            "di1.general: Invalid Year (Valid Range 1990 --> 2245)");
  // Forms before the refusal were accepted; the refused one wrote nothing.
  const auto before = edited.loaded.image.rawData;
  EXPECT_EQ(edited.Run({{"di1.gamma.count", "8"}, {"di1.device.shape", "Oval"}, {"di1.format.min-clock", "300"}}),
            "di1.format.min-clock: Invalid Min Pixel Clock Per Link (Valid Range 0 --> 255)");
  EXPECT_EQ(edited.loaded.image.rawData[128 + 81], 8);
  EXPECT_EQ(edited.loaded.image.rawData[128 + 16], 4);
  EXPECT_EQ(edited.loaded.image.rawData[128 + 9], before[128 + 9]);
}

TEST(FormScriptTest, BadAddressesAndValuesAreNamed) {
  ScriptedImage edited(ThreeBlocks());
  const auto before = edited.loaded.image.rawData;
  const struct {
    Assignments assignments;
    const char* result;
  } cases[] = {
      {{{"di9.gamma.count", "1"}}, "di9.gamma.count: no block is addressed \"di9\""},
      {{{"year", "1"}}, "year: no block is addressed \"year\""},
      {{{"di1.nothing.count", "1"}}, "di1.nothing: no such form on this block now"},
      {{{"di1.gamma.counter", "1"}}, "di1.gamma.counter: no such field"},
      {{{"di1.general.year", "2001"}}, "di1.general.year: the field is disabled"},
      {{{"di1.gamma.type", "Triple"}}, "di1.gamma.type: no such item in the list"},
      {{{"di1.format.hdcp", "maybe"}}, "di1.format.hdcp: a check box takes on or off"},
      {{{"di1.general.major-version", "2"}}, "di1.general.major-version: the field is read-only"},
      {{{"di1.gamma", "remove"}}, "di1.gamma: nothing to remove here"},
      {{{"di1.gamma", "grow"}}, "di1.gamma: a page takes add, add:ITEM or remove here, or a form's field as "
                                "<form>.<field>"},
      {{{"base.slot9", "add:Display Product Name"}}, "base.slot9: nothing can be added here now"},
      {{{"block", "remove"}}, "block: a block is added with add:ITEM"},
  };
  for (const auto& c : cases) EXPECT_EQ(edited.Run(c.assignments), c.result);
  EXPECT_TRUE(edited.loaded.image.rawData == before);
}

TEST(FormScriptTest, PagesAddAndRemoveThroughTheirButtons) {
  ScriptedImage edited(ThreeBlocks());
  auto& image = edited.loaded.image;
  // Descriptor slots: slot 2 of the test block is empty.
  EXPECT_EQ(edited.Run({{"base.slot2", "add:Display Product Name"}}), "");
  EXPECT_EQ(static_cast<Edid13Block*>(image.GetPage(0)->GetBlock())->GetDescriptorKind(1),
            kDescriptorProductName);
  EXPECT_EQ(edited.Run({{"base.slot2", "add:Display Product Name"}}), "base.slot2: nothing can be added here now");
  EXPECT_EQ(edited.Run({{"base.slot3", "add:Display Product Name"}}),
            "base.slot3: no item \"Display Product Name\" in the list (one of: Detailed Timing, Display Product Serial "
            "Number, ASCII Data String, Display Range Limits, Color Point Data, Standard Timing Identifications)");
  EXPECT_EQ(edited.Run({{"base.slot3", "add"}}),
            "base.slot3: name the item to add: add:ITEM (one of: Detailed Timing, Display Product Serial Number, "
            "ASCII Data String, Display Range Limits, Color Point Data, Standard Timing Identifications)");
  EXPECT_EQ(edited.Run({{"base.slot2", "remove"}}), "");
  EXPECT_EQ(static_cast<Edid13Block*>(image.GetPage(0)->GetBlock())->GetDescriptorKind(1), 0u);

  // The CEA block's data blocks and detailed timings.
  const std::string cea = image.GetPage(2)->FormPrefix();
  EXPECT_EQ(edited.Run({{cea + ".db", "add:Speaker Allocation Data Block"}, {cea + ".dtd", "add"},
                        {cea + ".dtd", "add"}}),
            "");
  ContentCollector summary;
  image.GetPage(2)->AppendSummary(&summary);
  EXPECT_NE(summary.Text().find("Number Of Data Blocks.....: 1\r\n"), std::string::npos);
  EXPECT_NE(summary.Text().find("Number Of Detailed Timings: 2\r\n"), std::string::npos);
  // The button ran before it could tell that it opens no list.
  EXPECT_EQ(edited.Run({{cea + ".dtd", "add:Detailed Timing"}}),
            cea + ".dtd: this addition offers no list to choose \"Detailed Timing\" from");
  EXPECT_EQ(edited.Run({{cea + ".db1", "remove"}, {cea + ".dtd2", "remove"}}), "");
  EXPECT_EQ(edited.Run({{cea + ".db1", "remove"}}), cea + ".db1: nothing to remove here");
  ContentCollector after;
  image.GetPage(2)->AppendSummary(&after);
  EXPECT_NE(after.Text().find("Number Of Data Blocks.....: 0\r\n"), std::string::npos);
  EXPECT_NE(after.Text().find("Number Of Detailed Timings: 2\r\n"), std::string::npos);

  // A new block at the end, addressed at once by its position.
  EXPECT_EQ(edited.Run({{"block", "add:EDID DI Ext Block"}, {"di3.gamma.count", "2"}}), "");
  ASSERT_EQ(image.BlockCount(), 4u);
  EXPECT_EQ(image.rawData[384 + 81], 2);
  EXPECT_EQ(image.GetPage(0)->GetExtensionCount(), 3u);
  EXPECT_EQ(edited.Run({{"block", "add:Unknown Block"}}),
            "block: no item \"Unknown Block\" in the list (one of: EDID CEA Ext Block, EDID DI Ext Block, "
            "DID Ext Block)");
}

TEST(FormScriptTest, ValuesEscapeToOneLineAndBack) {
  const std::string raw = std::string("a\\b\tc\nd\re") + '\x01' + '\x7F' + "\xC3\xA9";
  const std::string escaped = FormScript::EscapeValue(raw);
  EXPECT_EQ(escaped, "a\\\\b\\tc\\nd\\re\\x01\\x7F\xC3\xA9");
  std::string back;
  EXPECT_TRUE(FormScript::UnescapeValue(escaped, back));
  EXPECT_EQ(back, raw);
  for (const char* bad : {"\\", "a\\q", "\\x4", "\\xG1"}) EXPECT_FALSE(FormScript::UnescapeValue(bad, back)) << bad;
}

}  // namespace
}  // namespace velmar
