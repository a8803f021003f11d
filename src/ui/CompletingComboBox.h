#pragma once
// An editable drop-down list that completes typed text from its items: after each printable key
// and when it loses the focus, the first item starting with the typed text fills in the rest,
// selected, so typing on replaces it.
#include <QComboBox>

#include <functional>

namespace quillon::ui {

class CompletingComboBox : public QComboBox {
  Q_OBJECT

 public:
  explicit CompletingComboBox(QWidget* parent = nullptr);

  // Asked when the box receives the focus: true opens its list.
  void SetOpenOnFocus(std::function<bool()> wanted) { m_openOnFocus = std::move(wanted); }
  // Completes the current text from the items now.
  void Complete();
  // With `replaces`, the first character typed after the box got the focus, or after an item was
  // chosen, replaces the whole text instead of being inserted into it.
  void SetTypingReplacesText(bool replaces) { m_typingReplaces = replaces; }

 signals:
  // Enter was pressed in the box.
  void entered();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  std::function<bool()> m_openOnFocus;
  bool m_typingReplaces = false;
  bool m_untyped = true;
};

}  // namespace quillon::ui
