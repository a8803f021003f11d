#pragma once
// The grid of the lookup-table editor: the rows of one lookup table in the editor's order, the
// unknown entry locked, edits saved at once through the lookup-table rules, and one blank row the
// user fills to add an entry (it is saved once it holds a name, and forgotten otherwise).
#include "settings/LookupTables.h"

#include <QSqlQueryModel>

namespace quillon {
class Catalogue;
class Feedback;
}  // namespace quillon

namespace quillon::ui {

class LookupGridModel : public QSqlQueryModel {
  Q_OBJECT

 public:
  LookupGridModel(Catalogue& catalogue, Feedback& feedback, QObject* parent = nullptr);

  // Shows a section's rows (forgetting a blank row).
  void Load(LookupKind kind);
  void Reload() { Load(m_kind); }
  LookupKind Kind() const { return m_kind; }
  const LookupSection& Section() const { return SectionOf(m_kind); }

  int NameColumn() const;
  int CodeColumn() const;      // -1 when the section has no codes
  qint64 IdAt(int row) const;  // 0 for the blank row
  int RowOf(qint64 id) const;  // -1 when not shown
  bool IsUnknownRow(int row) const;

  // The blank row for a new entry; its row number.
  int AppendBlankRow();
  void DropBlankRow();
  bool IsBlankRow(int row) const { return m_blank && row == StoredRows(); }

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

 signals:
  // An entry was added or changed; the rows were reloaded.
  void saved(qint64 id);

 private:
  int StoredRows() const { return QSqlQueryModel::rowCount(); }
  bool SaveBlankRow();

  Catalogue& m_catalogue;
  Feedback& m_feedback;
  LookupKind m_kind = LookupKind::Country;
  bool m_blank = false;
  QString m_blankName;
  QString m_blankCode;
};

}  // namespace quillon::ui
