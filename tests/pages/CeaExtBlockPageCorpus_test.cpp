// The CEA texts of the real EDIDs of the corpus: every summary, report, mode
// list and byte map runs, and the values that edid-decode also decodes (the
// physical address, the TMDS clock, the short video descriptors) agree with
// its output in tests/data/corpus/ref.

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "common/Callbacks.h"
#include "app/EdidImage.h"
#include "blocks/CeaExtBlock.h"
#include "pages/CeaExtBlockPage.h"
#include "support/ScriptedUserInterface.h"
#include "support/TestData.h"
#include "util/Format.h"

namespace velmar {
namespace {

// What both decoders say about one CEA block.
struct Facts {
  std::vector<std::string> physicalAddresses;
  std::vector<unsigned> tmdsClocks;  // non-zero ones only
  std::vector<unsigned> vics;        // 1-62, in order
  bool operator==(const Facts&) const = default;
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

bool StartsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

// From edid-decode's text: one entry per "CTA-861 Extension Block".
std::vector<Facts> RefFacts(const std::string& text) {
  std::vector<Facts> out;
  bool inVideo = false;
  for (const std::string& line : Lines(text)) {
    if (line.find("CTA-861 Extension Block") != std::string::npos && StartsWith(line, "Block ")) {
      out.emplace_back();
      continue;
    }
    if (out.empty()) continue;
    if (StartsWith(line, "  ") && !StartsWith(line, "    ")) inVideo = line == "  Video Data Block:";
    if (!StartsWith(line, "  ")) inVideo = false;
    unsigned value = 0;
    if (const size_t at = line.find("Source physical address: "); at != std::string::npos) {
      out.back().physicalAddresses.push_back(line.substr(at + 25));
    } else if (std::sscanf(line.c_str(), "    Maximum TMDS clock: %u MHz", &value) == 1) {
      out.back().tmdsClocks.push_back(value);
    } else if (inVideo && std::sscanf(line.c_str(), "    VIC %u:", &value) == 1 && value >= 1 && value <= 62) {
      out.back().vics.push_back(value);
    }
  }
  return out;
}

// From our summary: one entry per "[EDID CEA EXTENSION BLOCK]".
std::vector<Facts> OurFacts(const std::string& text) {
  std::vector<Facts> out;
  bool inVideo = false;
  for (const std::string& line : Lines(text)) {
    if (line == "[EDID CEA EXTENSION BLOCK]") {
      out.emplace_back();
      continue;
    }
    if (out.empty()) continue;
    if (StartsWith(line, "  [")) inVideo = line.find(": Video Data Block]") != std::string::npos;
    unsigned value = 0;
    if (StartsWith(line, "  Source Physical Address....: ")) {
      out.back().physicalAddresses.push_back(line.substr(31));
    } else if (std::sscanf(line.c_str(), "  Max TMDS Pixel Clock.......: %uMHz", &value) == 1 && value != 0) {
      out.back().tmdsClocks.push_back(value);
    } else if (inVideo && std::sscanf(line.c_str(), "  CEA[%u]:", &value) == 1) {
      out.back().vics.push_back(value);
    }
  }
  return out;
}

class CorpusImage {
 public:
  explicit CorpusImage(const std::string& path) : image(ui) {
    const std::vector<uint8_t> bytes = testing::ReadBytes(path);
    std::copy_n(bytes.begin(), std::min<size_t>(bytes.size(), kMaxEdidSize), image.rawData.begin());
    image.Rebuild();
  }
  std::string Content(unsigned kind) {
    ContentCollector out;
    image.FillContent(&out, kind);
    return out.Text();
  }
  std::vector<CeaExtBlock*> CeaModels() const {
    std::vector<CeaExtBlock*> out;
    for (unsigned i = 0; i < image.BlockCount(); ++i) {
      if (auto* page = dynamic_cast<CeaExtBlockPage*>(image.GetPage(i)); page != nullptr && page->Model()) {
        out.push_back(page->Model());
      }
    }
    return out;
  }

