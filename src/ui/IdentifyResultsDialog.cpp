#include "ui/IdentifyResultsDialog.h"

#include "identify/Renaming.h"
#include "identify/Verification.h"
#include "ui/MatchStatusMarks.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace quillon::ui {

IdentifyResultsDialog::IdentifyResultsDialog(const QString& caption, const QString& summary, const QStringList& headers,
                                             const std::vector<QStringList>& rows, QWidget* parent)
    : QDialog(parent)
{
  setObjectName(QStringLiteral("frmIdentifyResults"));
  setWindowTitle(caption);
  resize(760, 460);
  auto* layout = new QVBoxLayout(this);
  m_summary = new QLabel(summary, this);
  m_summary->setObjectName(QStringLiteral("lblsummary"));
  m_summary->setWordWrap(true);
  m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(m_summary);
  m_table = new QTreeWidget(this);
  m_table->setObjectName(QStringLiteral("lstresults"));
  m_table->setRootIsDecorated(false);
  m_table->setAlternatingRowColors(true);
  m_table->setHeaderLabels(headers);
  QList<QTreeWidgetItem*> items;
  for (const QStringList& row : rows)
    items << new QTreeWidgetItem(row);
  m_table->addTopLevelItems(items);
  m_table->header()->setSectionResizeMode(QHeaderView::Interactive);
  layout->addWidget(m_table, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("cmdclose"));
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

void IdentifyResultsDialog::FitColumns()
{
  constexpr int kPadding = 16;
  for (int column = 0; column < m_table->columnCount(); ++column) {
    m_table->resizeColumnToContents(column);
    m_table->setColumnWidth(column, m_table->columnWidth(column) + kPadding);
  }
}

QString IdentifyResultsDialog::SummaryText() const
{
  return m_summary->text();
}

IdentifyResultsDialog* CreateVerifyResults(const VerifySummary& summary, QWidget* parent)
{
  std::vector<QStringList> rows;
  for (const GameVerdict& game : summary.games) {
    const QString name = game.standardName.isEmpty() ? game.candidates.join(QStringLiteral(" | ")) : game.standardName;
    rows.push_back({game.fileName, MatchStatusText(game.status), name, game.filled.join(QStringLiteral(", "))});
  }
  QString text = VerifySummaryText(summary);
  for (const QString& unreadable : summary.unreadable)
    text += QStringLiteral("\nCannot read ") + unreadable;
  auto* dialog = new IdentifyResultsDialog(
      QObject::tr("Verify Roms"), text,
      {QObject::tr("File"), QObject::tr("Result"), QObject::tr("Standard name"), QObject::tr("Filled in")}, rows,
      parent);
  for (int row = 0; row < dialog->Table().topLevelItemCount(); ++row)
    dialog->Table().topLevelItem(row)->setIcon(
        1, MatchStatusIcon(static_cast<int>(summary.games[static_cast<size_t>(row)].status)));
  dialog->FitColumns();
  dialog->Table().setSortingEnabled(true);
  dialog->Table().sortByColumn(0, Qt::AscendingOrder);
  return dialog;
}

IdentifyResultsDialog* CreateRenameResults(const RenameSummary& summary, QWidget* parent)
{
  std::vector<QStringList> rows;
  for (const PlannedRename& rename : summary.renames)
    rows.push_back(
        {rename.oldFileName, rename.newFileName, rename.problem.isEmpty() ? QObject::tr("renamed") : rename.problem});
  QString text = QObject::tr("Renamed %n file(s).", nullptr, summary.renamed);
  if (summary.finished > 0)
    text += QLatin1Char(' ') + QObject::tr("Finished %n rename(s) of an interrupted run.", nullptr, summary.finished);
  if (!summary.problems.isEmpty())
    text += QLatin1Char(' ') + QObject::tr("%n file(s) not renamed.", nullptr, summary.problems.size());
  auto* dialog =
      new IdentifyResultsDialog(QObject::tr("Rename to Standard Names"), text,
                                {QObject::tr("File"), QObject::tr("New name"), QObject::tr("Result")}, rows, parent);
  dialog->FitColumns();
  dialog->Table().setSortingEnabled(true);
  dialog->Table().sortByColumn(0, Qt::AscendingOrder);
  return dialog;
}

}  // namespace quillon::ui
