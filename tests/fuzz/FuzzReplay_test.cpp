#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "fuzz/FuzzTargets.h"
#include "support/TestData.h"

namespace velmar {
namespace {

using Target = void (*)(const uint8_t*, size_t);

std::vector<std::string> RegressionInputs(const std::string& target) {
  std::vector<std::string> files;
  const std::filesystem::path folder = std::filesystem::path(VELMAR_TEST_DATA_DIR) / "../../fuzz/regressions" / target;
  if (!std::filesystem::exists(folder)) return files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.is_regular_file() && entry.path().filename().string()[0] != '.') files.push_back(entry.path().string());
  }
  return files;
}

void Replay(Target target, const std::vector<std::string>& files) {
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    const std::vector<uint8_t> bytes = testing::ReadBytes(file);
    target(bytes.data(), bytes.size());
  }
}

// Every real EDID through the image and file targets: every view runs, and
// each of the four file formats reads back the same used bytes.
TEST(FuzzReplayTest, RealEdidsThroughEveryView) {
  Replay(fuzz::FuzzImage, testing::CorpusFiles());
  Replay(fuzz::FuzzBinFile, testing::CorpusFiles());
}

// Seeded random edit programs over real EDIDs and over an empty image: the
// same invariants as the edit fuzz target, in every test run.
TEST(FuzzReplayTest, RandomEditProgramsKeepTheImageInvariants) {
  std::mt19937 random(20261208);
  const std::vector<std::string> files = testing::CorpusFiles();
  for (int run = 0; run < 400; ++run) {
    std::vector<uint8_t> program;
    if (run % 4 != 0) program = testing::ReadBytes(files[static_cast<size_t>(run) % files.size()]);
    else program.push_back(0x01);  // start empty
    const size_t length = 64 + random() % 512;
    for (size_t i = 0; i < length; ++i) program.push_back(static_cast<uint8_t>(random()));
    SCOPED_TRACE(run);
    fuzz::FuzzEdit(program.data(), program.size());
  }
}

TEST(FuzzReplayTest, KeptRegressionInputs) {
  Replay(fuzz::FuzzImage, RegressionInputs("image"));
  Replay(fuzz::FuzzBinFile, RegressionInputs("bin"));
  Replay(fuzz::FuzzTxtFile, RegressionInputs("txt"));
  Replay(fuzz::FuzzInfFile, RegressionInputs("inf"));
  Replay(fuzz::FuzzRegFile, RegressionInputs("reg"));
  Replay(fuzz::FuzzEdit, RegressionInputs("edit"));
}

}  // namespace
}  // namespace velmar
