#include <gtest/gtest.h>

#include "blocks/VideoFormatTable.h"

namespace velmar {
namespace {

TEST(VideoFormatTableTest, CoversVics1To62Only) {
  EXPECT_EQ(VideoFormatTable::Find(0), nullptr);
  EXPECT_EQ(VideoFormatTable::Find(63), nullptr);
  EXPECT_EQ(VideoFormatTable::Find(127), nullptr);
  for (unsigned vic = 1; vic <= 62; ++vic) {
    const VideoFormat* row = VideoFormatTable::Find(vic);
    ASSERT_NE(row, nullptr) << vic;
    EXPECT_EQ(row->vic, vic);
    // The 1000/1001 clock is never above the integer-rate clock.
    EXPECT_LE(row->clock1001KHz, row->clockKHz) << vic;
  }
}

TEST(VideoFormatTableTest, RowsHoldTheirColumns) {
  const VideoFormat* vic6 = VideoFormatTable::Find(6);
  EXPECT_EQ(vic6->width, 1440);
  EXPECT_EQ(vic6->height, 480);
  EXPECT_FALSE(vic6->progressive);
  EXPECT_EQ(vic6->refreshHz, 60);
  EXPECT_EQ(vic6->aspect, PictureAspect::Aspect4x3);
  EXPECT_EQ(vic6->repetition, 2);
  EXPECT_EQ(vic6->DisplayedWidth(), 720u);
  EXPECT_EQ(vic6->clockKHz, 27027u);
  EXPECT_EQ(vic6->clock1001KHz, 27000u);
  EXPECT_TRUE(vic6->HasFractionalRate());

  const VideoFormat* vic39 = VideoFormatTable::Find(39);
  EXPECT_EQ(vic39->clockKHz, 72000u);
  EXPECT_EQ(vic39->refreshHz, 50);
  EXPECT_FALSE(vic39->HasFractionalRate());

  const VideoFormat* vic10 = VideoFormatTable::Find(10);
  EXPECT_EQ(vic10->DisplayedWidth(), 720u);
  EXPECT_EQ(VideoFormatTable::Find(62)->clock1001KHz, 74176u);
  EXPECT_EQ(VideoFormatTable::Find(16)->aspect, PictureAspect::Aspect16x9);

  unsigned fractional = 0;
  for (unsigned vic = 1; vic <= 62; ++vic) fractional += VideoFormatTable::Find(vic)->HasFractionalRate() ? 1 : 0;
  EXPECT_EQ(fractional, 28u);
}

TEST(VideoFormatTableTest, MatchNeedsTheRateAsWellAsSizeScanAndClock) {
  // 1920x1080p at 148.5 MHz is VIC 16 at 60 Hz and VIC 31 at 50 Hz.
  EXPECT_EQ(VideoFormatTable::Match(1920, 1080, false, 148500, 60)->vic, 16);
  EXPECT_EQ(VideoFormatTable::Match(1920, 1080, false, 148500, 50)->vic, 31);
  EXPECT_EQ(VideoFormatTable::Match(1920, 1080, false, 148352, 60)->vic, 16);
  EXPECT_EQ(VideoFormatTable::Match(1920, 1080, false, 148350, 60), nullptr);
  EXPECT_EQ(VideoFormatTable::Match(1920, 1080, false, 148500, 59), nullptr);
  // Interlaced rows are found by their frame height only.
  EXPECT_EQ(VideoFormatTable::Match(1920, 1080, true, 74250, 60)->vic, 5);
  EXPECT_EQ(VideoFormatTable::Match(1920, 540, true, 74250, 60), nullptr);
  EXPECT_EQ(VideoFormatTable::Match(1920, 1080, false, 74250, 60), nullptr);
  // Rows that differ only in aspect: the first one is taken.
  EXPECT_EQ(VideoFormatTable::Match(720, 480, false, 27000, 60)->vic, 2);
  EXPECT_EQ(VideoFormatTable::Match(1280, 720, false, 74250, 24)->vic, 60);
}

TEST(VideoFormatTableTest, FractionalOnlyWhenTheClocksDiffer) {
  const VideoFormat& vic2 = *VideoFormatTable::Find(2);
  EXPECT_TRUE(VideoFormatTable::IsFractional(vic2, 27000));
  EXPECT_FALSE(VideoFormatTable::IsFractional(vic2, 27027));
  // VIC 17 has one clock for both columns: a timing at it is never fractional.
  EXPECT_FALSE(VideoFormatTable::IsFractional(*VideoFormatTable::Find(17), 27000));
}

}  // namespace
}  // namespace velmar
