#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "app/ImageFiles.h"
#include "app/MainWindowCore.h"
#include "support/ScriptedUserInterface.h"
#include "support/TestData.h"

namespace velmar::testing {

// A fresh temporary folder per test and a headless main window core over a
// scripted user interface.
class FileTestFixture : public ::testing::Test {
 protected:
  void SetUp() override { dir = MakeTempDir(); }
  void TearDown() override { RemoveTree(dir); }
  std::string Path(const std::string& name) const { return dir + "/" + name; }
  void WriteBytes(const std::string& name, const std::vector<uint8_t>& bytes) {
    WriteTextFile(Path(name), std::string(bytes.begin(), bytes.end()));
  }
  // Loads raw bytes through the bin reader; returns the messages the load showed.
  std::vector<std::string> LoadBytes(const std::vector<uint8_t>& bytes) {
    WriteBytes("in.bin", bytes);
    EXPECT_TRUE(LoadImageFile(core.Image(), SourceKind::BinFile, Path("in.bin")));
    const std::vector<std::string> messages = ui.messages;
    ui.Clear();
    return messages;
  }
  // The image's bytes up to its used size.
  std::vector<uint8_t> Used() const {
    // Sized first, then filled: the iterator-range constructor makes g++ 12
    // at -O3 warn, wrongly, about freeing a pointer into the buffer.
    const EdidImage& image = core.Image();
    std::vector<uint8_t> used(image.GetUsedSize());
    std::copy_n(image.rawData.begin(), used.size(), used.begin());
    return used;
  }

  std::string dir;
  ScriptedUserInterface ui;
  MainWindowCore core{ui};
};

}  // namespace velmar::testing
