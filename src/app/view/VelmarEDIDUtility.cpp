#include "app/view/VelmarEDIDUtility.h"

#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <memory>
#include <string>

#include "app/view/VelmarEDIDUtilityDlg.h"
#include "dialogs/EditorForm.h"
#include "dialogs/view/FormDlg.h"
#include "pages/BlockPage.h"

namespace velmar {

namespace {

// The peak resident memory of the process, from the kernel's own record.
std::string PeakResidentKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) {
      const size_t digits = line.find_first_of("0123456789");
      return digits == std::string::npos ? std::string() : line.substr(digits, line.find(' ', digits) - digits);
    }
  }
  return std::string();
}

// For the start-up benchmark: with VELMAR_STARTUP_PROBE set, the program
// reports the wall clock and its peak memory as soon as the window is shown
// (and the command-line file loaded), then quits.
void ReportStartupAndQuit() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  std::fprintf(stderr, "shown_realtime_ns=%lld\npeak_rss_kb=%s\n",
               static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec, PeakResidentKb().c_str());
  QApplication::quit();
}

// For the screenshot script: with VELMAR_SCREENSHOT set to a file name, the
// program saves a picture of its window there once it is shown, then quits.
void SaveScreenshotAndQuit(QWidget& window, const QString& file) {
  const bool saved = window.grab().save(file);
  if (!saved) std::fprintf(stderr, "cannot save %s\n", file.toLocal8Bit().constData());
  QApplication::exit(saved ? 0 : 1);
}

// With VELMAR_SCREENSHOT_FORM also set to a form's address ("cea1.db7"), the
// picture is of that form's dialog, shown over the window, instead.
void SaveFormScreenshotAndQuit(VelmarEDIDUtilityDlg& window, const std::string& address, const QString& file) {
  EdidImage& image = window.Core().Image();
  for (unsigned b = 0; b < image.BlockCount(); ++b) {
    BlockPage* page = image.GetPage(b);
    const std::string prefix = page != nullptr ? page->FormPrefix() + "." : std::string();
    if (page == nullptr || address.compare(0, prefix.size(), prefix) != 0) continue;
    std::unique_ptr<EditorForm> form = page->CreateForm(address.substr(prefix.size()));
    if (form == nullptr) break;
    FormDlg dialog(&window, &window.Ui(), *form);
    dialog.show();
    QApplication::processEvents();
    const bool saved = dialog.grab().save(file);
    if (!saved) std::fprintf(stderr, "cannot save %s\n", file.toLocal8Bit().constData());
    QApplication::exit(saved ? 0 : 1);
    return;
  }
  std::fprintf(stderr, "no form %s\n", address.c_str());
  QApplication::exit(1);
}

}  // namespace

int VelmarEDIDUtility::Run(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("velmar-edid-utility"));
  QApplication::setApplicationDisplayName(QStringLiteral("Velmar EDID Utility"));
  QApplication::setApplicationVersion(QStringLiteral(VELMAR_VERSION_TEXT));

  // The toolkit has taken its own options out of argv; the first argument left
  // is the file to open, used exactly as given.
  const std::string path = argc > 1 && argv[1] != nullptr ? std::string(argv[1]) : std::string();
  const bool probe = std::getenv("VELMAR_STARTUP_PROBE") != nullptr;
  const QString screenshot = QString::fromLocal8Bit(std::getenv("VELMAR_SCREENSHOT"));
  const char* screenshotForm = std::getenv("VELMAR_SCREENSHOT_FORM");
  const std::string formAddress = screenshotForm != nullptr ? screenshotForm : "";

  int result = 0;
  {
    VelmarEDIDUtilityDlg window;
    window.show();
    QTimer::singleShot(0, &window, [&window, path, probe, screenshot, formAddress] {
      if (!path.empty()) window.OpenCommandLineFile(path);
      if (probe) QTimer::singleShot(0, &window, [] { ReportStartupAndQuit(); });
      if (!screenshot.isEmpty() && !formAddress.empty()) {
        QTimer::singleShot(0, &window, [&window, screenshot, formAddress] {
          SaveFormScreenshotAndQuit(window, formAddress, screenshot);
        });
      } else if (!screenshot.isEmpty()) {
        QTimer::singleShot(0, &window, [&window, screenshot] { SaveScreenshotAndQuit(window, screenshot); });
      }
    });
    result = QApplication::exec();
  }
  return result;
}

}  // namespace velmar
