#include "scan/GameMatching.h"

#include "catalogue/BulkStatement.h"
#include "catalogue/Catalogue.h"
#include "catalogue/DataFolder.h"
#include "catalogue/Feedback.h"
#include "catalogue/Lookups.h"
#include "common/Paths.h"
#include "names/FileNameTags.h"
#include "scan/GoodTools.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace quillon {

namespace {

const QString kNewGameRoutine = QStringLiteral("NewGame");

// Only "/" separates folders here; a backslash is part of a Linux file name.
QString FileNameOf(const QString& path)
{
  return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString StoredExtension(const QString& name)
{
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  return dot < 0 ? QString() : name.mid(dot + 1);
}

bool IsKnown(const QVariant& value)
{
  return !value.isNull() && value.isValid();
}

// A derived key replaces the stored one when it is known and differs, or when nothing is stored.
QVariant Merged(const QVariant& stored, qint64 derived, qint64 unknown)
{
  if (!IsKnown(stored))
    return derived;
  if (derived != unknown && stored.toLongLong() != derived)
    return derived;
  return stored;
}

struct SystemFacts {
  QString shortName;
  QString imageFolder;
  QString imageTypes;
  bool renameImages = false;
};

std::optional<SystemFacts> ReadSystem(Catalogue& catalogue, Feedback& feedback, qint64 systemId)
{
  const std::optional<Rows> rows =
      catalogue.Select(feedback, kNewGameRoutine,
                       QStringLiteral("SELECT SystemShortName, DefaultImagePath, DefaultImageType, RenameImages "
                                      "FROM System WHERE SystemID = ?"),
                       {systemId});
  if (!rows)
    return std::nullopt;
  if (rows->IsEmpty()) {
    ReportError(feedback, kNoCurrentRecord, kNewGameRoutine,
                QStringLiteral("No system with the key %1.").arg(systemId));
    return std::nullopt;
  }
  return SystemFacts{rows->Value(0, 0).toString(), rows->Value(0, 1).toString(), rows->Value(0, 2).toString(),
                     IsTrue(rows->Value(0, 3))};
}

// The system's ROM folder that `folder` is: the same text, else the same folder by another path.
std::optional<qint64> PathIdOf(Catalogue& catalogue, Feedback& feedback, const QString& folder, qint64 systemId)
{
  const std::optional<Rows> rows = catalogue.Select(
      feedback, kNewGameRoutine, QStringLiteral("SELECT PathID, RomPath FROM RomPath WHERE System = ? ORDER BY PathID"),
      {systemId});
  if (!rows)
    return std::nullopt;
  for (const QVariantList& row : rows->All()) {
    if (row[1].toString() == folder)
      return row[0].toLongLong();
  }
  for (const QVariantList& row : rows->All()) {
    if (!row[1].toString().isEmpty() && SameFolder(row[1].toString(), folder))
      return row[0].toLongLong();
  }
  return std::nullopt;
}

// Statements that carry file names run through BulkStatement, which binds text exactly: a name
// that begins with U+FEFF keeps it.
std::optional<qint64> ExecuteExactly(Catalogue& catalogue, Feedback& feedback, const QString& sql,
                                     const QVariantList& binds)
{
  BulkStatement statement(catalogue, sql);
  for (int i = 0; i < binds.size(); ++i)
    statement.Bind(i + 1, binds[i]);
  if (!statement.Execute()) {
    const SqlFailure failure = statement.Failure();
    ReportError(feedback, failure.number, kNewGameRoutine, failure.description);
    return std::nullopt;
  }
  return statement.LastInsertId();
}

// The first row of a query, `columns` wide; empty when there is none.
std::optional<QVariantList> FirstRowExactly(Catalogue& catalogue, Feedback& feedback, const QString& sql,
                                            const QVariantList& binds, int columns)
{
  BulkStatement statement(catalogue, sql);
  for (int i = 0; i < binds.size(); ++i)
    statement.Bind(i + 1, binds[i]);
  QVariantList row;
  if (statement.Next()) {
    for (int column = 0; column < columns; ++column)
      row << statement.Value(column);
  }
  if (!statement.IsValid() || statement.Failed()) {
    const SqlFailure failure = statement.Failure();
    ReportError(feedback, failure.number, kNewGameRoutine, failure.description);
    return std::nullopt;
  }
  return row;
}

}  // namespace

QString MatchKey(const QString& fileName)
{
  const QString name = FileNameOf(fileName);
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  return dot <= 0 ? name : name.left(dot);
}

PictureFolder::PictureFolder(const QString& folder, const QStringList& types) : m_folder(folder), m_types(types)
{
  if (m_folder.isEmpty())
    return;
  QDirIterator it(m_folder, QDir::Files | QDir::Hidden | QDir::System);
  while (it.hasNext()) {
    it.next();
    m_names.insert(it.fileName());
  }
}

QString PictureFolder::Find(const QString& foundFile, const QString& nameFile, bool renameImages, QString* renamedFrom)
{
  if (!IsUsable())
    return {};
  const QString foundBase = MatchKey(foundFile);
  const QString nameBase = MatchKey(nameFile);
  const bool renamed = FileNameOf(foundFile) != FileNameOf(nameFile);
  for (const QString& type : m_types) {
    const QString picture = foundBase + QLatin1Char('.') + type;
    if (m_names.contains(picture)) {
      if (!renamed || !renameImages)
        return picture;
      // The picture follows the game's new name; a failing copy keeps the old one.
      const QString renamedPicture = nameBase + QLatin1Char('.') + type;
      if (renamedPicture == picture)
        return picture;
      QFile::remove(m_folder + renamedPicture);
      if (!QFile::copy(m_folder + picture, m_folder + renamedPicture))
        return picture;
      m_names.insert(renamedPicture);
      if (QFile::remove(m_folder + picture))
        m_names.remove(picture);
      if (renamedFrom)
        *renamedFrom = picture;
      return renamedPicture;
    }
    const QString byName = nameBase + QLatin1Char('.') + type;
    if (m_names.contains(byName))
      return byName;
  }
  return {};
}

StoredValues MergeDerived(const StoredValues& stored, const DerivedGame& derived)
{
  StoredValues merged;
  merged.year = Merged(stored.year, derived.year, kUnknownYear);
  merged.manufacturer = Merged(stored.manufacturer, derived.manufacturer, kUnknownManufacturer);
  merged.country = Merged(stored.country, derived.country, kUnknownCountry);
  merged.image = stored.image.isEmpty() ? derived.image : stored.image;
  return merged;
}

DerivedGame DeriveGame(FileNameTags& tags, const QString& nameFile, bool keepExtensionInName)
{
  DerivedGame derived;
  derived.nameFile = nameFile;
  const QString name = FileNameOf(nameFile);
  derived.fullName = keepExtensionInName ? FullNameBeforeTags(name) : ScannedFullName(name);
  derived.year = tags.CheckYear(name);
  derived.country = tags.CheckCountry(name);
  derived.manufacturer = tags.GetManfFromName(name);
  return derived;
}

NewGameResult NewGame(Catalogue& catalogue, Lookups& lookups, Feedback& feedback, const DataFolder& dataFolder,
                      const NewGameRequest& request)
{
  NewGameResult result;
  const QFileInfo info(request.path);
  const QString folder = info.absolutePath() + QLatin1Char('/');
  const QString fileName = info.fileName();
  const std::optional<SystemFacts> system = ReadSystem(catalogue, feedback, request.systemId);
  if (!system)
    return result;

  QString nameFile = fileName;
  if (request.rename && !request.restrict && QFileInfo::exists(GoodToolsProgram(dataFolder, system->shortName))) {
    const QString renamed = RunPerFilePass(dataFolder, system->shortName, info.absoluteFilePath(), feedback);
    if (!renamed.isEmpty())
      nameFile = renamed;
  }
  FileNameTags tags(lookups);
  DerivedGame derived = DeriveGame(tags, nameFile, true);
  PictureFolder pictures(system->imageFolder, system->imageTypes.split(QLatin1Char(';'), Qt::SkipEmptyParts));
  derived.image = pictures.Find(fileName, nameFile, system->renameImages);

  QString analysed = nameFile;
  std::optional<qint64> pathId = PathIdOf(catalogue, feedback, folder, request.systemId);
  if (!pathId) {
    const Question question{
        QStringLiteral("add-rompath"),
        QStringLiteral("Quillon"),
        QStringLiteral("Would you like to add ") + folder + QStringLiteral(" to the list of rom paths?"),
        QuestionButtons::YesNo,
        MessageIcon::Question,
        Answer::No};
    if (feedback.Ask(question) == Answer::Yes) {
      if (!catalogue.Execute(feedback, kNewGameRoutine,
                             QStringLiteral("INSERT INTO RomPath (RomPath, System) VALUES (?, ?)"),
                             {folder, request.systemId}))
        return result;
      pathId = PathIdOf(catalogue, feedback, folder, request.systemId);
    } else {
      analysed = folder + fileName;
    }
  }
  result.analysedName = analysed;
  const QString storedName = request.rename ? fileName : analysed;
  // The game is looked up under the name its row holds: with "Don't Rename Roms" that is the
  // user's file name, not the standard name a GoodTools pass gave a copy.
  const QString storedBase = MatchKey(storedName);
  const int suffixLength = static_cast<int>(StoredExtension(storedName).size()) + 1;

  const std::optional<QVariantList> found = FirstRowExactly(
      catalogue, feedback,
      QStringLiteral("SELECT GameID, Image, Manufacturer, Year, Country FROM Games "
                     "WHERE substr(FileName, 1, length(FileName) - ?) = ? AND System = ? ORDER BY GameID LIMIT 1"),
      {suffixLength, storedName.startsWith(folder) ? folder + storedBase : storedBase, request.systemId}, 5);
  if (!found)
    return result;
  const QVariant romPath = pathId ? QVariant(*pathId) : QVariant();
  // A game without a ROM folder cannot be available; it is listed among the missing games.
  const int available = pathId ? 1 : 0;

  Transaction transaction(catalogue);
  if (!found->isEmpty()) {
    const qint64 gameId = found->at(0).toLongLong();
    const StoredValues merged =
        MergeDerived({found->at(3), found->at(2), found->at(4), found->at(1).toString()}, derived);
    const std::optional<QVariant> links = catalogue.SelectValue(
        feedback, kNewGameRoutine, QStringLiteral("SELECT count(*) FROM SubGenres WHERE GameID = ?"), {gameId});
    if (!links)
      return result;
    int genreCount = links->toInt();
    if (genreCount < 1) {
      if (!lookups.AddSubGenre(gameId, 0))
        return result;
      genreCount = 1;
    }
    if (!ExecuteExactly(catalogue, feedback,
                        QStringLiteral("UPDATE Games SET FileName = ?, Country = ?, Image = ?, Year = ?, "
                                       "Manufacturer = ?, RomPath = ?, Genre = ?, System = ?, Available = ?, "
                                       "Selected = 1 WHERE GameID = ?"),
                        {storedName, merged.country, merged.image.isEmpty() ? QVariant() : QVariant(merged.image),
                         merged.year, merged.manufacturer, romPath, genreCount, request.systemId, available, gameId}))
      return result;
    result.gameId = gameId;
  } else if (!request.restrict) {
    const std::optional<qint64> gameId = ExecuteExactly(
        catalogue, feedback,
        QStringLiteral("INSERT INTO Games (FullName, FileName, Country, Image, Year, Manufacturer, "
                       "RomPath, Genre, System, Available, Selected) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, 1, ?, ?, 1)"),
        {derived.fullName, storedName, derived.country, derived.image.isEmpty() ? QVariant() : QVariant(derived.image),
         derived.year, derived.manufacturer, romPath, request.systemId, available});
    if (!gameId)
      return result;
    result.gameId = *gameId;
    if (!lookups.AddSubGenre(result.gameId, 0))
      return result;
    result.added = true;
  }
  if (!transaction.Commit())
    return result;
  result.ok = true;
  if (result.gameId != 0) {
    feedback.AddResultLine(QStringLiteral("          Found - ") + storedName +
                           (derived.image.isEmpty() ? QString() : QStringLiteral(", ") + derived.image));
  }
  feedback.Yield();
  return result;
}

}  // namespace quillon
