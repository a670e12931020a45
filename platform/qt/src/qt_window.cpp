// One framework window as a Qt dialog.
#include "qt_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabBar>
#include <QTextDocument>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <functional>

#include "platform/render.h"

namespace plat::qt {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// A label without a buddy shows its ampersands as they are: take the
// accelerator marks out.
QString WithoutMnemonics(const std::string& text) { return Q(WithoutAmpersands(text)); }

std::uint32_t ButtonKind(const ControlState& c) { return c.style & bs::KindMask; }
bool IsPush(const ControlState& c) {
  return c.kind == "button" && (ButtonKind(c) == bs::PushButton || ButtonKind(c) == bs::DefPushButton);
}
bool IsRadio(const ControlState& c) {
  return ButtonKind(c) == bs::RadioButton || ButtonKind(c) == bs::AutoRadioButton;
}
bool TakesBuddy(const ControlState* c) {
  return c && (c->kind == "edit" || c->kind == "combobox" || c->kind == "listbox" || c->kind == "listview" ||
               c->kind == "hosted");
}

Qt::CheckState ToQt(int check) {
  return check == Checked ? Qt::Checked : check == Indeterminate ? Qt::PartiallyChecked : Qt::Unchecked;
}

QStyle::StandardPixmap IconOf(const std::string& icon) {
  if (icon == "error") return QStyle::SP_MessageBoxCritical;
  if (icon == "question") return QStyle::SP_MessageBoxQuestion;
  if (icon == "warning") return QStyle::SP_MessageBoxWarning;
  return QStyle::SP_MessageBoxInformation;
}

template <typename W>
void SetItems(W* w, const std::vector<ListItem>& items) {
  QStringList texts;
  for (const auto& item : items) texts << Q(item.text);
  w->clear();
  w->addItems(texts);
}

// The items are set again only when their texts changed, so that a list keeps
// its scroll position through the program's updates.
void RefreshList(QListWidget* list, const ControlState& c) {
  bool same = list->count() == static_cast<int>(c.items.size());
  for (int i = 0; same && i < list->count(); ++i) same = list->item(i)->text() == Q(c.items[static_cast<std::size_t>(i)].text);
  if (!same) SetItems(list, c.items);
  const bool multi = (c.style & (lbs::MultipleSel | lbs::ExtendedSel)) != 0;
  for (int i = 0; i < list->count(); ++i) list->item(i)->setSelected(multi ? c.items[static_cast<std::size_t>(i)].selected : i == c.cur_sel);
}

void RefreshTable(QTreeWidget* table, const ControlState& c) {
  const bool boxes = (c.style & lvs::CheckBoxes) != 0;
  while (table->topLevelItemCount() > static_cast<int>(c.rows.size())) delete table->takeTopLevelItem(table->topLevelItemCount() - 1);
  for (std::size_t r = 0; r < c.rows.size(); ++r) {
    QTreeWidgetItem* item = table->topLevelItem(static_cast<int>(r));
    if (!item) item = new QTreeWidgetItem(table);
    const auto& row = c.rows[r];
    for (std::size_t col = 0; col < row.texts.size(); ++col) item->setText(static_cast<int>(col), Q(row.texts[col]));
    if (boxes) item->setCheckState(0, row.checked ? Qt::Checked : Qt::Unchecked);
    item->setSelected(row.selected);
  }
}

// A hosted control's items as a tree; each item keeps its index for the
// action that picks it. Rebuilt only when the items changed.
void RefreshHosted(QTreeWidget* tree, const ControlState& c) {
  QStringList shape;
  for (const auto& item : c.tree) shape << QString::number(item.depth) + " " + Q(item.text);
  if (!c.installed) shape << "(not installed)";
  if (tree->property("shape").toStringList() != shape) {
    tree->setProperty("shape", shape);
    tree->clear();
    std::vector<QTreeWidgetItem*> parents;  // the last item at each depth
    for (std::size_t i = 0; i < c.tree.size(); ++i) {
      const auto depth = static_cast<std::size_t>(std::max(c.tree[i].depth, 0));
      parents.resize(std::min(parents.size(), depth));
      auto* item = parents.empty() ? new QTreeWidgetItem(tree) : new QTreeWidgetItem(parents.back());
      item->setText(0, Q(c.tree[i].text));
      item->setData(0, Qt::UserRole, static_cast<int>(i));
      parents.push_back(item);
    }
    if (!c.installed) new QTreeWidgetItem(tree, QStringList{"(not installed)"});
    tree->expandAll();
  }
  QTreeWidgetItemIterator it(tree);
  for (; *it; ++it) {
    const QVariant index = (*it)->data(0, Qt::UserRole);
    (*it)->setSelected(index.isValid() && c.tree[static_cast<std::size_t>(index.toInt())].selected);
  }
}

// A combo box that tells the framework its list opens, as a person's
// click on the arrow does, before it shows the list.
class DropDownCombo : public QComboBox {
 public:
  DropDownCombo(QWidget* parent, std::function<void()> opening) : QComboBox(parent), opening_(std::move(opening)) {}
  void showPopup() override {
    opening_();
    QComboBox::showPopup();
  }

