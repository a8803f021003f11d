#include "settings/SystemRows.h"

#include "catalogue/Catalogue.h"
#include "catalogue/DeliveredSystems.h"
#include "catalogue/Feedback.h"
#include "catalogue/ReservedKeys.h"
#include "settings/SystemOptions.h"

namespace quillon {

namespace {

const QString kAddRoutine = QStringLiteral("AddSystem");
const QString kDeleteRoutine = QStringLiteral("DeleteSystem");

bool Refuse(Feedback& feedback, const QString& routine, const QString& why)
{
  ReportError(feedback, kInvalidProcedureCall, routine, why);
  return false;
}

bool CheckNewSystem(Catalogue& catalogue, Feedback& feedback, const NewSystem& system)
{
  const QString name = system.name.trimmed();
  if (name.isEmpty())
    return Refuse(feedback, kAddRoutine, QStringLiteral("A system needs a name."));
  const std::optional<QVariant> taken = catalogue.SelectValue(
      feedback, kAddRoutine, QStringLiteral("SELECT count(*) FROM System WHERE System = ? COLLATE NOCASE"), {name});
  if (!taken)
    return false;
  if (taken->toInt() > 0)
    return Refuse(feedback, kAddRoutine, QStringLiteral("Another system is named %1.").arg(name));
  const std::optional<QVariant> type = catalogue.SelectValue(
      feedback, kAddRoutine, QStringLiteral("SELECT count(*) FROM SystemType WHERE ID = ?"), {system.typeId});
  if (!type)
    return false;
  if (type->toInt() == 0)
    return Refuse(feedback, kAddRoutine, QStringLiteral("There is no system type with the key %1.").arg(system.typeId));
  return true;
}

// Tables later structure steps add; a catalogue that lacks one has nothing in it to delete.
bool HasTable(Catalogue& catalogue, const QString& table)
{
  return !catalogue.ColumnsOf(table).isEmpty();
}

bool DeleteRowsOf(Catalogue& catalogue, Feedback& feedback, qint64 systemId)
{
  // Deleting a game also deletes its identification result and missing-file note (triggers).
  QStringList statements{
      QStringLiteral("DELETE FROM SubGenres WHERE GameID IN (SELECT GameID FROM Games WHERE System = ?)"),
      QStringLiteral("DELETE FROM Games WHERE System = ?"),
      QStringLiteral("DELETE FROM RomPath WHERE System = ?"),
      QStringLiteral("DELETE FROM IgnoreList WHERE SystemID = ?"),
      QStringLiteral("DELETE FROM ImageURL WHERE SystemID = ?"),
      QStringLiteral("DELETE FROM dURL WHERE SystemID = ?"),
  };
  if (HasTable(catalogue, QStringLiteral("RefList"))) {
    statements << QStringLiteral(
                      "DELETE FROM RefRom WHERE EntryID IN (SELECT EntryID FROM RefEntry WHERE ListID IN "
                      "(SELECT ListID FROM RefList WHERE System = ?))")
               << QStringLiteral("DELETE FROM RefEntry WHERE ListID IN (SELECT ListID FROM RefList WHERE System = ?)")
               << QStringLiteral("DELETE FROM RefList WHERE System = ?");
  }
  statements << QStringLiteral("DELETE FROM System WHERE SystemID = ?");
  for (const QString& sql : statements) {
    if (!catalogue.Execute(feedback, kDeleteRoutine, sql, {systemId}))
      return false;
  }
  return true;
}

std::optional<QString> Refusal(Catalogue& catalogue, Feedback& feedback, qint64 systemId, const QString& name)
{
  // Zinc is known by its name (the saved queries look it up so); its key differs where custom
  // systems came first.
  if (systemId == kArcadeSystemId || name.compare(QStringLiteral("Zinc"), Qt::CaseInsensitive) == 0)
    return QStringLiteral("%1 is a delivered arcade system; it cannot be deleted.").arg(name);
  const std::optional<QVariant> others = catalogue.SelectValue(
      feedback, kDeleteRoutine, QStringLiteral("SELECT count(*) FROM System WHERE EnableTab <> 0 AND SystemID <> ?"),
      {systemId});
  if (!others)
    return std::nullopt;
  const std::optional<QVariant> enabled = catalogue.SelectValue(
      feedback, kDeleteRoutine, QStringLiteral("SELECT EnableTab FROM System WHERE SystemID = ?"), {systemId});
  if (!enabled)
    return std::nullopt;
  if (IsTrue(*enabled) && others->toInt() == 0)
    return kOneSystemEnabledText;
  return QString();
}

}  // namespace

std::optional<qint64> AddSystem(Catalogue& catalogue, Feedback& feedback, const NewSystem& system)
{
  if (!CheckNewSystem(catalogue, feedback, system))
    return std::nullopt;
  const QString name = system.name.trimmed();
  QString shortName = system.shortName.trimmed();
  if (shortName.isEmpty())
    shortName = QString(name).remove(QLatin1Char(' '));
  const QString extensions =
      system.extensions.trimmed().isEmpty() ? QStringLiteral("zip") : system.extensions.trimmed();
  return InsertSystemRow(catalogue, feedback, kAddRoutine,
                         {{QStringLiteral("System"), name},
                          {QStringLiteral("SystemShortName"), shortName},
                          {QStringLiteral("SType"), system.typeId},
                          {QStringLiteral("DefaultRomType"), extensions}});
}

std::optional<QString> DeleteSystemRefusal(Catalogue& catalogue, Feedback& feedback, qint64 systemId)
{
  const std::optional<QString> name = SystemNameOf(catalogue, feedback, systemId, kDeleteRoutine);
  if (!name)
    return std::nullopt;
  if (name->isEmpty())
    return QStringLiteral("There is no system with the key %1.").arg(systemId);
  return Refusal(catalogue, feedback, systemId, *name);
}

QString DeleteSystemQuestionText(const QString& systemName, int games)
{
  return QStringLiteral("Delete the system %1 and its %2 game(s) from the catalogue? The files on disk stay.")
      .arg(systemName)
      .arg(games);
}

SystemDeletion DeleteSystem(Catalogue& catalogue, Feedback& feedback, qint64 systemId)
{
  const std::optional<QString> refusal = DeleteSystemRefusal(catalogue, feedback, systemId);
  if (!refusal)
    return SystemDeletion::Failed;
  if (!refusal->isEmpty()) {
    Refuse(feedback, kDeleteRoutine, *refusal);
    return SystemDeletion::Refused;
  }
  const std::optional<QString> name = SystemNameOf(catalogue, feedback, systemId, kDeleteRoutine);
  if (!name)
    return SystemDeletion::Failed;
  const std::optional<QVariant> games = catalogue.SelectValue(
      feedback, kDeleteRoutine, QStringLiteral("SELECT count(*) FROM Games WHERE System = ?"), {systemId});
  if (!games)
    return SystemDeletion::Failed;
  if (games->toInt() > 0) {
    Question question;
    question.key = kDeleteSystemQuestion;
    question.title = QStringLiteral("Delete System");
    question.text = DeleteSystemQuestionText(*name, games->toInt());
    question.icon = MessageIcon::Warning;
    question.fallback = Answer::No;
    if (feedback.Ask(question) != Answer::Yes)
      return SystemDeletion::Declined;
  }
  Transaction transaction(catalogue);
  SqlFailure failure;
  if (!DeleteRowsOf(catalogue, feedback, systemId))
    return SystemDeletion::Failed;
  if (!transaction.Commit(&failure)) {
    ReportError(feedback, failure.number, kDeleteRoutine, failure.description);
    return SystemDeletion::Failed;
  }
  return SystemDeletion::Deleted;
}

}  // namespace quillon
