// SPDX-License-Identifier: GPL-3.0-or-later
#include "drawing/accessible.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <algorithm>
#include <QWindow>
#include <vector>

#include "drawing/rilArrayBtn.h"

std::function<void(TAnnouncer*, const QString&)> TAnnouncer::Watcher;

namespace {

// A plain, read-only text as a screen reader's text interface wants it.
class TPlainText : public QAccessibleTextInterface {
 public:
  virtual QString Plain() const = 0;

  void selection(int, int* start, int* end) const override { *start = *end = 0; }
  int selectionCount() const override { return 0; }
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int) override {}
  QString text(int start, int end) const override {
    const QString t = Plain();
    start = std::clamp(start, 0, int(t.size()));
    end = end < 0 ? int(t.size()) : std::clamp(end, start, int(t.size()));
    return t.mid(start, end - start);
  }
  int characterCount() const override { return int(Plain().size()); }
  QRect characterRect(int) const override { return {}; }
  int offsetAtPoint(const QPoint&) const override { return -1; }
  void scrollToSubstring(int, int) override {}
  QString attributes(int offset, int* start, int* end) const override {
    *start = 0;
    *end = characterCount();
    (void)offset;
    return {};
  }
};

// The announcer: a notification whose name and text are the last message.
class TAnnouncerAccessible final : public QAccessibleWidget, public TPlainText {
 public:
  explicit TAnnouncerAccessible(TAnnouncer* w)
      : QAccessibleWidget(w, QAccessible::Notification) {}
  QString Plain() const override { return static_cast<TAnnouncer*>(widget())->Spoken(); }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return Plain();
    if (t == QAccessible::Description) return {};
    return QAccessibleWidget::text(t);
  }
  using TPlainText::text;
  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
  }
};

// One cell of a table box, or (row -1) the title of a column.
class TTableCellAccessible final : public QAccessibleInterface,
                                   public QAccessibleTableCellInterface {
 public:
  TTableCellAccessible(TSpokenBox* box, int row, int column)
      : box_(box), row_(row), column_(column) {}
  bool isValid() const override { return box_ != nullptr; }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return box_ ? box_->window()->windowHandle() : nullptr; }
  QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(box_); }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QString text(QAccessible::Text t) const override {
    if (t != QAccessible::Name || !box_) return {};
    if (row_ < 0) return column_ < box_->Columns.size() ? box_->Columns[column_] : QString();
    if (!box_->Rows) return {};
    const QList<QStringList> rows = box_->Rows();
    if (row_ >= rows.size() || column_ >= rows[row_].size()) return {};
    return rows[row_][column_];
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    // The columns share the box's width; a title sits just above the box.
    if (!box_ || box_->Columns.isEmpty()) return {};
    const int width = box_->width() / int(box_->Columns.size());
    const QPoint at = box_->mapToGlobal(QPoint(column_ * width, row_ * box_->RowHeight));
    return {at, QSize(width, box_->RowHeight)};
  }
  QAccessible::Role role() const override {
    return row_ < 0 ? QAccessible::ColumnHeader : QAccessible::Cell;
  }
  QAccessible::State state() const override {
    QAccessible::State s;
    if (!box_) return s;
    s.invisible = !box_->isVisible();
    if (row_ < 0) return s;
    s.selectable = true;
    s.focusable = true;
    s.selected = isSelected();
    s.focused = s.selected && column_ == 0 && box_->hasFocus();
    return s;
  }
  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::TableCellInterface) return static_cast<QAccessibleTableCellInterface*>(this);
    return nullptr;
  }

  bool isSelected() const override {
    return row_ >= 0 && box_ && box_->SelectedRow && box_->SelectedRow() == row_;
  }
  QList<QAccessibleInterface*> columnHeaderCells() const override;
  QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
  int columnIndex() const override { return column_; }
  int rowIndex() const override { return row_; }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface* table() const override { return parent(); }

 private:
  QPointer<TSpokenBox> box_;
  int row_, column_;
};