 private:
  std::function<void()> opening_;
};

}  // namespace

QWidget* FindHostWindow(Hwnd hwnd) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->property(kWindowHandle).toUInt() == static_cast<uint>(hwnd)) return w;
  return nullptr;
}

QSize BaseUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  const QString letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  return QSize((metrics.horizontalAdvance(letters) / 26 + 1) / 2, metrics.height());
}

QRect ToPixels(const DluRect& r, QSize base) {
  return QRect(r.x * base.width() / 4, r.y * base.height() / 8, r.cx * base.width() / 4, r.cy * base.height() / 8);
}

HostWindow::HostWindow(const WindowState& state, UserInput input) : state_(state), input_(std::move(input)) {
  setAttribute(Qt::WA_DeleteOnClose, false);
  setProperty(kWindowHandle, static_cast<uint>(state.hwnd));
  Build();
}

void HostWindow::Act(Action::Kind kind, int id, const std::string& value) {
  if (!updating_) input_.act(Action{kind, std::to_string(id), value});
}

QWidget* HostWindow::MakeWidget(const ControlState& c, const ControlState* next) {
  const int id = c.id;
  QWidget* w = nullptr;
  if (c.kind == "static") {
    auto* label = new QLabel(content_);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    w = label;
  } else if (c.kind == "button" && ButtonKind(c) == bs::GroupBox) {
    w = new QGroupBox(content_);
  } else if (c.kind == "button" && IsPush(c)) {
    auto* button = new QPushButton(content_);
    button->setDefault(ButtonKind(c) == bs::DefPushButton);
    button->setAutoDefault(ButtonKind(c) == bs::DefPushButton);
    connect(button, &QPushButton::clicked, this, [this, id] { Act(Action::Kind::Click, id); });
    w = button;
  } else if (c.kind == "button" && IsRadio(c)) {
    auto* radio = new QRadioButton(content_);
    radio->setAutoExclusive(false);  // the framework keeps the group
    connect(radio, &QRadioButton::clicked, this, [this, id] { Act(Action::Kind::Click, id); });
    w = radio;
  } else if (c.kind == "button") {
    auto* box = new QCheckBox(content_);
    box->setTristate(ButtonKind(c) == bs::ThreeState || ButtonKind(c) == bs::AutoThreeState);
    connect(box, &QCheckBox::clicked, this, [this, id] { Act(Action::Kind::Click, id); });
    w = box;
  } else if (c.kind == "edit" && (c.style & es::MultiLine)) {
    auto* edit = new QPlainTextEdit(content_);
    connect(edit, &QPlainTextEdit::textChanged, this,
            [this, id, edit] { Act(Action::Kind::Type, id, edit->toPlainText().toStdString()); });
    w = edit;
  } else if (c.kind == "edit") {
    auto* edit = new QLineEdit(content_);
    if (c.style & es::Password) edit->setEchoMode(QLineEdit::Password);
    connect(edit, &QLineEdit::textEdited, this,
            [this, id](const QString& text) { Act(Action::Kind::Type, id, text.toStdString()); });
    w = edit;
  } else if (c.kind == "combobox") {
    auto* combo = new DropDownCombo(content_, [this, id] { Act(Action::Kind::Open, id); });
    combo->setEditable((c.style & 0x3) == cbs::DropDown);
    connect(combo, &QComboBox::activated, this,
            [this, id](int index) { Act(Action::Kind::Select, id, "#" + std::to_string(index)); });
    if (combo->lineEdit())
      connect(combo->lineEdit(), &QLineEdit::textEdited, this,
              [this, id](const QString& text) { Act(Action::Kind::Type, id, text.toStdString()); });
    w = combo;
  } else if (c.kind == "listbox") {
    auto* list = new QListWidget(content_);
    const bool multi = (c.style & (lbs::MultipleSel | lbs::ExtendedSel)) != 0;
    list->setSelectionMode(!multi ? QAbstractItemView::SingleSelection
                           : (c.style & lbs::ExtendedSel) ? QAbstractItemView::ExtendedSelection
                                                          : QAbstractItemView::MultiSelection);
    connect(list, &QListWidget::itemDoubleClicked, this,
            [this, id, list](QListWidgetItem* item) { Act(Action::Kind::DoubleClick, id, "#" + std::to_string(list->row(item))); });
    connect(list, &QListWidget::itemSelectionChanged, this, [this, id, list] {
      const auto selected = list->selectedItems();
      if (updating_ || selected.isEmpty()) return;
      // One item chosen alone is a selection; others joining it are additions.
      const int row = list->row(list->currentItem() ? list->currentItem() : selected.front());
      Act(selected.size() == 1 ? Action::Kind::Select : Action::Kind::Add, id, "#" + std::to_string(row));
    });
    w = list;
  } else if (c.kind == "tab") {
    auto* bar = new QTabBar(content_);
    connect(bar, &QTabBar::currentChanged, this, [this](int index) {
      if (!updating_ && index >= 0) input_.act(Action{Action::Kind::Page, "#" + std::to_string(index), {}});
    });
    w = bar;
  } else if (c.kind == "listview") {
    auto* table = new QTreeWidget(content_);
    table->setRootIsDecorated(false);
    table->setColumnCount(std::max(1, static_cast<int>(c.columns.size())));
    QStringList headings;
    for (const auto& column : c.columns) headings << Q(column);
    table->setHeaderLabels(headings);
    table->setHeaderHidden(c.columns.empty());
    table->setSelectionMode((c.style & lvs::SingleSel) ? QAbstractItemView::SingleSelection
                                                       : QAbstractItemView::ExtendedSelection);
    connect(table, &QTreeWidget::itemClicked, this, [this, id, table](QTreeWidgetItem* item) {
      Act(Action::Kind::Select, id, "#" + std::to_string(table->indexOfTopLevelItem(item)));
    });
    connect(table, &QTreeWidget::itemChanged, this, [this, id, table](QTreeWidgetItem* item, int column) {
      if (column != 0 || !(item->flags() & Qt::ItemIsUserCheckable)) return;
      Act(item->checkState(0) == Qt::Checked ? Action::Kind::Tick : Action::Kind::Untick, id,
          "#" + std::to_string(table->indexOfTopLevelItem(item)));
    });
    w = table;
  } else if (c.kind == "hosted") {
    auto* tree = new QTreeWidget(content_);
    tree->setHeaderHidden(true);
    tree->setColumnCount(1);
    connect(tree, &QTreeWidget::itemClicked, this, [this, id](QTreeWidgetItem* item) {
      const QVariant index = item->data(0, Qt::UserRole);
      if (index.isValid()) Act(Action::Kind::Select, id, "#" + std::to_string(index.toInt()));
    });
    w = tree;
  } else if (c.kind == "progress" || c.kind == "animation") {
    auto* bar = new QProgressBar(content_);
    bar->setTextVisible(c.kind == "progress");
    w = bar;
  } else {
    // Never a silently missing control: a placeholder that says so, and a
    // fault the host reports.
    auto* label = new QLabel(content_);
    label->setText(Q("(no widget for a " + c.kind + " control)"));
    label->setStyleSheet("color: red");
    input_.fail("the graphical host cannot show the " + c.kind + " control " + std::to_string(id) +
                " of \"" + state_.caption + "\"");
    w = label;
  }
  if (auto* label = qobject_cast<QLabel*>(w); label && c.kind == "static" && TakesBuddy(next)) {
    label->setProperty("takesBuddy", true);
  }
  w->setProperty(kControlId, id);
  w->setObjectName(Q(std::to_string(id)));
  return w;
}

