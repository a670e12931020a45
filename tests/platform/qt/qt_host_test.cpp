// The graphical host offscreen: every template of the library as Qt widgets,
// and Qt's real widgets used as a person would (clicks, the close button),
// with windows on the main thread and on workers.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QTreeWidget>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <atomic>

#include "platform/controls.h"
#include "platform/dialog.h"
#include "platform/hosted_control.h"
#include "platform/propsheet.h"
#include "platform/qt_host.h"
#include "platform/sync.h"
#include "platform/window_state.h"
#include "qt_window.h"
#include "res/library_resources.h"
#include "support/qt_user.h"
#include "support/ui.h"

namespace plat {
namespace {

using rv_test::ControlWidget;
using rv_test::PersonAtTheScreen;
using rv_test::ShownWindow;
using test::AddTemplate;
using test::Ctl;
using test::PumpUntil;

class QtHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rv_test::OffscreenApp();
    host = std::make_shared<QtHost>();
    SetUiHost(host);
  }
  void TearDown() override {
    SetUiHost(nullptr);
    EXPECT_TRUE(host->Failures().empty()) << host->Failures().front();
    host.reset();
  }
  std::shared_ptr<QtHost> host;
};

// The widgets that stand for controls, in the order of the controls.
std::vector<QWidget*> ControlWidgets(QWidget* window) {
  std::vector<QWidget*> out;
  for (QWidget* w : window->findChildren<QWidget*>())
    if (w->property(qt::kControlId).isValid()) out.push_back(w);
  return out;
}

std::string WithoutAmpersands(const QString& text) { return QString(text).remove('&').toStdString(); }

std::string ShownText(QWidget* w) {
  if (auto* label = qobject_cast<QLabel*>(w)) return WithoutAmpersands(label->text());
  if (auto* button = qobject_cast<QAbstractButton*>(w)) return WithoutAmpersands(button->text());
  if (auto* group = qobject_cast<QGroupBox*>(w)) return WithoutAmpersands(group->title());
  return {};
}

TEST_F(QtHostTest, EveryTemplateOfTheLibraryHasOneWidgetPerControlWhereItsDialogUnitsPutIt) {
  const ResourceScope scope(rvcmndlg::LibraryResources());
  const auto ids = rvcmndlg::LibraryResources().DialogIds();
  ASSERT_FALSE(ids.empty());
  for (int id : ids) {
    SCOPED_TRACE("template " + std::to_string(id));
    Dialog dialog(id);
    ASSERT_TRUE(dialog.Create(nullptr));
    dialog.ShowWindow(true);
    const auto tmpl = FindDialogTemplate(id);
    QWidget* window = qt::FindHostWindow(dialog.GetHwnd());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle().toStdString(), tmpl->caption);
    const auto widgets = ControlWidgets(window);
    ASSERT_EQ(widgets.size(), tmpl->controls.size());
    const QSize base = qt::BaseUnits(window->font());
    const WindowState state = CaptureWindow(dialog);
    EXPECT_EQ(window->size(), qt::ToPixels(DluRect{0, 0, state.cx, state.cy}, base).size());
    for (std::size_t i = 0; i < widgets.size(); ++i) {
      const auto& control = tmpl->controls[i];
      QWidget* w = widgets[i];
      SCOPED_TRACE("control " + std::to_string(control.id));
      EXPECT_EQ(w->property(qt::kControlId).toInt(), control.id);
      if (control.class_name == "static" || control.class_name == "button") {
        EXPECT_EQ(ShownText(w), QString::fromStdString(control.text).remove('&').toStdString());
      }
      EXPECT_EQ(w->isEnabled(), (control.style & ws::Disabled) == 0);
      EXPECT_FALSE(w->isHidden());
      EXPECT_EQ(w->geometry(), qt::ToPixels(state.controls[i].rect, base));
      // Inside the window, and clear of every other control but a group box around it.
      EXPECT_TRUE(QRect(QPoint(0, 0), window->size()).contains(w->geometry()));
      for (std::size_t j = 0; j < i; ++j) {
        if (!qobject_cast<QGroupBox*>(widgets[j])) {
          EXPECT_FALSE(widgets[j]->geometry().intersects(w->geometry())) << "overlaps control " << j;
        }
      }
    }
    dialog.DestroyWindow();
  }
}

