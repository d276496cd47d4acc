#include "app/UndoHistory.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/MainWindowCore.h"
#include "pages/BlockPage.h"
#include "pages/EdidBaseBlockPage.h"
#include "app/ImageFiles.h"
#include "support/ScriptedUserInterface.h"
#include "support/TestData.h"

namespace velmar {
namespace {

using testing::ScriptedUserInterface;
using Bytes = UndoHistory::Bytes;

Bytes StateWith(uint8_t first) {
  Bytes bytes{};
  bytes[0] = first;
  return bytes;
}

TEST(UndoHistoryTest, StepsMoveBetweenRecordedStates) {
  // Each row: an operation, then the first byte of the current state and the
  // undo and redo counts afterwards.
  struct Row {
    const char* operation;  // "record N", "undo", "redo"
    int expectedFirst;
    size_t undo;
    size_t redo;
  };
  const Row rows[] = {
      {"record 0", 0, 0, 0},  // the same bytes record nothing
      {"record 1", 1, 1, 0}, {"record 2", 2, 2, 0}, {"record 3", 3, 3, 0}, {"undo", 2, 2, 1},
      {"undo", 1, 1, 2},     {"redo", 2, 2, 1},     {"record 7", 7, 3, 0},  // a new step drops the redo steps
      {"redo", 7, 3, 0},     {"undo", 2, 2, 1},     {"undo", 1, 1, 2},     {"undo", 0, 0, 3},
      {"undo", 0, 0, 3},     {"redo", 1, 1, 2},
  };
  UndoHistory history;
  for (const Row& row : rows) {
    const std::string operation = row.operation;
    if (operation == "undo") {
      history.Undo();
    } else if (operation == "redo") {
      history.Redo();
    } else {
      history.Record(StateWith(static_cast<uint8_t>(std::stoi(operation.substr(7)))));
    }
    SCOPED_TRACE(operation);
    EXPECT_EQ(history.Current()[0], row.expectedFirst);
    EXPECT_EQ(history.UndoCount(), row.undo);
    EXPECT_EQ(history.RedoCount(), row.redo);
  }
}

TEST(UndoHistoryTest, KeepsABoundedNumberOfStepsAndForgetsTheOldest) {
  UndoHistory history;
  for (unsigned i = 1; i <= UndoHistory::kMaxUndoSteps + 10; ++i) {
    Bytes bytes{};
    bytes[0] = static_cast<uint8_t>(i);
    bytes[1] = static_cast<uint8_t>(i >> 8);
    history.Record(bytes);
  }
  EXPECT_EQ(history.UndoCount(), UndoHistory::kMaxUndoSteps);
  while (history.Undo()) {
  }
  EXPECT_EQ(history.Current()[0], 10);  // states 0-9 are gone
}

// Whole actions of the user on real EDIDs, through the main window's core: each
// one is a step, undo restores the bytes exactly, redo brings them back.
class ImageUndoTest : public ::testing::Test {
 protected:
  EdidImage& Image() { return core.Image(); }
  void Load(const std::string& path) {
    core.Perform([&] { LoadImageFile(Image(), SourceKind::BinFile, path); });
  }
  void Press(unsigned page, int id) {
    core.Perform([&] { Image().GetPage(page)->PressButton(id); });
  }
  Bytes Now() { return Image().rawData; }

