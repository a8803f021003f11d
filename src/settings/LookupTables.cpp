#include "settings/LookupTables.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Feedback.h"
#include "catalogue/Lookups.h"

namespace quillon {

namespace {

const QString kLoadRoutine = QStringLiteral("tbsedit_Click");
const QString kSaveRoutine = QStringLiteral("gridgenres_BeforeUpdate");
const QString kDeleteRoutine = QStringLiteral("cmddel_Click");
const QString kMoveRoutine = QStringLiteral("cmdupdate_Click");

// Games whose genre links a change touches, so their genre counts can be set afterwards.
const QString kAffectedGames = QStringLiteral("temp.LookupAffectedGames");

QString Text(const QVariant& value)
{
  return value.isNull() ? QString() : value.toString();
}

QString SelectEntries(const LookupSection& section)
{
  return QStringLiteral("SELECT %1, %2, %3 FROM \"%4\"")
      .arg(section.idColumn, section.nameColumn,
           section.hasGoodCode ? QStringLiteral("goodcode") : QStringLiteral("NULL"), section.table);
}

std::optional<LookupEntry> FirstEntry(const std::optional<Rows>& rows)
{
  if (!rows || rows->IsEmpty())
    return std::nullopt;
  return LookupEntry{rows->Value(0, 0).toLongLong(), Text(rows->Value(0, 1)), Text(rows->Value(0, 2))};
}

// True when another entry than `id` has this name (ignoring case). Reports the clash.
bool NameTaken(Catalogue& catalogue, Feedback& feedback, const LookupSection& section, const QString& name, qint64 id)
{
  const std::optional<QVariant> other =
      catalogue.SelectValue(feedback, kSaveRoutine,
                            QStringLiteral("SELECT %1 FROM \"%2\" WHERE %3 = ? COLLATE NOCASE AND %1 <> ?")
                                .arg(section.idColumn, section.table, section.nameColumn),
                            {name, id});
  if (!other)
    return true;
  if (!other->isValid())
    return false;
  ReportError(feedback, kDuplicateValue, kSaveRoutine,
              QStringLiteral("There is already a %1 named \"%2\".").arg(section.name, name));
  return true;
}

// Refuses the unknown entry with the editor's message; also refuses a key that does not exist.
std::optional<LookupEntry> EditableEntry(Catalogue& catalogue, Feedback& feedback, const LookupSection& section,
                                         qint64 id, const QString& routine)
{
  const std::optional<LookupEntry> entry = LookupEntryById(catalogue, feedback, section.kind, id);
  if (!entry) {
    ReportError(feedback, kNoCurrentRecord, routine,
                QStringLiteral("There is no %1 with the key %2.").arg(section.name).arg(id));
    return std::nullopt;
  }
  if (IsUnknownEntry(section, entry->id, entry->name, entry->goodCode)) {
    feedback.SetStatus(StatusKind::Error, CannotEditText(section));
    return std::nullopt;
  }
  return entry;
}

bool CollectAffectedGames(Catalogue& catalogue, Feedback& feedback, const QString& routine, qint64 genreId)
{
  return catalogue.Execute(feedback, routine,
                           QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS LookupAffectedGames "
                                          "(GameID INTEGER PRIMARY KEY)")) &&
         catalogue.Execute(feedback, routine, QStringLiteral("DELETE FROM ") + kAffectedGames) &&
         catalogue.Execute(feedback, routine,
                           QStringLiteral("INSERT OR IGNORE INTO ") + kAffectedGames +
                               QStringLiteral(" SELECT GameID FROM SubGenres WHERE GenreID = ?"),
                           {genreId});
}

// The affected games keep each genre once, and "[Unknown]" only when they have no other genre.
bool TidyAffectedLinks(Catalogue& catalogue, Feedback& feedback, const QString& routine)
{
  const QString affected = QStringLiteral("(SELECT GameID FROM ") + kAffectedGames + QLatin1Char(')');
  return catalogue.Execute(feedback, routine,
                           QStringLiteral("DELETE FROM SubGenres WHERE GameID IN ") + affected +
                               QStringLiteral(" AND rowid NOT IN (SELECT min(rowid) FROM SubGenres WHERE GameID IN ") +
                               affected + QStringLiteral(" GROUP BY GameID, GenreID)")) &&
         catalogue.Execute(feedback, routine,
                           QStringLiteral("DELETE FROM SubGenres WHERE GenreID = ? AND GameID IN ") + affected +
                               QStringLiteral(" AND EXISTS (SELECT 1 FROM SubGenres AS Other WHERE Other.GameID = "
                                              "SubGenres.GameID AND Other.GenreID <> ?)"),
                           {kUnknownGenre, kUnknownGenre});
}

// The genre count the details panel keeps: the number of links, 0 when there is none or the first
// is "[Unknown]".
bool RecountAffectedGames(Catalogue& catalogue, Feedback& feedback, const QString& routine)
{
  const QString firstLink =
      QStringLiteral("(SELECT GenreID FROM SubGenres WHERE SubGenres.GameID = Games.GameID ORDER BY rowid LIMIT 1)");
  return catalogue.Execute(feedback, routine,
                           QStringLiteral("UPDATE Games SET Genre = CASE WHEN %1 IS NULL OR %1 = ? THEN 0 ELSE "
                                          "(SELECT count(*) FROM SubGenres WHERE SubGenres.GameID = Games.GameID) END "
                                          "WHERE GameID IN (SELECT GameID FROM %2)")
                               .arg(firstLink, kAffectedGames),
                           {kUnknownGenre}) &&
         catalogue.Execute(feedback, routine, QStringLiteral("DELETE FROM ") + kAffectedGames);
}

bool DeleteGenreLinks(Catalogue& catalogue, Feedback& feedback, qint64 genreId)
{
  // A game whose every link is this genre keeps one link, to "[Unknown]".
  return CollectAffectedGames(catalogue, feedback, kDeleteRoutine, genreId) &&
         catalogue.Execute(feedback, kDeleteRoutine,
                           QStringLiteral("UPDATE SubGenres SET GenreID = ? WHERE GenreID = ? AND GameID NOT IN "
                                          "(SELECT GameID FROM SubGenres WHERE GenreID <> ?)"),
                           {kUnknownGenre, genreId, genreId}) &&
         catalogue.Execute(feedback, kDeleteRoutine, QStringLiteral("DELETE FROM SubGenres WHERE GenreID = ?"),
                           {genreId}) &&
         TidyAffectedLinks(catalogue, feedback, kDeleteRoutine) &&
         RecountAffectedGames(catalogue, feedback, kDeleteRoutine);
}

bool MoveGenreLinks(Catalogue& catalogue, Feedback& feedback, qint64 fromId, qint64 toId)
{
  return CollectAffectedGames(catalogue, feedback, kMoveRoutine, fromId) &&
         catalogue.Execute(feedback, kMoveRoutine, QStringLiteral("UPDATE SubGenres SET GenreID = ? WHERE GenreID = ?"),
                           {toId, fromId}) &&
         TidyAffectedLinks(catalogue, feedback, kMoveRoutine) &&
         RecountAffectedGames(catalogue, feedback, kMoveRoutine);
}

// The key of the batch update's target, adding a new genre or maker name through the converters.
std::optional<qint64> TargetKey(Lookups& lookups, Feedback& feedback, const LookupSection& section, const QString& name)
{
  QVariant key;
  switch (section.kind) {
    case LookupKind::Country:
      lookups.BuildCArray();
      key = lookups.GetCountry(name, true);
      break;
    case LookupKind::Genre:
      lookups.BuildGenArray();
      key = lookups.GetGen(name, true);
      break;
    case LookupKind::Manufacturer:
      lookups.BuildMArray();
      key = lookups.GetManf(name, true);
      break;
  }
  if (!key.isValid() || key.isNull()) {
    ReportError(feedback, kNoCurrentRecord, kMoveRoutine,
                QStringLiteral("There is no %1 named \"%2\".").arg(section.name, name));
    return std::nullopt;
  }
  return key.toLongLong();
}

}  // namespace