TEST_F(QtHostTest, ClosingAWindowWithTheWindowManagersButtonIsCancel) {
  AddTemplate(9101, "Closable", {Ctl("static", IdStatic, "Close me"), Ctl("button", IdOk, "OK", bs::DefPushButton),
                                 Ctl("button", IdCancel, "Cancel")});
  PersonAtTheScreen person;
  person.Then([] { return ShownWindow("Closable") != nullptr; }, [] { ShownWindow("Closable")->close(); });
  Dialog dialog(9101);
  EXPECT_EQ(dialog.DoModal(), IdCancel);
  EXPECT_TRUE(person.Done());
  EXPECT_TRUE(PumpUntil([] { return ShownWindow("Closable") == nullptr; }));
}

TEST_F(QtHostTest, EnterPressesTheDefaultButtonAndADisabledButtonCannotBeClicked) {
  AddTemplate(9102, "Keys", {Ctl("edit", 100, ""), Ctl("button", 101, "&Later"),
                             Ctl("button", IdOk, "OK", bs::DefPushButton), Ctl("button", IdCancel, "Cancel")});
  class Keys : public Dialog {
   public:
    Keys() : Dialog(9102) {}
    bool OnInitDialog() override {
      GetDlgItem(101)->EnableWindow(false);
      return Dialog::OnInitDialog();
    }
    bool OnCommand(int id, int code) override {
      if (id == 101) later = true;
      return Dialog::OnCommand(id, code);
    }
    void OnOK() override {
      typed = GetDlgItemText(100);
      Dialog::OnOK();
    }
    std::string typed;
    bool later = false;
  };
  PersonAtTheScreen person;
  person.Then([] { return ControlWidget(ShownWindow("Keys"), 100) != nullptr; }, [] {
    QWidget* disabled = ControlWidget(ShownWindow("Keys"), 101);
    QTest::mouseClick(disabled, Qt::LeftButton);  // nothing happens
    QWidget* edit = ControlWidget(ShownWindow("Keys"), 100);
    QTest::keyClicks(edit, "typed");
    QTest::keyClick(edit, Qt::Key_Return);
  });
  Keys dialog;
  EXPECT_EQ(dialog.DoModal(), IdOk);
  EXPECT_EQ(dialog.typed, "typed");
  EXPECT_FALSE(dialog.later);
}

TEST_F(QtHostTest, AWorkersModalDialogWhileTheMainThreadsProgressWindowShowsItsChanges) {
  AddTemplate(9103, "Working", {Ctl("static", 200, ""), Ctl("progress", 201, ""), Ctl("button", IdCancel, "Cancel")});
  AddTemplate(9104, "Question", {Ctl("static", IdStatic, "Go on?"), Ctl("button", IdOk, "OK", bs::DefPushButton),
                                 Ctl("button", IdCancel, "Cancel")});
  Dialog progress(9103);
  ASSERT_TRUE(progress.Create(nullptr));
  progress.ShowWindow(true);
  std::atomic<int> answer{0};
  WorkerThread worker([&] {
    Dialog question(9104);
    answer = question.DoModal();
    return 0;
  });
  PersonAtTheScreen person;
  // While the worker's question is up, the main thread moves its bar and
  // line; the window shows both before the person answers.
  person.Then([] { return ShownWindow("Question") != nullptr; }, [&] {
    progress.Item<ProgressBar>(201)->SetPos(40);
    progress.SetDlgItemText(200, "file 2 of 5");
  });
  person.Then([&] {
    auto* bar = ControlWidget<QProgressBar>(qt::FindHostWindow(progress.GetHwnd()), 201);
    auto* line = ControlWidget<QLabel>(qt::FindHostWindow(progress.GetHwnd()), 200);
    return bar && bar->value() == 40 && line->text() == "file 2 of 5";
  }, [] {});
  person.Click("Question", IdOk);
  ASSERT_TRUE(PumpUntil([&] { return answer.load() != 0; }));
  worker.Join();
  EXPECT_EQ(answer.load(), IdOk);
  EXPECT_TRUE(person.Done());
  progress.DestroyWindow();
}

