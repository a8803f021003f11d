#pragma once
// What the window and dialog tests share: a catalogue opened as the program opens it, with the main
// window on it or only the context a dialog is built from, and answers to the modal windows (message
// boxes, input boxes, folder dialogs) those dialogs open.
#include "catalogue/Lookups.h"
#include "catalogue/Session.h"
#include "ui/MainWindow.h"
#include "ui/StatusFeedback.h"
#include "ui/UiContext.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>

namespace quillon::test {

// A fresh catalogue in a data folder of its own, open as the program opens it.
class TestScene {
 public:
  TestScene(const TestScene&) = delete;
  TestScene& operator=(const TestScene&) = delete;

  Catalogue& Db() { return m_session.Connection(); }
  const DataFolder& Folder() const { return m_session.Folder(); }
  QString Path(const QString& relative) const { return m_dir.filePath(relative); }
  void Exec(const QString& sql, const QVariantList& binds = {});
  QVariant Value(const QString& sql, const QVariantList& binds = {});

 protected:
  TestScene();
  ~TestScene();
  Session& Opened() { return m_session; }

 private:
  QTemporaryDir m_dir;
  Session m_session;
};

// Fills the scene's catalogue (and folder) before anything reads it.
using SceneSetUp = std::function<void(TestScene&)>;

// The main window on the scene, started.
class WindowFixture : public TestScene {
 public:
  explicit WindowFixture(const SceneSetUp& setUp = {});
  ~WindowFixture();

  // The main window's status line.
  QString StatusText() const;
  // The games the main window lists, by title.
  QStringList ListedNames() const;
  // Makes the main window show a system's tab.
  void ShowTab(const QString& name);

  std::unique_ptr<ui::MainWindow> window;
};

// What a dialog is built from, without a main window: the scene's catalogue and folder, lookup
// caches, and a status line of its own.
class ContextFixture : public TestScene {
 public:
  explicit ContextFixture(const SceneSetUp& setUp = {});

  ui::UiContext Context() { return {Db(), m_feedback, m_lookups, Folder()}; }
  QString StatusText() const { return m_status.text(); }

 private:
  QLabel m_status;
  ui::StatusFeedback m_feedback{nullptr, &m_status, nullptr};
  Lookups m_lookups{Db(), m_feedback};
};

// Acts on the next modal window of type T once it is shown (and `ready` when given); gives up after
// half a minute, or when the returned watcher goes out of scope.
template <typename T>
[[nodiscard]] std::unique_ptr<QTimer> WhenModal(std::function<void(T*)> act, std::function<bool(T*)> ready = {})
{
  auto timer = std::make_unique<QTimer>();
  auto waited = std::make_shared<QElapsedTimer>();
  waited->start();
  timer->setInterval(10);
  QTimer* watcher = timer.get();
  QObject::connect(watcher, &QTimer::timeout, [watcher, act, ready, waited] {
    T* modal = qobject_cast<T*>(QApplication::activeModalWidget());
    if (modal && ready && !ready(modal))
      modal = nullptr;
    if (!modal && waited->elapsed() < 30000)
      return;
    watcher->stop();
    if (modal)
      act(modal);
  });
  timer->start();
  return timer;
}

}  // namespace quillon::test
