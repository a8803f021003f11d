#pragma once
// FMain: the program's main window. It holds the session's catalogue, the menus, the status
// frame, and (in later stages) the system tabs, the game list and the details panel.
#include <QMainWindow>

#include <memory>

class QAction;
class QLabel;
class QMenu;
class QProgressBar;

namespace quillon {
class Session;
}

namespace quillon::ui {

class StatusFeedback;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(Session& session, QWidget* parent = nullptr);
  ~MainWindow() override;

  StatusFeedback& Feedback() { return *m_feedback; }
  QAction* Action(const QString& objectName) const;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  void BuildStatusFrame();
  QAction* AddAction(QMenu* menu, const QString& objectName, const QString& caption, const QKeySequence& shortcut = {});
  void ShowHelp();
  void ShowAbout();

  Session& m_session;
  QLabel* m_statusLabel = nullptr;
  QProgressBar* m_progressBar = nullptr;
  std::unique_ptr<StatusFeedback> m_feedback;
};

}  // namespace quillon::ui
