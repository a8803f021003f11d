#include "export/MyExport.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Feedback.h"
#include "common/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>

#include <algorithm>
#include <map>

namespace quillon {

namespace {

const QString kRoutine = QStringLiteral("ExportToMy");
constexpr int kYieldEvery = 100;
constexpr unsigned long kRetryPauseMs = 200;

// Columns of SaveAsMy by position.
enum MyColumn {
  kGameId = 0,
  kSystemName = 1,
  kFullName = 2,
  kFileName = 3,
  kFile = 4,
  kYear = 5,
  kManufacturer = 6,
  kCountry = 7,
  kOverview = 8,
  kStoredImage = 9,
  kSystemId = 10,
  kFullImage = 11,
  kRating = 12,
  kGenreId = 13,
};

struct Genre {
  qint64 id = 0;
  QString name;
};

// A value on one record line: a line break inside it would start a line of its own.
QString OneLine(QString text)
{
  text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
  text.replace(QLatin1Char('\r'), QLatin1Char(' '));
  text.replace(QLatin1Char('\n'), QLatin1Char(' '));
  return text;
}

QString Value(const QVariantList& row, int column)
{
  return OneLine(TextOf(row.value(column)));
}

// The genre value of a record: the genres joined by ",", every "/" a space.
QString GenreValue(const QStringList& genres)
{
  QString value = genres.join(QLatin1Char(','));
  value.replace(QLatin1Char('/'), QLatin1Char(' '));
  return value;
}

// The lines of one record, each ended by CR LF.
class RecordText {
 public:
  void Line(const QString& text) { m_text.append(text).append(QStringLiteral("\r\n")); }
  void Line(const QString& key, const QString& value)
  {
    m_text.append(key).append(value).append(QStringLiteral("\r\n"));
  }
  void Category(const QString& name, const QString& value)
  {
    m_text.append(QStringLiteral("Category=\"")).append(name).append(QStringLiteral("\",\""));
    m_text.append(value).append(QStringLiteral("\"\r\n"));
  }
  QByteArray Utf8() const { return m_text.toUtf8(); }

