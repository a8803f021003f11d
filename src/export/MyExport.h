#pragma once
// The MyHTPC ".my" metafile export: numbered records of the selected, available games from the
// SaveAsMy view, in one file or one file per genre. Files are UTF-8 text with CR LF line ends.
#include "export/ExportFiles.h"
#include "export/ExportOptions.h"
#include "export/ExportRules.h"

#include <QString>

namespace quillon {

class Catalogue;
class Feedback;

inline const QString kSaveAsMyTitle = QStringLiteral("Save As .My");
inline const QString kMyFileFilter = QStringLiteral("MyHTPC Metafile (*.my)|*.my");
inline const QString kMySuffix = QStringLiteral("my");
inline const QString kMyCancelledText = QStringLiteral("Save as .my cancelled by user.");
inline const QString kMyErrorText = QStringLiteral("Error with saving .my file.");
// How often a write that failed for want of permission or access is tried in all.
constexpr int kMyWriteAttempts = 3;

enum class GenreScope { Current, AllInOneFile, SeparateFiles };

// What the proposed file name is made of ("system" is the current tab's caption, "genre" the
// genre filter's text).
struct MyNameInputs {
  SystemScope systems = SystemScope::Current;
  GenreScope genres = GenreScope::AllInOneFile;
  QString currentSystem;
  QString currentGenre;
  QString firstListedGenre;  // the genre filter's entry after the "all" entry
  QString firstSystemTab;
  QString firstGenreByName;
};

// The first file's proposed name, without folder or extension, made safe for a file name.
QString ProposedMyFileName(const MyNameInputs& inputs);
// Every "/" and then every "*" turned into "_".
QString SafeMyFileName(QString name);

struct MyExportRequest {
  SystemScope systems = SystemScope::Current;
  qint64 currentSystemId = 0;
  GenreScope genres = GenreScope::AllInOneFile;
  QString currentGenre;   // the genre filter's text, for GenreScope::Current
  bool autoSave = false;  // separate files after the first go beside it without a dialog
  ExportOptions options;
  QString proposedName;  // from ProposedMyFileName
};

// The alphabetic group of a title: "0-9", "A-E", "F-J", "K-O", "P-T" or "U-Z" by its first
// character (accents set aside). Titles that start with neither a digit nor a letter go to
// "0-9", so every game appears under some group.
QString AlphaGroup(const QString& title);

// Runs the export. `chooseFile` stands for the save dialog; existing files are replaced only after
// the "Overwrite existing file?" question is answered Yes. A file is written whole or not at all.
ExportResult ExportToMy(Catalogue& catalogue, Feedback& feedback, const MyExportRequest& request,
                        const FileChooser& chooseFile);

}  // namespace quillon
