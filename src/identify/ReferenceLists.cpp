#include "identify/ReferenceLists.h"

#include "catalogue/BulkStatement.h"
#include "catalogue/Catalogue.h"
#include "catalogue/Feedback.h"
#include "catalogue/SystemNames.h"
#include "common/Paths.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

namespace quillon {

namespace {

const QString kImportRoutine = QStringLiteral("ImportReferenceList");
constexpr int kYieldEvery = 500;

// Writes the entries of one list as they are read.
class EntryWriter {
 public:
  EntryWriter(Catalogue& catalogue, qint64 listId)
      : m_entries(catalogue,
                  QStringLiteral("INSERT INTO RefEntry (ListID, Name, Description, Year, Publisher, CloneOf) "
                                 "VALUES (?, ?, ?, ?, ?, ?)")),
        m_roms(catalogue,
               QStringLiteral("INSERT INTO RefRom (EntryID, Part, Name, Size, Offset, CRC, SHA1, MD5, Status) "
                              "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")),
        m_listId(listId)
  {
  }

  bool IsValid() const { return m_entries.IsValid() && m_roms.IsValid(); }
  bool Failed() const { return m_failed; }
  int Count() const { return m_count; }
  SqlFailure Failure() const { return m_failure; }

  void Write(const ListEntry& entry)
  {
    if (m_failed)
      return;
    m_entries.Bind(1, m_listId);
    m_entries.Bind(2, entry.name);
    m_entries.Bind(3, entry.description);
    m_entries.Bind(4, entry.year);
    m_entries.Bind(5, entry.publisher);
    m_entries.Bind(6, entry.cloneOf);
    if (!m_entries.Execute())
      return Fail(m_entries.Failure());
    const qint64 entryId = m_entries.LastInsertId();
    for (const ListRom& rom : entry.roms) {
      m_roms.Bind(1, entryId);
      m_roms.Bind(2, rom.part);
      m_roms.Bind(3, rom.name);
      m_roms.Bind(4, rom.size < 0 ? QVariant() : QVariant(rom.size));
      m_roms.Bind(5, rom.offset);
      m_roms.Bind(6, rom.hasCrc ? QVariant(qint64(rom.crc)) : QVariant());
      m_roms.Bind(7, rom.sha1.isEmpty() ? QVariant() : QVariant(QString::fromLatin1(rom.sha1)));
      m_roms.Bind(8, rom.md5.isEmpty() ? QVariant() : QVariant(QString::fromLatin1(rom.md5)));
      m_roms.Bind(9, rom.status);
      if (!m_roms.Execute())
        return Fail(m_roms.Failure());
    }
    ++m_count;
  }

 private:
  void Fail(const SqlFailure& failure)
  {
    m_failed = true;
    m_failure = failure;
  }

