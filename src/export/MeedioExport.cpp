#include "export/MeedioExport.h"

#include "catalogue/Catalogue.h"
#include "catalogue/DataFolder.h"
#include "catalogue/Feedback.h"
#include "common/AtomicFile.h"
#include "common/EmulatorCommand.h"
#include "common/FileWriting.h"
#include "export/sqlite2/Sqlite2.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quillon {

namespace {

const QString kRoutine = QStringLiteral("ExportToH2");
const QByteArray kDelimiter = QByteArrayLiteral("|||");
const QByteArray kLineEnd = QByteArrayLiteral("\r\n");
constexpr int kYieldEvery = 100;
constexpr int kGenreColumns = 5;

// Columns of SaveAsH2 by position.
enum H2Column {
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
  kFullImage = 11,
  kRating = 12,
  kEmu = 15,
};

// The title in the library: with RemoveText, the text before the first "(" and the title's last
// four characters.
QString H2Title(const QString& title, bool removeText)
{
  const qsizetype bracket = title.indexOf(QLatin1Char('('));
  return removeText && bracket >= 0 ? title.left(bracket) + title.right(4) : title;
}

QString Wanted(bool wanted, const QString& value, bool excludeUnknown)
{
  return wanted && !(excludeUnknown && IsUnknownValue(value)) ? value : QString();
}

// A number the engine takes as it is (game and system ids, the rating): NULL stays NULL.
QByteArray RawField(const QVariant& value)
{
  return value.isNull() ? QByteArrayLiteral("\\N") : CleanData(value);
}

// One line of the transfer file (without its line end).
QByteArray H2Line(const QVariantList& row, const ExportSystem& system, const ExportOptions& options,
                  const PairTable* genreNames)
{
  const auto text = [&](int column) { return TextOf(row.value(column)); };
  QString emulator = text(kEmu);
  if (emulator.isEmpty())
    emulator = system.emulator;
  const H2Emulator split = SplitH2Emulator(emulator);
  QString location = ExportRomPath(text(kFileName), text(kFile), system.fullRomPath, options.sFile);
  if (options.incQ)
    location = QLatin1Char('"') + location + QLatin1Char('"');
  if (!split.arguments.isEmpty())
    location = QLatin1Char(' ') + split.arguments + QLatin1Char(' ') + location;
  const QString picture = ShortFormOf(
      ExportPicturePath(row.value(kStoredImage), row.value(kFullImage), system.fullImagePath), options.sFile);

  QByteArrayList fields;
  fields << CleanData(H2Title(text(kFullName), system.removeText)) << CleanData(location) << CleanData(picture);
  QVariantList genres;
  if (options.incG && genreNames)
    genres = FindGenreNameByGameID(*genreNames, row.value(kGameId).toLongLong());
  for (int i = 0; i < kGenreColumns; ++i)
    fields << CleanData(i < genres.size() ? Wanted(true, TextOf(genres[i]), options.exUnk) : QString());
  fields << CleanData(Wanted(options.incC, text(kCountry), options.exUnk))
         << CleanData(Wanted(options.incM, text(kManufacturer), options.exUnk))
         << CleanData(Wanted(options.incY, text(kYear), options.exUnk))
         << (options.incR ? RawField(row.value(kRating)) : QByteArray())
         << CleanData(options.incO ? text(kOverview) : QString())
         << CleanData(Wanted(options.incS, text(kSystemName), options.exUnk)) << RawField(row.value(kGameId))
         << CleanData(split.program) << QByteArray::number(system.id) << CleanData(system.sysImg);
  return fields.join(kDelimiter);
}

// Doubles the quotes of a text put between single quotes in a statement.
QString QuotedLiteral(QString text)
{
  text.replace(QLatin1Char('\''), QStringLiteral("''"));
  return QLatin1Char('\'') + text + QLatin1Char('\'');
}

class H2Exporter {
 public:
  H2Exporter(Catalogue& catalogue, Feedback& feedback, const DataFolder& folder, const H2ExportRequest& request)
      : m_catalogue(catalogue),
        m_feedback(feedback),
        m_folder(folder),
        m_request(request),
        m_library(QFileInfo(request.library).absoluteFilePath()),
        m_transferFile(folder.TempFolder() + kTransferFileName)
  {
  }

