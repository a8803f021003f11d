#pragma once
// The Meedio library export: per system, the selected, available games of the SaveAsH2 view are
// written to a "|||"-delimited transfer file, which the library's COPY statement loads into a
// temporary table; the system's earlier items (by tag_14) are deleted and the new ones inserted.
// The library is an SQLite 2 file written through our own engine (export/sqlite2); it is changed
// only when every statement of a system succeeded.
//
// Text goes into the library as UTF-8.
#include "export/ExportFiles.h"
#include "export/ExportOptions.h"
#include "export/ExportRules.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace quillon {

class Catalogue;
class DataFolder;
class Feedback;

inline const QString kExportToMeedioTitle = QStringLiteral("Export to Meedio");
inline const QString kMeedioFileFilter = QStringLiteral("Meedio Library (*.mlf)|*.mlf");
inline const QString kMeedioSuffix = QStringLiteral("mlf");
inline const QString kMeedioChoiceCancelledText = QStringLiteral("Save to Meedio cancelled by user.");
inline const QString kMeedioErrorText = QStringLiteral("Error with saving to Meedio.");
inline const QString kTransferFileName = QStringLiteral("h2export.tmp");
inline const QString kTemplateLibraryName = QStringLiteral("quillon.mlf");

// The template library: the data folder's library/quillon.mlf.
QString TemplateLibraryPath(const DataFolder& folder);
// Creates the template library (an empty `items` table) when it is missing.
bool EnsureTemplateLibrary(const DataFolder& folder, QString* error);

// A value as one field of the transfer file: Null is empty; "\" -> "\\", CR -> "\r", LF -> "\n",
// TAB -> "\t", "/" -> "\/" and "|" -> "\|", so that neither a line break nor a "|||" inside the
// value can split its line. UTF-8.
QByteArray CleanData(const QVariant& value);

// An emulator command split for the library: `program` (tag_13) is the command and one space,
// without its arguments; `arguments` start at the "-" of the first " -" (else the "/" of the first
// " /") found after the last "." of the last path element (in the whole element when it has no
// dot), and end with the added space.
struct H2Emulator {
  QString program;
  QString arguments;
};
H2Emulator SplitH2Emulator(const QString& command);

// The 18 fields of the tmp table in order.
const QStringList& H2Columns();

// The statements one system's export sends, with the transfer file's path.
QStringList H2Statements(const QString& transferFile, qint64 systemId);

struct H2ExportRequest {
  SystemScope systems = SystemScope::Current;
  qint64 currentSystemId = 0;
  ExportOptions options;
  QString library;  // the chosen library file; copied from the template when it does not exist
};

// ExportToH2: runs the export into the library.
ExportResult ExportToH2(Catalogue& catalogue, Feedback& feedback, const DataFolder& folder,
                        const H2ExportRequest& request);

}  // namespace quillon
