#pragma once
// What the tests of the option and editor dialogs share: a main window on a fresh catalogue, and
// answers to the modal windows (message boxes, input boxes, folder dialogs) those dialogs open.
#include "catalogue/Session.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>

namespace quillon::test {

class WindowFixture {
 public:
  // `setUp` runs on the catalogue before the window starts.
  explicit WindowFixture(const std::function<void(WindowFixture&)>& setUp = {});
  ~WindowFixture();

  void Exec(const QString& sql, const QVariantList& binds = {});
  QVariant Value(const QString& sql, const QVariantList& binds = {});
  QString Path(const QString& relative) const { return m_dir.filePath(relative); }
  // The main window's status line.
  QString StatusText() const;
  // The games the main window lists, by title.
  QStringList ListedNames() const;
  // Makes the main window show a system's tab.
  void ShowTab(const QString& name);

  std::unique_ptr<ui::MainWindow> window;

 private:
  QTemporaryDir m_dir;
  Session m_session;
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