 private:
  QString m_text;
};

// Appends one record to `out`.
void AppendRecord(QByteArray& out, int number, const QVariantList& row, const QString& genre,
                  const ExportSystem& system, const ExportOptions& options)
{
  const QString title = OneLine(CutTitle(TextOf(row.value(kFullName)), system.removeText));
  const auto wanted = [&](bool option, const QString& value) {
    return option && !(options.exUnk && IsUnknownValue(value));
  };
  RecordText record;
  record.Line(QLatin1Char('[') + QString::number(number) + QLatin1Char(']'));
  record.Line(QStringLiteral("title="), title);
  const QString systemName = Value(row, kSystemName);
  if (wanted(options.incS, systemName))
    record.Category(QStringLiteral("System"), systemName);
  const QString genreValue = OneLine(genre);
  if (wanted(options.incG, genreValue))
    record.Category(QStringLiteral("Genre"), genreValue);
  const QString country = Value(row, kCountry);
  if (wanted(options.incC, country))
    record.Category(QStringLiteral("Country"), country);
  if (options.alpha)
    record.Category(QStringLiteral("Alpha"), AlphaGroup(title));
  const QString manufacturer = Value(row, kManufacturer);
  if (wanted(options.incM, manufacturer))
    record.Category(QStringLiteral("Company"), manufacturer);
  const QString year = Value(row, kYear);
  if (wanted(options.incY, year)) {
    record.Category(QStringLiteral("Year"), year);
    record.Line(QString());
    record.Line(QStringLiteral("Produced="), year);
  }
  if (options.incR)
    record.Line(QStringLiteral("Review="), Value(row, kRating));
  if (options.incO)
    record.Line(QStringLiteral("Overview="), Value(row, kOverview));
  const QString rom =
      ExportRomPath(TextOf(row.value(kFileName)), TextOf(row.value(kFile)), system.fullRomPath, options.sFile);
  record.Line(QStringLiteral("chain=\"Game\",\""), OneLine(rom) + QLatin1Char('"'));
  const QString picture = ExportPicturePath(row.value(kStoredImage), row.value(kFullImage), system.fullImagePath);
  record.Line(QStringLiteral("images=\""), OneLine(picture) + QLatin1Char('"'));
  out += record.Utf8();
}

// Writes a whole file, replacing it only once the new content is complete. A failure for want of
// permission or access is tried again a bounded number of times, with the file made writable.
bool WriteMyFile(const QString& path, const QByteArray& content, QString* error)
{
  for (int attempt = 1;; ++attempt) {
    AtomicFile file(path);
    ReplaceFailure failure;
    if (file.Write(content, &failure) && file.Commit(&failure))
      return true;
    *error = QStringLiteral("%1: %2").arg(path, failure.reason);
    const bool retry = failure.step == ReplaceStep::CreateTemporary;
    if (!retry || attempt >= kMyWriteAttempts)
      return false;
    if (QFileInfo::exists(path))
      QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QThread::msleep(kRetryPauseMs);
  }
}

// The SaveAsMy rows of the exported systems, read in one pass (the view groups every selected
// game before any filter applies, so one query per system would read them all each time) and
// handed out system by system, in the order of the systems list.
class SaveAsMyRows {
 public:
  bool Open(Catalogue& catalogue, Feedback& feedback, const MyExportRequest& request, std::optional<qint64> genreId)
  {
    QString sql = QStringLiteral("SELECT * FROM SaveAsMy WHERE ");
    QVariantList binds;
    if (genreId) {
      sql += QStringLiteral("GenreID = ? AND ");
      binds << *genreId;
    }
    if (request.systems == SystemScope::All) {
      sql += QStringLiteral("SystemID IN (SELECT SystemID FROM System WHERE EnableTab <> 0)");
    } else {
      sql += QStringLiteral("SystemID = ?");
      binds << request.currentSystemId;
    }
    sql += QStringLiteral(" ORDER BY System COLLATE NOCASE, SystemID, GameID, GenreID");
    SqlFailure failure;
    m_query = catalogue.Prepare(sql, &failure);
    BindValues(m_query, binds);
    if (failure.number != 0 || !m_query.exec()) {
      failure = FailureOf(m_query);
      ReportError(feedback, failure.number, kRoutine, failure.description);
      return false;
    }
    const QSqlRecord record = m_query.record();
    for (int i = 0; i < record.count(); ++i)
      m_columns << record.fieldName(i);
    return Advance(feedback);
  }

  // The rows of the system (all of them when it is the next one in the pass; none otherwise),
  // without games lacking a picture when the system drops them. nullopt on a failure (reported).
  std::optional<Rows> Take(Feedback& feedback, const ExportSystem& system)
  {
    std::vector<QVariantList> values;
    while (m_hasRow && m_row.value(kSystemId).toLongLong() == system.id) {
      if (!system.dropRoms || !TextOf(m_row.value(kStoredImage)).isEmpty())
        values.push_back(std::move(m_row));
      if (!Advance(feedback))
        return std::nullopt;
    }
    return Rows(m_columns, std::move(values));
  }

  // True when every row was handed out; rows left over would be games that no system took.
  bool AllTaken() const { return !m_hasRow; }

 private:
  bool Advance(Feedback& feedback)
  {
    m_hasRow = m_query.next();
    if (!m_hasRow) {
      if (m_query.lastError().type() != QSqlError::NoError) {
        const SqlFailure failure = FailureOf(m_query);
        ReportError(feedback, failure.number, kRoutine, failure.description);
        return false;
      }
      return true;
    }
    const int count = int(m_columns.size());
    m_row.clear();
    m_row.reserve(count);
    for (int i = 0; i < count; ++i)
      m_row << m_query.value(i);
    return true;
  }

  QSqlQuery m_query;
  QStringList m_columns;
  QVariantList m_row;
  bool m_hasRow = false;
};

// The file choice of one export: the dialog, or beside the previous file in auto-save mode, and
// the overwrite question.
class MyFileChoices {
 public:
  MyFileChoices(Feedback& feedback, const FileChooser& chooseFile, bool autoSave)
      : m_feedback(feedback), m_chooseFile(chooseFile), m_autoSave(autoSave)
  {
  }

