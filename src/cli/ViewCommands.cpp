// The commands that print what a file holds: summary, report, modes, bytes.
#include <array>
#include <string>
#include <vector>

#include "app/EdidImage.h"
#include "cli/Cli.h"
#include "cli/ConsoleUserInterface.h"
#include "util/Format.h"

namespace velmar::cli {

namespace {

int RunSummary(CommandContext& context) {
  return context.ForEachFile([&] { context.Ui().ShowContent(&context.Image(), kContentSummary); });
}

int RunReport(CommandContext& context) {
  return context.ForEachFile([&] { context.Ui().ShowContent(&context.Image(), kContentErrorsReport); });
}

int RunModes(CommandContext& context) {
  return context.ForEachFile([&] { context.Ui().ShowModes(&context.Image()); });
}

// The byte lines around their three texts, formatted once per index.
class ByteLineTemplates {
 public:
  ByteLineTemplates() {
    for (unsigned index = 0; index < kMaxEdidSize; ++index) {
      pieces_[index] = FormatHoles(Format("%u\t%s\t%s\t%s", index, kTextHole, kTextHole, kTextHole));
    }
  }
  // The line of byte `index` with its label, name and group, in `line`.
  void Fill(std::string& line, unsigned index, const std::string& label, const std::string& name,
            const std::string& group) const {
    const std::vector<std::string>& p = pieces_[index];
    line = p[0];
    line += label;
    line += p[1];
    line += name;
    line += p[2];
    line += group;
    line += p[3];
  }

 private:
  std::array<std::vector<std::string>, kMaxEdidSize> pieces_;
};

int RunBytes(CommandContext& context) {
  EdidImage& image = context.Image();
  const ByteLineTemplates templates;
  std::string name;
  std::string group;
  std::string label;
  std::string line;
  return context.ForEachFile([&] {
    for (unsigned index = 0; index < kMaxEdidSize; ++index) {
      name.clear();
      group.clear();
      label.clear();
      image.DescribeByte(index, name, group, label);
      templates.Fill(line, index, label, name, group);
      context.Out().Line(line);
    }
  });
}

[[maybe_unused]] const bool kFilesFromRegistered =
    RegisterOption({kFilesFromOption,
                    "FILE",
                    "also read the files named in FILE, one per line (- for standard input)",
                    {"summary", "report", "modes", "bytes", "fields"}});

[[maybe_unused]] const bool kSummaryRegistered = RegisterSubcommand({
    10,
    "summary",
    "FILE...",
    "print the raw dump and every block's summary",
    "The text of the desktop program's \"Show Summary\": \"[EDID RAW DATA]\", a\n"
    "hexadecimal dump of the image's used bytes (all 512 when no block was\n"
    "recognised), then the summary of every block in order.\n",
    nullptr,
    1,
    kManyOperands,
    RunSummary,
});

[[maybe_unused]] const bool kReportRegistered = RegisterSubcommand({
    20,
    "report",
    "FILE...",
    "print the errors report: findings and verdict",
    "The text of the desktop program's \"Generate EDID Errors Report\": the time line\n"
    "\"REPORT  GENERATED: ...\" (the local time, or the moment of --time), every\n"
    "block's findings, the check of the bytes no block covers, and \"VERDICT: N\n"
    "ERRORS FOUND\". The exit status does not depend on the verdict.\n",
    nullptr,
    1,
    kManyOperands,
    RunReport,
});

[[maybe_unused]] const bool kModesRegistered = RegisterSubcommand({
    30,
    "modes",
    "FILE...",
    "print every announced mode in 21 columns",
    "The rows of the desktop program's \"Show Modes\" list: a header line with the 21\n"
    "column headings (Resolution, Refresh Rate, Source, Block, 3D Format,\n"
    "PixelClock, Repetition, HTotal, VTotal, Native, ReducedBlank, HPolarity,\n"
    "VPolarity, 3D Polarity, 3D Exclusive, HBorder, VBorder, HPorch, VPorch, HSync,\n"
    "VSync), then one line per mode, cells separated by tabs (an empty cell is an\n"
    "empty field), in the order the list opens with: by resolution, smallest first,\n"
    "modes of equal resolution in the order the blocks announce them.\n",
    nullptr,
    1,
    kManyOperands,
    RunModes,
});

[[maybe_unused]] const bool kBytesRegistered = RegisterSubcommand({
    40,
    "bytes",
    "FILE...",
    "print the meaning of every image byte 0-511",
    "One line per byte of the 512-byte image: its decimal index, the label of the\n"
    "block that holds it, the byte's name and its group, separated by tabs. Bytes\n"
    "outside every block have empty fields.\n",
    nullptr,
    1,
    kManyOperands,
    RunBytes,
});

}  // namespace

}  // namespace velmar::cli