// A page whose check box marks it modified; it counts its Apply.
class CountingPage : public PropertyPage {
 public:
  CountingPage() : PropertyPage(9105) {}
  bool OnCommand(int id, int code) override {
    if (id == 300 && code == bn::Clicked) SetModified(true);
    return PropertyPage::OnCommand(id, code);
  }
  bool OnApply() override {
    ++applied;
    return true;
  }
  int applied = 0;
};

TEST_F(QtHostTest, APropertySheetsApplyIsEnabledByAChangeAndDisabledAgainByApplying) {
  AddTemplate(9105, "General", {Ctl("button", 300, "&Keep", bs::AutoCheckBox)});
  AddTemplate(9106, "Other", {Ctl("static", IdStatic, "Second page")});
  CountingPage first;
  PropertyPage second(9106);
  PropertySheet sheet("Properties");
  sheet.AddPage(&first);
  sheet.AddPage(&second);
  PersonAtTheScreen person;
  auto apply = [] { return ControlWidget(ShownWindow("Properties"), IdApplyNow); };
  person.Then([&] { return apply() && !apply()->isEnabled(); }, [] {});
  person.Click("Properties", 300);
  person.Then([&] { return apply()->isEnabled(); }, [&] { QTest::mouseClick(apply(), Qt::LeftButton); });
  person.Then([&] { return first.applied == 1 && !apply()->isEnabled(); }, [] {
    // The second tab shows the second page's controls.
    ShownWindow("Properties")->findChild<QTabBar*>()->setCurrentIndex(1);
  });
  person.Then([] { return ShownWindow("Properties")->findChild<QLabel*>(QString::number(IdStatic)) != nullptr; },
              [] { QTest::mouseClick(ControlWidget(ShownWindow("Properties"), IdOk), Qt::LeftButton); });
  EXPECT_EQ(sheet.DoModal(), IdOk);
  EXPECT_TRUE(person.Done());
  EXPECT_EQ(first.applied, 2);  // Apply, then OK
}

// A wizard's page that offers its own buttons.
class WizardPage : public PropertyPage {
 public:
  WizardPage(int template_id, unsigned buttons) : PropertyPage(template_id), buttons_(buttons) {}
  bool OnSetActive() override {
    Sheet()->SetWizardButtons(buttons_);
    return true;
  }

 private:
  unsigned buttons_;
};

TEST_F(QtHostTest, AWizardGoesOnWithNextAndBackAndEndsWithFinish) {
  AddTemplate(9105, "Start", {Ctl("button", 300, "&Keep", bs::AutoCheckBox)});
  AddTemplate(9106, "End", {Ctl("static", IdStatic, "Second page")});
  WizardPage first(9105, wizb::Next);
  WizardPage last(9106, wizb::Back | wizb::Finish);
  PropertySheet wizard("Wizard");
  wizard.SetWizardMode();
  wizard.AddPage(&first);
  wizard.AddPage(&last);
  PersonAtTheScreen person;
  auto button = [](int id) { return ControlWidget(ShownWindow("Wizard"), id); };
  auto page_shows = [](int id) { return [id] { return ControlWidget(ShownWindow("Wizard"), id) != nullptr; }; };
  person.Then([&] { return button(IdWizNext) && !button(IdWizFinish)->isEnabled(); }, [] {});
  person.Click("Wizard", IdWizNext);
  person.Then(page_shows(IdStatic), [] {});
  person.Click("Wizard", IdWizBack);
  person.Then(page_shows(300), [] {});
  person.Click("Wizard", IdWizNext);
  person.Click("Wizard", IdWizFinish);
  EXPECT_EQ(wizard.DoModal(), IdWizFinish);
  EXPECT_TRUE(person.Done());
}

// A control of a kind the host has no widget for.
class Gauge : public Window {
 public:
  const char* ClassName() const override { return "gauge"; }
};

// A tree of two levels whose items report their names.
class TwoLevels : public HostedImpl {
 public:
  DispResult Invoke(int, DispCall, const std::vector<DispValue>&) override { return {}; }
  std::vector<HostedItem> Items() const override {
    std::vector<HostedItem> items = {{0, "hello", "project:hello", false}, {1, "hello_dev", "stream:hello_dev", false}};
    if (picked_ >= 0) items[static_cast<std::size_t>(picked_)].selected = true;
    return items;
  }
  bool Pick(std::size_t index) override {
    picked_ = static_cast<int>(index);
    return true;
  }