  // The file for a proposed name, or nullopt when the user cancelled the dialog.
  std::optional<QString> Choose(const QString& proposedName)
  {
    const QString safeName = SafeMyFileName(proposedName);
    bool automatic = m_autoSave && m_chosenBefore && !m_refused;
    for (;;) {
      QString path;
      if (automatic) {
        path = QDir(m_folder).filePath(WithDefaultSuffix(safeName, kMySuffix));
      } else {
        const std::optional<QString> chosen = m_chooseFile(FileChoice{
            kSaveAsMyTitle, kMyFileFilter, kMySuffix, m_folder.isEmpty() ? DocumentsFolder() : m_folder, safeName});
        if (!chosen || chosen->isEmpty())
          return std::nullopt;
        path = QFileInfo(*chosen).absoluteFilePath();
      }
      if (QFileInfo::exists(path) && !MayOverwrite(path)) {
        m_refused = true;
        automatic = false;
        continue;
      }
      m_folder = QFileInfo(path).absolutePath();
      m_chosenBefore = true;
      m_feedback.Yield();
      return path;
    }
  }

 private:
  bool MayOverwrite(const QString& path)
  {
    Question question;
    question.key = kOverwriteQuestionKey;
    question.title = kSaveAsMyTitle;
    question.text = path + QStringLiteral("\r\n") + QStringLiteral("Overwrite existing file?");
    question.buttons = QuestionButtons::YesNo;
    question.icon = MessageIcon::Question;
    question.fallback = Answer::No;
    return m_feedback.Ask(question) == Answer::Yes;
  }

  Feedback& m_feedback;
  const FileChooser& m_chooseFile;
  bool m_autoSave;
  bool m_chosenBefore = false;
  bool m_refused = false;
  QString m_folder;
};

class MyExporter {
 public:
  MyExporter(Catalogue& catalogue, Feedback& feedback, const MyExportRequest& request, const FileChooser& chooseFile)
      : m_catalogue(catalogue),
        m_feedback(feedback),
        m_request(request),
        m_options(request.options),
        m_files(feedback, chooseFile, request.autoSave)
  {
  }

  ExportResult Run()
  {
    const std::optional<std::vector<ExportSystem>> systems =
        ExportSystems(m_catalogue, m_feedback, kRoutine, m_request.systems, m_request.currentSystemId);
    if (!systems)
      return Failed(QStringLiteral("the systems could not be read"));
    const std::optional<std::vector<Genre>> genres = Genres();
    if (!genres)
      return Failed(m_result.error);
    return m_request.genres == GenreScope::SeparateFiles ? RunSeparateFiles(*systems, *genres)
                                                         : RunOneFile(*systems, genres->front());
  }

 private:
  // The genres an export walks: the current one, or all ordered by name (as the genre filter
  // lists them, so the first file's proposed name is the genre it holds).
  std::optional<std::vector<Genre>> Genres()
  {
    const bool current = m_request.genres == GenreScope::Current;
    const std::optional<Rows> rows =
        current ? m_catalogue.Select(m_feedback, kRoutine,
                                     QStringLiteral("SELECT GenreID, GenreName FROM Genres WHERE GenreName = ?"),
                                     {m_request.currentGenre})
                : m_catalogue.Select(m_feedback, kRoutine,
                                     QStringLiteral("SELECT GenreID, GenreName FROM Genres ORDER BY GenreName"));
    if (!rows) {
      m_result.error = QStringLiteral("the genres could not be read");
      return std::nullopt;
    }
    std::vector<Genre> genres;
    for (const QVariantList& row : rows->All())
      genres.push_back(Genre{row[0].toLongLong(), TextOf(row[1])});
    if (genres.empty()) {
      m_result.error = current ? QStringLiteral("there is no genre named \"%1\"").arg(m_request.currentGenre)
                               : QStringLiteral("there are no genres");
      ReportError(m_feedback, kNoCurrentRecord, kRoutine, m_result.error);
      return std::nullopt;
    }
    return genres;
  }

  void ShowChecking(const ExportSystem& system, const QString& genre)
  {
    m_feedback.SetStatus(StatusKind::Text,
                         QStringLiteral("Checking ") + system.name + QStringLiteral(" - ") + genre + QLatin1Char(')'));
  }

