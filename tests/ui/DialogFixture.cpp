#include "DialogFixture.h"

#include "RecordingFeedback.h"
#include "TestCatalogue.h"

#include "ui/GameListModel.h"

#include <QLabel>
#include <QTabBar>

namespace quillon::test {

WindowFixture::WindowFixture(const std::function<void(WindowFixture&)>& setUp)
{
  RecordingFeedback feedback;
  m_session.Open(DataFolder(m_dir.path()), DeliveredCatalogue(), feedback, nullptr);
  if (setUp)
    setUp(*this);
  window = std::make_unique<ui::MainWindow>(m_session);
  window->Start();
}

WindowFixture::~WindowFixture()
{
  window.reset();
}

void WindowFixture::Exec(const QString& sql, const QVariantList& binds)
{
  SqlFailure failure;
  if (!m_session.Connection().TryExecute(sql, binds, &failure))
    qWarning("%s", qPrintable(failure.description));
}

QVariant WindowFixture::Value(const QString& sql, const QVariantList& binds)
{
  const std::optional<Rows> rows = m_session.Connection().TrySelect(sql, binds, nullptr);
  return rows && !rows->IsEmpty() ? rows->Value(0, 0) : QVariant();
}

QString WindowFixture::StatusText() const
{
  return window->findChild<QLabel*>(QStringLiteral("lblstatus"))->text();
}

QStringList WindowFixture::ListedNames() const
{
  QStringList names;
  const ui::GameListModel& model = window->ListModel();
  for (int row = 0; row < model.rowCount(); ++row)
    names << model.RowAt(row)->fullName;
  return names;
}

void WindowFixture::ShowTab(const QString& name)
{
  auto* tabs = window->findChild<QTabBar*>(QStringLiteral("tbsSys"));
  for (int i = 0; i < tabs->count(); ++i) {
    if (tabs->tabText(i) == name)
      tabs->setCurrentIndex(i);
  }
}

}  // namespace quillon::test
