#pragma once
// Choosing the files an export writes: what the save dialog is asked, the answer of a front end,
// and the outcome every export reports.
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace quillon {

// What a save dialog is asked to show.
struct FileChoice {
  QString title;
  QString filter;         // "Description (*.ext)|*.ext"
  QString defaultSuffix;  // added by the dialog to a name without one
  QString initialFolder;
  QString proposedName;  // a file name without folder
};

// Shows the save dialog: the chosen file, or nullopt when the user cancelled it.
using FileChooser = std::function<std::optional<QString>(const FileChoice&)>;

// The key of the "Overwrite existing file?" question (the CLI answers it from --overwrite).
inline const QString kOverwriteQuestionKey = QStringLiteral("overwrite");

struct ExportResult {
  enum class Outcome { Done, Cancelled, Failed };
  Outcome outcome = Outcome::Failed;
  int records = 0;    // games written
  QStringList files;  // files written, in order
  QString error;      // why it failed

  bool Succeeded() const { return outcome == Outcome::Done; }
};

// `name` with `suffix` appended when it has none, as a save dialog's default extension does.
QString WithDefaultSuffix(const QString& name, const QString& suffix);

}  // namespace quillon
