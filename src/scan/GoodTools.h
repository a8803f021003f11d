#pragma once
// The GoodTools renaming passes of a scan: a system's GoodTools program renames ROM files to
// their standard names, in place folder by folder (batch pass), or a copy of one file in a
// working folder so the user's file keeps its name (per-file pass).
#include <QHash>
#include <QString>
#include <QStringList>

namespace quillon {

class DataFolder;
class Feedback;

// The system's GoodTools program under the data folder: <short>/good<short>.exe.
QString GoodToolsProgram(const DataFolder& folder, const QString& shortName);

// The batch pass runs for systems other than "Arcade" whose ROM files may be renamed
// (`dontRename` false), and never in a quick scan.
bool BatchPassApplies(const QString& shortName, bool dontRename, bool quick);

// What a batch pass left behind: per folder, the tool files it created there.
using GoodToolsLeftovers = QHash<QString, QStringList>;

struct BatchPassResult {
  GoodToolsLeftovers leftovers;
  // The files the tool renamed: new path -> path before the pass. A file renamed in place keeps
  // its inode, which is how it is recognised under its new name.
  QHash<QString, QString> renamedFrom;
};

// Copies the tool files into every folder of `romFolders` and runs "good<short>.exe rename inplace
// quiet" there. Errors are passed over: a folder whose tool cannot run keeps its names.
BatchPassResult RunBatchPass(const DataFolder& folder, const QString& shortName, const QStringList& romFolders,
                             Feedback& feedback);

// Deletes the files the batch pass created (the tool, its configuration, its lists and database)
// and nothing that was there before it.
void CleanUpBatchPass(const GoodToolsLeftovers& leftovers);

// Renames a copy of `foundPath` with "good<short>.exe rename inplace" in a working folder of the
// data folder's temp folder that holds nothing but the tools and that copy, and returns the name
// the copy ended with (no folder); empty when no copy came back.
QString RunPerFilePass(const DataFolder& folder, const QString& shortName, const QString& foundPath,
                       Feedback& feedback);

// Deletes every file of the temp folder and of the per-file working folder (not subfolders
// such as temp/images).
void CleanUpTempFolder(const DataFolder& folder);

}  // namespace quillon
