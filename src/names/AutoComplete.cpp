#include "names/AutoComplete.h"

namespace quillon {

Completion AutoComplete(const QString& boxText, int selectionStart, const QStringList& items)
{
  Completion completion;
  const QString typed = selectionStart > 0 ? boxText.left(selectionStart) : QString();
  if (typed.isEmpty())
    return completion;
  for (int i = 0; i < items.size(); ++i) {
    const QString& item = items[i];
    if (item == boxText) {
      completion.kind = Completion::Kind::SelectItem;
      completion.item = i;
      return completion;
    }
    if (item.left(typed.size()).compare(typed, Qt::CaseInsensitive) == 0) {
      completion.kind = Completion::Kind::Complete;
      completion.item = i;
      completion.text = typed + item.mid(typed.size());
      completion.selectionStart = static_cast<int>(typed.size());
      completion.selectionLength = static_cast<int>(item.size() - typed.size());
      return completion;
    }
  }
  return completion;
}

}  // namespace quillon
