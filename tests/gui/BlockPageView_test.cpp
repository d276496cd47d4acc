#include "pages/view/BlockPageView.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QPushButton>
#include <vector>

#include "gui/QtTestSupport.h"

namespace velmar {
namespace {

// A page whose grid the test writes and whose handlers record their calls.
// It wires the left item buttons only, like a DI-EXT page.
class ScriptedPage : public BlockPage {
 public:
  ScriptedPage() : BlockPage("Scripted", 0, nullptr, nullptr) {}

  void OnLeftItem(int id) override { calls.push_back(id); }
  void OnLeftAction(int id) override { calls.push_back(id); }
  void OnRightItem(int id) override { calls.push_back(id); }
  void OnRightAction(int id) override { calls.push_back(id); }
  void Refresh() override {
    BlockPage::Refresh();
    ++refreshes;
    for (const auto& [id, state] : layout) *MutableControl(id) = state;
    NotifyView();
  }
  // Marks the grid as changed while the page is not shown.
  void MarkPending() { refreshPending = true; }

  std::vector<std::pair<int, GridControlState>> layout;
  std::vector<int> calls;
  int refreshes = 0;

 protected:
  unsigned WiredRanges() const override { return kWireLeftItems; }
};

class BlockPageViewTest : public ::testing::Test {
 protected:
  QApplication* app = testing::EnsureQtApp();
  ScriptedPage page;
};

TEST_F(BlockPageViewTest, DrawsTheGridStateAtTheTemplatePositions) {
  page.layout = {{kLeftItemId, {"General Info", true, true}},
                 {kLeftActionId, {"", false, false}},
                 {kLeftActionId + 1, {"Remove", true, true}},
                 {kRightItemId + 2, {"Audio & Video", true, true}},
                 {kRightFrameId + 8, {"", false, false}}};
  BlockPageView view(&page);
  view.resize(370 * 2, 205 * 2);  // two pixels a unit both ways
  view.show();
  EXPECT_EQ(page.refreshes, 1);  // the page builds its grid when its window comes up

  EXPECT_EQ(view.Button(kLeftItemId)->text(), "General Info");
  EXPECT_TRUE(view.Button(kLeftItemId)->isEnabled());
  EXPECT_FALSE(view.Button(kLeftActionId)->isVisible());
  EXPECT_EQ(view.Button(kLeftActionId + 1)->text(), "Remove");
  EXPECT_EQ(view.Button(kRightItemId + 2)->text(), "Audio && Video");  // no shortcut letter
  EXPECT_EQ(view.Button(kLeftItemId + 5)->text(), "");
  EXPECT_FALSE(view.Button(kLeftItemId + 5)->isEnabled());
  EXPECT_TRUE(view.Button(kLeftItemId + 5)->isVisible());
  EXPECT_FALSE(view.Frame(kRightFrameId + 8)->isVisible());
  EXPECT_TRUE(view.Frame(kLeftFrameId)->isVisible());

  // The template in dialog units, at 2 pixels a unit (base units 8 x 16).
  EXPECT_EQ(view.Button(kLeftItemId + 1)->geometry(), QRect(8, 2 * (12 + 21), 240, 30));
  EXPECT_EQ(view.Button(kLeftActionId)->geometry(), QRect(252, 24, 110, 30));
  EXPECT_EQ(view.Button(kRightActionId + 8)->geometry(), QRect(372, 2 * (12 + 21 * 8), 110, 30));
  EXPECT_EQ(view.Button(kRightItemId)->geometry(), QRect(486, 24, 240, 30));
  EXPECT_EQ(view.Frame(kLeftFrameId + 2)->geometry(), QRect(4, 2 * (5 + 42), 364, 52));
  EXPECT_EQ(view.Frame(kRightFrameId)->geometry(), QRect(368, 10, 364, 52));
}

TEST_F(BlockPageViewTest, ClicksGoThroughThePagesWiringAndEnterDoesNot) {
  page.layout = {{kLeftItemId, {"General Info", true, true}}, {kRightActionId, {"Add DataBlock", true, true}}};
  BlockPageView view(&page);
  view.show();
  view.Button(kLeftItemId)->click();
  view.Button(kRightActionId)->click();  // not wired on this page
  EXPECT_EQ(page.calls, std::vector<int>({kLeftItemId}));

  // Enter acts on the focused grid button whatever the wiring.
  view.Button(kRightActionId)->setFocus();
  EXPECT_TRUE(testing::PressKey(view.Button(kRightActionId), Qt::Key_Return));
  EXPECT_EQ(page.calls, std::vector<int>({kLeftItemId, kRightActionId}));
  // Escape is consumed and does nothing.
  EXPECT_TRUE(testing::PressKey(view.Button(kRightActionId), Qt::Key_Escape));
  EXPECT_EQ(page.calls.size(), 2u);
}

TEST_F(BlockPageViewTest, EnterWithoutAFocusedGridButtonDoesNothingButIsConsumed) {
  BlockPageView view(&page);
  view.show();
  view.setFocus();
  EXPECT_TRUE(testing::PressKey(&view, Qt::Key_Enter));
  EXPECT_TRUE(page.calls.empty());
}

TEST_F(BlockPageViewTest, APendingPageRefreshesOnceWhenActivated) {
  BlockPageView view(&page);
  view.show();
  EXPECT_EQ(page.refreshes, 1);
  page.layout = {{kLeftItemId, {"Later", true, true}}};
  page.MarkPending();
  EXPECT_EQ(view.Button(kLeftItemId)->text(), "");
  page.Activate();
  page.Activate();
  EXPECT_EQ(page.refreshes, 2);
  EXPECT_EQ(view.Button(kLeftItemId)->text(), "Later");
}

TEST_F(BlockPageViewTest, ADetachedViewShowsABlankGridAndCallsNothing) {
  page.layout = {{kLeftItemId, {"General Info", true, true}}};
  BlockPageView view(&page);
  view.show();
  view.Detach();
  EXPECT_EQ(view.Page(), nullptr);
  EXPECT_EQ(view.Button(kLeftItemId)->text(), "");
  view.Button(kLeftItemId)->click();
  view.Button(kLeftItemId)->setFocus();
  testing::PressKey(view.Button(kLeftItemId), Qt::Key_Return);
  EXPECT_TRUE(page.calls.empty());
  // The page no longer tells the view anything.
  page.Refresh();
  EXPECT_EQ(view.Button(kLeftItemId)->text(), "");
}

}  // namespace
}  // namespace velmar