const LookupSection& SectionOf(LookupKind kind)
{
  static const LookupSection kCountry{
      LookupKind::Country,
      QStringLiteral("country"),
      QStringLiteral("C&ountries"),
      QStringLiteral("Country"),
      QStringLiteral("CountryID"),
      QStringLiteral("Country"),
      kUnknownCountry,
      QStringLiteral("SELECT CountryID, goodcode, Country FROM Country ORDER BY Country"),
      true};
  static const LookupSection kGenre{LookupKind::Genre,
                                    QStringLiteral("genre"),
                                    QStringLiteral("&Genres"),
                                    QStringLiteral("Genres"),
                                    QStringLiteral("GenreID"),
                                    QStringLiteral("GenreName"),
                                    kUnknownGenre,
                                    QStringLiteral("SELECT GenreID, GenreName FROM Genres ORDER BY GenreName"),
                                    false};
  static const LookupSection kManufacturer{
      LookupKind::Manufacturer,
      QStringLiteral("manufacturer"),
      QStringLiteral("&Manufacturers"),
      QStringLiteral("Manufacturer"),
      QStringLiteral("ManufacturerID"),
      QStringLiteral("Manufacturer"),
      kUnknownManufacturer,
      QStringLiteral("SELECT ManufacturerID, Manufacturer FROM Manufacturer ORDER BY Manufacturer"),
      false};
  switch (kind) {
    case LookupKind::Country:
      return kCountry;
    case LookupKind::Genre:
      return kGenre;
    case LookupKind::Manufacturer:
      break;
  }
  return kManufacturer;
}