// A spoken box; one that shows a table is a table: its children are the
// column titles, then the cells row by row.
class TSpokenBoxAccessible final : public QAccessibleWidget,
                                   public TPlainText,
                                   public QAccessibleTableInterface {
 public:
  explicit TSpokenBoxAccessible(TSpokenBox* w) : QAccessibleWidget(w, w->Role()) {}
  ~TSpokenBoxAccessible() override {
    for (QAccessible::Id id : ids_)
      if (id) QAccessible::deleteAccessibleInterface(id);
  }
  TSpokenBox* Box() const { return static_cast<TSpokenBox*>(widget()); }
  bool IsTable() const { return !Box()->Columns.isEmpty(); }
  int childCount() const override { return IsTable() ? (rowCount() + 1) * columnCount() : 0; }
  QAccessibleInterface* child(int index) const override {
    if (index < 0 || index >= childCount()) return nullptr;
    if (ids_.size() <= size_t(index)) ids_.resize(size_t(index) + 1, 0);
    if (!ids_[size_t(index)])
      ids_[size_t(index)] = QAccessible::registerAccessibleInterface(new TTableCellAccessible(
          Box(), index / columnCount() - 1, index % columnCount()));
    return QAccessible::accessibleInterface(ids_[size_t(index)]);
  }
  int indexOfChild(const QAccessibleInterface* c) const override {
    for (size_t i = 0; i < ids_.size(); ++i)
      if (ids_[i] && QAccessible::accessibleInterface(ids_[i]) == c) return int(i);
    return -1;
  }
  QString Plain() const override { return static_cast<TSpokenBox*>(widget())->Text(); }
  using QAccessibleWidget::text;
  using TPlainText::text;
  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::TextInterface && !Plain().isEmpty())
      return static_cast<QAccessibleTextInterface*>(this);
    if (t == QAccessible::TableInterface && IsTable())
      return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
  }

  // The table.
  QAccessibleInterface* caption() const override { return nullptr; }
  QAccessibleInterface* summary() const override { return nullptr; }
  QAccessibleInterface* cellAt(int row, int column) const override {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return nullptr;
    return child((row + 1) * columnCount() + column);
  }
  int selectedCellCount() const override { return selectedRowCount() * columnCount(); }
  QList<QAccessibleInterface*> selectedCells() const override {
    QList<QAccessibleInterface*> cells;
    for (int row : selectedRows())
      for (int column = 0; column < columnCount(); ++column) cells << cellAt(row, column);
    return cells;
  }
  QString columnDescription(int column) const override {
    return column >= 0 && column < columnCount() ? Box()->Columns[column] : QString();
  }
  QString rowDescription(int) const override { return {}; }
  int selectedColumnCount() const override { return 0; }
  int selectedRowCount() const override { return int(selectedRows().size()); }
  int columnCount() const override { return int(Box()->Columns.size()); }
  int rowCount() const override { return Box()->Rows ? int(Box()->Rows().size()) : 0; }
  QList<int> selectedColumns() const override { return {}; }
  QList<int> selectedRows() const override {
    const int row = Box()->SelectedRow ? Box()->SelectedRow() : -1;
    if (row >= 0 && row < rowCount()) return {row};
    return {};
  }
  bool isColumnSelected(int) const override { return false; }
  bool isRowSelected(int row) const override { return row >= 0 && selectedRows().contains(row); }
  // The keys choose the row; a screen reader does not.
  bool selectRow(int) override { return false; }
  bool selectColumn(int) override { return false; }
  bool unselectRow(int) override { return false; }
  bool unselectColumn(int) override { return false; }
  void modelChange(QAccessibleTableModelChangeEvent*) override {}

 private:
  mutable std::vector<QAccessible::Id> ids_;
};

QList<QAccessibleInterface*> TTableCellAccessible::columnHeaderCells() const {
  if (row_ < 0 || !box_) return {};
  return {QAccessible::queryAccessibleInterface(box_)->child(column_)};
}

// One button of a button array: a radio button, checked while it is down.
class TArrayButtonAccessible final : public QAccessibleInterface {
 public:
  TArrayButtonAccessible(TRilArrayBtn* control, uint8_t index)
      : control_(control), index_(index) {}
  bool isValid() const override { return control_ != nullptr; }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override {
    return control_ ? control_->window()->windowHandle() : nullptr;
  }
  QAccessibleInterface* parent() const override {
    return QAccessible::queryAccessibleInterface(control_);
  }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QString text(QAccessible::Text t) const override {
    if (t != QAccessible::Name || !control_) return {};
    if (index_ < control_->ButtonNames.size()) return control_->ButtonNames[index_];
    return QString::number(index_ + 1);
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    if (!control_) return {};
    const TRect r = control_->GetBtnRect(index_);
    return {control_->mapToGlobal(QPoint(r.Left, r.Top)), QSize(r.Right - r.Left, r.Bottom - r.Top)};
  }
  QAccessible::Role role() const override { return QAccessible::RadioButton; }
  QAccessible::State state() const override {
    QAccessible::State s;
    if (!control_) return s;
    s.checkable = true;
    s.checked = control_->GetBtnStatus(index_) == stDown;
    s.disabled = !control_->isEnabled();
    s.invisible = !control_->isVisible();
    return s;
  }

 private:
  QPointer<TRilArrayBtn> control_;
  uint8_t index_;
};

