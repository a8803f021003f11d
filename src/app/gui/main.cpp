#include "catalogue/DataFolder.h"
#include "catalogue/Session.h"
#include "ui/MainWindow.h"
#include "ui/StatusFeedback.h"
#include "ui/SystemOptionsDialog.h"
#include "ui/UpgradeDialog.h"

#include <QApplication>
#include <QDialog>
#include <QIcon>
#include <QMessageBox>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>

#include <sys/socket.h>
#include <unistd.h>
#include <csignal>
#include <cstdio>

namespace {

int g_signalPipe[2] = {-1, -1};

void ForwardSignal(int)
{
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(g_signalPipe[0], &byte, 1);
}

// SIGTERM and SIGINT (a session logging out, Ctrl+C in a terminal) are caught first and handed
// to the event loop through a pipe, so they are acted on whatever the program is showing.
void ForwardSignalsToPipe()
{
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0)
    return;
  struct sigaction action = {};
  action.sa_handler = ForwardSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

// What a signal ends. Before the main window runs, every event loop is left (a message box of
// the start included) and the start stops there. Once it runs, open dialogs are closed and the
// window closes the normal way, so the catalogue is closed and compacted as after File > Exit.
class SignalEnd {
 public:
  void Watch(QObject* owner)
  {
    if (g_signalPipe[1] < 0)
      return;
    auto* notifier = new QSocketNotifier(g_signalPipe[1], QSocketNotifier::Read, owner);
    QObject::connect(notifier, &QSocketNotifier::activated, owner, [this] {
      char byte = 0;
      [[maybe_unused]] const ssize_t got = ::read(g_signalPipe[1], &byte, 1);
      End();
    });
  }
  // From now on a signal closes `window`.
  void CloseWindow(QWidget* window) { m_window = window; }
  bool Ended() const { return m_ended; }

 private:
  void End()
  {
    m_ended = true;
    if (!m_window) {
      QCoreApplication::exit(1);
      return;
    }
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (auto* dialog = qobject_cast<QDialog*>(widget); dialog && dialog->isVisible())
        dialog->reject();
    }
    m_window->close();
  }

  QPointer<QWidget> m_window;
  bool m_ended = false;
};

// Without a display the toolkit would abort; say so in one line and show the windowless way.
bool HasDisplay()
{
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  if (!platform.isEmpty() && !platform.startsWith("xcb") && !platform.startsWith("wayland"))
    return true;
  return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

QString DataDirArgument(const QStringList& arguments)
{
  for (int i = 1; i < arguments.size(); ++i) {
    if (arguments[i] == QStringLiteral("--data-dir") && i + 1 < arguments.size())
      return arguments[i + 1];
    if (arguments[i].startsWith(QStringLiteral("--data-dir=")))
      return arguments[i].mid(11);
  }
  return {};
}

}  // namespace

int main(int argc, char** argv)
{
  if (!HasDisplay()) {
    std::fprintf(stderr,
                 "quillon: no display found (DISPLAY is not set); without a window use quillon-cli, "
                 "for example: quillon-cli info\n");
    return 1;
  }
  ForwardSignalsToPipe();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("quillon"));
  QApplication::setApplicationDisplayName(QStringLiteral("Quillon"));
  QApplication::setApplicationVersion(QStringLiteral(QUILLON_VERSION));
  // The icon the desktop knows the program by (installed in the icon theme), else its own copy.
  QApplication::setDesktopFileName(QStringLiteral("quillon"));
  QApplication::setWindowIcon(
      QIcon::fromTheme(QStringLiteral("quillon"), QIcon(QStringLiteral(":/icons/quillon.svg"))));
  SignalEnd signalEnd;
  signalEnd.Watch(&app);

  const QString executableDir = QApplication::applicationDirPath();
  const quillon::DataFolder folder = quillon::DataFolder::Resolve(DataDirArgument(app.arguments()), executableDir);
  quillon::SilentFeedback startupFeedback;
  quillon::Session session;
  QString message;
  const QString delivered = quillon::DeliveredDataFolder(executableDir) + quillon::kCatalogueFileName;
  const quillon::OpenOutcome outcome = session.Open(folder, delivered, startupFeedback, &message);
  message.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  switch (outcome) {
    case quillon::OpenOutcome::Opened:
      break;
    case quillon::OpenOutcome::CatalogueMissing:
      QMessageBox::critical(nullptr, quillon::MissingCatalogueTitle(), message);
      return 1;
    case quillon::OpenOutcome::NotACatalogue:
      QMessageBox::critical(nullptr, QStringLiteral("Quillon"), message);
      return 1;
    case quillon::OpenOutcome::InUse:
      QMessageBox::warning(nullptr, QStringLiteral("Quillon"), message);
      return 1;
    case quillon::OpenOutcome::Failed:
      QMessageBox::critical(nullptr, quillon::MissingCatalogueTitle(), message);
      return 1;
  }

  int status = 0;
  {
    quillon::ui::MainWindow window(session);
    // The structure upgrade runs before anything reads a table.
    {
      quillon::ui::UpgradeDialog upgrade(&window);
      upgrade.Run(session.Connection(), window.Context().feedback);
    }
    if (!signalEnd.Ended()) {
      window.Start();
      window.show();
      // A new user's first sight: the system options, until some system has a ROM folder.
      QTimer::singleShot(0, &window, [&window] { window.OfferFirstSetup(); });
      signalEnd.CloseWindow(&window);
      // A signal from now on waits in the pipe until the loop runs, and closes the window then.
      if (!signalEnd.Ended())
        status = app.exec();
    }
    session.Close(window.Context().feedback, true);
  }
  return status;
}
