// Micro-benchmarks of the core without any output: the work behind the command
// line's summary, report, bytes and modes, per EDID over the sample corpus.
// Each iteration handles one EDID, taking the corpus files in turn, so the
// time per iteration is the cost per EDID.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/EdidImage.h"
#include "common/Callbacks.h"
#include "common/UserInterface.h"
#include "dialogs/ModeTable.h"
#include "pages/BlockPage.h"

namespace velmar {
namespace {

// Answers nothing and shows nothing.
class QuietUserInterface : public UserInterface {
 public:
  void ShowMessage(const std::string&) override {}
  bool AskOkCancel(const std::string&) override { return true; }
  std::optional<std::string> AskOpenFile(const FileDialogRequest&) override { return std::nullopt; }
  std::optional<std::string> AskSaveFile(const FileDialogRequest&) override { return std::nullopt; }
  unsigned SelectItem(CallbackContext*, unsigned) override { return kNoSelection; }
  void ShowContent(CallbackContext*, unsigned) override {}
  void ShowModes(CallbackContext*) override {}
  bool EditRawData(CallbackContext*, uint8_t*, unsigned) override { return false; }
  bool EditForm(EditorForm&) override { return false; }
};

// Keeps the text in one buffer that is emptied, not freed, between EDIDs.
class TextBuffer : public CallbackFillContentTgt {
 public:
  void SetTitle(const std::string&) override {}
  void Append(const std::string& text) override { text_ += text; }
  void AddMode(const ModeEntry&) override { ++modes_; }
  void Clear() {
    text_.clear();
    modes_ = 0;
  }
  const std::string& Text() const { return text_; }
  size_t Modes() const { return modes_; }

 private:
  std::string text_;
  size_t modes_ = 0;
};

// Every corpus EDID loaded into an image of its own, built once.
class Corpus {
 public:
  static Corpus& Get() {
    static Corpus corpus;
    return corpus;
  }
  size_t Size() const { return images_.size(); }
  EdidImage& Image(size_t index) { return *images_[index % images_.size()]; }
  const std::array<uint8_t, kMaxEdidSize>& Bytes(size_t index) const { return bytes_[index % bytes_.size()]; }

 private:
  Corpus() {
    std::vector<std::filesystem::path> paths;
    for (const auto& entry : std::filesystem::directory_iterator(VELMAR_CORPUS_DIR)) {
      if (entry.path().extension() == ".bin") paths.push_back(entry.path());
    }
    std::sort(paths.begin(), paths.end());
    for (const auto& path : paths) {
      std::array<uint8_t, kMaxEdidSize> data{};
      std::ifstream in(path, std::ios::binary);
      in.read(reinterpret_cast<char*>(data.data()), data.size());
      bytes_.push_back(data);
      auto image = std::make_unique<EdidImage>(ui_);
      image->rawData = data;
      image->Rebuild();
      images_.push_back(std::move(image));
    }
  }
  QuietUserInterface ui_;
  std::vector<std::array<uint8_t, kMaxEdidSize>> bytes_;
  std::vector<std::unique_ptr<EdidImage>> images_;
};

bool HaveCorpus(benchmark::State& state) {
  if (Corpus::Get().Size() > 0) return true;
  state.SkipWithError("no EDIDs in " VELMAR_CORPUS_DIR);
  return false;
}

void PerEdid(benchmark::State& state) { state.SetItemsProcessed(state.iterations()); }

// The blocks of a loaded image built anew from its bytes.
void BM_Rebuild(benchmark::State& state) {
  if (!HaveCorpus(state)) return;
  Corpus& corpus = Corpus::Get();
  QuietUserInterface ui;
  EdidImage image(ui);
  size_t next = 0;
  for (auto _ : state) {
    image.rawData = corpus.Bytes(next++);
    image.Rebuild();
    benchmark::DoNotOptimize(image.BlockCount());
  }
  PerEdid(state);
}
BENCHMARK(BM_Rebuild);

// Every block's findings, as the errors report gathers them.
void BM_Validate(benchmark::State& state) {
  if (!HaveCorpus(state)) return;
  Corpus& corpus = Corpus::Get();
  TextBuffer buffer;
  size_t next = 0;
  for (auto _ : state) {
    EdidImage& image = corpus.Image(next++);
    buffer.Clear();
    unsigned findings = 0;
    for (unsigned i = 0; i < image.BlockCount(); ++i) findings += image.GetPage(i)->Validate(&buffer);
    benchmark::DoNotOptimize(findings);
  }
  PerEdid(state);
}
BENCHMARK(BM_Validate);

// The raw dump and every block's summary text.
void BM_SummaryText(benchmark::State& state) {
  if (!HaveCorpus(state)) return;
  Corpus& corpus = Corpus::Get();
  TextBuffer buffer;
  size_t next = 0;
  size_t bytes = 0;
  for (auto _ : state) {
    buffer.Clear();
    corpus.Image(next++).FillContent(&buffer, kContentSummary);
    bytes += buffer.Text().size();
  }
  PerEdid(state);
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK(BM_SummaryText);

// The whole errors report, with the check of the bytes no block covers.
void BM_ErrorsReportText(benchmark::State& state) {
  if (!HaveCorpus(state)) return;
  Corpus& corpus = Corpus::Get();
  TextBuffer buffer;
  size_t next = 0;
  for (auto _ : state) {
    buffer.Clear();
    corpus.Image(next++).FillContent(&buffer, kContentErrorsReport);
    benchmark::DoNotOptimize(buffer.Text().data());
  }
  PerEdid(state);
}
BENCHMARK(BM_ErrorsReportText);

// The name, group and block label of all 512 bytes.
void BM_ByteMap(benchmark::State& state) {
  if (!HaveCorpus(state)) return;
  Corpus& corpus = Corpus::Get();
  std::string name;
  std::string group;
  std::string label;
  size_t next = 0;
  for (auto _ : state) {
    EdidImage& image = corpus.Image(next++);
    for (unsigned index = 0; index < kMaxEdidSize; ++index) {
      name.clear();
      group.clear();
      label.clear();
      image.DescribeByte(index, name, group, label);
      benchmark::DoNotOptimize(name.data());
    }
  }
  PerEdid(state);
}
BENCHMARK(BM_ByteMap);

// The modes every block announces.
void BM_CollectModes(benchmark::State& state) {
  if (!HaveCorpus(state)) return;
  Corpus& corpus = Corpus::Get();
  TextBuffer buffer;
  size_t next = 0;
  for (auto _ : state) {
    buffer.Clear();
    corpus.Image(next++).FillContent(&buffer, kContentModes);
    benchmark::DoNotOptimize(buffer.Modes());
  }
  PerEdid(state);
}
BENCHMARK(BM_CollectModes);

// The modes list as it opens: the cell texts of every mode, sorted by resolution.
void BM_ModeTable(benchmark::State& state) {
  if (!HaveCorpus(state)) return;
  Corpus& corpus = Corpus::Get();
  size_t next = 0;
  for (auto _ : state) {
    ModeTable table;
    table.Open(&corpus.Image(next++));
    benchmark::DoNotOptimize(table.Rows().size());
  }
  PerEdid(state);
}
BENCHMARK(BM_ModeTable);

}  // namespace
}  // namespace velmar

BENCHMARK_MAIN();
