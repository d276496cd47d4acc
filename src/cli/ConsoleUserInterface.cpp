#include "cli/ConsoleUserInterface.h"

#include "common/Callbacks.h"
#include "dialogs/ModeTable.h"

namespace velmar::cli {

namespace {

// Prints a document as it is appended instead of collecting it.
class PrintingTarget : public CallbackFillContentTgt {
 public:
  explicit PrintingTarget(ConsoleOutput& output) : output_(output) {}
  void SetTitle(const std::string& text) override { (void)text; }
  void Append(const std::string& text) override { output_.Text(text); }
  void AddMode(const ModeEntry& mode) override { (void)mode; }

 private:
  ConsoleOutput& output_;
};

}  // namespace

ConsoleOutput::ConsoleOutput(std::FILE* out, std::FILE* err, bool crlf) : out_(out), err_(err), crlf_(crlf) {}

ConsoleOutput::~ConsoleOutput() {
  FlushPendingCr();
  Drain();
}

void ConsoleOutput::Put(std::string_view bytes) {
  // The buffer never grows past its size: what would not fit goes out first.
  if (buffer_.size() + bytes.size() > kBufferSize) Drain();
  if (bytes.size() >= kBufferSize) {
    std::fwrite(bytes.data(), 1, bytes.size(), out_);
    return;
  }
  if (buffer_.capacity() < kBufferSize) buffer_.reserve(kBufferSize);
  buffer_.append(bytes);
}

void ConsoleOutput::Drain() {
  if (!buffer_.empty()) std::fwrite(buffer_.data(), 1, buffer_.size(), out_);
  buffer_.clear();
}

void ConsoleOutput::FlushPendingCr() {
  if (pendingCr_) Put("\r");
  pendingCr_ = false;
}

void ConsoleOutput::Text(std::string_view text) {
  if (text.empty()) return;
  if (crlf_) {
    FlushPendingCr();
    Put(text);
    return;
  }
  size_t start = 0;
  if (pendingCr_) {
    pendingCr_ = false;
    if (text.front() != '\n') Put("\r");
  }
  for (;;) {
    const size_t cr = text.find('\r', start);
    if (cr == std::string_view::npos) {
      Put(text.substr(start));
      return;
    }
    Put(text.substr(start, cr - start));
    if (cr + 1 == text.size()) {
      // The LF of this pair may open the next piece.
      pendingCr_ = true;
      return;
    }
    if (text[cr + 1] != '\n') Put("\r");
    start = cr + 1;
  }
}

void ConsoleOutput::Line(std::string_view line) {
  FlushPendingCr();
  Put(line);
  Put(crlf_ ? "\r\n" : "\n");
}

void ConsoleOutput::Message(std::string_view text) {
  Drain();
  std::fflush(out_);
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.remove_suffix(1);
  std::string line;
  line.reserve(text.size() + 1);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      line += ' ';
    } else {
      line += text[i];
    }
  }
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), err_);
  std::fflush(err_);
}

bool ConsoleOutput::Finish() {
  FlushPendingCr();
  Drain();
  const bool flushed = std::fflush(out_) == 0;
  return flushed && std::ferror(out_) == 0;
}

void ConsoleUserInterface::ShowContent(CallbackContext* owner, unsigned kind) {
  if (owner == nullptr) return;
  PrintingTarget target(output_);
  owner->FillContent(&target, kind);
}

void ConsoleUserInterface::ShowModes(CallbackContext* owner) {
  // One table for every file: its rows keep their storage from file to file.
  ModeTable& table = modeTable_;
  table.Open(owner);
  std::string line;
  for (const ModeColumn& column : ModeTable::Columns()) {
    if (!line.empty()) line += '\t';
    line += column.heading;
  }
  output_.Line(line);
  for (const ModeTable::Row& row : table.Rows()) {
    line.clear();
    for (unsigned c = 0; c < kModeColumnCount; ++c) {
      if (c > 0) line += '\t';
      line += row[c];
    }
    output_.Line(line);
  }
}

}  // namespace velmar::cli