const QList<LookupKind>& AllLookupKinds()
{
  static const QList<LookupKind> kinds{LookupKind::Country, LookupKind::Genre, LookupKind::Manufacturer};
  return kinds;
}

std::optional<LookupKind> LookupKindNamed(const QString& word)
{
  for (LookupKind kind : AllLookupKinds()) {
    if (SectionOf(kind).name.compare(word.trimmed(), Qt::CaseInsensitive) == 0)
      return kind;
  }
  return std::nullopt;
}

bool IsUnknownEntry(const LookupSection& section, qint64 id, const QString& name, const QString& goodCode)
{
  return id == section.unknownId || goodCode == kUnknownGoodCode || name == kUnknownGenreName;
}

QString CannotEditText(const LookupSection& section)
{
  return QStringLiteral("Sorry, this ") + section.name + QStringLiteral(" cannot be edited.");
}

QString DeleteQuestionText(const LookupSection& section)
{
  return QStringLiteral("This ") + section.name + QStringLiteral(" currently has games associated with it. ") +
         QStringLiteral("\r\n") + QStringLiteral("Deleting this ") + section.name +
         QStringLiteral(" would change the associated games' ") + section.name + QStringLiteral(" to [Unknown].") +
         QStringLiteral("\r\n\r\n") + QStringLiteral("Would you like to delete this ") + section.name +
         QStringLiteral("?");
}

QSqlQuery LookupGridQuery(Catalogue& catalogue, LookupKind kind)
{
  QSqlQuery query(catalogue.Database());
  query.exec(SectionOf(kind).gridSource);
  return query;
}

std::optional<QList<LookupEntry>> LookupEntries(Catalogue& catalogue, Feedback& feedback, LookupKind kind)
{
  const LookupSection& section = SectionOf(kind);
  const std::optional<Rows> rows = catalogue.Select(
      feedback, kLoadRoutine, SelectEntries(section) + QStringLiteral(" ORDER BY ") + section.nameColumn);
  if (!rows)
    return std::nullopt;
  QList<LookupEntry> entries;
  for (const QVariantList& row : rows->All())
    entries.append({row[0].toLongLong(), Text(row[1]), Text(row[2])});
  return entries;
}

std::optional<LookupEntry> LookupEntryById(Catalogue& catalogue, Feedback& feedback, LookupKind kind, qint64 id)
{
  const LookupSection& section = SectionOf(kind);
  return FirstEntry(catalogue.Select(
      feedback, kLoadRoutine, SelectEntries(section) + QStringLiteral(" WHERE %1 = ?").arg(section.idColumn), {id}));
}

