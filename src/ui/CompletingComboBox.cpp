#include "ui/CompletingComboBox.h"

#include "names/AutoComplete.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

namespace quillon::ui {

namespace {

bool IsPrintableKey(const QKeyEvent* event)
{
  const QString text = event->text();
  if (text.isEmpty())
    return false;
  const ushort code = text.at(0).unicode();
  return code >= 33 && code <= 254;
}

bool IsModifierKey(const QKeyEvent* event)
{
  switch (event->key()) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_CapsLock:
      return true;
    default:
      return false;
  }
}

}  // namespace

CompletingComboBox::CompletingComboBox(QWidget* parent) : QComboBox(parent)
{
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  // Our own completion takes the place of the toolkit's.
  setCompleter(nullptr);
  setMaxVisibleItems(20);
  connect(this, qOverload<int>(&QComboBox::activated), this, [this] { m_untyped = true; });
}

void CompletingComboBox::Complete()
{
  QLineEdit* edit = lineEdit();
  if (!edit)
    return;
  QStringList items;
  items.reserve(count());
  for (int i = 0; i < count(); ++i)
    items << itemText(i);
  const int selectionStart = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
  const Completion completion = AutoComplete(edit->text(), selectionStart, items);
  switch (completion.kind) {
    case Completion::Kind::NoChange:
      return;
    case Completion::Kind::SelectItem: {
      const QString text = edit->text();
      blockSignals(true);
      setCurrentIndex(completion.item);
      blockSignals(false);
      edit->setText(text);
      return;
    }
    case Completion::Kind::Complete:
      edit->setText(completion.text);
      edit->setSelection(completion.selectionStart, completion.selectionLength);
      return;
  }
}

void CompletingComboBox::keyPressEvent(QKeyEvent* event)
{
  const bool printable = IsPrintableKey(event);
  if (m_typingReplaces && m_untyped && printable && lineEdit())
    lineEdit()->selectAll();
  if (!IsModifierKey(event))
    m_untyped = false;
  QComboBox::keyPressEvent(event);
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    m_untyped = true;
    emit entered();
  }
}

void CompletingComboBox::keyReleaseEvent(QKeyEvent* event)
{
  QComboBox::keyReleaseEvent(event);
  if (IsPrintableKey(event))
    Complete();
}

void CompletingComboBox::focusInEvent(QFocusEvent* event)
{
  QComboBox::focusInEvent(event);
  m_untyped = true;
  if (m_openOnFocus && event->reason() != Qt::PopupFocusReason && m_openOnFocus())
    QTimer::singleShot(0, this, [this] {
      if (hasFocus())
        showPopup();
    });
}

void CompletingComboBox::focusOutEvent(QFocusEvent* event)
{
  if (event->reason() != Qt::PopupFocusReason)
    Complete();
  QComboBox::focusOutEvent(event);
}

}  // namespace quillon::ui
