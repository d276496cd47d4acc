#include "app/view/VelmarEDIDUtility.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <memory>
#include <string>

#include "app/EdidImage.h"
#include "app/view/VelmarEDIDUtilityDlg.h"
#include "blocks/Edid13Block.h"
#include "dialogs/EditorForm.h"
#include "dialogs/view/FormDlg.h"
#include "pages/BlockPage.h"
#include "pages/EdidBaseBlockPage.h"

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

// The window manager frames and draws a window a moment after it is shown.
constexpr int kSettleMs = 700;

// A window with the frame the window manager gave it, as on the screen; the
// window alone where the screen cannot be read.
QPixmap GrabFramed(QWidget& widget) {
  const QRect frame = widget.frameGeometry();
  if (QScreen* screen = widget.screen()) {
    const QPixmap shot = screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
    if (!shot.isNull()) return shot;
  }
  return widget.grab();
}

bool SaveFramed(QWidget* widget, const QString& file) {
  const bool saved = widget != nullptr && GrabFramed(*widget).save(file);
  if (!saved) std::fprintf(stderr, "cannot save %s\n", file.toLocal8Bit().constData());
  return saved;
}

// For the screenshot script: with VELMAR_SCREENSHOT set to a file name, the
// program saves a picture there once its window is shown, then quits. With
// VELMAR_SCREENSHOT_VIEW "raw-editor" or "modes" the picture is of that
// dialog, opened from the window's button.
void TakeScreenshotAndQuit(VelmarEDIDUtilityDlg& window, const QString& file, const QString& view) {
  const int button = view == QLatin1String("raw-editor") ? VelmarEDIDUtilityDlg::kEditRawDataId
                     : view == QLatin1String("modes")    ? VelmarEDIDUtilityDlg::kShowModesId
                                                         : 0;
  if (button == 0) {
    QTimer::singleShot(kSettleMs, &window, [&window, file] { QApplication::exit(SaveFramed(&window, file) ? 0 : 1); });
    return;
  }
  auto saved = std::make_shared<bool>(false);
  QTimer::singleShot(kSettleMs, &window, [file, saved] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    *saved = SaveFramed(dialog, file);
    if (dialog != nullptr) dialog->reject();
  });
  // Runs the dialog until the timer above closes it.
  window.Button(button)->click();
  QApplication::exit(*saved ? 0 : 1);
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
    bool saved = false;
    QTimer::singleShot(kSettleMs, &dialog, [&dialog, &saved, file] {
      saved = SaveFramed(&dialog, file);
      dialog.reject();
    });
    dialog.exec();
    QApplication::exit(saved ? 0 : 1);
    return;
  }
  std::fprintf(stderr, "no form %s\n", address.c_str());
  QApplication::exit(1);
}