  // Writes one record per game of `rows` (the positions given), numbered from 1. `genreOf` gives
  // a game's genre value. Returns the number of records.
  int AppendRecords(QByteArray& out, const QString& file, const Rows& rows, const std::vector<int>& positions,
                    const ExportSystem& system, const std::function<QString(qint64)>& genreOf)
  {
    if (positions.empty())
      return 0;
    m_feedback.SetStatus(StatusKind::Text, QStringLiteral("Creating my-file (") + file + QStringLiteral(")..."));
    m_feedback.SetProgressMaximum(int(positions.size()));
    int number = 0;
    for (const int position : positions) {
      const QVariantList& row = rows.Row(position);
      AppendRecord(out, ++number, row, genreOf(row.value(kGameId).toLongLong()), system, m_options);
      m_feedback.SetProgressValue(number);
      if (number % kYieldEvery == 0)
        m_feedback.Yield();
    }
    return number;
  }

  // One record per game: a game linked to several genres comes once per link in SaveAsMy.
  static std::vector<int> FirstRowOfEachGame(const Rows& rows)
  {
    std::vector<int> positions;
    qint64 previous = 0;
    for (int row = 0; row < rows.Count(); ++row) {
      const qint64 game = rows.Value(row, kGameId).toLongLong();
      if (row == 0 || game != previous)
        positions.push_back(row);
      previous = game;
    }
    return positions;
  }

  ExportResult RunOneFile(const std::vector<ExportSystem>& systems, const Genre& firstGenre)
  {
    const std::optional<QString> file = m_files.Choose(m_request.proposedName);
    if (!file)
      return Cancelled();
    QByteArray content;
    int written = 0;
    const bool currentGenre = m_request.genres == GenreScope::Current;
    SaveAsMyRows stream;
    if (!stream.Open(m_catalogue, m_feedback, m_request,
                     currentGenre ? std::optional<qint64>(firstGenre.id) : std::nullopt))
      return Failed(QStringLiteral("the games could not be read"));
    for (const ExportSystem& system : systems) {
      // A record lists all of its game's genres, also when only one genre's games are exported.
      std::optional<PairTable> genreNames;
      if (m_options.incG) {
        genreNames = SystemGenreNames(m_catalogue, m_feedback, kRoutine, system.id);
        if (!genreNames)
          return Failed(QStringLiteral("the genres of %1 could not be read").arg(system.name));
      }
      ShowChecking(system, firstGenre.name);
      const std::optional<Rows> rows = stream.Take(m_feedback, system);
      if (!rows)
        return Failed(QStringLiteral("the games of %1 could not be read").arg(system.name));
      const auto genreOf = [&](qint64 gameId) {
        if (!genreNames)
          return QString();
        QStringList names;
        for (const QVariant& name : FindGenreNameByGameID(*genreNames, gameId))
          names << TextOf(name);
        return GenreValue(names);
      };
      written += AppendRecords(content, *file, *rows, FirstRowOfEachGame(*rows), system, genreOf);
    }
    if (!stream.AllTaken())
      return Failed(UnreadGames());
    if (!Write(*file, content))
      return m_result;
    m_result.records = written;
    m_feedback.SetStatus(StatusKind::Text, CountText(written, *file));
    return Done();
  }

  ExportResult RunSeparateFiles(const std::vector<ExportSystem>& systems, const std::vector<Genre>& genres)
  {
    bool first = true;
    SaveAsMyRows stream;
    if (!stream.Open(m_catalogue, m_feedback, m_request, std::nullopt))
      return Failed(QStringLiteral("the games could not be read"));
    for (const ExportSystem& system : systems) {
      // All of the system's rows at once, then one file per genre from them.
      const std::optional<Rows> rows = stream.Take(m_feedback, system);
      if (!rows)
        return Failed(QStringLiteral("the games of %1 could not be read").arg(system.name));
      std::map<qint64, std::vector<int>> byGenre;
      for (int row = 0; row < rows->Count(); ++row)
        byGenre[rows->Value(row, kGenreId).toLongLong()].push_back(row);
      for (const Genre& genre : genres) {
        const QString proposed = first && !m_request.proposedName.isEmpty()
                                     ? m_request.proposedName
                                     : system.name + QLatin1Char('_') + genre.name;
        first = false;
        const std::optional<QString> file = m_files.Choose(proposed);
        if (!file)
          return Cancelled();
        ShowChecking(system, genre.name);
        QByteArray content;
        const auto found = byGenre.find(genre.id);
        const std::vector<int> none;
        const int written = AppendRecords(content, *file, *rows, found == byGenre.end() ? none : found->second, system,
                                          [&](qint64) { return GenreValue({genre.name}); });
        if (written == 0) {
          RemoveEmptyFile(*file);
          continue;
        }
        if (!Write(*file, content))
          return m_result;
        m_result.records += written;
        m_feedback.SetStatus(StatusKind::Text, CountText(written, *file));
      }
    }
    if (!stream.AllTaken())
      return Failed(UnreadGames());
    return Done();
  }

