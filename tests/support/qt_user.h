#pragma once
// The person at the graphical host's windows in offscreen tests (suites that
// link Qt only): Qt's application object on the offscreen platform, and
// steps that wait for a window to show and then use its real widgets.
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <QtTest/QTest>
#include <gtest/gtest.h>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace rv_test {

inline QApplication& OffscreenApp() {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);  // for the process's life
  return *app;
}

// The visible top-level window with this title, or nullptr.
inline QWidget* ShownWindow(const std::string& title) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && w->windowTitle() == QString::fromStdString(title)) return w;
  return nullptr;
}

// A control's widget in a host window, by the control's id.
template <typename W = QWidget>
W* ControlWidget(QWidget* window, int id) {
  return window ? window->findChild<W*>(QString::number(id)) : nullptr;
}

// Steps done in order while the test's thread runs Qt's events (in any
// framework loop): each waits until its condition holds, then acts. Polls
// every 20 ms of Qt's time. A step still not ready after ten seconds fails
// the test and every window is closed from then on: never a hang.
class PersonAtTheScreen {
 public:
  struct Step {
    std::function<bool()> ready;
    std::function<void()> act;
  };
  PersonAtTheScreen() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      while (next_ < steps_.size() && steps_[next_].ready()) {
        steps_[next_++].act();
        waiting_.restart();
      }
      if (next_ < steps_.size() && waiting_.elapsed() > 10000) {
        if (!gave_up_) ADD_FAILURE() << "step " << next_ << " was never ready";
        gave_up_ = true;
        for (QWidget* w : QApplication::topLevelWidgets())
          if (w->isVisible()) w->close();
      }
    });
    waiting_.start();
    timer_.start(20);
  }
  void Then(std::function<bool()> ready, std::function<void()> act) { steps_.push_back({std::move(ready), std::move(act)}); }
  // Clicks the button with this id once the window shows it enabled.
  void Click(const std::string& title, int id) {
    Then([title, id] {
      auto* b = ControlWidget<QWidget>(ShownWindow(title), id);
      return b && b->isEnabled() && b->isVisible();
    }, [title, id] {
      QWidget* b = ControlWidget<QWidget>(ShownWindow(title), id);
      // A check box or radio button is clicked on its box, a push button anywhere.
      const QPoint at = qobject_cast<QPushButton*>(b) ? b->rect().center() : QPoint(6, b->height() / 2);
      QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, at);
    });
  }
  bool Done() const { return next_ == steps_.size(); }

 private:
  QTimer timer_;
  QElapsedTimer waiting_;
  bool gave_up_ = false;
  std::vector<Step> steps_;
  std::size_t next_ = 0;
};

}  // namespace rv_test
