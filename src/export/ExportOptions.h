#pragma once
// The export options shared by the .my and Meedio exports: the one row of `Inc`, each column a
// yes/no bound to one check box of the export dialogs.
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

namespace quillon {

class Catalogue;
class Feedback;

struct ExportOptions {
  bool incC = false;   // country
  bool incG = false;   // genre
  bool incM = false;   // manufacturer
  bool incO = false;   // overview
  bool incR = false;   // rating
  bool incS = false;   // system
  bool incY = false;   // year
  bool incQ = false;   // ROM path between quotes (Meedio only)
  bool exUnk = false;  // leave out "[Unknown]" values
  bool alpha = false;  // alphabetic group (.my only)
  bool sFile = false;  // "short" file names: the absolute path here

  // The option stored in the `Inc` column of this name (case-insensitive); nullptr when none.
  bool* Field(const QString& column);
  const bool* Field(const QString& column) const;
};

// The columns of `Inc`, in table order.
const QStringList& ExportOptionColumns();

// "Select * from Inc;": the options of the one row, or nullopt (reported) when it cannot be read.
std::optional<ExportOptions> LoadExportOptions(Catalogue& catalogue, Feedback& feedback);

// Stores one option at once, as a click on its check box does ("-(EditRecord)-" on failure).
bool StoreExportOption(Catalogue& catalogue, Feedback& feedback, const QString& column, bool value);
// Stores several options (column, value), all or none.
bool StoreExportOptions(Catalogue& catalogue, Feedback& feedback, const std::vector<std::pair<QString, bool>>& options);

}  // namespace quillon