void HostWindow::Build() {
  delete content_;
  content_ = new QWidget(this);
  tabs_ = nullptr;
  widgets_.clear();
  page_widgets_.clear();
  const QSize base = BaseUnits(font());
  const QRect client = ToPixels(DluRect{0, 0, state_.cx, state_.cy}, base);
  content_->setGeometry(client);
  setFixedSize(client.size());
  setWindowTitle(Q(state_.caption));
  if (!state_.icon.empty()) {
    auto* icon = new QLabel(content_);
    icon->setPixmap(style()->standardIcon(IconOf(state_.icon)).pixmap(32, 32));
    icon->setGeometry(ToPixels(DluRect{7, 7, 21, 21}, base));
  }
  if (state_.sheet) {
    auto* frame = new QFrame(content_);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setGeometry(ToPixels(state_.page_area, base));
    if (!state_.wizard) {
      tabs_ = new QTabBar(content_);
      for (const auto& title : state_.tabs) tabs_->addTab(Q(title));
      tabs_->move(ToPixels(state_.page_area, base).topLeft() - QPoint(0, ToPixels(DluRect{0, 0, 0, 14}, base).height()));
      tabs_->setCurrentIndex(state_.active);
      connect(tabs_, &QTabBar::currentChanged, this,
              [this](int index) { if (!updating_) input_.act(Action{Action::Kind::Page, "#" + std::to_string(index), {}}); });
    }
  }
  auto make = [&](const std::vector<ControlState>& controls, std::vector<QWidget*>& out) {
    for (std::size_t i = 0; i < controls.size(); ++i) {
      QWidget* w = MakeWidget(controls[i], i + 1 < controls.size() ? &controls[i + 1] : nullptr);
      w->setGeometry(ToPixels(controls[i].rect, base));
      out.push_back(w);
    }
    // A label names the field after it: its accelerator moves there.
    for (std::size_t i = 0; i + 1 < out.size(); ++i)
      if (out[i]->property("takesBuddy").toBool()) static_cast<QLabel*>(out[i])->setBuddy(out[i + 1]);
  };
  make(state_.page_controls, page_widgets_);
  make(state_.controls, widgets_);
  content_->show();
  Refresh();
}

