// velmar-edid: the command line tool over the same core as the desktop program.
#include <cstdio>
#include <cstring>
#include <string>

#include "app/Callbacks.h"
#include "app/EdidImage.h"
#include "app/UserInterface.h"
#include "storage/BinFile.h"

namespace {

// Messages go to standard error; nothing is ever asked.
class ConsoleUserInterface : public velmar::UserInterface {
 public:
  void ShowMessage(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
  bool AskOkCancel(const std::string&) override { return true; }
  std::optional<std::string> AskOpenFile(const velmar::FileDialogRequest&) override { return std::nullopt; }
  std::optional<std::string> AskSaveFile(const velmar::FileDialogRequest&) override { return std::nullopt; }
  unsigned SelectItem(velmar::CallbackContext*, unsigned) override { return velmar::kNoSelection; }
  void ShowContent(velmar::CallbackContext*, unsigned) override {}
  void ShowModes(velmar::CallbackContext*) override {}
  bool EditRawData(velmar::CallbackContext*, uint8_t*, unsigned) override { return false; }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || (std::strcmp(argv[1], "summary") != 0 && std::strcmp(argv[1], "report") != 0)) {
    std::fprintf(stderr, "usage: velmar-edid summary|report FILE\n");
    return 2;
  }
  ConsoleUserInterface ui;
  velmar::EdidImage image(ui);
  if (!velmar::LoadBinFile(image, argv[2])) return 1;
  velmar::ContentCollector text;
  image.FillContent(&text, std::strcmp(argv[1], "summary") == 0 ? velmar::kContentSummary
                                                                 : velmar::kContentErrorsReport);
  std::fwrite(text.Text().data(), 1, text.Text().size(), stdout);
  return 0;
}
