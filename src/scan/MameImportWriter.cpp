#include "scan/MameImportWriter.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Feedback.h"
#include "catalogue/Lookups.h"
#include "catalogue/ReservedKeys.h"

#include <QSqlError>

namespace quillon {

namespace {

const QString kZipExtension = QStringLiteral(".zip");
// A status per machine would be tens of thousands of lines: a few a second say how it goes.
constexpr qint64 kMachineStatusEveryMs = 250;

bool Run(QSqlQuery& query, const QVariantList& binds)
{
  BindValues(query, binds);
  return query.exec();
}

}  // namespace

MameImportWriter::MameImportWriter(Catalogue& catalogue, Lookups& lookups, Feedback& feedback)
    : m_catalogue(catalogue),
      m_lookups(lookups),
      m_feedback(feedback),
      m_update(catalogue.Database()),
      m_insert(catalogue.Database()),
      m_link(catalogue.Database()),
      m_deleteGame(catalogue.Database()),
      m_markClone(catalogue.Database()),
      m_clearClone(catalogue.Database()),
      m_addYear(catalogue.Database()),
      m_addManufacturer(catalogue.Database())
{
}

MameImportWriter::~MameImportWriter()
{
  if (!m_addedYears.isEmpty())
    m_lookups.BuildYArray();
  if (!m_addedMakers.isEmpty())
    m_lookups.BuildMArray();
}

bool MameImportWriter::Prepare(SqlFailure* failure)
{
  const std::optional<Rows> system = m_catalogue.TrySelect(
      QStringLiteral("SELECT RemoveText FROM System WHERE SystemID = ?"), {kArcadeSystemId}, failure);
  if (!system)
    return false;
  m_removeText = IsTrue(system->Value(0, 0));
  if (!LoadArcadeGames(failure))
    return false;
  const QVariant unknownGenre = m_lookups.GetGen(kUnknownGenreName, true);
  if (unknownGenre.isValid())
    m_unknownGenre = unknownGenre.toLongLong();

  const std::pair<QSqlQuery*, QString> statements[] = {
      {&m_update, QStringLiteral("UPDATE Games SET System = ?, FileName = ?, Year = ?, Manufacturer = ?, FullName = ? "
                                 "WHERE GameID = ?")},
      {&m_insert, QStringLiteral("INSERT INTO Games (System, FileName, Year, Manufacturer, FullName, Genre) "
                                 "VALUES (?, ?, ?, ?, ?, 1)")},
      {&m_link, QStringLiteral("INSERT INTO SubGenres (GameID, GenreID) VALUES (?, ?)")},
      {&m_deleteGame, QStringLiteral("DELETE FROM Games WHERE GameID = ?")},
      {&m_markClone, QStringLiteral("UPDATE Games SET Clone = 1 WHERE FileName = ? AND System = ?")},
      {&m_clearClone, QStringLiteral("UPDATE Games SET Clone = 0 WHERE FileName = ? AND System = ?")},
      {&m_addYear, QStringLiteral("INSERT INTO [Year] ([Year]) VALUES (?)")},
      {&m_addManufacturer, QStringLiteral("INSERT INTO Manufacturer (Manufacturer) VALUES (?)")}};
  for (const auto& [query, sql] : statements) {
    if (!query->prepare(sql)) {
      *failure = FailureOf(*query);
      return false;
    }
  }
  return true;
}

// The first arcade game of each file name, as a search by file name finds it.
bool MameImportWriter::LoadArcadeGames(SqlFailure* failure)
{
  QSqlQuery query(m_catalogue.Database());
  query.setForwardOnly(true);
  if (!query.prepare(QStringLiteral(
          "SELECT GameID, FileName, Clone FROM Games WHERE System = ? AND FileName IS NOT NULL ORDER BY GameID"))) {
    *failure = FailureOf(query);
    return false;
  }
  query.bindValue(0, kArcadeSystemId);
  if (!query.exec()) {
    *failure = FailureOf(query);
    return false;
  }
  while (query.next()) {
    const QString fileName = query.value(1).toString();
    if (!m_gameByFileName.contains(fileName))
      m_gameByFileName.insert(fileName, query.value(0).toLongLong());
    if (IsTrue(query.value(2)))
      m_markedClones.insert(fileName);
  }
  if (query.lastError().isValid()) {
    *failure = FailureOf(query);
    return false;
  }
  return true;
}

QString MameImportWriter::TitleOf(const QString& description) const
{
  if (!m_removeText)
    return description;
  const qsizetype bracket = description.indexOf(QLatin1Char('('));
  return bracket < 0 ? description : description.left(bracket);
}

qint64 MameImportWriter::YearKey(const QString& year)
{
  if (const std::optional<qint64> known = m_lookups.FindYear(year))
    return *known;
  if (const auto added = m_addedYears.constFind(year); added != m_addedYears.cend())
    return *added;
  const qint64 key = AddName(m_addYear, year);
  if (key > 0)
    m_addedYears.insert(year, key);
  return key > 0 ? key : kUnknownYear;
}

qint64 MameImportWriter::ManufacturerKey(const QString& manufacturer)
{
  if (const std::optional<qint64> known = m_lookups.FindManf(manufacturer))
    return *known;
  // Makers compare ignoring case, as the lookup cache compares them.
  const QString folded = manufacturer.toLower();
  if (const auto added = m_addedMakers.constFind(folded); added != m_addedMakers.cend())
    return *added;
  const qint64 key = AddName(m_addManufacturer, manufacturer);
  if (key > 0)
    m_addedMakers.insert(folded, key);
  return key > 0 ? key : kUnknownManufacturer;
}

// Adds a year or maker the caches do not know; its key, or 0 when it cannot be added (reported,
// and the game gets the "[Unknown]" key instead).
qint64 MameImportWriter::AddName(QSqlQuery& insert, const QString& name)
{
  if (Run(insert, {name}))
    return insert.lastInsertId().toLongLong();
  const SqlFailure failure = FailureOf(insert);
  ReportError(m_feedback, failure.number, kMameImportRoutine, name + QStringLiteral(": ") + failure.description);
  return 0;
}

void MameImportWriter::WriteGame(const QString& driver, const QString& description, const QString& year,
                                 const QString& manufacturer)
{
  const QString fileName = driver + kZipExtension;
  const QString title = TitleOf(description);
  const qint64 yearKey = YearKey(year);
  const qint64 makerKey = ManufacturerKey(manufacturer);
  m_listedFileNames.insert(fileName);
  const auto existing = m_gameByFileName.constFind(fileName);
  if (existing != m_gameByFileName.cend()) {
    ShowMachineStatus(QStringLiteral("Updating ") + title);
    if (UpdateGame(*existing, fileName, yearKey, makerKey, title))
      ++m_counts.updated;
    else
      ReportRowFailure(driver, m_update);
    return;
  }
  ShowMachineStatus(QStringLiteral("Adding ") + title);
  if (AddGame(fileName, yearKey, makerKey, title))
    ++m_counts.added;
}

void MameImportWriter::ShowMachineStatus(const QString& text)
{
  if (m_sinceStatus.isValid() && m_sinceStatus.elapsed() < kMachineStatusEveryMs)
    return;
  m_feedback.SetStatus(StatusKind::Text, text);
  m_sinceStatus.start();
}

void MameImportWriter::ShowCounts()
{
  m_feedback.SetStatus(StatusKind::Text,
                       QStringLiteral("%1 games added, %2 updated").arg(m_counts.added).arg(m_counts.updated));
}

bool MameImportWriter::UpdateGame(qint64 gameId, const QString& fileName, qint64 year, qint64 maker,
                                  const QString& title)
{
  return Run(m_update, {kArcadeSystemId, fileName, year, maker, title, gameId});
}

bool MameImportWriter::AddGame(const QString& fileName, qint64 year, qint64 maker, const QString& title)
{
  const QString driver = fileName.chopped(kZipExtension.size());
  if (!Run(m_insert, {kArcadeSystemId, fileName, year, maker, title})) {
    ReportRowFailure(driver, m_insert);
    return false;
  }
  const qint64 gameId = m_insert.lastInsertId().toLongLong();
  // The list shows only games with a genre link: a new game gets "[Unknown]", or is taken back.
  if (!Run(m_link, {gameId, m_unknownGenre})) {
    ReportRowFailure(driver, m_link);
    Run(m_deleteGame, {gameId});
    return false;
  }
  m_gameByFileName.insert(fileName, gameId);
  return true;
}

void MameImportWriter::ReportRowFailure(const QString& driver, const QSqlQuery& query)
{
  ++m_counts.failed;
  const SqlFailure failure = FailureOf(query);
  ReportError(m_feedback, failure.number, kMameImportRoutine, driver + QStringLiteral(": ") + failure.description);
}

bool MameImportWriter::MarkClones(const QStringList& cloneDrivers, SqlFailure* failure)
{
  QSet<QString> cloneFileNames;
  for (const QString& driver : cloneDrivers) {
    const QString fileName = driver + kZipExtension;
    cloneFileNames.insert(fileName);
    if (!m_gameByFileName.contains(fileName))
      continue;
    if (!Run(m_markClone, {fileName, kArcadeSystemId})) {
      *failure = FailureOf(m_markClone);
      return false;
    }
    m_counts.clonesMarked += m_markClone.numRowsAffected();
  }
  return ClearFormerClones(cloneFileNames, failure);
}

// A machine of this list that an earlier list called a clone, and this one does not, loses its mark.
bool MameImportWriter::ClearFormerClones(const QSet<QString>& cloneFileNames, SqlFailure* failure)
{
  for (const QString& fileName : std::as_const(m_markedClones)) {
    if (!m_listedFileNames.contains(fileName) || cloneFileNames.contains(fileName))
      continue;
    if (!Run(m_clearClone, {fileName, kArcadeSystemId})) {
      *failure = FailureOf(m_clearClone);
      return false;
    }
  }
  return true;
}

}  // namespace quillon
