// main() of the window tests: a widget application on the offscreen platform.
#include "TestRegistry.h"

#include <QApplication>

int main(int argc, char** argv)
{
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  return quillon::test::RunRegisteredTests(argc, argv);
}