  BulkStatement m_entries;
  BulkStatement m_roms;
  qint64 m_listId;
  int m_count = 0;
  bool m_failed = false;
  SqlFailure m_failure;
};

bool DeleteEntriesOf(Catalogue& catalogue, Feedback& feedback, qint64 listId)
{
  return catalogue.Execute(
             feedback, kImportRoutine,
             QStringLiteral("DELETE FROM RefRom WHERE EntryID IN (SELECT EntryID FROM RefEntry WHERE ListID = ?)"),
             {listId}) &&
         catalogue.Execute(feedback, kImportRoutine, QStringLiteral("DELETE FROM RefEntry WHERE ListID = ?"), {listId});
}

ListImport Failed(const QString& error)
{
  ListImport result;
  result.error = error;
  return result;
}

// Moves the freshly written entries under an earlier list of the same name, which keeps its key
// and so its place among the system's lists.
bool ReplaceEarlierList(Catalogue& catalogue, Feedback& feedback, qint64 earlierId, qint64 newId)
{
  return DeleteEntriesOf(catalogue, feedback, earlierId) &&
         catalogue.Execute(feedback, kImportRoutine, QStringLiteral("UPDATE RefEntry SET ListID = ? WHERE ListID = ?"),
                           {earlierId, newId}) &&
         catalogue.Execute(feedback, kImportRoutine, QStringLiteral("DELETE FROM RefList WHERE ListID = ?"), {newId});
}

}  // namespace

QString MameSoftwareListFile(const QString& listName, const QString& folder)
{
  return Check4Slash(folder) + listName + QStringLiteral(".xml");
}

ListImport ImportReferenceList(Catalogue& catalogue, Feedback& feedback, qint64 systemId, const QString& file)
{
  QFile device(file);
  if (!device.open(QIODevice::ReadOnly))
    return Failed(QStringLiteral("cannot read %1: %2").arg(file, device.errorString()));
  const QFileInfo info(file);
  feedback.SetStatus(StatusKind::Text, QStringLiteral("Importing ") + info.fileName() + QStringLiteral("..."));
  feedback.Yield();

  Transaction transaction(catalogue);
  if (!transaction.IsActive())
    return Failed(QStringLiteral("the catalogue cannot start a transaction"));
  // The entries are written under a list of their own until the header has named the list.
  if (!catalogue.Execute(feedback, kImportRoutine,
                         QStringLiteral("INSERT INTO RefList (System, Name, SourceFile) VALUES (?, ?, ?)"),
                         {systemId, info.fileName(), info.absoluteFilePath()}))
    return Failed(QStringLiteral("the catalogue could not take the list"));
  const qint64 newId = catalogue.LastInsertId();

  EntryWriter writer(catalogue, newId);
  if (!writer.IsValid())
    return Failed(QStringLiteral("the catalogue has no tables for reference lists"));
  ListHeader header;
  QString readError;
  const bool read = ReadReferenceList(
      device, header,
      [&writer, &feedback](ListEntry& entry) {
        writer.Write(entry);
        if (writer.Count() % kYieldEvery == 0)
          feedback.Yield();
      },
      &readError);
  if (!read)
    return Failed(QStringLiteral("%1 is no reference list that can be read (%2)").arg(info.fileName(), readError));
  if (writer.Failed()) {
    ReportError(feedback, writer.Failure().number, kImportRoutine, writer.Failure().description);
    return Failed(QStringLiteral("the catalogue could not take the list's entries"));
  }
  if (writer.Count() == 0)
    return Failed(QStringLiteral("%1 holds no entries").arg(info.fileName()));

  ListSummary summary;
  summary.name = header.name.isEmpty() ? info.completeBaseName() : header.name;
  summary.description = header.description;
  summary.version = header.version.isEmpty() ? info.lastModified().date().toString(Qt::ISODate) : header.version;
  summary.format = ListFormatName(header.format);
  summary.entries = writer.Count();
  summary.sourceFile = info.absoluteFilePath();
  summary.imported = QDateTime::currentDateTime().toString(Qt::ISODate);

  const std::optional<QVariant> earlier = catalogue.SelectValue(
      feedback, kImportRoutine,
      QStringLiteral("SELECT ListID FROM RefList WHERE System = ? AND Name = ? AND ListID <> ? ORDER BY ListID"),
      {systemId, summary.name, newId});
  if (!earlier)
    return Failed(QStringLiteral("the catalogue could not be read"));
  ListImport result;
  result.replaced = earlier->isValid();
  summary.listId = result.replaced ? earlier->toLongLong() : newId;
  if (result.replaced && !ReplaceEarlierList(catalogue, feedback, summary.listId, newId))
    return Failed(QStringLiteral("the earlier list could not be replaced"));
  if (!catalogue.Execute(feedback, kImportRoutine,
                         QStringLiteral("UPDATE RefList SET Name = ?, Description = ?, Version = ?, Format = ?, "
                                        "Header = ?, SourceFile = ?, Imported = ?, Entries = ? WHERE ListID = ?"),
                         {summary.name, summary.description, summary.version, summary.format, header.header,
                          summary.sourceFile, summary.imported, summary.entries, summary.listId}))
    return Failed(QStringLiteral("the catalogue could not take the list"));
  SqlFailure failure;
  if (!transaction.Commit(&failure)) {
    ReportError(feedback, failure.number, kImportRoutine, failure.description);
    return Failed(QStringLiteral("the catalogue could not keep the list"));
  }
  result.ok = true;
  result.list = summary;
  feedback.SetStatus(StatusKind::Done);
  return result;
}

std::optional<std::vector<ListSummary>> ListsOfSystem(Catalogue& catalogue, Feedback& feedback, qint64 systemId)
{
  const std::optional<Rows> rows = catalogue.Select(
      feedback, QStringLiteral("ListsOfSystem"),
      QStringLiteral("SELECT ListID, Name, Description, Version, Format, Entries, SourceFile, Imported FROM RefList "
                     "WHERE System = ? ORDER BY ListID"),
      {systemId});
  if (!rows)
    return std::nullopt;
  std::vector<ListSummary> lists;
  for (const QVariantList& row : rows->All()) {
    lists.push_back({row[0].toLongLong(), row[1].toString(), row[2].toString(), row[3].toString(), row[4].toString(),
                     row[5].toInt(), row[6].toString(), row[7].toString()});
  }
  return lists;
}

QString RetroArchDatabaseName(Catalogue& catalogue, qint64 systemId)
{
  SilentFeedback quiet;
  const std::optional<SystemNames> names = SystemNamesOf(catalogue, quiet, systemId);
  if (names && !names->retroArch.isEmpty())
    return names->retroArch;
  const std::optional<Rows> rows =
      catalogue.TrySelect(QStringLiteral("SELECT Name FROM RefList WHERE System = ? AND Format <> ? ORDER BY ListID"),
                          {systemId, ListFormatName(ListFormat::SoftwareList)}, nullptr);
  if (!rows)
    return {};
  for (const QVariantList& row : rows->All()) {
    QString name = row[0].toString().trimmed();
    while (name.endsWith(QLatin1Char(')')) && name.lastIndexOf(QStringLiteral(" (")) > 0)
      name = name.left(name.lastIndexOf(QStringLiteral(" ("))).trimmed();
    if (name.indexOf(QStringLiteral(" - ")) > 0)
      return name;
  }
  return {};
}

bool RemoveReferenceList(Catalogue& catalogue, Feedback& feedback, qint64 systemId, const QString& name)
{
  const QString routine = QStringLiteral("RemoveReferenceList");
  const std::optional<QVariant> listId = catalogue.SelectValue(
      feedback, routine, QStringLiteral("SELECT ListID FROM RefList WHERE System = ? AND Name = ?"), {systemId, name});
  if (!listId || !listId->isValid())
    return false;
  Transaction transaction(catalogue);
  const bool removed =
      DeleteEntriesOf(catalogue, feedback, listId->toLongLong()) &&
      catalogue.Execute(feedback, routine, QStringLiteral("DELETE FROM GameMatch WHERE ListID = ?"), {*listId}) &&
      catalogue.Execute(feedback, routine, QStringLiteral("DELETE FROM RefList WHERE ListID = ?"), {*listId});
  SqlFailure failure;
  if (!removed)
    return false;
  if (!transaction.Commit(&failure)) {
    ReportError(feedback, failure.number, routine, failure.description);
    return false;
  }
  return true;
}

}  // namespace quillon
