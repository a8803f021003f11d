#include "export/ExportOptions.h"

#include "catalogue/Catalogue.h"
#include "catalogue/EditRecord.h"
#include "catalogue/Feedback.h"

namespace quillon {

namespace {

const QString kOptionsRoutine = QStringLiteral("LoadExportOptions");

}  // namespace

const QStringList& ExportOptionColumns()
{
  static const QStringList columns{QStringLiteral("IncC"),  QStringLiteral("IncG"), QStringLiteral("IncM"),
                                   QStringLiteral("IncO"),  QStringLiteral("IncR"), QStringLiteral("IncS"),
                                   QStringLiteral("IncY"),  QStringLiteral("IncQ"), QStringLiteral("ExUnk"),
                                   QStringLiteral("Alpha"), QStringLiteral("SFile")};
  return columns;
}

bool* ExportOptions::Field(const QString& column)
{
  return const_cast<bool*>(static_cast<const ExportOptions*>(this)->Field(column));
}

const bool* ExportOptions::Field(const QString& column) const
{
  const bool* fields[] = {&incC, &incG, &incM, &incO, &incR, &incS, &incY, &incQ, &exUnk, &alpha, &sFile};
  const QStringList& columns = ExportOptionColumns();
  for (int i = 0; i < columns.size(); ++i) {
    if (columns[i].compare(column, Qt::CaseInsensitive) == 0)
      return fields[i];
  }
  return nullptr;
}

std::optional<ExportOptions> LoadExportOptions(Catalogue& catalogue, Feedback& feedback)
{
  const std::optional<Rows> rows = catalogue.Select(feedback, kOptionsRoutine, QStringLiteral("SELECT * FROM Inc"));
  if (!rows)
    return std::nullopt;
  if (rows->IsEmpty()) {
    ReportError(feedback, kNoCurrentRecord, kOptionsRoutine,
                QStringLiteral("The export options row of Inc is missing."));
    return std::nullopt;
  }
  ExportOptions options;
  for (const QString& column : ExportOptionColumns()) {
    // A column an older catalogue lacks reads as false.
    *options.Field(column) = IsTrue(rows->Value(0, column));
  }
  return options;
}

bool StoreExportOption(Catalogue& catalogue, Feedback& feedback, const QString& column, bool value)
{
  return EditRecord(catalogue, feedback, RecordRef{QStringLiteral("Inc"), {}, {}}, column, value ? 1 : 0, true);
}

bool StoreExportOptions(Catalogue& catalogue, Feedback& feedback, const std::vector<std::pair<QString, bool>>& options)
{
  Transaction transaction(catalogue);
  for (const auto& [column, value] : options) {
    if (!StoreExportOption(catalogue, feedback, column, value))
      return false;
  }
  return transaction.Commit();
}

}  // namespace quillon
