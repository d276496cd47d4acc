#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>
#include <vector>
#include <QPointer>
#include <deque>
#include <functional>
#include <memory>

namespace velmar::testing {

// The one QApplication of the widget tests, made on first use and destroyed
// when the test program ends, inside main() (an application destroyed by the
// exit handlers outlives the toolkit's own globals and crashes). Safe to call
// from every test: an application that already exists is reused.
class QtAppEnvironment : public ::testing::Environment {
 public:
  static QApplication*& App() {
    static QApplication* app = nullptr;
    return app;
  }
  void TearDown() override {
    delete App();
    App() = nullptr;
  }
};
inline ::testing::Environment* const kQtAppEnvironment = ::testing::AddGlobalTestEnvironment(new QtAppEnvironment);

inline QApplication* EnsureQtApp() {
  if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) return existing;
  static int argc = 1;
  static char name[] = "velmar_gui_tests";
  static char* argv[] = {name, nullptr};
  QtAppEnvironment::App() = new QApplication(argc, argv);
  return QtAppEnvironment::App();
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

// Answers the modal dialogs that the code under test opens, in order: each
// handler gets the next new modal dialog and must close it. The script waits
// for each dialog by re-posting itself to the event loop a bounded number of
// turns (never by time). Check Remaining() afterwards: a handler left over
// means an expected dialog never opened.
class ModalScript {
 public:
  using Handler = std::function<void(QWidget*)>;

  explicit ModalScript(std::initializer_list<Handler> handlers = {}) : state_(std::make_shared<State>()) {
    for (const Handler& handler : handlers) state_->handlers.push_back(handler);
    Post(state_, kTurns);
  }
  ModalScript& Then(Handler handler) {
    const bool idle = state_->handlers.empty();
    state_->handlers.push_back(std::move(handler));
    if (idle) Post(state_, kTurns);
    return *this;
  }
  size_t Remaining() const { return state_->handlers.size(); }
  // Every dialog the script handled, in order, by window title.
  const std::vector<QString>& Titles() const { return state_->titles; }

 private:
  static constexpr int kTurns = 500;
  struct State {
    std::deque<Handler> handlers;
    QPointer<QWidget> last;
    std::vector<QString> titles;
  };
  static void Post(const std::shared_ptr<State>& state, int turns) {
    QTimer::singleShot(0, [state, turns] {
      if (state->handlers.empty()) return;
      QWidget* modal = QApplication::activeModalWidget();
      if (modal != nullptr && modal != state->last.data() && modal->isVisible()) {
        state->last = modal;
        state->titles.push_back(modal->windowTitle());
        Handler handler = std::move(state->handlers.front());
        state->handlers.pop_front();
        handler(modal);
        Post(state, kTurns);
      } else if (turns > 0) {
        Post(state, turns - 1);
      }
    });
  }
  std::shared_ptr<State> state_;
};

}  // namespace velmar::testing
