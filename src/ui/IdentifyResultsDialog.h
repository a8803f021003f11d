#pragma once
// The summary window of Verify Roms and Rename to Standard Names: a line of counts above a table
// of the files and what became of them.
#include <QDialog>
#include <QStringList>

#include <vector>

class QLabel;
class QTreeWidget;

namespace quillon {
struct RenameSummary;
struct VerifySummary;
}  // namespace quillon

namespace quillon::ui {

class IdentifyResultsDialog final : public QDialog {
  Q_OBJECT

 public:
  IdentifyResultsDialog(const QString& caption, const QString& summary, const QStringList& headers,
                        const std::vector<QStringList>& rows, QWidget* parent = nullptr);

  QString SummaryText() const;
  // Widens every column to its contents (after icons were added).
  void FitColumns();
  QTreeWidget& Table() { return *m_table; }

 private:
  QLabel* m_summary = nullptr;
  QTreeWidget* m_table = nullptr;
};

// The windows of the two commands.
IdentifyResultsDialog* CreateVerifyResults(const VerifySummary& summary, QWidget* parent);
IdentifyResultsDialog* CreateRenameResults(const RenameSummary& summary, QWidget* parent);

}  // namespace quillon::ui
