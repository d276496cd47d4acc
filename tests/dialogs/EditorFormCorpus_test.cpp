// Every editor form of every block of the real EDIDs: opened and accepted
// unchanged, it writes no byte and leaves the image unmodified. A form that
// any page offers is covered here as soon as the page lists it.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>

#include "app/EdidImage.h"
#include "dialogs/EditorForm.h"
#include "pages/BlockPage.h"
#include "support/ScriptedUserInterface.h"
#include "support/TestData.h"

namespace velmar {
namespace {

TEST(EditorFormCorpusTest, UnchangedOkWritesNothing) {
  size_t forms = 0;
  for (const std::string& path : testing::CorpusFiles()) {
    testing::ScriptedUserInterface ui;
    EdidImage image(ui);
    const std::vector<uint8_t> bytes = testing::ReadBytes(path);
    std::copy_n(bytes.begin(), std::min<size_t>(bytes.size(), kMaxEdidSize), image.rawData.begin());
    image.Rebuild();
    image.ClearModified();
    ui.Clear();  // what the load itself said
    const std::array<uint8_t, kMaxEdidSize> before = image.rawData;
    for (unsigned b = 0; b < image.BlockCount(); ++b) {
      BlockPage* page = image.GetPage(b);
      for (const std::string& name : page->FormNames()) {
        std::unique_ptr<EditorForm> form = page->CreateForm(name);
        ASSERT_NE(form, nullptr) << path << " " << name;
        EXPECT_EQ(form->Address(), page->FormPrefix() + "." + name);
        EXPECT_FALSE(form->Changed()) << path << " " << form->Address();
        std::string message;
        EXPECT_TRUE(form->Accept(message)) << path << " " << form->Address() << ": " << message;
        EXPECT_TRUE(message.empty());
        EXPECT_TRUE(image.rawData == before) << path << " " << form->Address();
        ++forms;
      }
    }
    EXPECT_FALSE(image.IsModified()) << path;
    EXPECT_TRUE(ui.messages.empty()) << path;
  }
  EXPECT_GT(forms, 0u);
}

}  // namespace
}  // namespace velmar
