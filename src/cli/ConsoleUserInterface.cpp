#include "cli/ConsoleUserInterface.h"

#include <array>
#include <cstring>

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

ConsoleOutput::ConsoleOutput(std::FILE* out, std::FILE* err, bool crlf)
    : out_(out), err_(err), crlf_(crlf), buffer_(new char[kBufferSize]) {}

ConsoleOutput::~ConsoleOutput() {
  FlushPendingCr();
  Drain();
}

void ConsoleOutput::Put(std::string_view bytes) {
  // The buffer never grows past its size: what would not fit goes out first.
  if (used_ + bytes.size() > kBufferSize) Drain();
  if (bytes.size() >= kBufferSize) {
    std::fwrite(bytes.data(), 1, bytes.size(), out_);
    return;
  }
  std::memcpy(buffer_.get() + used_, bytes.data(), bytes.size());
  used_ += bytes.size();
}

void ConsoleOutput::Drain() {
  if (used_ != 0) std::fwrite(buffer_.get(), 1, used_, out_);
  used_ = 0;
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
  if (text.size() > kBufferSize) {
    for (size_t start = 0; start < text.size(); start += kBufferSize) Text(text.substr(start, kBufferSize));
    return;
  }
  if (pendingCr_) {
    pendingCr_ = false;
    if (text.front() != '\n') Put("\r");
  }
  // A CR LF pair may be cut between this piece and the next: the CR waits.
  if (text.back() == '\r') {
    pendingCr_ = true;
    text.remove_suffix(1);
  }
  // The text becomes no longer: it is copied straight into the buffer, each
  // CR that a LF follows left out.
  if (used_ + text.size() > kBufferSize) Drain();
  char* out = buffer_.get() + used_;
  const char* p = text.data();
  const char* const end = p + text.size();
  while (p < end) {
    const auto* cr = static_cast<const char*>(std::memchr(p, '\r', static_cast<size_t>(end - p)));
    if (cr == nullptr) cr = end;
    std::memcpy(out, p, static_cast<size_t>(cr - p));
    out += cr - p;
    if (cr == end) break;
    if (cr + 1 == end || cr[1] != '\n') *out++ = '\r';
    p = cr + 1;
  }
  used_ = static_cast<size_t>(out - buffer_.get());
}

void ConsoleOutput::Line(std::string_view line) {
  FlushPendingCr();
  Put(line);
  Put(crlf_ ? "\r\n" : "\n");
}

void ConsoleOutput::Cells(const std::string* cells, size_t count) {
  FlushPendingCr();
  size_t length = count > 0 ? count - 1 : 0;
  for (size_t i = 0; i < count; ++i) length += cells[i].size();
  if (used_ + length + 2 > kBufferSize) Drain();
  if (length + 2 > kBufferSize) {
    for (size_t i = 0; i < count; ++i) {
      if (i > 0) Put("\t");
      Put(cells[i]);
    }
    Put(crlf_ ? "\r\n" : "\n");
    return;
  }
  char* out = buffer_.get() + used_;
  for (size_t i = 0; i < count; ++i) {
    if (i > 0) *out++ = '\t';
    std::memcpy(out, cells[i].data(), cells[i].size());
    out += cells[i].size();
  }
  if (crlf_) *out++ = '\r';
  *out++ = '\n';
  used_ = static_cast<size_t>(out - buffer_.get());
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
  static const std::array<std::string, kModeColumnCount> kHeadings = [] {
    std::array<std::string, kModeColumnCount> headings;
    for (unsigned c = 0; c < kModeColumnCount; ++c) headings[c] = ModeTable::Columns()[c].heading;
    return headings;
  }();
  output_.Cells(kHeadings.data(), kHeadings.size());
  for (const ModeTable::Row& row : table.Rows()) output_.Cells(row.data(), row.size());
}

}  // namespace velmar::cli