// For the screenshot script: with VELMAR_DIALOG_SHOTS set to a folder, the
// program saves a picture of each editor dialog of the base block there,
// named after the dialog, and quits. A descriptor kind that the loaded block
// does not hold is shown on a copy of the block with that kind in slot 4
// (the 1.4 kinds on a copy made EDID 1.4).
bool SaveDialogShots(VelmarEDIDUtilityDlg& window, const QString& folder) {
  auto* page = dynamic_cast<EdidBaseBlockPage*>(window.Core().Image().GetPage(0));
  if (page == nullptr || page->Model() == nullptr || !QDir().mkpath(folder)) return false;
  const struct {
    const char* file;
    const char* section;  // or null for a descriptor of `kind`
    unsigned kind;
  } shots[] = {
      {"EDIDGenericInfoDlg", "general", 0},
      {"EDIDBasicParamsDlg", "basic", 0},
      {"EDIDColorCharsDlg", "color", 0},
      {"EDIDEstTimingsDlg", "established", 0},
      {"EDIDStdTimingsDlg", "standard", 0},
      {"EDIDDetTimingsDlg", nullptr, kDescriptorDetailedTiming},
      {"EDIDRangeLimitsDlg", nullptr, kDescriptorRangeLimits},
      {"EDIDStringDlg", nullptr, kDescriptorProductName},
      {"EDIDColorPointDlg", nullptr, kDescriptorColorPoint},
      {"EDIDColorMgmtDlg", nullptr, kDescriptorColorManagement},
      {"EDIDCvt3ByteTimingsDlg", nullptr, kDescriptorCvtCodes},
  };
  bool allSaved = true;
  for (const auto& shot : shots) {
    // The copy and its page outlive the form over them.
    std::array<uint8_t, kBlockSize> copy{};
    std::unique_ptr<EdidBaseBlockPage> scratch;
    std::unique_ptr<EditorForm> form;
    if (shot.section != nullptr) {
      form = page->CreateForm(shot.section);
    } else {
      for (unsigned slot = 0; slot < kEdidDescriptorCount && form == nullptr; ++slot) {
        if (page->Model()->GetDescriptorKind(slot) == shot.kind) form = page->CreateForm("slot" + std::to_string(slot + 1));
      }
      if (form == nullptr) {
        const bool is14 = page->Is14() || shot.kind >= kDescriptorColorManagement;
        std::copy_n(page->Model()->Bytes(), kBlockSize, copy.begin());
        if (is14) copy[kEdidRevisionByte] = 4;
        scratch = std::make_unique<EdidBaseBlockPage>(is14, 0, nullptr, nullptr);
        if (scratch->AttachBlock(copy.data(), kBlockSize, 0) && scratch->Model() != nullptr) {
          scratch->Model()->CreateDescriptor(shot.kind, kEdidDescriptorCount - 1);
          form = scratch->CreateForm("slot4");
        }
      }
    }
    if (form == nullptr) {
      allSaved = false;
      continue;
    }
    FormDlg dialog(&window, nullptr, *form);
    dialog.show();
    QApplication::processEvents();
    const QString file = folder + QStringLiteral("/") + QString::fromLatin1(shot.file) + QStringLiteral(".png");
    if (!dialog.grab().save(file)) {
      std::fprintf(stderr, "cannot save %s\n", file.toLocal8Bit().constData());
      allSaved = false;
    }
    dialog.close();
  }
  return allSaved;
}

}  // namespace

void VelmarEDIDUtility::SetUpApplication() {
  QApplication::setApplicationName(QStringLiteral("velmar-edid-utility"));
  QApplication::setApplicationVersion(QStringLiteral(VELMAR_VERSION_TEXT));
  // No display name: the window system would append it to every window's
  // title, and the titles are the program's own captions.
}

int VelmarEDIDUtility::Run(int argc, char** argv) {
  QApplication app(argc, argv);
  SetUpApplication();

  // The toolkit has taken its own options out of argv; the first argument left
  // is the file to open, used exactly as given.
  const std::string path = argc > 1 && argv[1] != nullptr ? std::string(argv[1]) : std::string();
  const bool probe = std::getenv("VELMAR_STARTUP_PROBE") != nullptr;
  const QString screenshot = QString::fromLocal8Bit(std::getenv("VELMAR_SCREENSHOT"));
  const QString screenshotView = QString::fromLocal8Bit(std::getenv("VELMAR_SCREENSHOT_VIEW"));
  const char* screenshotForm = std::getenv("VELMAR_SCREENSHOT_FORM");
  const std::string formAddress = screenshotForm != nullptr ? screenshotForm : "";
  const QString dialogShots = QString::fromLocal8Bit(std::getenv("VELMAR_DIALOG_SHOTS"));

  int result = 0;
  {
    VelmarEDIDUtilityDlg window;
    window.show();
    // Messages of the load belong over the window: they wait until it is on the screen.
    window.RunWhenShown([&window, path, probe, screenshot, screenshotView, formAddress, dialogShots] {
      if (!path.empty()) window.OpenCommandLineFile(path);
      if (probe) QTimer::singleShot(0, &window, [] { ReportStartupAndQuit(); });
      if (!screenshot.isEmpty() && !formAddress.empty()) {
        QTimer::singleShot(0, &window, [&window, screenshot, formAddress] {
          SaveFormScreenshotAndQuit(window, formAddress, screenshot);
        });
      } else if (!screenshot.isEmpty()) {
        QTimer::singleShot(0, &window, [&window, screenshot, screenshotView] {
          TakeScreenshotAndQuit(window, screenshot, screenshotView);
        });
      }
      if (!dialogShots.isEmpty()) {
        QTimer::singleShot(0, &window, [&window, dialogShots] {
          QApplication::exit(SaveDialogShots(window, dialogShots) ? 0 : 1);
        });
      }
    });
    result = QApplication::exec();
  }
  return result;
}

}  // namespace velmar
