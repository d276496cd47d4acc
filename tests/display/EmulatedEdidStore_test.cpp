#include "display/EmulatedEdidStore.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "app/MainWindowCore.h"
#include "display/SimLibrary.h"
#include "storage/FileIO.h"
#include "support/OtherOwner.h"
#include "support/ScriptedUserInterface.h"
#include "support/TestData.h"

namespace velmar {
namespace {

using testing::ReadTextFile;
using testing::ScriptedUserInterface;
using testing::SimLibrary;
using testing::WriteTextFile;

std::vector<std::string> TreeOf(const std::string& folder) {
  std::vector<std::string> entries;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    entries.push_back(entry.path().string().substr(folder.size()));
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}

class EmulatedEdidStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = testing::MakeTempDir();
    store.SetRoot(dir + "/root");
  }
  void TearDown() override { testing::RemoveTree(dir); }

  std::string dir;
  EmulatedEdidStore store;
};

TEST_F(EmulatedEdidStoreTest, ValuesAreFilesInKeyFolders) {
  EXPECT_EQ(EmulatedEdidStore::ValueName(true, 0), "NEXOEmulatedEDID_A0");
  EXPECT_EQ(EmulatedEdidStore::ValueName(false, 12), "NEXOEmulatedEDID_D12");
  const std::string key = "SYSTEM\\Velmar\\pci-0000:01:00.0";
  EXPECT_FALSE(store.ValueExists(key, "V"));
  const std::vector<uint8_t> bytes = {1, 2, 3};
  ASSERT_TRUE(store.WriteValue(key, "V", bytes.data(), 3));
  EXPECT_EQ(ReadTextFile(dir + "/root/SYSTEM/Velmar/pci-0000:01:00.0/V"), "\x01\x02\x03");
  EXPECT_TRUE(store.ValueExists(key, "V"));
  std::array<uint8_t, kMaxEdidSize> read{};
  read.fill(0xEE);
  unsigned size = 0;
  ASSERT_TRUE(store.ReadValue(key, "V", read, size));
  EXPECT_EQ(size, 3u);
  EXPECT_EQ(read[2], 3);
  EXPECT_EQ(read[3], 0);
  ASSERT_TRUE(store.WriteValue(key, "V", bytes.data(), 1));  // replaced
  ASSERT_TRUE(store.ReadValue(key, "V", read, size));
  EXPECT_EQ(size, 1u);
  EXPECT_TRUE(store.DeleteValue(key, "V"));
  EXPECT_FALSE(store.ValueExists(key, "V"));
  EXPECT_FALSE(store.DeleteValue(key, "V"));  // deleting a missing value fails
  EXPECT_FALSE(store.ReadValue(key, "V", read, size));
}

TEST_F(EmulatedEdidStoreTest, ValuesAbove512BytesCannotBeRead) {
  const std::vector<uint8_t> big(513, 0x11);
  ASSERT_TRUE(store.WriteValue("K", "Big", big.data(), 513));
  ASSERT_TRUE(store.WriteValue("K", "Full", big.data(), 512));
  std::array<uint8_t, kMaxEdidSize> read{};
  unsigned size = 0;
  EXPECT_FALSE(store.ReadValue("K", "Big", read, size));
  EXPECT_EQ(read[0], 0);  // untouched
  EXPECT_TRUE(store.ReadValue("K", "Full", read, size));
  EXPECT_EQ(size, 512u);
}

