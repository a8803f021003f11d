// main() of the core test executables: a GUI application on the offscreen platform, so picture
// decoding works without a display.
#include "TestRegistry.h"

#include <QGuiApplication>

int main(int argc, char** argv)
{
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  return quillon::test::RunRegisteredTests(argc, argv);
}
