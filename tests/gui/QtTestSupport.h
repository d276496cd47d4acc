#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace velmar::testing {

// The one QApplication of the widget tests, made on first use. Safe to call
// from every test: an application that already exists is reused.
inline QApplication* EnsureQtApp() {
  if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) return existing;
  static int argc = 1;
  static char name[] = "velmar_gui_tests";
  static char* argv[] = {name, nullptr};
  static QApplication app(argc, argv);
  return &app;
}

// Presses and releases `key` on `target`, as the keyboard does on the focused
// widget: a key the widget leaves unhandled travels on to its parents.
inline bool PressKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                     const QString& text = QString()) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
  QApplication::sendEvent(target, &release);
  return press.isAccepted();
}

// Runs `action` on the modal dialog that the code after this call opens with
// exec(). It waits for the dialog by re-posting itself to the event loop, up
// to a fixed number of turns (never by time).
inline void WhenModal(std::function<void(QWidget*)> action, int turns = 200) {
  QTimer::singleShot(0, [action = std::move(action), turns]() mutable {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      action(modal);
    } else if (turns > 0) {
      WhenModal(std::move(action), turns - 1);
    }
  });
}

}  // namespace velmar::testing
