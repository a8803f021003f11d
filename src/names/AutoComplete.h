#pragma once
// Type-ahead completion of an editable drop-down list, as a rule the combo boxes apply.
#include <QString>
#include <QStringList>

namespace quillon {

struct Completion {
  enum class Kind {
    NoChange,    // leave the box as it is
    SelectItem,  // the whole text is an item: make `item` the list's current item
    Complete     // set `text`, selecting `selectionLength` characters from `selectionStart`
  };
  Kind kind = Kind::NoChange;
  int item = -1;
  QString text;
  int selectionStart = 0;
  int selectionLength = 0;
};

// `boxText` is the box's whole text and `selectionStart` where its selection begins; the typed
// text is what comes before the selection. The first item that equals the whole text exactly is
// selected; otherwise the first item that starts with the typed text (ignoring case) completes
// it: the typed text keeps its letters and the rest of the item follows, selected.
Completion AutoComplete(const QString& boxText, int selectionStart, const QStringList& items);

}  // namespace quillon
