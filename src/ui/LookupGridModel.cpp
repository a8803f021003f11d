#include "ui/LookupGridModel.h"

#include "catalogue/Catalogue.h"

namespace quillon::ui {

LookupGridModel::LookupGridModel(Catalogue& catalogue, Feedback& feedback, QObject* parent)
    : QSqlQueryModel(parent), m_catalogue(catalogue), m_feedback(feedback)
{
}

void LookupGridModel::Load(LookupKind kind)
{
  m_kind = kind;
  m_blank = false;
  m_blankName.clear();
  m_blankCode.clear();
  setQuery(LookupGridQuery(m_catalogue, kind));
  // Every row at once, so the blank row stays the last one.
  while (canFetchMore())
    fetchMore();
  QString caption = Section().tabCaption;
  setHeaderData(0, Qt::Horizontal, QStringLiteral("ID"));
  setHeaderData(NameColumn(), Qt::Horizontal, caption.remove(QLatin1Char('&')));
  if (CodeColumn() >= 0)
    setHeaderData(CodeColumn(), Qt::Horizontal, QStringLiteral("Good Code"));
}

int LookupGridModel::NameColumn() const
{
  return Section().hasGoodCode ? 2 : 1;
}

int LookupGridModel::CodeColumn() const
{
  return Section().hasGoodCode ? 1 : -1;
}

qint64 LookupGridModel::IdAt(int row) const
{
  if (row < 0 || row >= StoredRows())
    return 0;
  return QSqlQueryModel::data(index(row, 0)).toLongLong();
}

int LookupGridModel::RowOf(qint64 id) const
{
  for (int row = 0; row < StoredRows(); ++row) {
    if (IdAt(row) == id)
      return row;
  }
  return -1;
}

bool LookupGridModel::IsUnknownRow(int row) const
{
  if (row < 0 || row >= StoredRows())
    return false;
  const QString code = CodeColumn() >= 0 ? QSqlQueryModel::data(index(row, CodeColumn())).toString() : QString();
  return IsUnknownEntry(Section(), IdAt(row), QSqlQueryModel::data(index(row, NameColumn())).toString(), code);
}

int LookupGridModel::AppendBlankRow()
{
  if (!m_blank) {
    beginInsertRows({}, StoredRows(), StoredRows());
    m_blank = true;
    m_blankName.clear();
    m_blankCode.clear();
    endInsertRows();
  }
  return StoredRows();
}

void LookupGridModel::DropBlankRow()
{
  if (!m_blank)
    return;
  beginRemoveRows({}, StoredRows(), StoredRows());
  m_blank = false;
  endRemoveRows();
}

int LookupGridModel::rowCount(const QModelIndex& parent) const
{
  return parent.isValid() ? 0 : StoredRows() + (m_blank ? 1 : 0);
}

QVariant LookupGridModel::data(const QModelIndex& index, int role) const
{
  if (!IsBlankRow(index.row()))
    return QSqlQueryModel::data(index, role);
  if (role != Qt::DisplayRole && role != Qt::EditRole)
    return {};
  if (index.column() == NameColumn())
    return m_blankName;
  if (index.column() == CodeColumn())
    return m_blankCode;
  return {};
}

Qt::ItemFlags LookupGridModel::flags(const QModelIndex& index) const
{
  Qt::ItemFlags flags = QSqlQueryModel::flags(index);
  if (IsBlankRow(index.row()))
    flags |= Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  const bool textColumn = index.column() == NameColumn() || index.column() == CodeColumn();
  if (textColumn && !IsUnknownRow(index.row()))
    flags |= Qt::ItemIsEditable;
  return flags;
}

bool LookupGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
  if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
    return false;
  const QString text = value.toString().trimmed();
  const bool name = index.column() == NameColumn();
  if (IsBlankRow(index.row())) {
    (name ? m_blankName : m_blankCode) = text;
    emit dataChanged(index, index);
    // A row without a name (a country: without code and name) is not saved.
    return m_blankName.isEmpty() && (CodeColumn() < 0 || m_blankCode.isEmpty()) ? true : SaveBlankRow();
  }
  if (text == data(index, Qt::EditRole).toString())
    return true;
  const qint64 id = IdAt(index.row());
  const bool written = name ? RenameLookupEntry(m_catalogue, m_feedback, m_kind, id, text)
                            : SetGoodCode(m_catalogue, m_feedback, id, text);
  if (!written)
    return false;
  Reload();
  emit saved(id);
  return true;
}

bool LookupGridModel::SaveBlankRow()
{
  const std::optional<qint64> id = AddLookupEntry(m_catalogue, m_feedback, m_kind, m_blankName, m_blankCode);
  if (!id) {
    // A refused name is taken back; the row stays for another try.
    m_blankName.clear();
    return false;
  }
  Reload();
  emit saved(*id);
  return true;
}

}  // namespace quillon::ui
