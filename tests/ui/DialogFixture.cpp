#include "DialogFixture.h"

#include "RecordingFeedback.h"
#include "TestCatalogue.h"

#include "ui/GameListModel.h"

#include <QTabBar>

namespace quillon::test {

TestScene::TestScene()
{
  RecordingFeedback feedback;
  m_session.Open(DataFolder(m_dir.path()), DeliveredCatalogue(), feedback, nullptr);
}

TestScene::~TestScene() = default;

void TestScene::Exec(const QString& sql, const QVariantList& binds)
{
  SqlFailure failure;
  if (!Db().TryExecute(sql, binds, &failure))
    qWarning("%s", qPrintable(failure.description));
}

QVariant TestScene::Value(const QString& sql, const QVariantList& binds)
{
  const std::optional<Rows> rows = Db().TrySelect(sql, binds, nullptr);
  return rows && !rows->IsEmpty() ? rows->Value(0, 0) : QVariant();
}

WindowFixture::WindowFixture(const SceneSetUp& setUp)
{
  if (setUp)
    setUp(*this);
  window = std::make_unique<ui::MainWindow>(Opened());
  window->Start();
}

WindowFixture::~WindowFixture()
{
  window.reset();
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

ContextFixture::ContextFixture(const SceneSetUp& setUp)
{
  if (setUp)
    setUp(*this);
}

}  // namespace quillon::test