  // A genre without games leaves no file (an older file of that name, which the user agreed to
  // replace, goes too).
  void RemoveEmptyFile(const QString& file)
  {
    m_feedback.SetStatus(StatusKind::Text, QStringLiteral("  Removing ") + file);
    if (QFileInfo::exists(file))
      QFile::remove(file);
    m_feedback.SetStatus(StatusKind::Done);
  }

  bool Write(const QString& file, const QByteArray& content)
  {
    QString error;
    if (WriteMyFile(file, content, &error)) {
      m_result.files << file;
      return true;
    }
    ReportError(m_feedback, kPathFileAccessError, kRoutine, error);
    Failed(error);
    return false;
  }

  QString UnreadGames()
  {
    const QString error = QStringLiteral("some games were not read with their system");
    ReportError(m_feedback, kNoCurrentRecord, kRoutine, error);
    return error;
  }

  static QString CountText(int written, const QString& file)
  {
    return QString::number(written) + QStringLiteral(" Rom(s) written to ") + file + QLatin1Char('.');
  }

  ExportResult Done()
  {
    m_feedback.SetProgressValue(0);
    m_result.outcome = ExportResult::Outcome::Done;
    return m_result;
  }

  ExportResult Cancelled()
  {
    m_feedback.SetProgressValue(0);
    m_feedback.SetStatus(StatusKind::Text, kMyCancelledText);
    m_result.outcome = ExportResult::Outcome::Cancelled;
    return m_result;
  }

  ExportResult Failed(const QString& error)
  {
    m_feedback.SetProgressValue(0);
    m_feedback.SetStatus(StatusKind::Text, kMyErrorText);
    m_result.outcome = ExportResult::Outcome::Failed;
    m_result.error = error;
    return m_result;
  }

  Catalogue& m_catalogue;
  Feedback& m_feedback;
  const MyExportRequest& m_request;
  const ExportOptions& m_options;
  MyFileChoices m_files;
  ExportResult m_result;
};

}  // namespace

QString SafeMyFileName(QString name)
{
  name.replace(QLatin1Char('/'), QLatin1Char('_'));
  name.replace(QLatin1Char('*'), QLatin1Char('_'));
  return name;
}

QString ProposedMyFileName(const MyNameInputs& inputs)
{
  const QString separator = QStringLiteral("_");
  QString name;
  if (inputs.systems == SystemScope::All) {
    name = inputs.genres == GenreScope::Current ? inputs.currentGenre
                                                : inputs.firstSystemTab + separator + inputs.firstGenreByName;
  } else if (inputs.genres == GenreScope::Current) {
    name = inputs.currentSystem + separator + inputs.currentGenre;
  } else if (inputs.genres == GenreScope::AllInOneFile) {
    name = inputs.currentSystem;
  } else {
    name = inputs.currentSystem + separator + inputs.firstListedGenre;
  }
  return SafeMyFileName(name);
}

QString AlphaGroup(const QString& title)
{
  static const char* const kGroups[] = {"A-E", "F-J", "K-O", "P-T", "U-Z"};
  const QString base = title.left(4).normalized(QString::NormalizationForm_KD);
  const QChar first = base.isEmpty() ? QChar() : base.front().toLower();
  if (first >= QLatin1Char('a') && first <= QLatin1Char('z'))
    return QString::fromLatin1(kGroups[std::min((first.unicode() - 'a') / 5, 4)]);
  return QStringLiteral("0-9");
}

ExportResult ExportToMy(Catalogue& catalogue, Feedback& feedback, const MyExportRequest& request,
                        const FileChooser& chooseFile)
{
  return MyExporter(catalogue, feedback, request, chooseFile).Run();
}

}  // namespace quillon