TEST_F(EmulatedEdidStoreTest, NothingOutsideTheRootIsTouched) {
  ASSERT_TRUE(std::filesystem::create_directories(dir + "/root/A"));
  WriteTextFile(dir + "/outside", "keep");
  ASSERT_EQ(::symlink((dir).c_str(), (dir + "/root/Link").c_str()), 0);
  ASSERT_EQ(::symlink((dir + "/outside").c_str(), (dir + "/root/A/Value").c_str()), 0);
  const std::vector<std::string> before = TreeOf(dir);
  const uint8_t byte = 0x42;
  std::array<uint8_t, kMaxEdidSize> read{};
  unsigned size = 0;
  for (const std::string& key :
       std::vector<std::string>{"", "\\A", "A\\", "A\\\\B", "A\\.\\B", ".", "..", "A\\..\\..\\x", "A/../../x", "A\\B/C",
                                "/tmp", "Link", "Link\\root", std::string("A\0B", 3)}) {
    SCOPED_TRACE(key);
    EXPECT_FALSE(store.WriteValue(key, "outside", &byte, 1));
    EXPECT_FALSE(store.ValueExists(key, "outside"));
    EXPECT_FALSE(store.ReadValue(key, "outside", read, size));
    EXPECT_FALSE(store.DeleteValue(key, "outside"));
  }
  for (const std::string name : {"", ".", "..", "../outside", "Value"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(store.WriteValue("A", name, &byte, 1));
    EXPECT_FALSE(store.ValueExists("A", name));
    EXPECT_FALSE(store.ReadValue("A", name, read, size));
    EXPECT_FALSE(store.DeleteValue("A", name));
  }
  EXPECT_EQ(TreeOf(dir), before);
  EXPECT_EQ(ReadTextFile(dir + "/outside"), "keep");
}

// The value is written through the key folder's open descriptor: a key folder
// swapped for a link while the value is written cannot move the write (or a
// temporary file) anywhere else.
TEST_F(EmulatedEdidStoreTest, AValueIsWrittenIntoTheKeyFolderThatWasOpened) {
  const uint8_t byte = 0x42;
  ASSERT_TRUE(store.WriteValue("SYSTEM\\K", "V", &byte, 1));
  std::filesystem::create_directories(dir + "/outside");
  const std::vector<uint8_t> bytes = {1, 2, 3};
  {
    bool swapped = false;
    ScopedWriteOverride swap([&](int fd, const void* data, size_t size) -> long {
      if (!swapped) {
        std::filesystem::rename(dir + "/root/SYSTEM/K", dir + "/root/SYSTEM/K-moved");
        std::filesystem::create_directory_symlink(dir + "/outside", dir + "/root/SYSTEM/K");
        swapped = true;
      }
      return static_cast<long>(::write(fd, data, size));
    });
    EXPECT_TRUE(store.WriteValue("SYSTEM\\K", "V", bytes.data(), 3));
  }
  EXPECT_EQ(ReadTextFile(dir + "/root/SYSTEM/K-moved/V"), "\x01\x02\x03");
  EXPECT_EQ(TreeOf(dir + "/root/SYSTEM/K-moved"), std::vector<std::string>{"/V"});
  EXPECT_TRUE(TreeOf(dir + "/outside").empty());
}

// Run as root, a root folder someone else could change (su without "-" keeps
// the user's HOME) is refused and the commands say why.
TEST_F(EmulatedEdidStoreTest, AsRootARootOthersCanChangeIsRefused) {
  VELMAR_SKIP_UNLESS_ROOT();
  std::filesystem::create_directories(dir + "/home/.local");
  ASSERT_TRUE(testing::GiveToOtherUser(dir + "/home"));
  store.SetRoot(dir + "/home/.local/state/registry");
  const uint8_t byte = 0x42;
  EXPECT_FALSE(store.WriteValue("K", "V", &byte, 1));
  EXPECT_EQ(store.Refusal(), "Not using the registry folder " + dir + "/home/.local/state/registry as root: " + dir +
                                 "/home is owned by uid 65534, not by root");
  EXPECT_FALSE(std::filesystem::exists(dir + "/home/.local/state"));
  // Root's own folder, made as needed.
  store.SetRoot(dir + "/root/registry");
  EXPECT_TRUE(store.WriteValue("K", "V", &byte, 1));
  EXPECT_EQ(store.Refusal(), "");
}

TEST_F(EmulatedEdidStoreTest, TheRootComesFromTheEnvironment) {
  const char* saved[3] = {std::getenv("VELMAR_REGISTRY_ROOT"), std::getenv("XDG_STATE_HOME"), std::getenv("HOME")};
  const std::string copies[3] = {saved[0] ? saved[0] : "", saved[1] ? saved[1] : "", saved[2] ? saved[2] : ""};
  ::unsetenv("VELMAR_REGISTRY_ROOT");
  ::unsetenv("XDG_STATE_HOME");
  ::setenv("HOME", "/home/u", 1);
  EXPECT_EQ(EmulatedEdidStore::DefaultRoot(), "/home/u/.local/state/velmar-edid-utility/registry");
  ::setenv("XDG_STATE_HOME", "/state", 1);
  EXPECT_EQ(EmulatedEdidStore::DefaultRoot(), "/state/velmar-edid-utility/registry");
  ::setenv("VELMAR_REGISTRY_ROOT", "/reg", 1);
  EXPECT_EQ(EmulatedEdidStore().Root(), "/reg");
  const char* names[3] = {"VELMAR_REGISTRY_ROOT", "XDG_STATE_HOME", "HOME"};
  for (int i = 0; i < 3; ++i) {
    if (saved[i] != nullptr) {
      ::setenv(names[i], copies[i].c_str(), 1);
    } else {
      ::unsetenv(names[i]);
    }
  }
}

// A user interface that runs `afterList` once a selection list was filled.
class ListingUserInterface : public ScriptedUserInterface {
 public:
  unsigned SelectItem(CallbackContext* owner, unsigned kind) override {
    const unsigned choice = ScriptedUserInterface::SelectItem(owner, kind);
    if (afterList) afterList();
    return choice;
  }
  std::function<void()> afterList;
};

class RegistryCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    core.Displays().SetLibraryCandidates(SimLibrary::Candidates());
    core.Store().SetRoot(sim.Path("registry"));
    sim.Configure(
        "adapter name=GPU path=\"\\REGISTRY\\MACHINE\\SYSTEM\\Sim\"\n"
        "adapter bus=9 name=Pathless\n"
        "display adapter=0 index=0 name=First\n"
        "display adapter=0 index=1 connected=0\n"
        "display adapter=1 index=0 name=Orphan\n");
    core.Initialize();
    base = testing::MakeBase13();
  }
  std::vector<uint8_t> Used() const {
    return std::vector<uint8_t>(core.Image().rawData.begin(),
                                core.Image().rawData.begin() + core.Image().GetUsedSize());
  }
  void Load(const std::vector<uint8_t>& bytes) {
    core.Image().rawData.fill(0);
    std::copy(bytes.begin(), bytes.end(), core.Image().rawData.begin());
    core.Image().Rebuild();
  }
  std::string ValueFile(const std::string& name) const { return sim.Path("registry/SYSTEM/Sim/" + name); }
  void Store(const std::string& name, const std::vector<uint8_t>& bytes) const {
    std::filesystem::create_directories(sim.Path("registry/SYSTEM/Sim"));
    WriteTextFile(ValueFile(name), std::string(bytes.begin(), bytes.end()));
  }

  SimLibrary sim;
  ListingUserInterface ui;
  MainWindowCore core{ui};
  std::vector<uint8_t> base;
};