std::optional<LookupEntry> LookupEntryNamed(Catalogue& catalogue, Feedback& feedback, LookupKind kind,
                                            const QString& name)
{
  const LookupSection& section = SectionOf(kind);
  return FirstEntry(catalogue.Select(
      feedback, kLoadRoutine,
      SelectEntries(section) +
          QStringLiteral(" WHERE %1 = ? COLLATE NOCASE ORDER BY %2").arg(section.nameColumn, section.idColumn),
      {name.trimmed()}));
}

std::optional<qint64> AddLookupEntry(Catalogue& catalogue, Feedback& feedback, LookupKind kind, const QString& name,
                                     const QString& goodCode)
{
  const LookupSection& section = SectionOf(kind);
  const QString trimmed = name.trimmed();
  const QString code = section.hasGoodCode ? goodCode.trimmed() : QString();
  if (trimmed.isEmpty() && code.isEmpty()) {
    ReportError(feedback, kTypeMismatch, kSaveRoutine, QStringLiteral("A %1 needs a name.").arg(section.name));
    return std::nullopt;
  }
  if (!trimmed.isEmpty() && NameTaken(catalogue, feedback, section, trimmed, 0))
    return std::nullopt;
  QString statement = QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (?)").arg(section.table, section.nameColumn);
  QVariantList binds{trimmed.isEmpty() ? QVariant() : QVariant(trimmed)};
  if (section.hasGoodCode) {
    statement =
        QStringLiteral("INSERT INTO \"%1\" (%2, goodcode) VALUES (?, ?)").arg(section.table, section.nameColumn);
    binds << (code.isEmpty() ? QVariant() : QVariant(code));
  }
  if (!catalogue.Execute(feedback, kSaveRoutine, statement, binds))
    return std::nullopt;
  return catalogue.LastInsertId();
}

bool RenameLookupEntry(Catalogue& catalogue, Feedback& feedback, LookupKind kind, qint64 id, const QString& name)
{
  const LookupSection& section = SectionOf(kind);
  const std::optional<LookupEntry> entry = EditableEntry(catalogue, feedback, section, id, kSaveRoutine);
  if (!entry)
    return false;
  const QString trimmed = name.trimmed();
  if (trimmed.isEmpty() && entry->goodCode.isEmpty()) {
    ReportError(feedback, kTypeMismatch, kSaveRoutine, QStringLiteral("A %1 needs a name.").arg(section.name));
    return false;
  }
  if (!trimmed.isEmpty() && NameTaken(catalogue, feedback, section, trimmed, id))
    return false;
  return catalogue.Execute(
      feedback, kSaveRoutine,
      QStringLiteral("UPDATE \"%1\" SET %2 = ? WHERE %3 = ?").arg(section.table, section.nameColumn, section.idColumn),
      {trimmed.isEmpty() ? QVariant() : QVariant(trimmed), id});
}

bool SetGoodCode(Catalogue& catalogue, Feedback& feedback, qint64 countryId, const QString& goodCode)
{
  const LookupSection& section = SectionOf(LookupKind::Country);
  const std::optional<LookupEntry> entry = EditableEntry(catalogue, feedback, section, countryId, kSaveRoutine);
  if (!entry)
    return false;
  const QString code = goodCode.trimmed();
  if (code.isEmpty() && entry->name.isEmpty()) {
    ReportError(feedback, kTypeMismatch, kSaveRoutine, QStringLiteral("A country needs a name or a code."));
    return false;
  }
  return catalogue.Execute(feedback, kSaveRoutine,
                           QStringLiteral("UPDATE Country SET goodcode = ? WHERE CountryID = ?"),
                           {code.isEmpty() ? QVariant() : QVariant(code), countryId});
}

