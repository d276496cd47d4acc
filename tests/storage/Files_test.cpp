#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "app/ImageFiles.h"
#include "app/MainWindowCore.h"
#include "storage/FileIO.h"
#include "storage/TxtFile.h"
#include "support/FileTestFixture.h"
#include "support/ScriptedUserInterface.h"
#include "support/TestData.h"

namespace velmar {
namespace {

using testing::MakeBase13;
using testing::ReadTextFile;
using testing::ScriptedUserInterface;
using testing::WriteTextFile;

using FilesTest = testing::FileTestFixture;

TEST(TxtDecodeTest, LenientLayouts) {
  LoadResult result = DecodeTxtFile("00: 00 FF ff\n010| 0x1F 1FF, 0 1 2\r\n");
  ASSERT_EQ(result.status, LoadStatus::Ok);
  EXPECT_EQ(result.length, 8u);
  EXPECT_EQ(std::vector<uint8_t>(result.bytes.begin(), result.bytes.begin() + 8),
            (std::vector<uint8_t>{0x00, 0xFF, 0xFF, 0x1F, 0xFF, 0x00, 0x01, 0x02}));
  result = DecodeTxtFile("abc: AB\n");
  ASSERT_EQ(result.status, LoadStatus::Ok);
  EXPECT_EQ(result.length, 1u);
  EXPECT_EQ(result.bytes[0], 0xAB);
  // A label only counts at the start of a line; later a colon is a separator.
  result = DecodeTxtFile("AA BB: CC\n,,\n\t  \n");
  ASSERT_EQ(result.status, LoadStatus::Ok);
  EXPECT_EQ(result.length, 3u);
  EXPECT_EQ(result.bytes[1], 0xBB);
  result = DecodeTxtFile("");
  ASSERT_EQ(result.status, LoadStatus::Ok);
  EXPECT_EQ(result.length, 0u);
}

TEST(TxtDecodeTest, Failures) {
  EXPECT_EQ(DecodeTxtFile("GG").status, LoadStatus::InvalidFormat);
  EXPECT_EQ(DecodeTxtFile("01 0x").status, LoadStatus::InvalidFormat);
  EXPECT_EQ(DecodeTxtFile("01 -1").status, LoadStatus::InvalidFormat);
  EXPECT_EQ(DecodeTxtFile(std::string(31, '1')).status, LoadStatus::InvalidFormat);
  EXPECT_EQ(DecodeTxtFile(std::string(30, '1')).status, LoadStatus::Ok);
  std::string many;
  for (int i = 0; i < 513; ++i) many += "01 ";
  const LoadResult over = DecodeTxtFile(many);
  EXPECT_EQ(over.status, LoadStatus::Overflow);
  EXPECT_TRUE(std::all_of(over.bytes.begin(), over.bytes.end(), [](uint8_t b) { return b == 0; }));
  many.resize(many.size() - 3);
  EXPECT_EQ(DecodeTxtFile(many).status, LoadStatus::Ok);
}

TEST_F(FilesTest, TextRoundTripOfRealEdids) {
  for (const std::string& file : testing::CorpusFiles()) {
    ASSERT_TRUE(LoadImageFile(core.Image(), SourceKind::BinFile, file));
    const std::vector<uint8_t> original = Used();
    const std::string text = EncodeImage(core.Image(), SourceKind::TxtFile);
    WriteTextFile(Path("x.txt"), text);
    ui.Clear();
    ASSERT_TRUE(LoadImageFile(core.Image(), SourceKind::TxtFile, Path("x.txt")));
    EXPECT_EQ(Used(), original) << file;
    EXPECT_EQ(EncodeImage(core.Image(), SourceKind::TxtFile), text);
  }
}

TEST_F(FilesTest, TextLayoutOfTheWriter) {
  WriteBytes("a.bin", MakeBase13());
  ASSERT_TRUE(LoadImageFile(core.Image(), SourceKind::BinFile, Path("a.bin")));
  const std::string text = EncodeImage(core.Image(), SourceKind::TxtFile);
  EXPECT_EQ(text.substr(0, 49), "00 FF FF FF FF FF FF 00 00 00 00 00 00 00 00 00\r\n");
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 8);
  EXPECT_EQ(text.size(), 8u * 49u);
}

TEST_F(FilesTest, InvalidTextEmptiesTheImageButRecordsTheSource) {
  WriteBytes("a.bin", MakeBase13());
  ASSERT_TRUE(LoadImageFile(core.Image(), SourceKind::BinFile, Path("a.bin")));
  WriteTextFile(Path("bad.txt"), "00 FF GG\n");
  ASSERT_TRUE(LoadImageFile(core.Image(), SourceKind::TxtFile, Path("bad.txt")));
  EXPECT_EQ(ui.messages, std::vector<std::string>{"Invalid File Format"});
  EXPECT_EQ(core.Image().BlockCount(), 0u);
  EXPECT_EQ(core.Image().GetSourceKind(), SourceKind::TxtFile);
  EXPECT_EQ(core.Image().Labels().source, "None");
}

TEST_F(FilesTest, BinaryReaderTakesTheFirst512Bytes) {
  std::vector<uint8_t> bytes = MakeBase13();
  bytes.resize(600, 0x77);
  WriteBytes("big.bin", bytes);
  ASSERT_TRUE(LoadImageFile(core.Image(), SourceKind::BinFile, Path("big.bin")));
  EXPECT_EQ(core.Image().rawData[511], 0x77);
  EXPECT_EQ(core.Image().BlockCount(), 1u);
  EXPECT_EQ(core.Image().Labels().source, "big.bin (Binary File)");
  EXPECT_EQ(core.Image().Labels().path, dir);
}

TEST_F(FilesTest, LoadingClearsModifiedEvenWhenRebuildFails) {
  core.Image().SetModified();
  WriteBytes("junk.bin", {1, 2, 3});
  ASSERT_TRUE(LoadImageFile(core.Image(), SourceKind::BinFile, Path("junk.bin")));
  EXPECT_FALSE(core.Image().IsModified());
  EXPECT_EQ(ui.messages, std::vector<std::string>{"Failed to create Base Block"});
}

TEST_F(FilesTest, UnreadableFileLeavesTheImageAlone) {
  WriteBytes("a.bin", MakeBase13());
  ASSERT_TRUE(LoadImageFile(core.Image(), SourceKind::BinFile, Path("a.bin")));
  core.Image().SetModified();
  EXPECT_FALSE(LoadImageFile(core.Image(), SourceKind::BinFile, Path("missing.bin")));
  EXPECT_FALSE(LoadImageFile(core.Image(), SourceKind::TxtFile, dir));  // a folder cannot be read as a file
  EXPECT_EQ(ui.messages, (std::vector<std::string>{"Failed to open [" + Path("missing.bin") + "] for reading: No such file or directory",
                                                   "Failed to open [" + dir + "] for reading: Is a directory"}));
  EXPECT_EQ(core.Image().BlockCount(), 1u);
  EXPECT_TRUE(core.Image().IsModified());
  EXPECT_EQ(core.Image().GetSourceKind(), SourceKind::BinFile);
}

TEST_F(FilesTest, LoadCommandsAskBeforeDiscardingEdits) {
  WriteBytes("a.bin", MakeBase13());
  ui.openPaths = {Path("a.bin")};
  core.LoadFile(SourceKind::BinFile);
  EXPECT_TRUE(ui.questions.empty());
  ASSERT_EQ(ui.openDialogs.size(), 1u);
  EXPECT_EQ(ui.openDialogs[0].defaultExtension, "bin");
  EXPECT_EQ(ui.openDialogs[0].filter,
            "Binary files (*.bin)|*.bin|EDID Binary files (*.edid)|*.edid|EDID Binary files (*.ebin)|*.ebin|All "
            "files (*.*)|*.*||");
  core.Image().SetModified();
  ui.answers = {false};
  core.LoadFile(SourceKind::TxtFile);
  EXPECT_EQ(ui.questions, std::vector<std::string>{"All unsaved data will be lost\r\nAre you sure?"});
  EXPECT_EQ(ui.openDialogs.size(), 1u);  // cancelled before the dialog
  EXPECT_TRUE(core.Image().IsModified());
}

TEST_F(FilesTest, SaveCommandsWriteAndRecordTheSource) {
  WriteBytes("a.bin", MakeBase13());
  ASSERT_TRUE(LoadImageFile(core.Image(), SourceKind::BinFile, Path("a.bin")));
  core.Image().SetModified();
  ui.savePaths = {Path("out.txt"), Path("out.bin")};
  core.SaveFile(SourceKind::TxtFile);
  EXPECT_EQ(ui.saveDialogs[0].filter, "Text files (*.txt)|*.txt|EDID Text files (*.etxt)|*.etxt|All files (*.*)|*.*||");
  EXPECT_FALSE(core.Image().IsModified());
  EXPECT_EQ(core.Image().Labels().source, "out.txt (Text File)");
  EXPECT_EQ(core.Image().Labels().modifiedMark, "");
  core.SaveFile(SourceKind::BinFile);
  EXPECT_EQ(testing::ReadBytes(Path("out.bin")), MakeBase13());
  EXPECT_EQ(core.Image().GetSourceKind(), SourceKind::BinFile);
}

TEST_F(FilesTest, SavingAnEmptyImageCreatesAnEmptyFile) {
  ui.savePaths = {Path("empty.bin")};
  core.Initialize();
  core.SaveFile(SourceKind::BinFile);
  EXPECT_TRUE(std::filesystem::exists(Path("empty.bin")));
  EXPECT_EQ(std::filesystem::file_size(Path("empty.bin")), 0u);
  EXPECT_EQ(core.Image().Labels().source, "None");
}

TEST_F(FilesTest, AFileWithoutAnyEdidByteSaysSo) {
  struct Case {
    const char* name;
    SourceKind kind;
    std::string contents;
    std::string reason;
  };
  const std::vector<Case> cases = {
      {"empty.bin", SourceKind::BinFile, "", "the file holds no EDID bytes"},
      {"empty.txt", SourceKind::TxtFile, "", "the file holds no EDID bytes"},
      {"nothing.inf", SourceKind::InfFile, "[Version]\r\nClass=Monitor\r\n", "the file holds no EDID bytes"},
      {"nothing.reg", SourceKind::RegFile, "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SYSTEM]\r\n",
       "the file holds no EDID bytes"},
  };
  for (const Case& c : cases) {
    ui.Clear();
    WriteTextFile(Path(c.name), c.contents);
    ASSERT_TRUE(LoadImageFile(core.Image(), c.kind, Path(c.name))) << c.name;
    EXPECT_EQ(ui.messages, std::vector<std::string>{"No EDID in " + Path(c.name) + ": " + c.reason}) << c.name;
    EXPECT_EQ(core.Image().BlockCount(), 0u);
  }
  // A file that holds an EDID says nothing.
  ui.Clear();
  WriteBytes("a.bin", MakeBase13());
  ASSERT_TRUE(LoadImageFile(core.Image(), SourceKind::BinFile, Path("a.bin")));
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(FilesTest, FileDialogsOpenInTheLoadedFilesFolderAndSaveOffersItsName) {
  core.LoadFile(SourceKind::BinFile);  // nothing loaded: the toolkit's folder
  ASSERT_EQ(ui.openDialogs.size(), 1u);
  EXPECT_EQ(ui.openDialogs[0].folder, "");
  EXPECT_EQ(ui.openDialogs[0].fileName, "");

  WriteBytes("monitor.v2.bin", MakeBase13());
  ASSERT_TRUE(LoadImageFile(core.Image(), SourceKind::BinFile, Path("monitor.v2.bin")));
  core.LoadFile(SourceKind::TxtFile);
  ASSERT_EQ(ui.openDialogs.size(), 2u);
  EXPECT_EQ(ui.openDialogs[1].folder, dir);
  EXPECT_EQ(ui.openDialogs[1].fileName, "");
  core.SaveFile(SourceKind::InfFile);
  core.SaveFile(SourceKind::BinFile);
  ASSERT_EQ(ui.saveDialogs.size(), 2u);
  EXPECT_EQ(ui.saveDialogs[0].folder, dir);
  EXPECT_EQ(ui.saveDialogs[0].fileName, "monitor.v2.inf");
  EXPECT_EQ(ui.saveDialogs[1].fileName, "monitor.v2.bin");
}

TEST_F(FilesTest, TheLoadAndSaveKeysUseTheFormatsLastUsed) {
  EXPECT_EQ(core.ShortcutLoadKind(), SourceKind::BinFile);
  EXPECT_EQ(core.ShortcutSaveKind(), SourceKind::BinFile);
  WriteTextFile(Path("a.txt"), "00 FF FF FF FF FF FF 00\n");
  ASSERT_TRUE(OpenFileFromCommandLine(core.Image(), Path("a.txt")));
  // The loaded file's format, until the user picks one.
  EXPECT_EQ(core.ShortcutLoadKind(), SourceKind::TxtFile);
  EXPECT_EQ(core.ShortcutSaveKind(), SourceKind::TxtFile);
  core.LoadFile(SourceKind::InfFile);  // cancelled in the dialog: still the user's choice
  core.SaveFile(SourceKind::BinFile);
  EXPECT_EQ(core.ShortcutLoadKind(), SourceKind::InfFile);
  EXPECT_EQ(core.ShortcutSaveKind(), SourceKind::BinFile);
}

TEST_F(FilesTest, FailedWriteKeepsTheOldFileAndTheState) {
  WriteBytes("a.bin", MakeBase13());
  ASSERT_TRUE(LoadImageFile(core.Image(), SourceKind::BinFile, Path("a.bin")));
  core.Image().SetModified();
  WriteTextFile(Path("keep.txt"), "old contents");
  {
    // The disk is full.
    ScopedWriteOverride full([](int fd, const void* data, size_t size) -> long {
      (void)fd, (void)data, (void)size;
      errno = ENOSPC;
      return -1;
    });
    ui.savePaths = {Path("keep.txt")};
    core.SaveFile(SourceKind::TxtFile);
  }
  EXPECT_EQ(ReadTextFile(Path("keep.txt")), "old contents");
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].find("Failed to write [" + Path("keep.txt") + "]"), 0u);
  EXPECT_TRUE(core.Image().IsModified());
  EXPECT_EQ(core.Image().GetSourceKind(), SourceKind::BinFile);
  size_t entries = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    (void)entry;
    ++entries;
  }
  EXPECT_EQ(entries, 2u);  // no temporary file left behind
}

TEST_F(FilesTest, UncreatableFileShowsTheOpenMessage) {
  ui.savePaths = {Path("no/such/folder/x.bin")};
  core.SaveFile(SourceKind::BinFile);
  EXPECT_EQ(ui.messages, std::vector<std::string>{"Failed to open [" + Path("no/such/folder/x.bin") + "] for writing: No such file or directory"});
}

TEST_F(FilesTest, SaveKeepsPermissionsAndWritesThroughLinks) {
  WriteTextFile(Path("real.txt"), "x");
  ASSERT_EQ(::chmod(Path("real.txt").c_str(), 0640), 0);
  ASSERT_EQ(::symlink("real.txt", Path("link.txt").c_str()), 0);
  std::string error;
  ASSERT_EQ(WriteFileAtomically(Path("link.txt"), "new", &error), WriteStatus::Ok);
  EXPECT_TRUE(std::filesystem::is_symlink(Path("link.txt")));
  EXPECT_EQ(ReadTextFile(Path("real.txt")), "new");
  struct stat info {};
  ASSERT_EQ(::stat(Path("real.txt").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
}

}  // namespace
}  // namespace velmar
