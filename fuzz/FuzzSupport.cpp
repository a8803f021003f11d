#include "FuzzSupport.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

namespace quillon::fuzz {

void EnsureApplication()
{
  static int argc = 1;
  static char name[] = "quillon-fuzz";
  static char* argv[] = {name, nullptr};
  static QCoreApplication* application = QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
  static_cast<void>(application);
}

void SilenceQtMessages()
{
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) {
      std::fprintf(stderr, "Qt fatal: %s\n", qPrintable(message));
      std::abort();
    }
  });
}

void FailCheck(const char* condition, const char* file, int line)
{
  std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", condition, file, line);
  std::fflush(stderr);
  std::abort();
}

}  // namespace quillon::fuzz