std::optional<int> GamesUsingEntry(Catalogue& catalogue, Feedback& feedback, LookupKind kind, qint64 id)
{
  const QString statement =
      kind == LookupKind::Genre
          ? QStringLiteral("SELECT count(GenreID) AS Cnt FROM SubGenres WHERE GenreID = ?")
          : QStringLiteral("SELECT count(%1) AS cnt FROM Games WHERE %1 = ?").arg(SectionOf(kind).name);
  const std::optional<QVariant> count = catalogue.SelectValue(feedback, kDeleteRoutine, statement, {id});
  if (!count)
    return std::nullopt;
  return count->toInt();
}

LookupDeletion DeleteLookupEntry(Catalogue& catalogue, Feedback& feedback, LookupKind kind, qint64 id)
{
  const LookupSection& section = SectionOf(kind);
  if (!EditableEntry(catalogue, feedback, section, id, kDeleteRoutine))
    return LookupDeletion::Refused;
  const std::optional<int> used = GamesUsingEntry(catalogue, feedback, kind, id);
  if (!used)
    return LookupDeletion::Failed;
  if (*used > 0) {
    Question question;
    question.key = kDeleteLookupQuestion;
    question.title = QStringLiteral("Delete");
    question.text = DeleteQuestionText(section);
    question.buttons = QuestionButtons::YesNo;
    question.icon = MessageIcon::Question;
    question.fallback = Answer::No;
    if (feedback.Ask(question) != Answer::Yes)
      return LookupDeletion::Declined;
  }
  Transaction transaction(catalogue);
  bool ok = true;
  if (*used > 0) {
    ok = kind == LookupKind::Genre
             ? DeleteGenreLinks(catalogue, feedback, id)
             : catalogue.Execute(feedback, kDeleteRoutine,
                                 QStringLiteral("UPDATE Games SET %1 = ? WHERE %1 = ?").arg(section.name),
                                 {section.unknownId, id});
  }
  ok = ok &&
       catalogue.Execute(feedback, kDeleteRoutine,
                         QStringLiteral("DELETE FROM \"%1\" WHERE %2 = ?").arg(section.table, section.idColumn), {id});
  return ok && transaction.Commit() ? LookupDeletion::Deleted : LookupDeletion::Failed;
}

std::optional<int> MoveLookupGames(Catalogue& catalogue, Lookups& lookups, Feedback& feedback, LookupKind kind,
                                   const QString& from, const QString& to)
{
  const LookupSection& section = SectionOf(kind);
  if (from.trimmed().isEmpty() || to.trimmed().isEmpty()) {
    ReportError(feedback, kTypeMismatch, kMoveRoutine,
                QStringLiteral("Choose the %1 to change from and to.").arg(section.name));
    return std::nullopt;
  }
  // The entry games leave must exist; it is never added.
  const std::optional<LookupEntry> source = LookupEntryNamed(catalogue, feedback, kind, from);
  if (!source) {
    ReportError(feedback, kNoCurrentRecord, kMoveRoutine,
                QStringLiteral("There is no %1 named \"%2\".").arg(section.name, from.trimmed()));
    return std::nullopt;
  }
  const std::optional<qint64> target = TargetKey(lookups, feedback, section, to.trimmed());
  if (!target)
    return std::nullopt;
  if (*target == source->id)
    return 0;
  const std::optional<QVariant> moved = catalogue.SelectValue(
      feedback, kMoveRoutine,
      kind == LookupKind::Genre ? QStringLiteral("SELECT count(DISTINCT GameID) FROM SubGenres WHERE GenreID = ?")
                                : QStringLiteral("SELECT count(*) FROM Games WHERE %1 = ?").arg(section.name),
      {source->id});
  if (!moved)
    return std::nullopt;
  Transaction transaction(catalogue);
  const bool ok = kind == LookupKind::Genre
                      ? MoveGenreLinks(catalogue, feedback, source->id, *target)
                      : catalogue.Execute(feedback, kMoveRoutine,
                                          QStringLiteral("UPDATE Games SET %1 = ? WHERE %1 = ?").arg(section.name),
                                          {*target, source->id});
  if (!ok || !transaction.Commit())
    return std::nullopt;
  return moved->toInt();
}

}  // namespace quillon
