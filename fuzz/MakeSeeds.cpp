// Writes the seed inputs of the fuzz targets from a folder of raw EDID files:
// each file as it is (bin, image, edit) and in the text, INF and REG formats.
#include <dirent.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "app/EdidImage.h"
#include "app/ImageFiles.h"
#include "common/UserInterface.h"
#include "util/Clock.h"

namespace {

class SilentUserInterface : public velmar::UserInterface {
 public:
  void ShowMessage(const std::string&) override {}
  bool AskOkCancel(const std::string&) override { return true; }
  std::optional<std::string> AskOpenFile(const velmar::FileDialogRequest&) override { return std::nullopt; }
  std::optional<std::string> AskSaveFile(const velmar::FileDialogRequest&) override { return std::nullopt; }
  unsigned SelectItem(velmar::CallbackContext*, unsigned) override { return velmar::kNoSelection; }
  void ShowContent(velmar::CallbackContext*, unsigned) override {}
  void ShowModes(velmar::CallbackContext*) override {}
  bool EditRawData(velmar::CallbackContext*, uint8_t*, unsigned) override { return false; }
  bool EditForm(velmar::EditorForm&) override { return false; }
};

void Write(const std::string& path, const std::string& contents) {
  std::ofstream out(path, std::ios::binary);
  out << contents;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: fuzz_seeds EDID_FOLDER OUT_FOLDER\n");
    return 2;
  }
  const std::string in = argv[1];
  const std::string out = argv[2];
  DIR* folder = opendir(in.c_str());
  if (folder == nullptr) return 1;
  std::vector<std::string> names;
  while (dirent* entry = readdir(folder)) {
    const std::string name = entry->d_name;
    if (name.size() > 4 && name.substr(name.size() - 4) == ".bin") names.push_back(name);
  }
  closedir(folder);
  velmar::EncodeOptions options;
  options.date.year = 2026;
  options.date.month = 12;
  options.date.day = 8;
  options.registryPath = "SYSTEM\\CurrentControlSet\\Control\\Class\\0000";
  options.valueName = "NEXOEmulatedEDID_D0";
  for (const std::string& name : names) {
    SilentUserInterface ui;
    velmar::EdidImage image(ui);
    if (!velmar::LoadImageFile(image, velmar::SourceKind::BinFile, in + "/" + name)) continue;
    const std::string stem = name.substr(0, name.size() - 4);
    Write(out + "/txt/" + stem + ".txt", velmar::EncodeImage(image, velmar::SourceKind::TxtFile, options));
    Write(out + "/inf/" + stem + ".inf", velmar::EncodeImage(image, velmar::SourceKind::InfFile, options));
    Write(out + "/reg/" + stem + ".reg", velmar::EncodeImage(image, velmar::SourceKind::RegFile, options));
  }
  return 0;
}