 private:
  int picked_ = -1;
};

TEST_F(QtHostTest, AHostedTreeAndAComboThatFillsWhenItOpensAreUsedLikeTheScriptedHosts) {
  const char* kTree = "{7A0E0D0C-0000-4000-8000-00000000AB02}";
  RegisterHostedClass(kTree, [] { return std::make_unique<TwoLevels>(); });
  AddTemplate(9108, "Hosted", {Ctl(kTree, 500, ""), Ctl("combobox", 501, "", cbs::DropDownList),
                               Ctl("button", IdOk, "OK", bs::DefPushButton)});
  class Filling : public ComboBox {
   public:
    std::string TooltipText() const override { return GetCurSel() < 0 ? "" : "tip " + GetLBText(GetCurSel()); }

   protected:
    bool OnReflect(int code) override {
      if (code == cbn::DropDown && GetCount() == 0) AddString("loaded when opened");
      return false;
    }
  };
  class WithTree : public Dialog {
   public:
    WithTree() : Dialog(9108) {}
    bool OnInitDialog() override {
      SubclassDlgItem(501, combo);
      return Dialog::OnInitDialog();
    }
    LResult OnNotify(NotifyHeader& header) override {
      if (header.code == hcn::SelChange) picked = static_cast<HostedNotify&>(header).selector;
      return 0;
    }
    Filling combo;
    std::string picked;
  };
  PersonAtTheScreen person;
  person.Then([] { return ControlWidget<QTreeWidget>(ShownWindow("Hosted"), 500) != nullptr; }, [] {
    auto* tree = ControlWidget<QTreeWidget>(ShownWindow("Hosted"), 500);
    QTreeWidgetItem* dev = tree->topLevelItem(0)->child(0);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, tree->visualItemRect(dev).center());
    ControlWidget<QComboBox>(ShownWindow("Hosted"), 501)->showPopup();
  });
  person.Then([] { return ControlWidget<QComboBox>(ShownWindow("Hosted"), 501)->count() == 1; }, [] {
    auto* combo = ControlWidget<QComboBox>(ShownWindow("Hosted"), 501);
    combo->hidePopup();
    combo->setCurrentIndex(0);
    emit combo->activated(0);
  });
  person.Then([] { return ControlWidget(ShownWindow("Hosted"), 501)->toolTip() == "tip loaded when opened"; },
              [] { QTest::keyClick(ShownWindow("Hosted"), Qt::Key_Return); });
  WithTree dialog;
  EXPECT_EQ(dialog.DoModal(), IdOk);
  EXPECT_TRUE(person.Done());
  EXPECT_EQ(dialog.picked, "stream:hello_dev");
  EXPECT_EQ(dialog.combo.GetCurSel(), 0);
  UnregisterHostedClass(kTree);
}

TEST_F(QtHostTest, AControlOfAKindTheHostDoesNotKnowFailsLoudly) {
  AddTemplate(9107, "Gauges", {Ctl("button", IdOk, "OK", bs::DefPushButton)});
  class WithGauge : public Dialog {
   public:
    WithGauge() : Dialog(9107) {}
    bool OnInitDialog() override {
      gauge.CreateWindowObject(this, 400, "", ws::Child | ws::Visible);
      return Dialog::OnInitDialog();
    }
    Gauge gauge;
  };
  PersonAtTheScreen person;
  person.Then([] { return ShownWindow("Gauges") != nullptr; }, [] {
    EXPECT_NE(ControlWidget<QLabel>(ShownWindow("Gauges"), 400), nullptr);  // a placeholder that says so
    ShownWindow("Gauges")->close();
  });
  WithGauge dialog;
  dialog.DoModal();
  const auto failures = host->Failures();
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_NE(failures[0].find("gauge control 400"), std::string::npos) << failures[0];
  // The fault was expected: the fixture's own check starts on a new host.
  SetUiHost(nullptr);
  host = std::make_shared<QtHost>();
  SetUiHost(host);
}

}  // namespace
}  // namespace plat
