#include "scan/GoodTools.h"

#include "catalogue/DataFolder.h"
#include "catalogue/Feedback.h"
#include "common/Paths.h"
#include "common/Processes.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <dirent.h>
#include <sys/stat.h>

namespace quillon {

namespace {

struct ToolFile {
  QString source;
  QString name;
};

QString ToolName(const QString& shortName)
{
  return QStringLiteral("good") + shortName + QStringLiteral(".exe");
}

// The program, its configuration and its zip library, where they are kept and the name each has
// beside the files it renames.
QList<ToolFile> ToolFiles(const DataFolder& folder, const QString& shortName)
{
  return {{GoodToolsProgram(folder, shortName), ToolName(shortName)},
          {folder.CfgFolder() + QStringLiteral("goodinfo.cfg"), QStringLiteral("goodinfo.cfg")},
          {folder.Path() + QStringLiteral("Zip/zlib.dll"), QStringLiteral("zlib.dll")}};
}

// Every file a batch run may leave in a folder.
QStringList LeftoverNames(const QString& shortName)
{
  return {ToolName(shortName),
          QStringLiteral("goodinfo.cfg"),
          QStringLiteral("good") + shortName + QStringLiteral(".db"),
          shortName + QStringLiteral("Have.txt"),
          shortName + QStringLiteral("Miss.txt"),
          shortName + QStringLiteral("Dupes.txt"),
          QStringLiteral("gamelist.ini"),
          QStringLiteral("zlib.dll")};
}

bool CopyTool(const ToolFile& tool, const QString& targetFolder)
{
  const QString target = targetFolder + tool.name;
  if (!QFileInfo::exists(tool.source))
    return false;
  QFile::remove(target);
  if (!QFile::copy(tool.source, target))
    return false;
  QFile::setPermissions(target, QFileInfo(tool.source).permissions() | QFile::ReadOwner | QFile::WriteOwner);
  return true;
}

QString PerFileFolder(const DataFolder& folder)
{
  return folder.TempFolder() + QStringLiteral("goodtools/");
}

void DeleteFilesIn(const QString& folder, const QStringList& keep = {})
{
  QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System);
  while (it.hasNext()) {
    it.next();
    if (!keep.contains(it.fileName()))
      QFile::remove(it.filePath());
  }
}

// The regular files of a folder by inode; names that are not valid UTF-8 are left out.
QHash<quint64, QString> FilesByInode(const QString& folder)
{
  QHash<quint64, QString> files;
  const QByteArray encoded = QFile::encodeName(folder);
  DIR* directory = ::opendir(encoded.constData());
  if (!directory)
    return files;
  while (const dirent* entry = ::readdir(directory)) {
    struct stat status = {};
    if (::lstat((encoded + '/' + entry->d_name).constData(), &status) != 0 || !S_ISREG(status.st_mode))
      continue;
    if (const std::optional<QString> name = ExactFileName(QByteArray(entry->d_name)))
      files.insert(status.st_ino, *name);
  }
  ::closedir(directory);
  return files;
}

// The files of `folder` that now have another name than in `before`.
void NoteRenames(const QString& folder, const QHash<quint64, QString>& before, QHash<QString, QString>& renamedFrom)
{
  const QHash<quint64, QString> after = FilesByInode(folder);
  for (auto it = after.cbegin(); it != after.cend(); ++it) {
    const auto old = before.constFind(it.key());
    if (old != before.cend() && *old != it.value())
      renamedFrom.insert(folder + it.value(), folder + *old);
  }
}

}  // namespace

QString GoodToolsProgram(const DataFolder& folder, const QString& shortName)
{
  return folder.Path() + shortName + QLatin1Char('/') + ToolName(shortName);
}

bool BatchPassApplies(const QString& shortName, bool dontRename, bool quick)
{
  return shortName != QStringLiteral("Arcade") && !dontRename && !quick;
}

BatchPassResult RunBatchPass(const DataFolder& folder, const QString& shortName, const QStringList& romFolders,
                             Feedback& feedback)
{
  BatchPassResult result;
  const QList<ToolFile> tools = ToolFiles(folder, shortName);
  const QStringList leftoverNames = LeftoverNames(shortName);
  feedback.SetProgressMaximum(std::max<int>(static_cast<int>(romFolders.size()) - 1, 1));
  for (int index = 0; index < romFolders.size(); ++index) {
    const QString& romFolder = romFolders[index];
    QStringList created;
    for (const QString& name : leftoverNames) {
      if (!QFileInfo::exists(romFolder + name))
        created << name;
    }
    result.leftovers.insert(romFolder, created);
    for (const ToolFile& tool : tools)
      CopyTool(tool, romFolder);
    const QString program = romFolder + ToolName(shortName);
    if (QFileInfo::exists(program)) {
      const QHash<quint64, QString> before = FilesByInode(romFolder);
      ExecCmd(ToolInvocation(program, {QStringLiteral("rename"), QStringLiteral("inplace"), QStringLiteral("quiet")}),
              romFolder, [&feedback] { feedback.Yield(); });
      NoteRenames(romFolder, before, result.renamedFrom);
    }
    feedback.SetProgressValue(index);
    if (index > 9 && index % 10 == 0)
      feedback.Yield();
  }
  return result;
}

void CleanUpBatchPass(const GoodToolsLeftovers& leftovers)
{
  for (auto it = leftovers.cbegin(); it != leftovers.cend(); ++it) {
    for (const QString& name : it.value())
      QFile::remove(it.key() + name);
  }
}

QString RunPerFilePass(const DataFolder& folder, const QString& shortName, const QString& foundPath, Feedback& feedback)
{
  const QString workFolder = PerFileFolder(folder);
  if (!QDir().mkpath(workFolder))
    return {};
  const QList<ToolFile> tools = ToolFiles(folder, shortName);
  QStringList toolNames;
  for (const ToolFile& tool : tools)
    toolNames << tool.name;
  // Only the tools and the one copy may be in the folder, so the renamed copy is the only file
  // with its extension there.
  DeleteFilesIn(workFolder, toolNames);
  const QString name = QFileInfo(foundPath).fileName();
  if (!QFile::copy(foundPath, workFolder + name))
    return {};
  for (const ToolFile& tool : tools) {
    if (!QFileInfo::exists(workFolder + tool.name))
      CopyTool(tool, workFolder);
  }
  const QString program = workFolder + ToolName(shortName);
  if (QFileInfo::exists(program))
    ExecCmd(ToolInvocation(program, {QStringLiteral("rename"), QStringLiteral("inplace")}), workFolder,
            [&feedback] { feedback.Yield(); });
  const QString extension = ExtensionOf(name);
  QString result;
  QDirIterator it(workFolder, QDir::Files | QDir::Hidden | QDir::System);
  while (it.hasNext()) {
    it.next();
    if (!toolNames.contains(it.fileName()) && ExtensionOf(it.fileName()) == extension) {
      result = it.fileName();
      break;
    }
  }
  DeleteFilesIn(workFolder, toolNames);
  return result;
}

void CleanUpTempFolder(const DataFolder& folder)
{
  DeleteFilesIn(folder.TempFolder());
  DeleteFilesIn(PerFileFolder(folder));
}

}  // namespace quillon