  testing::ScriptedUserInterface ui;
  EdidImage image;
};

TEST(CeaExtBlockPageCorpusTest, EveryTextOfEveryRealCeaBlock) {
  unsigned ceaBlocks = 0;
  unsigned dataBlocks = 0;
  for (const std::string& path : testing::CorpusFiles()) {
    CorpusImage corpus(path);
    const std::vector<CeaExtBlock*> models = corpus.CeaModels();
    if (models.empty()) continue;
    const std::string summary = corpus.Content(kContentSummary);
    const std::string report = corpus.Content(kContentErrorsReport);
    size_t from = 0;
    for (CeaExtBlock* model : models) {
      ++ceaBlocks;
      from = summary.find("[EDID CEA EXTENSION BLOCK]", from);
      ASSERT_NE(from, std::string::npos) << path;
      for (unsigned j = 0; j < model->DataBlockCount(); ++j, ++dataBlocks) {
        const std::string heading =
            Format("  [Datablock %u: %s]\r\n", j, CeaDataBlockKindName(model->GetDataBlockKind(j)));
        from = summary.find(heading, from);
        ASSERT_NE(from, std::string::npos) << path << " " << heading;
      }
      EXPECT_NE(report.find(Format("Validating CEA%u Extension Block. Data Range: Byte[%u] --> Byte[%u]",
                                   model->GetVersion(), model->GetOffset(), model->GetOffset() + 127)),
                std::string::npos)
          << path;
      // Every byte of the block is named by the block; the label always.
      for (unsigned r = 0; r < kBlockSize; ++r) {
        std::string name, group, label;
        corpus.image.DescribeByte(model->GetOffset() + r, name, group, label);
        EXPECT_EQ(label, Format("CEA-v%u", model->GetVersion())) << path << " byte " << r;
      }
    }
    ContentCollector modes;
    corpus.image.FillContent(&modes, kContentModes);
  }
  EXPECT_GE(ceaBlocks, 30u);
  EXPECT_GE(dataBlocks, 180u);
}

TEST(CeaExtBlockPageCorpusTest, ThePageSaysHowManyDataBlocksItsRowsLeaveOut) {
  unsigned withNote = 0;
  for (const std::string& path : testing::CorpusFiles()) {
    CorpusImage corpus(path);
    for (unsigned i = 0; i < corpus.image.BlockCount(); ++i) {
      const auto* page = dynamic_cast<const CeaExtBlockPage*>(corpus.image.GetPage(i));
      if (page == nullptr || page->Model() == nullptr) continue;
      const unsigned count = page->Model()->DataBlockCount();
      const std::string expected =
          count <= 9    ? ""
          : count == 10 ? "1 more data block is not shown here (Show Summary lists it)."
                        : Format("%u more data blocks are not shown here (Show Summary lists them).", count - 9);
      EXPECT_EQ(page->Note(), expected) << path;
      withNote += expected.empty() ? 0 : 1;
    }
  }
  EXPECT_EQ(withNote, 11u);
}

TEST(CeaExtBlockPageCorpusTest, DecodedValuesAgreeWithEdidDecode) {
  unsigned compared = 0;
  for (const std::string& path : testing::CorpusFiles()) {
    const std::string name = path.substr(path.rfind('/') + 1);
    const std::string ref =
        testing::ReadTextFile(testing::CorpusDir() + "/ref/" + name.substr(0, name.size() - 4) + ".txt");
    const std::vector<Facts> theirs = RefFacts(ref);
    if (theirs.empty()) continue;
    CorpusImage corpus(path);
    const std::vector<Facts> ours = OurFacts(corpus.Content(kContentSummary));
    // An image whose block list stops early (at an announced block that is
    // missing, or at the count of byte 126 where edid-decode follows an
    // HF-EEODB) shows fewer blocks.
    const size_t fileBlocks = testing::ReadBytes(path).size() / kBlockSize;
    if (corpus.image.BlockCount() == fileBlocks) {
      ASSERT_EQ(ours.size(), theirs.size()) << name;
    }
    ASSERT_LE(ours.size(), theirs.size()) << name;
    for (size_t i = 0; i < ours.size(); ++i) {
      EXPECT_EQ(ours[i].physicalAddresses, theirs[i].physicalAddresses) << name << " block " << i;
      EXPECT_EQ(ours[i].tmdsClocks, theirs[i].tmdsClocks) << name << " block " << i;
      EXPECT_EQ(ours[i].vics, theirs[i].vics) << name << " block " << i;
      ++compared;
    }
  }
  EXPECT_GE(compared, 30u);
}

}  // namespace
}  // namespace velmar
