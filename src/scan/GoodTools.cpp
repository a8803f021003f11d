#include "scan/GoodTools.h"

#include "browser/Processes.h"
#include "catalogue/DataFolder.h"
#include "catalogue/Feedback.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

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

QString ExtensionOf(const QString& name)
{
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  return dot < 0 ? name : name.mid(dot + 1);
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

GoodToolsLeftovers RunBatchPass(const DataFolder& folder, const QString& shortName, const QStringList& romFolders,
                                Feedback& feedback)
{
  GoodToolsLeftovers leftovers;
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
    leftovers.insert(romFolder, created);
    for (const ToolFile& tool : tools)
      CopyTool(tool, romFolder);
    const QString program = romFolder + ToolName(shortName);
    if (QFileInfo::exists(program)) {
      ExecCmd(ToolInvocation(program, {QStringLiteral("rename"), QStringLiteral("inplace"), QStringLiteral("quiet")}),
              romFolder, feedback);
    }
    feedback.SetProgressValue(index);
    if (index > 9 && index % 10 == 0)
      feedback.Yield();
  }
  return leftovers;
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
    ExecCmd(ToolInvocation(program, {QStringLiteral("rename"), QStringLiteral("inplace")}), workFolder, feedback);
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