// The button array: a group of radio buttons, one per shown button.
class TArrayAccessible final : public QAccessibleWidget {
 public:
  explicit TArrayAccessible(TRilArrayBtn* w) : QAccessibleWidget(w, QAccessible::Grouping) {}
  ~TArrayAccessible() override {
    for (QAccessible::Id id : ids_)
      if (id) QAccessible::deleteAccessibleInterface(id);
  }
  TRilArrayBtn* Control() const { return static_cast<TRilArrayBtn*>(widget()); }
  int childCount() const override { return Control()->Rows() * Control()->Columns(); }
  QAccessibleInterface* child(int index) const override {
    if (index < 0 || index >= childCount()) return nullptr;
    if (ids_.size() < size_t(childCount())) ids_.resize(size_t(childCount()), 0);
    if (!ids_[size_t(index)])
      ids_[size_t(index)] = QAccessible::registerAccessibleInterface(
          new TArrayButtonAccessible(Control(), uint8_t(index)));
    return QAccessible::accessibleInterface(ids_[size_t(index)]);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    for (int i = 0; i < childCount(); ++i)
      if (size_t(i) < ids_.size() && ids_[size_t(i)] &&
          QAccessible::accessibleInterface(ids_[size_t(i)]) == child)
        return i;
    return -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    const QPoint p = Control()->mapFromGlobal(QPoint(x, y));
    const uint8_t hit = Control()->HitTest(p.x(), p.y());
    return hit < childCount() ? child(hit) : nullptr;
  }

 private:
  mutable std::vector<QAccessible::Id> ids_;
};

// The editable combo box: its name is its own, its value the text; its
// children (the edit field) and the action that opens the list as usual.
class TNamedComboAccessible final : public QAccessibleWidget {
 public:
  explicit TNamedComboAccessible(TNamedComboBox* w) : QAccessibleWidget(w, QAccessible::ComboBox) {}
  QComboBox* Box() const { return static_cast<QComboBox*>(widget()); }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return Box()->currentText();
    return QAccessibleWidget::text(t);
  }
  QStringList actionNames() const override {
    return QStringList{showMenuAction()} + QAccessibleWidget::actionNames();
  }
  void doAction(const QString& action) override {
    if (action == showMenuAction() || action == pressAction())
      Box()->showPopup();
    else
      QAccessibleWidget::doAction(action);
  }
};

QAccessibleInterface* Factory(const QString& className, QObject* object) {
  if (className == QLatin1String("TAnnouncer"))
    return new TAnnouncerAccessible(static_cast<TAnnouncer*>(object));
  if (className == QLatin1String("TSpokenBox"))
    return new TSpokenBoxAccessible(static_cast<TSpokenBox*>(object));
  if (className == QLatin1String("TNamedComboBox"))
    return new TNamedComboAccessible(static_cast<TNamedComboBox*>(object));
  if (className == QLatin1String("TRilArrayBtn"))
    return new TArrayAccessible(static_cast<TRilArrayBtn*>(object));
  return nullptr;
}

}  // namespace

void InstallAccessibleObjects() {
  static const bool installed = [] {
    QAccessible::installFactory(Factory);
    return true;
  }();
  (void)installed;
}

TAnnouncer::TAnnouncer(QWidget* parent) : QWidget(parent) {
  InstallAccessibleObjects();
  // Nothing to see or click, and nothing to say when its window opens: it
  // stays hidden, and only its own notice tells a screen reader a message
  // has appeared.
  setGeometry(0, 0, 1, 1);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
  hide();
  flush_.setSingleShot(true);
  flush_.setInterval(0);
  connect(&flush_, &QTimer::timeout, this, [this] { Flush(); });
}

void TAnnouncer::Say(const QString& text) {
  const QString t = text.trimmed();
  if (t.isEmpty()) return;
  // A sentence already in this step's message is not said twice.
  if (!pending_.contains(t)) pending_ << t;
  flush_.start();
}

void TAnnouncer::Drop() {
  pending_.clear();
  flush_.stop();
}

void TAnnouncer::Flush() {
  flush_.stop();
  if (pending_.isEmpty()) return;
  QString message;
  for (const QString& part : pending_) {
    if (!message.isEmpty()) message += QLatin1Char(' ');
    message += part;
    // Sentences run on: each ends with a stop unless it ends in one of its own.
    const QChar last = part.back();
    if (last != QLatin1Char('.') && last != QLatin1Char('!') && last != QLatin1Char('?'))
      message += QLatin1Char('.');
  }
  pending_.clear();
  spoken_ = message;
  // The notification appears: a screen reader speaks it. Its name is
  // already the message when the reader asks.
  QAccessibleEvent event(this, QAccessible::ObjectShow);
  QAccessible::updateAccessibility(&event);
  if (Watcher) Watcher(this, spoken_);
}

TNamedComboBox::TNamedComboBox(QWidget* parent) : QComboBox(parent) {
  InstallAccessibleObjects();
}

TSpokenBox::TSpokenBox(QAccessible::Role role, QWidget* parent)
    : TPaintBox(parent), role_(role) {
  InstallAccessibleObjects();
}

void TSpokenBox::SetText(const QString& text) {
  if (text == text_) return;
  const QString old = text_;
  text_ = text;
  QAccessibleTextUpdateEvent event(this, 0, old, text_);
  QAccessible::updateAccessibility(&event);
}

void TSpokenBox::RowSelected() {
  const int row = SelectedRow ? SelectedRow() : -1;
  if (Columns.isEmpty() || row < 0) return;
  const int cell = (row + 1) * int(Columns.size());
  QAccessibleEvent selection(this, QAccessible::Selection);
  selection.setChild(cell);
  QAccessible::updateAccessibility(&selection);
}