  ScriptedUserInterface ui;
  MainWindowCore core{ui};
};

TEST_F(ImageUndoTest, EveryKindOfChangeIsUndoneAndRedoneExactlyOnTheCorpus) {
  size_t baseImages = 0;
  for (const std::string& path : testing::CorpusFiles()) {
    SCOPED_TRACE(path);
    ui.Clear();
    ui.choices.clear();
    ui.formAnswers.clear();
    ui.rawEdits.clear();
    Load(path);
    if (Image().BlockCount() == 0) continue;  // nothing to edit in it
    EXPECT_FALSE(Image().CanUndo());  // a load starts a new history
    std::vector<Bytes> states = {Now()};
    auto step = [&](const std::function<void()>& action) {
      core.Perform(action);
      if (Now() != states.back()) states.push_back(Now());
    };

    if (dynamic_cast<EdidBaseBlockPage*>(Image().GetPage(0)) != nullptr) {
      ++baseImages;
      // An editor dialog's OK.
      ui.formAnswers.push_back({{{"year", "2031"}}, {}, true});
      step([&] { Image().GetPage(0)->PressButton(kLeftItemId); });
      // A descriptor removed, then added back as a dummy or whatever comes first.
      step([&] { Image().GetPage(0)->PressButton(kLeftActionId + EdidBaseBlockPage::kFirstSlotRow + 3); });
      ui.choices.push_back(0);
      step([&] { Image().GetPage(0)->PressButton(kLeftActionId + EdidBaseBlockPage::kFirstSlotRow + 3); });
    }
    // A block added (a DI extension) and the raw data editor.
    if (Image().Buttons().addBlock) {
      ui.choices.push_back(1);
      step([&] { core.AddBlock(); });
    }
    ui.rawEdits.push_back({{17, static_cast<uint8_t>(Image().rawData[17] ^ 0x5A)}});
    step([&] { core.EditRawData(); });
    // The last block removed.
    if (Image().BlockCount() > 1) {
      Image().SetActivePage(static_cast<int>(Image().BlockCount() - 1));
      step([&] { core.RemoveBlock(); });
    }
    ASSERT_GE(states.size(), 3u);
    EXPECT_TRUE(Image().IsModified());

    for (size_t i = states.size() - 1; i > 0; --i) {
      ASSERT_TRUE(Image().CanUndo());
      core.Perform([&] { core.Undo(); });
      ASSERT_EQ(Now(), states[i - 1]) << "undo to state " << i - 1;
    }
    EXPECT_FALSE(Image().CanUndo());
    EXPECT_FALSE(Image().IsModified());  // back at the loaded bytes
    EXPECT_EQ(Image().Labels().modifiedMark, "");
    for (size_t i = 1; i < states.size(); ++i) {
      core.Perform([&] { core.Redo(); });
      ASSERT_EQ(Now(), states[i]) << "redo to state " << i;
      EXPECT_EQ(Image().Labels().modifiedMark, "[Modified]");
    }
    EXPECT_FALSE(Image().CanRedo());
  }
  EXPECT_GT(baseImages, 50u);
}

TEST_F(ImageUndoTest, TheMarkFollowsTheSavedStateBothWays) {
  const std::string folder = testing::MakeTempDir();
  Load(testing::CorpusFiles().front());
  ui.formAnswers.push_back({{{"year", "2031"}}, {}, true});
  Press(0, kLeftItemId);
  ui.formAnswers.push_back({{{"year", "2032"}}, {}, true});
  Press(0, kLeftItemId);
  ui.savePaths.push_back(folder + "/saved.bin");
  core.Perform([&] { core.SaveFile(SourceKind::BinFile); });
  const Bytes saved = Now();
  ui.formAnswers.push_back({{{"year", "2033"}}, {}, true});
  Press(0, kLeftItemId);
  EXPECT_EQ(Image().Labels().modifiedMark, "[Modified]");

  core.Undo();  // back at the saved bytes
  EXPECT_EQ(Now(), saved);
  EXPECT_FALSE(Image().IsModified());
  EXPECT_EQ(Image().Labels().modifiedMark, "");
  EXPECT_EQ(Image().Labels().source, "saved.bin (Binary File)");
  core.Undo();  // before the save
  EXPECT_TRUE(Image().IsModified());
  EXPECT_EQ(Image().Labels().modifiedMark, "[Modified]");
  core.Redo();
  EXPECT_FALSE(Image().IsModified());
  testing::RemoveTree(folder);
}

TEST_F(ImageUndoTest, ActionsThatChangeNothingRecordNothing) {
  Load(testing::CorpusFiles().front());
  ui.formAnswers.push_back({{}, {}, true});  // OK without a change
  Press(0, kLeftItemId);
  ui.answers.push_back(false);  // the removal question cancelled
  Press(0, kLeftActionId + EdidBaseBlockPage::kFirstSlotRow);
  core.Perform([&] { core.ShowSummary(); });
  EXPECT_FALSE(Image().CanUndo());
}

TEST_F(ImageUndoTest, AChangeMadeOutsideAnActionIsAStepOfItsOwn) {
  Load(testing::CorpusFiles().front());
  const Bytes loaded = Now();
  Image().GetPage(0)->PressButton(kLeftActionId + EdidBaseBlockPage::kFirstSlotRow + 3);
  const Bytes removed = Now();
  ui.rawEdits.push_back({{17, static_cast<uint8_t>(Image().rawData[17] ^ 1)}});
  core.Perform([&] { core.EditRawData(); });
  core.Undo();
  EXPECT_EQ(Now(), removed);
  core.Undo();
  EXPECT_EQ(Now(), loaded);
}

TEST_F(ImageUndoTest, UndoKeepsTheActivePageAndALoadForgetsTheHistory) {
  Load(testing::CorpusFiles().front());
  ASSERT_GT(Image().BlockCount(), 1u);
  Image().SetActivePage(1);
  ui.rawEdits.push_back({{17, static_cast<uint8_t>(Image().rawData[17] ^ 1)}});
  core.Perform([&] { core.EditRawData(); });
  Image().SetActivePage(1);
  core.Undo();
  EXPECT_EQ(Image().ActiveIndex(), 1);
  EXPECT_TRUE(Image().CanRedo());
  Load(testing::CorpusFiles().back());
  EXPECT_FALSE(Image().CanUndo());
  EXPECT_FALSE(Image().CanRedo());
}

}  // namespace
}  // namespace velmar