  ExportResult Run()
  {
    if (!PrepareLibrary())
      return m_result;
    const std::optional<std::vector<ExportSystem>> systems =
        ExportSystems(m_catalogue, m_feedback, kRoutine, m_request.systems, m_request.currentSystemId);
    if (!systems)
      return Failed(QStringLiteral("the systems could not be read"));
    for (const quillon::ExportSystem& system : *systems) {
      if (!ExportOneSystem(system))
        return m_result;
    }
    m_feedback.SetStatus(StatusKind::Text, QString::number(m_result.records) + QStringLiteral(" Rom(s) exported to ") +
                                               m_library + QLatin1Char('.'));
    m_result.outcome = ExportResult::Outcome::Done;
    m_result.files << m_library;
    return m_result;
  }

 private:
  // A library that does not exist yet starts as a copy of the template.
  bool PrepareLibrary()
  {
    if (QFileInfo::exists(m_library))
      return true;
    QString error;
    if (!EnsureTemplateLibrary(m_folder, &error))
      return Fail(kPathFileAccessError, error);
    AtomicFile copy(m_library);
    ReplaceFailure failure;
    if (!copy.CopyFrom(TemplateLibraryPath(m_folder), &failure) || !copy.Commit(&failure))
      return Fail(kPathFileAccessError,
                  QStringLiteral("the template library could not be copied to %1: %2").arg(m_library, failure.reason));
    // A copy of a read-only template must still take the export.
    QFile::setPermissions(m_library, QFile::permissions(m_library) | QFileDevice::WriteOwner | QFileDevice::ReadOwner);
    return true;
  }

  bool ExportOneSystem(const quillon::ExportSystem& system)
  {
    m_feedback.SetStatus(StatusKind::Text, QStringLiteral("Exporting ") + system.name + QStringLiteral(" to H2..."));
    QString sql = QStringLiteral("SELECT * FROM SaveAsH2 WHERE ");
    if (system.dropRoms)
      sql += QStringLiteral("(FirstOfImage IS NOT NULL AND FirstOfImage <> '') AND ");
    sql += QStringLiteral("SystemID = ? ORDER BY GameID");
    const std::optional<Rows> rows = m_catalogue.Select(m_feedback, kRoutine, sql, {system.id});
    if (!rows)
      return Fail(QStringLiteral("the games of %1 could not be read").arg(system.name));
    if (rows->IsEmpty())
      return true;
    std::optional<PairTable> genreNames;
    if (m_request.options.incG) {
      genreNames = SystemGenreNames(m_catalogue, m_feedback, kRoutine, system.id);
      if (!genreNames)
        return Fail(QStringLiteral("the genres of %1 could not be read").arg(system.name));
    }
    const bool sent =
        WriteTransferFile(*rows, system, genreNames ? &*genreNames : nullptr) && SendToLibrary(system, rows->Count());
    QFile::remove(m_transferFile);
    m_feedback.SetProgressValue(0);
    if (sent)
      m_result.records += rows->Count();
    return sent;
  }

  bool WriteTransferFile(const Rows& rows, const quillon::ExportSystem& system, const PairTable* genreNames)
  {
    m_feedback.SetProgressMaximum(rows.Count());
    QByteArray content;
    for (int row = 0; row < rows.Count(); ++row) {
      content += H2Line(rows.Row(row), system, m_request.options, genreNames) + kLineEnd;
      m_feedback.SetProgressValue(row + 1);
      if ((row + 1) % kYieldEvery == 0)
        m_feedback.Yield();
    }
    QDir().mkpath(m_folder.TempFolder());
    QFile file(m_transferFile);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || !WriteAll(file, content)) {
      return Fail(kPathFileAccessError, QStringLiteral("%1: %2").arg(m_transferFile, file.errorString()));
    }
    return true;
  }

  // Runs the statements of one system. The library is written only when all of them succeeded
  // and every line of the transfer file was loaded.
  bool SendToLibrary(const quillon::ExportSystem& system, int lines)
  {
    QString error;
    std::unique_ptr<sqlite2::Connection> library = sqlite2::sqlite_open(m_library, &error);
    if (!library)
      return Fail(kGeneralError, error);
    const QStringList statements = H2Statements(m_transferFile, system.id);
    for (int i = 0; i < statements.size(); ++i) {
      const sqlite2::StatementResult result = sqlite2::ags_sqlite_get_table(library.get(), statements[i]);
      if (!result)
        return Fail(kGeneralError, statements[i] + QStringLiteral(": ") + result.error);
      if (i == 1 && result.changes != lines) {
        return Fail(kGeneralError, QStringLiteral("the library loaded %1 of the %2 games of %3")
                                       .arg(result.changes)
                                       .arg(lines)
                                       .arg(system.name));
      }
    }
    const sqlite2::StatementResult closed = sqlite2::sqlite_close(std::move(library));
    if (!closed)
      return Fail(kGeneralError, closed.error);
    return true;
  }

