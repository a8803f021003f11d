#include "catalogue/StructureUpgradeSteps.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Feedback.h"
#include "catalogue/SavedQueries.h"
#include "catalogue/SchemaChanges.h"

#include <QSqlQuery>

#include <vector>

namespace quillon::upgrade {

std::optional<SqlFailure> PrepareFailure(Catalogue& catalogue, const QString& sql)
{
  SqlFailure failure;
  const QSqlQuery query = catalogue.Prepare(sql, &failure);
  if (failure.number == 0 && failure.description.isEmpty())
    return std::nullopt;
  return failure;
}

StepRun::StepRun(Catalogue& catalogue, Feedback& feedback, UpgradeDisplay& display, UpgradeResult& result)
    : m_catalogue(catalogue), m_feedback(feedback), m_display(display), m_result(result)
{
}

ProbeOutcome StepRun::Probe(const QString& sql, int missingWhen)
{
  const std::optional<SqlFailure> failure = PrepareFailure(m_catalogue, sql);
  if (!failure)
    return ProbeOutcome::Present;
  if (((missingWhen & kColumnMissing) && failure->IsMissingColumn()) ||
      ((missingWhen & kTableMissing) && failure->IsMissingTable()))
    return ProbeOutcome::Missing;
  ReportProbeFailure(*failure);
  return ProbeOutcome::Failed;
}

void StepRun::ReportProbeFailure(const SqlFailure& failure)
{
  m_feedback.SetStatus(StatusKind::Error, QString::number(failure.number) + QStringLiteral(" - (") + kUpgradeRoutine +
                                              QStringLiteral(" step ") + m_step + QStringLiteral(") ") +
                                              failure.description);
  CountFailure();
}

ProbeOutcome StepRun::ProbeColumn(const QString& table, const QString& column, int missingWhen)
{
  return Probe(QStringLiteral("SELECT ") + column + QStringLiteral(" FROM ") + table, missingWhen);
}

void StepRun::Announce(const QString& label)
{
  m_display.ShowLabel(label);
  if (!m_result.changedSteps.contains(m_step))
    m_result.changedSteps << m_step;
}

bool StepRun::Commit(Transaction& transaction)
{
  SqlFailure failure;
  if (transaction.Commit(&failure))
    return true;
  ReportError(m_feedback, failure.number, kUpgradeRoutine, failure.description);
  CountFailure();
  return false;
}

void StepRun::AddColumnIfMissing(const QString& label, const QString& table, const QString& column,
                                 const QString& typeWord, int size, int missingWhen, const QString& fill)
{
  if (ProbeColumn(table, column, missingWhen) != ProbeOutcome::Missing)
    return;
  Announce(label);
  Transaction transaction(m_catalogue);
  const bool added = addField(m_catalogue, m_feedback, table, column, typeWord, size) &&
                     (fill.isEmpty() || m_catalogue.Execute(m_feedback, kUpgradeRoutine, fill));
  if (!added) {
    CountFailure();
    return;
  }
  Commit(transaction);
}

void AddImageSearchColumns(StepRun& run)
{
  run.AddColumnIfMissing(kUpdatingLabel, QStringLiteral("System"), QStringLiteral("IgnoreMultiples"),
                         QStringLiteral("YesNo"), 0, kColumnMissing);
  run.AddColumnIfMissing(kUpdatingLabel, QStringLiteral("System"), QStringLiteral("ImageFilter"),
                         QStringLiteral("text"), 255, kColumnMissing);
}

void AddCloneColumn(StepRun& run)
{
  run.AddColumnIfMissing(kUpdatingLabel, QStringLiteral("Games"), QStringLiteral("Clone"), QStringLiteral("YesNo"), 0,
                         kColumnMissing);
}

void AddResumePositionColumn(StepRun& run)
{
  run.AddColumnIfMissing(kUpdatingLabel, QStringLiteral("System"), QStringLiteral("ResumePosition"),
                         QStringLiteral("Long"), 0, kColumnMissing);
}

void AddDefaultImageColumn(StepRun& run)
{
  run.AddColumnIfMissing(kUpdatingLabel, QStringLiteral("System"), QStringLiteral("DefaultImage"),
                         QStringLiteral("Memo"), 0, kColumnMissing);
}

// The link table, made from the single genre each game had before. The links and the summary
// they replace are written together, or not at all, so a failure is tried again at the next start
// instead of leaving an empty link table behind.
void AddGenreLinks(StepRun& run)
{
  if (run.Probe(QStringLiteral("SELECT GenreID FROM SubGenres"), kTableMissing) != ProbeOutcome::Missing)
    return;
  run.Announce(kUpdatingLabel);
  Catalogue& db = run.Db();
  Feedback& feedback = run.Reporter();
  Transaction transaction(db);
  const bool built =
      AddTable(db, feedback, QStringLiteral("SubGenres"),
               {{QStringLiteral("GameID"), kLongTypeCode, false}, {QStringLiteral("GenreID"), kLongTypeCode, false}}) &&
      db.Execute(feedback, kUpgradeRoutine,
                 QStringLiteral("INSERT INTO SubGenres (GameID, GenreID) SELECT GameID, Genre FROM Games "
                                "WHERE Genre IS NOT NULL ORDER BY GameID")) &&
      db.Execute(feedback, kUpgradeRoutine, QStringLiteral("UPDATE SubGenres SET GenreID = 1 WHERE GenreID = 0")) &&
      db.Execute(feedback, kUpgradeRoutine,
                 QStringLiteral("CREATE INDEX IF NOT EXISTS SubGenresByGame ON SubGenres (GameID)")) &&
      UpdateGenreSummary(db, feedback, kUpgradeRoutine);
  if (!built) {
    run.CountFailure();
    return;
  }
  run.Commit(transaction);
}

namespace {

void AddScriptSites(StepRun& run)
{
  run.SetStep(QStringLiteral("7.1"));
  if (run.Probe(QStringLiteral("SELECT Id FROM dURL"), kTableMissing) != ProbeOutcome::Missing)
    return;
  run.Announce(kUpdatingLabel);
  // URL is what the site lookup reads ("Select ID from dURL where url="), so the table gets it too.
  const bool created = AddTable(run.Db(), run.Reporter(), QStringLiteral("dURL"),
                                {{QStringLiteral("ID"), kLongTypeCode, true},
                                 {QStringLiteral("ScriptName"), kTextTypeCode, false},
                                 {QStringLiteral("Script"), kTextTypeCode, false},
                                 {QStringLiteral("SystemID"), kLongTypeCode, false},
                                 {QStringLiteral("URL"), kTextTypeCode, false}});
  if (!created)
    run.CountFailure();
}

void AddScriptSiteOptions(StepRun& run)
{
  run.SetStep(QStringLiteral("7.2"));
  const QString system = QStringLiteral("System");
  run.AddColumnIfMissing(kUpdatingLabel, system, QStringLiteral("dResumePosition"), QStringLiteral("Long"), 0,
                         kColumnMissing);
  run.AddColumnIfMissing(kUpdatingLabel, system, QStringLiteral("dIgnoreMultiples"), QStringLiteral("YesNo"), 0,
                         kColumnMissing);
  run.AddColumnIfMissing(kUpdatingLabel, system, QStringLiteral("dAutoDL"), QStringLiteral("Long"), 0, kColumnMissing,
                         QStringLiteral("UPDATE System SET dAutoDL = 100"));
  run.AddColumnIfMissing(kUpdatingLabel, system, QStringLiteral("dTimeOut"), QStringLiteral("Long"), 0, kColumnMissing,
                         QStringLiteral("UPDATE System SET dTimeOut = 10"));
}

void AddQuoteOption(StepRun& run)
{
  run.SetStep(QStringLiteral("7.3"));
  run.AddColumnIfMissing(kUpdatingLabel, QStringLiteral("Inc"), QStringLiteral("IncQ"), QStringLiteral("YesNo"), 0,
                         kColumnMissing);
}

// A view, trigger or index that ALTER TABLE ... DROP COLUMN would refuse to leave behind.
struct SchemaObject {
  QString type;
  QString name;
  QString sql;
  bool recreate = true;
};

QString QuotedIdentifier(QString name)
{
  return QLatin1Char('"') + name.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

// Every view and trigger (the engine checks them all when a column is dropped), and the indexes
// that name the dropped genre columns. Indexes on GenresGames go with their column.
std::optional<std::vector<SchemaObject>> ObjectsInTheWay(Catalogue& db, Feedback& feedback)
{
  const std::optional<Rows> rows = db.Select(
      feedback, kUpgradeRoutine,
      QStringLiteral("SELECT type, name, sql, 0 FROM sqlite_master WHERE type IN ('view', 'trigger') "
                     "AND sql IS NOT NULL "
                     "UNION ALL "
                     "SELECT 'index', list.name, master.sql, EXISTS (SELECT 1 FROM pragma_index_info(list.name) "
                     "AS info WHERE info.name COLLATE NOCASE = 'GenresGames') "
                     "FROM pragma_index_list('Games') AS list "
                     "INNER JOIN sqlite_master AS master ON master.name = list.name "
                     "WHERE master.sql IS NOT NULL AND EXISTS (SELECT 1 FROM pragma_index_info(list.name) AS info "
                     "WHERE info.name COLLATE NOCASE IN ('Genre', 'GenresGames'))"));
  if (!rows)
    return std::nullopt;
  std::vector<SchemaObject> objects;
  for (const QVariantList& row : rows->All())
    objects.push_back({row[0].toString(), row[1].toString(), row[2].toString(), !IsTrue(row[3])});
  return objects;
}

bool DropObjects(Catalogue& db, Feedback& feedback, const std::vector<SchemaObject>& objects)
{
  for (const SchemaObject& object : objects) {
    if (!db.Execute(feedback, kUpgradeRoutine,
                    QStringLiteral("DROP ") + object.type.toUpper() + QLatin1Char(' ') + QuotedIdentifier(object.name)))
      return false;
  }
  return true;
}

bool RecreateObjects(Catalogue& db, Feedback& feedback, const std::vector<SchemaObject>& objects)
{
  for (const SchemaObject& object : objects) {
    if (object.recreate && !db.Execute(feedback, kUpgradeRoutine, object.sql))
      return false;
  }
  return true;
}

bool DropColumn(Catalogue& db, Feedback& feedback, const QString& table, const QString& column)
{
  return db.Execute(feedback, kUpgradeRoutine,
                    QStringLiteral("ALTER TABLE ") + table + QStringLiteral(" DROP COLUMN ") + column);
}

// The old GenresGames column goes, and Genre becomes the summary of each game's links. Either the
// whole rework happens or none of it; no game row is touched but for its two genre columns.
void ReworkGenreColumns(StepRun& run)
{
  run.SetStep(QStringLiteral("7.5"));
  Catalogue& db = run.Db();
  Feedback& feedback = run.Reporter();
  const QString games = QStringLiteral("Games");
  if (!db.HasColumn(games, QStringLiteral("GenresGames")))
    return;
  run.Announce(kUpdatingLabel);
  Transaction transaction(db);
  const std::optional<std::vector<SchemaObject>> inTheWay = ObjectsInTheWay(db, feedback);
  const bool reworked =
      inTheWay && DropObjects(db, feedback, *inTheWay) &&
      DropColumn(db, feedback, games, QStringLiteral("GenresGames")) &&
      (!db.HasColumn(games, QStringLiteral("Genre")) || DropColumn(db, feedback, games, QStringLiteral("Genre"))) &&
      addField(db, feedback, games, QStringLiteral("Genre"), QStringLiteral("Long"), 0) &&
      UpdateGenreSummary(db, feedback, kUpgradeRoutine) && RecreateObjects(db, feedback, *inTheWay);
  if (!reworked) {
    run.CountFailure();
    return;
  }
  run.Commit(transaction);
}

}  // namespace

// On the other engine this step also turned a long-text FullName into Text(255), since that engine
// could not group long text. Here both are TEXT with the same behaviour, so there is nothing to change.
void AddSitesOptionsAndGenreRework(StepRun& run)
{
  AddScriptSites(run);
  AddScriptSiteOptions(run);
  AddQuoteOption(run);
  ReworkGenreColumns(run);
}

void AddEmulatorColumns(StepRun& run)
{
  run.AddColumnIfMissing(kUpdatingEmulatorLabel, QStringLiteral("System"), QStringLiteral("Emulator"),
                         QStringLiteral("Memo"), 0, kColumnMissing);
  run.AddColumnIfMissing(kUpdatingEmulatorLabel, QStringLiteral("Games"), QStringLiteral("Emulator"),
                         QStringLiteral("Memo"), 0, kColumnMissing);
  run.AddColumnIfMissing(kUpdatingEmulatorLabel, QStringLiteral("Games"), QStringLiteral("Edited"),
                         QStringLiteral("YesNo"), 0, kColumnMissing);
}

void AddMeedioQuery(StepRun& run)
{
  // A view whose columns no longer exist counts as missing too: it is defined again.
  if (run.Probe(QStringLiteral("SELECT emu FROM SaveAsH2"), kColumnOrTableMissing) != ProbeOutcome::Missing)
    return;
  run.Announce(kUpdatingLabel);
  if (!AddH2(run.Db(), run.Reporter()))
    run.CountFailure();
}

void AddSystemImageColumn(StepRun& run)
{
  run.AddColumnIfMissing(kUpdatingLabel, QStringLiteral("System"), QStringLiteral("SysImg"), QStringLiteral("Memo"), 0,
                         kColumnMissing);
}

// The systems that exist scanned their subfolders before the column did, and keep doing so;
// systems made later take the column's own default.
void AddRecurseColumn(StepRun& run)
{
  run.AddColumnIfMissing(kUpdatingLabel, QStringLiteral("System"), QStringLiteral("Recurse"), QStringLiteral("YesNo"),
                         0, kColumnMissing, QStringLiteral("UPDATE System SET Recurse = 1"));
}

}  // namespace quillon::upgrade