void HostWindow::Show(const WindowState& state) {
  if (!SameShape(state_, state)) {
    state_ = state;
    Build();
    return;
  }
  // The same controls stay where they stand (a longer text moves nothing).
  WindowState next = state;
  next.cx = state_.cx;
  next.cy = state_.cy;
  next.page_area = state_.page_area;
  for (std::size_t i = 0; i < next.controls.size(); ++i) next.controls[i].rect = state_.controls[i].rect;
  for (std::size_t i = 0; i < next.page_controls.size(); ++i) next.page_controls[i].rect = state_.page_controls[i].rect;
  state_ = std::move(next);
  Refresh();
}

void HostWindow::Refresh() {
  const bool was_updating = updating_;
  updating_ = true;
  setWindowTitle(Q(state_.caption));
  if (tabs_ && tabs_->currentIndex() != state_.active) tabs_->setCurrentIndex(state_.active);
  auto refresh = [&](const std::vector<ControlState>& controls, const std::vector<QWidget*>& widgets) {
    for (std::size_t i = 0; i < controls.size() && i < widgets.size(); ++i) {
      const ControlState& c = controls[i];
      QWidget* w = widgets[i];
      w->setEnabled(c.enabled);
      w->setVisible(c.visible);
      w->setToolTip(Q(c.tooltip));
      if (auto* label = qobject_cast<QLabel*>(w); label && c.kind == "static")
        label->setText(label->buddy() ? Q(c.text) : WithoutMnemonics(c.text));
      else if (auto* group = qobject_cast<QGroupBox*>(w))
        group->setTitle(WithoutMnemonics(c.text));
      else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        button->setText(Q(c.text));
        if (auto* box = qobject_cast<QCheckBox*>(w)) box->setCheckState(ToQt(c.check));
        else if (button->isCheckable() || qobject_cast<QRadioButton*>(w)) button->setChecked(c.check == Checked);
      } else if (auto* line = qobject_cast<QLineEdit*>(w)) {
        // What a person is typing stays as typed: the framework has it already
        // or gets it from the typing still on its way.
        if (line->text() != Q(c.text) && !(line->hasFocus() && line->isModified())) line->setText(Q(c.text));
        line->setReadOnly(c.style & es::ReadOnly);
      } else if (auto* text = qobject_cast<QPlainTextEdit*>(w)) {
        if (text->toPlainText() != Q(c.text) && !(text->hasFocus() && text->document()->isModified()))
          text->setPlainText(Q(c.text));
        text->setReadOnly(c.style & es::ReadOnly);
      } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        if (combo->count() != static_cast<int>(c.items.size())) SetItems(combo, c.items);
        for (int i2 = 0; i2 < combo->count(); ++i2) combo->setItemText(i2, Q(c.items[static_cast<std::size_t>(i2)].text));
        combo->setCurrentIndex(c.cur_sel);
        if (combo->isEditable()) combo->setEditText(Q(c.text));
      } else if (auto* list = qobject_cast<QListWidget*>(w)) {
        RefreshList(list, c);
      } else if (auto* tab_bar = qobject_cast<QTabBar*>(w)) {
        while (tab_bar->count() > static_cast<int>(c.items.size())) tab_bar->removeTab(tab_bar->count() - 1);
        for (std::size_t t = 0; t < c.items.size(); ++t) {
          if (static_cast<int>(t) < tab_bar->count()) tab_bar->setTabText(static_cast<int>(t), Q(c.items[t].text));
          else tab_bar->addTab(Q(c.items[t].text));
        }
        tab_bar->setCurrentIndex(c.cur_sel);
      } else if (auto* tree = qobject_cast<QTreeWidget*>(w); tree && c.kind == "hosted") {
        RefreshHosted(tree, c);
      } else if (auto* table = qobject_cast<QTreeWidget*>(w)) {
        RefreshTable(table, c);
      } else if (auto* bar = qobject_cast<QProgressBar*>(w)) {
        if (c.kind == "animation") {
          bar->setRange(0, c.playing ? 0 : 1);  // a busy indicator while it plays
        } else {
          bar->setRange(c.low, std::max(c.low, c.high));
          bar->setValue(c.pos);
        }
      }
    }
  };
  refresh(state_.controls, widgets_);
  refresh(state_.page_controls, page_widgets_);
  updating_ = was_updating;
}

void HostWindow::reject() { input_.cancel(); }

void HostWindow::closeEvent(QCloseEvent* event) {
  event->ignore();  // the framework ends the window; the host then closes it
  input_.cancel();
}

}  // namespace plat::qt