  bool Fail(int number, const QString& error)
  {
    ReportError(m_feedback, number, kRoutine, error);
    return Fail(error);
  }

  // The cause was reported already.
  bool Fail(const QString& error)
  {
    Failed(error);
    return false;
  }

  ExportResult Failed(const QString& error)
  {
    m_feedback.SetProgressValue(0);
    m_feedback.SetStatus(StatusKind::Text, kMeedioErrorText);
    m_result.outcome = ExportResult::Outcome::Failed;
    m_result.error = error;
    return m_result;
  }

  Catalogue& m_catalogue;
  Feedback& m_feedback;
  const DataFolder& m_folder;
  const H2ExportRequest& m_request;
  QString m_library;
  QString m_transferFile;
  ExportResult m_result;
};

}  // namespace

QString TemplateLibraryPath(const DataFolder& folder)
{
  return folder.LibraryFolder() + kTemplateLibraryName;
}

bool EnsureTemplateLibrary(const DataFolder& folder, QString* error)
{
  const QString path = TemplateLibraryPath(folder);
  if (QFileInfo::exists(path))
    return true;
  if (!QDir().mkpath(folder.LibraryFolder())) {
    *error = QStringLiteral("the folder %1 could not be made").arg(folder.LibraryFolder());
    return false;
  }
  return sqlite2::CreateTemplateLibrary(path, error);
}

QByteArray CleanData(const QVariant& value)
{
  const QString text = TextOf(value);
  QString out;
  out.reserve(text.size() + 8);
  for (const QChar c : text) {
    switch (c.unicode()) {
      case '\\':
        out += QStringLiteral("\\\\");
        break;
      case '\r':
        out += QStringLiteral("\\r");
        break;
      case '\n':
        out += QStringLiteral("\\n");
        break;
      case '\t':
        out += QStringLiteral("\\t");
        break;
      case '/':
        out += QStringLiteral("\\/");
        break;
      case '|':
        out += QStringLiteral("\\|");
        break;
      case 0:
        break;  // a library value cannot hold NUL
      default:
        out += c;
    }
  }
  return out.toUtf8();
}

H2Emulator SplitH2Emulator(const QString& command)
{
  const QString text = command + QLatin1Char(' ');
  const QString arguments = EmulatorOptions(text);
  return H2Emulator{text.left(text.size() - arguments.size()), arguments};
}

const QStringList& H2Columns()
{
  static const QStringList columns{
      QStringLiteral("item_name"), QStringLiteral("item_location"), QStringLiteral("item_image"),
      QStringLiteral("tag_1"),     QStringLiteral("tag_2"),         QStringLiteral("tag_3"),
      QStringLiteral("tag_4"),     QStringLiteral("tag_5"),         QStringLiteral("tag_6"),
      QStringLiteral("tag_7"),     QStringLiteral("tag_8"),         QStringLiteral("tag_9"),
      QStringLiteral("tag_10"),    QStringLiteral("tag_11"),        QStringLiteral("tag_12"),
      QStringLiteral("tag_13"),    QStringLiteral("tag_14"),        QStringLiteral("tag_15")};
  return columns;
}

QStringList H2Statements(const QString& transferFile, qint64 systemId)
{
  const QString columns = H2Columns().join(QLatin1Char(','));
  const QString id = QString::number(systemId);
  return {QStringLiteral("create  temporary table tmp (") + columns + QStringLiteral(");"),
          QStringLiteral("copy tmp from ") + QuotedLiteral(transferFile) + QStringLiteral(" USING DELIMITERS '|||';"),
          QStringLiteral("begin;"),
          QStringLiteral("delete from items  Where items.tag_14='") + id + QStringLiteral("';"),
          QStringLiteral("commit;"),
          QStringLiteral("begin;"),
          QStringLiteral("insert into items (") + columns + QStringLiteral(") select ") + columns +
              QStringLiteral(" from tmp;"),
          QStringLiteral("commit;")};
}

ExportResult ExportToH2(Catalogue& catalogue, Feedback& feedback, const DataFolder& folder,
                        const H2ExportRequest& request)
{
  return H2Exporter(catalogue, feedback, folder, request).Run();
}

}  // namespace quillon
