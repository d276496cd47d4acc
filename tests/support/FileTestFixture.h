#pragma once

#include <gtest/gtest.h>

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
    const EdidImage& image = core.Image();
    return std::vector<uint8_t>(image.rawData.begin(), image.rawData.begin() + image.GetUsedSize());
  }

  std::string dir;
  ScriptedUserInterface ui;
  MainWindowCore core{ui};
};

}  // namespace velmar::testing
