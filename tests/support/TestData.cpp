#include "support/TestData.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "blocks/DataBlock.h"
#include "blocks/Edid13Block.h"

namespace velmar::testing {

std::string CorpusDir() { return std::string(VELMAR_TEST_DATA_DIR) + "/corpus"; }

std::vector<std::string> CorpusFiles() {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(CorpusDir())) {
    if (entry.path().extension() == ".bin") files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string MakeTempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "velmar-test-XXXXXX").string();
  const char* made = mkdtemp(pattern.data());
  return made != nullptr ? std::string(made) : std::string();
}

void RemoveTree(const std::string& path) {
  std::error_code ignored;
  std::filesystem::permissions(path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path, ignored);
}

void WriteTextFile(const std::string& path, const std::string& contents) {
  std::ofstream out(path, std::ios::binary);
  out << contents;
}

std::string ReadTextFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

EncodeOptions DatedOptions(const LocalTime& date) {
  EncodeOptions options;
  options.date = date;
  return options;
}

EncodeOptions RegistryOptions(const std::string& key, const std::string& valueName) {
  EncodeOptions options;
  options.registryPath = key;
  options.valueName = valueName;
  return options;
}

std::vector<uint8_t> MakeBase13(unsigned extensions) {
  std::vector<uint8_t> bytes(kBlockSize);
  Edid13Block::InitDefaultBytes(bytes.data(), kBlockSize);
  bytes[kEdidExtensionCountByte] = static_cast<uint8_t>(extensions);
  FixChecksum(bytes.data());
  return bytes;
}

void FixChecksum(uint8_t* block) { block[kBlockSize - 1] = DataBlock::ComputeChecksum(block, kBlockSize - 1); }

std::vector<uint8_t> RandomBytes(std::mt19937& random, size_t count) {
  std::uniform_int_distribution<int> byte(0, 255);
  std::vector<uint8_t> bytes(count);
  for (uint8_t& b : bytes) b = static_cast<uint8_t>(byte(random));
  return bytes;
}

}  // namespace velmar::testing
