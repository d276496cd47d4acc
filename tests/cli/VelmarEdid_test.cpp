// Runs the built velmar-edid over real EDIDs of the corpus and checks what it
// prints, what it writes and how it exits. The decoded texts themselves are
// the core's: where the tool prints a document, it is compared with the core's
// own text for the same file, so these tests hold while the blocks grow.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "app/EdidImage.h"
#include "app/ImageFiles.h"
#include "cli/ToolRunner.h"
#include "dialogs/ModeTable.h"
#include "support/ScriptedUserInterface.h"
#include "support/TestData.h"
#include "util/Clock.h"
#include "util/Format.h"

namespace velmar {
namespace {

using testing::CorpusDir;
using testing::CorpusFiles;
using testing::ReadBytes;
using testing::ReadTextFile;
using testing::RunTool;
using testing::ToolOptions;
using testing::ToolResult;
using testing::WriteTextFile;

constexpr char kMoment[] = "09:05:01 03/07/2026";
constexpr char kTimeLine[] = "REPORT  GENERATED: 09:05:01, 03/07/2026\n";

std::string Corpus(const std::string& name) { return CorpusDir() + "/" + name; }

std::string ToLf(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

std::string ToCrlf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields(1);
  for (char c : line) {
    if (c == '\t') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

// Splits the output of several files at their "==> NAME <==" lines, which must
// come in the order of `names` and open the output.
std::map<std::string, std::string> Sections(const std::string& out, const std::vector<std::string>& names) {
  std::map<std::string, std::string> sections;
  size_t position = 0;
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string header = "==> " + names[i] + " <==\n";
    EXPECT_EQ(out.compare(position, header.size(), header), 0) << "missing separator of " << names[i];
    position += header.size();
    const size_t next = i + 1 < names.size() ? out.find("==> " + names[i + 1] + " <==\n", position) : out.size();
    if (next == std::string::npos) return sections;
    sections[names[i]] = out.substr(position, next - position);
    position = next;
  }
  return sections;
}

// The same file, decoded in this process by the core.
class CoreImage {
 public:
  explicit CoreImage(const std::string& path) {
    LocalTime moment;
    moment.hour = 9;
    moment.minute = 5;
    moment.second = 1;
    moment.month = 3;
    moment.day = 7;
    moment.year = 2026;
    clock.Set(moment);
    image.SetClock(&clock);
    loaded = LoadImageFile(image, SourceKind::BinFile, path);
  }
  std::string Text(unsigned kind) {
    ContentCollector text;
    image.FillContent(&text, kind);
    return ToLf(text.Text());
  }

  testing::ScriptedUserInterface ui;
  EdidImage image{ui};
  FixedClock clock{LocalTime{}};
  bool loaded = false;
};

class TempDir {
 public:
  TempDir() : path(testing::MakeTempDir()) {}
  ~TempDir() { testing::RemoveTree(path); }
  std::string operator/(const std::string& name) const { return path + "/" + name; }
  const std::string path;
};

bool Exists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

void CopyFile(const std::string& from, const std::string& to) { WriteTextFile(to, ReadTextFile(from)); }

// A varied set: EDID 1.0, 1.3 and 1.4 base blocks, CTA, DI-EXT and DisplayID
// extensions, a missing extension, unassigned tags, and 128 to 512 bytes.
const std::vector<std::string> kSample = {
    "ed-b8785401a148.bin", "ed-6d7c99668026.bin", "ldi-2762ff31d929.bin", "ed-0a6ce2250e57.bin",
    "ed-76b1b316c228.bin", "ed-087fc036424b.bin", "lhw-0293628c306c.bin", "lhw-0c80b721be83.bin",
    "lhw-fee2947b026b.bin", "ed-0a33d4a62bcf.bin",
};

std::vector<std::string> SamplePaths() {
  std::vector<std::string> paths;
  for (const std::string& name : kSample) paths.push_back(Corpus(name));
  return paths;
}

std::vector<std::string> With(std::vector<std::string> front, const std::vector<std::string>& back) {
  front.insert(front.end(), back.begin(), back.end());
  return front;
}

TEST(VelmarEdidCli, HelpAndVersion) {
  const ToolResult help = RunTool({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.err, "");
  EXPECT_EQ(help.out.rfind("Usage: velmar-edid [OPTION]... COMMAND [OPERAND]...\n", 0), 0u);
  for (const char* command : {"summary FILE...", "report FILE...", "modes FILE...", "bytes FILE...", "convert IN OUT",
                              "--crlf", "--time \"HH:MM:SS MM/DD/YYYY\"", "--version", "Exit status"}) {
    EXPECT_NE(help.out.find(command), std::string::npos) << command;
  }
  for (const std::string& line : Lines(help.out)) EXPECT_LE(line.size(), 80u) << line;

  for (const char* command : {"summary", "report", "modes", "bytes", "convert"}) {
    const ToolResult own = RunTool({command, "--help"});
    EXPECT_EQ(own.status, 0) << command;
    EXPECT_EQ(own.out.rfind(Format("Usage: velmar-edid [OPTION]... %s ", command), 0), 0u) << own.out;
    // --time belongs to the report alone.
    EXPECT_EQ(own.out.find("--time") != std::string::npos, std::string(command) == "report") << command;
    for (const std::string& line : Lines(own.out)) EXPECT_LE(line.size(), 80u) << line;
  }
  EXPECT_NE(RunTool({"convert", "-h"}).out.find("TXT, ETXT: hexadecimal text"), std::string::npos);

  const ToolResult version = RunTool({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "velmar-edid (Velmar EDID Utility) 1.1\n");
}

TEST(VelmarEdidCli, UsageErrorsExitWithTwoAndPrintNothing) {
  const std::string file = Corpus(kSample[1]);
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{}, "velmar-edid: missing command\n"},
      {{"show", file}, "velmar-edid: unknown command 'show'\n"},
      {{"summary"}, "velmar-edid: summary: missing operand (FILE...)\n"},
      {{"convert", file}, "velmar-edid: convert: missing operand (IN OUT)\n"},
      {{"convert", file, "a.bin", "b.bin"}, "velmar-edid: convert: extra operand 'b.bin'\n"},
      {{"--bogus", "summary", file}, "velmar-edid: unrecognized option '--bogus'\n"},
      {{"summary", "-x", file}, "velmar-edid: unrecognized option '-x'\n"},
      {{"summary", "--crlf=yes", file}, "velmar-edid: option '--crlf' doesn't allow an argument\n"},
      {{"report", file, "--time"}, "velmar-edid: option '--time' requires an argument\n"},
      {{"summary", "--time", kMoment, file}, "velmar-edid: option '--time' does not apply to 'summary'\n"},
      {{"report", "--time", "9:05:01 03/07/2026", file},
       "velmar-edid: invalid moment '9:05:01 03/07/2026' for --time: write it as \"HH:MM:SS MM/DD/YYYY\"\n"},
      {{"report", "--time=24:00:00 03/07/2026", file},
       "velmar-edid: invalid moment '24:00:00 03/07/2026' for --time: write it as \"HH:MM:SS MM/DD/YYYY\"\n"},
      {{"report", "--time=09:05:01 13/07/2026", file},
       "velmar-edid: invalid moment '09:05:01 13/07/2026' for --time: write it as \"HH:MM:SS MM/DD/YYYY\"\n"},
      {{"bogus", "--help"}, "velmar-edid: unknown command 'bogus'\n"},
  };
  for (const auto& [args, message] : cases) {
    const ToolResult result = RunTool(args);
    EXPECT_EQ(result.status, 2) << message;
    EXPECT_EQ(result.out, "") << message;
    EXPECT_EQ(result.err, message + "Try 'velmar-edid --help' for more information.\n");
  }
}

TEST(VelmarEdidCli, FilesThatCannotBeReadExitWithOne) {
  TempDir dir;
  WriteTextFile(dir / "monitor.xyz", std::string(128, '\0'));
  std::filesystem::create_directory(dir / "folder");
  const std::vector<std::pair<std::string, std::string>> cases = {
      {dir / "missing.bin", "Failed to open [" + (dir / "missing.bin") + "] for reading: No such file or directory\n"},
      {dir / "missing", "Failed to open [" + (dir / "missing") + "] for reading: No such file or directory\n"},
      {dir / "folder", "Failed to open [" + (dir / "folder") + "] for reading: Is a directory\n"},
      {dir / "monitor.xyz", "Invalid file extension: XYZ\n"},
      {dir / "monitor.", "velmar-edid: " + (dir / "monitor.") + ": no extension after the last dot tells the file's format\n"},
  };
  for (const auto& [path, message] : cases) {
    for (const char* command : {"summary", "report", "modes", "bytes"}) {
      const ToolResult result = RunTool({command, path});
      EXPECT_EQ(result.status, 1) << command << " " << path;
      EXPECT_EQ(result.out, "") << command << " " << path;
      EXPECT_EQ(result.err, message) << command;
    }
    const ToolResult convert = RunTool({"convert", path, dir / "out.bin"});
    EXPECT_EQ(convert.status, 1) << path;
    EXPECT_EQ(convert.err, message);
    EXPECT_FALSE(Exists(dir / "out.bin"));
  }
}

TEST(VelmarEdidCli, SeparatorsOnlyWithSeveralFilesAndNamedAsGiven) {
  TempDir dir;
  CopyFile(Corpus(kSample[1]), dir / "a.bin");
  const std::string relative = std::filesystem::relative(dir / "a.bin").string();
  const ToolResult one = RunTool({"summary", relative});
  EXPECT_EQ(one.status, 0);
  EXPECT_EQ(one.out.rfind("[EDID RAW DATA]\n", 0), 0u);
  EXPECT_EQ(one.out.find("==>"), std::string::npos);

  // A file that cannot be read still has its line, fails the run, and does
  // not stop the files after it.
  const std::vector<std::string> names = {relative, dir / "none.bin", Corpus(kSample[3]), relative};
  const ToolResult several = RunTool(With({"summary"}, names));
  EXPECT_EQ(several.status, 1);
  EXPECT_EQ(several.err,
            (dir / "none.bin") + ": Failed to open [" + (dir / "none.bin") + "] for reading: No such file or directory\n");
  const auto sections = Sections(several.out, names);
  ASSERT_EQ(sections.size(), 3u);  // the repeated name is one key
  EXPECT_EQ(sections.at(names[1]), "");
  EXPECT_EQ(sections.at(names[0]), one.out);
  size_t separators = 0;
  for (const std::string& line : Lines(several.out)) separators += line.rfind("==> ", 0) == 0 ? 1 : 0;
  EXPECT_EQ(separators, names.size());
}

TEST(VelmarEdidCli, MessagesKeepTheirPlaceAmongTheOutput) {
  ToolOptions merged;
  merged.mergeStreams = true;
  const std::string missing = Corpus("lhw-0293628c306c.bin");  // announces an extension it lacks
  const ToolResult result = RunTool({"bytes", Corpus(kSample[1]), missing, "/nonexistent/x.bin"}, merged);
  EXPECT_EQ(result.status, 1);
  const size_t second =
      result.out.find("==> " + missing + " <==\n" + missing + ": Failed to create Extension Block\n0\t");
  EXPECT_NE(second, std::string::npos);
  EXPECT_NE(result.out.find("\n511\t\t\t\n==> /nonexistent/x.bin <==\n/nonexistent/x.bin: Failed to open "
                            "[/nonexistent/x.bin] for reading: No such file or directory\n"),
            std::string::npos);
}

TEST(VelmarEdidCli, SummaryOfTheWholeCorpusInOneProcess) {
  const std::vector<std::string> files = CorpusFiles();
  ASSERT_EQ(files.size(), 60u);
  const ToolResult result = RunTool(With({"summary"}, files));
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out.find('\r'), std::string::npos);
  const auto sections = Sections(result.out, files);
  ASSERT_EQ(sections.size(), files.size());
  for (const std::string& file : files) {
    CoreImage core(file);
    ASSERT_TRUE(core.loaded);
    const std::string& text = sections.at(file);
    EXPECT_EQ(text, core.Text(kContentSummary)) << file;

    // The dump holds the file's own bytes, sixteen to a row.
    const std::vector<uint8_t> bytes = ReadBytes(file);
    const unsigned used = core.image.BlockCount() > 0 ? core.image.GetUsedSize() : kMaxEdidSize;
    const std::vector<std::string> lines = Lines(text);
    ASSERT_GE(lines.size(), 3 + used / 16) << file;
    EXPECT_EQ(lines[0], "[EDID RAW DATA]");
    for (unsigned i = 0; i < used; ++i) {
      const std::string& row = lines[3 + i / 16];
      const uint8_t expected = i < bytes.size() ? bytes[i] : 0;
      ASSERT_EQ(row.substr(5 + 3 * (i % 16), 3), Format("%02x ", expected)) << file << " byte " << i;
    }
  }

  // Decoded values, once the base block's summary is there.
  const std::string& lg = sections.at(Corpus("ed-6d7c99668026.bin"));
  if (lg.find("[EDID BASE BLOCK]") != std::string::npos) {
    EXPECT_NE(lg.find("  Version.............: 1.3\n"), std::string::npos);
    EXPECT_NE(lg.find("  Manufacturer Name...: GSM\n"), std::string::npos);
    EXPECT_NE(lg.find("  Date of Manufacture.: 2007, week 1\n"), std::string::npos);
    EXPECT_NE(lg.find("  Number of extensions: 0\n"), std::string::npos);
    EXPECT_NE(lg.find("  Checksum............: 0xFB\n"), std::string::npos);
  }
}

TEST(VelmarEdidCli, ReportOfASampleWithAFixedMoment) {
  const std::vector<std::string> files = SamplePaths();
  const ToolResult result = RunTool(With({"report", "--time", kMoment}, files));
  ASSERT_EQ(result.status, 0) << result.err;
  // Messages of the loads, never of the verdicts.
  EXPECT_NE(result.err.find("Failed to create Extension Block\n"), std::string::npos);
  const auto sections = Sections(result.out, files);
  ASSERT_EQ(sections.size(), files.size());
  for (const std::string& file : files) {
    const std::string& text = sections.at(file);
    EXPECT_EQ(text.rfind(kTimeLine, 0), 0u) << file;
    EXPECT_EQ(text, CoreImage(file).Text(kContentErrorsReport)) << file;
    const std::vector<std::string> lines = Lines(text);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[lines.size() - 1], "END OF REPORT");
    EXPECT_EQ(lines[lines.size() - 2].rfind("VERDICT: ", 0), 0u);
  }
  const std::string& missing = sections.at(Corpus("lhw-0293628c306c.bin"));
  EXPECT_NE(missing.find("\nValidating Non-Mapped Raw Data. Data Range: Byte[128] --> Byte[511]\n"
                         "  Invalid number of extensions: 1 while there is only 0 extensions detected (rest "
                         "buffer is Zero)\n"),
            std::string::npos);
}

TEST(VelmarEdidCli, EmptyImageGoldenTexts) {
  TempDir dir;
  WriteTextFile(dir / "zeros.bin", std::string(128, '\0'));
  ToolResult report = RunTool({"report", "--time", kMoment, dir / "zeros.bin"});
  EXPECT_EQ(report.status, 0);
  EXPECT_EQ(report.err, "");
  EXPECT_EQ(report.out,
            "REPORT  GENERATED: 09:05:01, 03/07/2026\n"
            "\n"
            "Validating Non-Mapped Raw Data. Data Range: Byte[0] --> Byte[511]\n"
            "   Non-Mapped Raw Data is valid\n"
            "\n"
            "VERDICT: 0 ERRORS FOUND\n"
            "END OF REPORT\n");

  std::string dump =
      "[EDID RAW DATA]\n"
      "    |00|01|02|03|04|05|06|07|08|09|0A|0B|0C|0D|0E|0F|\n"
      "----+--+--+--+--+--+--+--+--+--+--+--+--+--+--+--+--+\n";
  for (unsigned row = 0; row < 32; ++row) {
    dump += Format("%2X0 |", row);
    for (unsigned column = 0; column < 16; ++column) dump += "00 ";
    dump += "\n";
  }
  const ToolResult summary = RunTool({"summary", dir / "zeros.bin"});
  EXPECT_EQ(summary.status, 0);
  EXPECT_EQ(summary.out, dump);

  const ToolResult crlf = RunTool({"--crlf", "summary", dir / "zeros.bin"});
  EXPECT_EQ(crlf.out, ToCrlf(dump));

  const ToolResult modes = RunTool({"modes", dir / "zeros.bin"});
  EXPECT_EQ(modes.status, 0);
  EXPECT_EQ(modes.out,
            "Resolution\tRefresh Rate\tSource\tBlock\t3D Format\tPixelClock\tRepetition\tHTotal\tVTotal\tNative\t"
            "ReducedBlank\tHPolarity\tVPolarity\t3D Polarity\t3D Exclusive\tHBorder\tVBorder\tHPorch\tVPorch\t"
            "HSync\tVSync\n");

  const ToolResult bytes = RunTool({"bytes", dir / "zeros.bin"});
  std::string expected;
  for (unsigned i = 0; i < kMaxEdidSize; ++i) expected += Format("%u\t\t\t\n", i);
  EXPECT_EQ(bytes.out, expected);
}

TEST(VelmarEdidCli, ModesListTheCoreTableInItsOpeningOrder) {
  const std::vector<std::string> files = SamplePaths();
  const ToolResult result = RunTool(With({"modes"}, files));
  ASSERT_EQ(result.status, 0) << result.err;
  const auto sections = Sections(result.out, files);
  ASSERT_EQ(sections.size(), files.size());
  for (const std::string& file : files) {
    const std::vector<std::string> lines = Lines(sections.at(file));
    ASSERT_FALSE(lines.empty()) << file;
    EXPECT_EQ(lines[0].rfind("Resolution\tRefresh Rate\tSource\t", 0), 0u);
    CoreImage core(file);
    ModeTable table;
    table.Open(&core.image);
    ASSERT_EQ(lines.size(), table.RowCount() + 1) << file;
    for (size_t r = 0; r < table.RowCount(); ++r) {
      const std::vector<std::string> fields = Fields(lines[r + 1]);
      ASSERT_EQ(fields.size(), kModeColumnCount) << lines[r + 1];
      EXPECT_TRUE(std::equal(fields.begin(), fields.end(), table.Rows()[r].begin())) << lines[r + 1];
      if (r > 0) {
        const std::string previous = Fields(lines[r])[kColumnResolution];
        EXPECT_LE(ModeTable::CompareCells(ModeSortType::Pair, previous, fields[kColumnResolution]), 0);
      }
    }
  }

  // Decoded values, once the base block announces its modes.
  const std::string& lg = sections.at(Corpus("ed-6d7c99668026.bin"));
  if (Lines(lg).size() > 1) {
    EXPECT_NE(lg.find("\n640x480\t60Hz\tEstablished\tEDID Base\t"), std::string::npos);
    // The first detailed timing: 119 MHz, 1680+48+32(+80) x 1050+3+6(+21), as edid-decode reads it.
    bool found = false;
    for (const std::string& line : Lines(lg)) {
      const std::vector<std::string> f = Fields(line);
      if (f.size() != kModeColumnCount || f[kColumnBlock] != "EDID(B) Desc0") continue;
      found = true;
      EXPECT_EQ(f[kColumnResolution], "1680x1050");
      EXPECT_EQ(f[kColumnSource], "Detailed");
      EXPECT_EQ(f[kColumnPixelClock], "119000KHz");
      EXPECT_EQ(f[kColumnHTotal] + "/" + f[kColumnVTotal], "1840/1080");
      EXPECT_EQ(f[kColumnHPorch] + "/" + f[kColumnHSync] + "/" + f[kColumnVPorch] + "/" + f[kColumnVSync],
                "48/32/3/6");
    }
    EXPECT_TRUE(found);
  }
}

TEST(VelmarEdidCli, BytesNameEveryImageByte) {
  const std::vector<std::string> files = SamplePaths();
  const ToolResult result = RunTool(With({"bytes"}, files));
  ASSERT_EQ(result.status, 0) << result.err;
  const auto sections = Sections(result.out, files);
  ASSERT_EQ(sections.size(), files.size());
  for (const std::string& file : files) {
    const std::vector<std::string> lines = Lines(sections.at(file));
    ASSERT_EQ(lines.size(), kMaxEdidSize) << file;
    CoreImage core(file);
    for (unsigned i = 0; i < kMaxEdidSize; ++i) {
      std::string name;
      std::string group;
      std::string label;
      core.image.DescribeByte(i, name, group, label);
      ASSERT_EQ(lines[i], Format("%u\t%s\t%s\t%s", i, label.c_str(), name.c_str(), group.c_str())) << file;
      if (i >= core.image.GetUsedSize()) {
        ASSERT_EQ(lines[i], Format("%u\t\t\t", i));
      }
    }
  }
  // Once the base block names its bytes, all 128 carry its label and a name.
  const std::vector<std::string> lg = Lines(sections.at(Corpus("ed-6d7c99668026.bin")));
  if (!Fields(lg[0])[1].empty()) {
    for (unsigned i = 0; i < kBlockSize; ++i) {
      EXPECT_EQ(Fields(lg[i])[1], Fields(lg[0])[1]) << i;
      EXPECT_NE(Fields(lg[i])[2], "") << i;
    }
  }
}

TEST(VelmarEdidCli, CrlfKeepsTheProgramsLineEnds) {
  const std::vector<std::string> files = {Corpus(kSample[3]), Corpus(kSample[5])};
  for (const char* command : {"summary", "report", "modes", "bytes"}) {
    std::vector<std::string> args = {command, "--time", kMoment};
    if (std::string(command) != "report") args.resize(1);
    const ToolResult lf = RunTool(With(args, files));
    const ToolResult crlf = RunTool(With(With(args, {"--crlf"}), files));
    EXPECT_EQ(lf.status, 0);
    EXPECT_EQ(crlf.status, 0);
    EXPECT_EQ(lf.out.find('\r'), std::string::npos) << command;
    EXPECT_EQ(crlf.out, ToCrlf(lf.out)) << command;
  }
  // With CR LF the report is the core's text exactly.
  const ToolResult report = RunTool({"report", "--crlf", "--time", kMoment, files[0]});
  CoreImage core(files[0]);
  ContentCollector text;
  core.image.FillContent(&text, kContentErrorsReport);
  EXPECT_EQ(report.out, text.Text());
}

TEST(VelmarEdidCli, ANameWithoutADotIsReadAsRawBinary) {
  TempDir dir;
  std::filesystem::create_directory(dir / "card0-HDMI-A-1.d");
  const std::string sysfs = dir / "card0-HDMI-A-1.d/edid";
  CopyFile(Corpus(kSample[3]), sysfs);
  const ToolResult fromSysfs = RunTool({"summary", sysfs});
  const ToolResult fromBin = RunTool({"summary", Corpus(kSample[3])});
  EXPECT_EQ(fromSysfs.status, 0);
  EXPECT_EQ(fromSysfs.err, "");
  EXPECT_EQ(fromSysfs.out, fromBin.out);

  // Mixed-case extensions pick their reader too.
  CopyFile(Corpus(kSample[3]), dir / "monitor.Bin");
  EXPECT_EQ(RunTool({"summary", dir / "monitor.Bin"}).out, fromBin.out);
}

TEST(VelmarEdidCli, ConvertRoundTrips) {
  TempDir dir;
  for (const char* name : {"ed-6d7c99668026.bin", "ed-0a6ce2250e57.bin", "ed-76b1b316c228.bin",
                                  "ed-087fc036424b.bin"}) {
    const std::string source = Corpus(name);
    const std::string original = ReadTextFile(source);
    ASSERT_EQ(RunTool({"convert", source, dir / "a.txt"}).status, 0) << name;
    const std::string text = ReadTextFile(dir / "a.txt");
    // Upper-case hexadecimal, sixteen to a line, CR LF.
    std::string expected;
    for (size_t i = 0; i < original.size(); ++i) {
      expected += Format("%02X", static_cast<uint8_t>(original[i]));
      expected += (i % 16 == 15 || i + 1 == original.size()) ? "\r\n" : " ";
    }
    EXPECT_EQ(text, expected) << name;

    ASSERT_EQ(RunTool({"convert", dir / "a.txt", dir / "b.EDID"}).status, 0);
    EXPECT_EQ(ReadTextFile(dir / "b.EDID"), original) << name;
    ASSERT_EQ(RunTool({"convert", dir / "b.EDID", dir / "c.etxt"}).status, 0);
    EXPECT_EQ(ReadTextFile(dir / "c.etxt"), text);
    ASSERT_EQ(RunTool({"convert", dir / "c.etxt", dir / "edid"}).status, 0);
    EXPECT_EQ(ReadTextFile(dir / "edid"), original) << name;
    ASSERT_EQ(RunTool({"convert", dir / "edid", dir / "d.ebin"}).status, 0);
    EXPECT_EQ(ReadTextFile(dir / "d.ebin"), original) << name;
  }

  // Only the used bytes travel: a 128-byte block read from a padded file.
  WriteTextFile(dir / "padded.bin", ReadTextFile(Corpus("ed-6d7c99668026.bin")) + std::string(200, '\0'));
  const ToolResult padded = RunTool({"convert", dir / "padded.bin", dir / "short.bin"});
  EXPECT_EQ(padded.status, 0);
  EXPECT_EQ(padded.out, "");
  EXPECT_EQ(ReadTextFile(dir / "short.bin"), ReadTextFile(Corpus("ed-6d7c99668026.bin")));
}

TEST(VelmarEdidCli, ConvertFailures) {
  TempDir dir;
  const std::string source = Corpus("ed-6d7c99668026.bin");

  // An output format nobody writes is refused before the input is even read.
  for (const std::string& out : {dir / "out.xyz", dir / "out."}) {
    const ToolResult result = RunTool({"convert", dir / "missing.bin", out});
    EXPECT_EQ(result.status, 2) << out;
    EXPECT_NE(result.err.find("cannot write a file with the extension"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("bin, edid, ebin"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("txt, etxt"), std::string::npos) << result.err;
    EXPECT_FALSE(Exists(out));
  }

  const ToolResult noFolder = RunTool({"convert", source, dir / "none/out.bin"});
  EXPECT_EQ(noFolder.status, 1);
  EXPECT_EQ(noFolder.err, "Failed to open [" + (dir / "none/out.bin") + "] for writing: No such file or directory\n");

  // An existing file is replaced whole.
  WriteTextFile(dir / "old.txt", std::string(5000, 'x'));
  EXPECT_EQ(RunTool({"convert", source, dir / "old.txt"}).status, 0);
  EXPECT_EQ(ReadTextFile(dir / "old.txt").size(), 8u * 49u);

  // A text that is not hexadecimal fails the run: the message goes to standard
  // error, the status is 1, and no output is written.
  WriteTextFile(dir / "bad.txt", "00 FF GG\n");
  const ToolResult bad = RunTool({"convert", dir / "bad.txt", dir / "bad.bin"});
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.err, "Invalid File Format\n");
  EXPECT_FALSE(Exists(dir / "bad.bin"));
}

TEST(VelmarEdidCli, LostOutputFailsTheRun) {
  if (!Exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  ToolOptions full;
  full.stdoutPath = "/dev/full";
  const ToolResult result = RunTool({"bytes", Corpus(kSample[1])}, full);
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "velmar-edid: error writing standard output\n");
}

}  // namespace
}  // namespace velmar