TEST_F(RegistryCommandsTest, WithoutDisplaysOrValuesTheCommandsSaySo) {
  core.ReadEmulatedEdidFromRegistry();
  core.DeleteEmulatedEdidRegistry();
  core.OverrideEmulatedEdidRegistry();
  EXPECT_EQ(ui.messages, (std::vector<std::string>{"No emulated display registry present",
                                                   "No emulated display registry present", "No Valid EDID present"}));
  ui.Clear();
  sim.Configure("count 0\n");
  core.ReinitGraphicsAdapterInfo();
  core.ReadEmulatedEdidFromRegistry();
  core.OverrideEmulatedEdidRegistry();
  core.DeleteEmulatedEdidRegistry();
  EXPECT_EQ(ui.messages, std::vector<std::string>(3, "No supported displays detected"));
  EXPECT_TRUE(ui.selections.empty());

  // A REG file needs a display's value: without one the command names the command line's way.
  ui.Clear();
  Load(base);
  core.SaveFile(SourceKind::RegFile);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].rfind("No supported displays detected\r\n", 0), 0u);
  EXPECT_NE(ui.messages[0].find("--reg-key PATH and --reg-value NAME"), std::string::npos);
  EXPECT_TRUE(ui.selections.empty());
}

TEST_F(RegistryCommandsTest, OverridingWritesTheChosenValue) {
  Load(base);
  core.Image().SetModified();
  ui.choices = {1};
  core.OverrideEmulatedEdidRegistry();
  ASSERT_EQ(ui.selections.size(), 1u);
  EXPECT_EQ(ui.selections[0].content.title, "Select Display Registry");
  EXPECT_EQ(
      ui.selections[0].content.items,
      (std::vector<std::string>{"[0]: Analog  Display[0] = \"First\"", "[0]: Digital Display[0] = \"First\"",
                                "[0]: Analog  Display[1] (Not Connected)", "[0]: Digital Display[1] (Not Connected)",
                                "[1]: Analog  Display[0] = \"Orphan\"", "[1]: Digital Display[0] = \"Orphan\""}));
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(testing::ReadBytes(ValueFile("NEXOEmulatedEDID_D0")), base);
  EXPECT_FALSE(core.Image().IsModified());
  EXPECT_EQ(core.Image().Labels().source, "NEXOEmulatedEDID_D0 (Registry Value for Display[0])");
  EXPECT_EQ(core.Image().Labels().pathCaption, "Reg Path:");
  EXPECT_EQ(core.Image().Labels().path, "SYSTEM\\Sim");

  // The display of the second adapter has no registry path.
  ui.choices = {4};
  core.Image().SetModified();
  core.OverrideEmulatedEdidRegistry();
  EXPECT_EQ(ui.messages, std::vector<std::string>{"Failed to write registry"});
  EXPECT_TRUE(core.Image().IsModified());
}

TEST_F(RegistryCommandsTest, ReadingListsExistingValuesOnly) {
  std::vector<uint8_t> other = base;
  other[8] = 0x22;
  testing::FixChecksum(other.data());
  Store("NEXOEmulatedEDID_A1", base);
  Store("NEXOEmulatedEDID_D0", other);
  ui.choices = {0};
  core.ReadEmulatedEdidFromRegistry();
  ASSERT_EQ(ui.selections.size(), 1u);
  EXPECT_EQ(ui.selections[0].kind, kContentExistingEmulatedValues);
  EXPECT_EQ(ui.selections[0].content.items, (std::vector<std::string>{"[0]: Digital Display[0] = \"First\"",
                                                                      "[0]: Analog Display[1] (Not Connected)"}));
  EXPECT_EQ(Used(), other);
  EXPECT_EQ(core.Image().GetSourceKind(), SourceKind::RegistryValue);
  EXPECT_EQ(core.Image().Labels().source, "NEXOEmulatedEDID_D0 (Registry Value for Display[0])");
  EXPECT_FALSE(core.Image().IsModified());

  // The choice is mapped through the list as it was shown, even when the
  // values change behind it.
  ui.afterList = [this]() { std::filesystem::remove(ValueFile("NEXOEmulatedEDID_D0")); };
  ui.choices = {1};
  core.ReadEmulatedEdidFromRegistry();
  EXPECT_EQ(Used(), base);
  EXPECT_EQ(core.Image().Labels().source, "NEXOEmulatedEDID_A1 (Registry Value for Display[1])");
}

TEST_F(RegistryCommandsTest, AFailedReadChangesNothing) {
  std::vector<uint8_t> big(513, 0);
  std::copy(base.begin(), base.end(), big.begin());
  Store("NEXOEmulatedEDID_D0", big);
  Load(base);
  core.Image().SetModified();
  ui.choices = {0};
  core.ReadEmulatedEdidFromRegistry();
  EXPECT_EQ(ui.messages, std::vector<std::string>{"Failed to read registry"});
  EXPECT_EQ(Used(), base);
  EXPECT_TRUE(core.Image().IsModified());
  EXPECT_EQ(core.Image().BlockCount(), 1u);
}

TEST_F(RegistryCommandsTest, DeletingTheImagesOwnSourceMarksItModified) {
  Store("NEXOEmulatedEDID_A0", base);
  Store("NEXOEmulatedEDID_D0", base);
  ui.choices = {1};
  core.ReadEmulatedEdidFromRegistry();
  ASSERT_EQ(core.Image().Labels().source, "NEXOEmulatedEDID_D0 (Registry Value for Display[0])");
  ui.choices = {0};
  core.DeleteEmulatedEdidRegistry();  // the analog value: another one
  EXPECT_FALSE(std::filesystem::exists(ValueFile("NEXOEmulatedEDID_A0")));
  EXPECT_FALSE(core.Image().IsModified());
  ui.choices = {0};
  core.DeleteEmulatedEdidRegistry();
  EXPECT_FALSE(std::filesystem::exists(ValueFile("NEXOEmulatedEDID_D0")));
  EXPECT_TRUE(core.Image().IsModified());
  EXPECT_EQ(core.Image().Labels().modifiedMark, "[Modified]");
  EXPECT_EQ(core.Image().GetSourceKind(), SourceKind::RegistryValue);
  EXPECT_TRUE(ui.messages.empty());

  // A value that vanished after the list was shown cannot be deleted.
  Store("NEXOEmulatedEDID_A0", base);
  ui.afterList = [this]() { std::filesystem::remove(ValueFile("NEXOEmulatedEDID_A0")); };
  ui.choices = {0};
  core.DeleteEmulatedEdidRegistry();
  EXPECT_EQ(ui.messages, std::vector<std::string>{"Failed to delete registry"});
}

}  // namespace
}  // namespace velmar
