// Running outside programs: the working folder, captured output, yielding while waiting, and
// Windows programs through wine.
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "common/Processes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

bool WriteExecutable(const QString& path, const QByteArray& content)
{
  if (!TouchFile(path, content))
    return false;
  return QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

}  // namespace

class ProcessesTest : public QObject {
  Q_OBJECT

 private slots:
  void ExecCmdWaitsInTheWorkingFolderAndCapturesOutput()
  {
    QTemporaryDir dir;
    const QString script = dir.filePath(QStringLiteral("tool.sh"));
    QVERIFY(WriteExecutable(script, "#!/bin/sh\nsleep 1\npwd\necho \"$1\"\nexit 7\n"));
    int yields = 0;
    const QString output = dir.filePath(QStringLiteral("out.txt"));
    const ExecResult result = ExecCmd(
        ToolInvocation(script, {QStringLiteral("a b;'c\"")}), dir.path(), [&yields] { ++yields; }, output);
    QVERIFY(result.started);
    QCOMPARE(result.exitCode, 7);
    QVERIFY(yields >= 1);
    QFile file(output);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()), QDir(dir.path()).canonicalPath() + QStringLiteral("\na b;'c\"\n"));

    const ExecResult missing = ExecCmd(ToolInvocation(dir.filePath(QStringLiteral("none.exe")), {}), dir.path(), [] {});
    QVERIFY(!missing.started);
  }

  void WindowsProgramsRunThroughWineWhenInstalled()
  {
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("goodGen.exe"));
    QVERIFY(TouchFile(program, "MZ\x90\x00 windows program"));
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QByteArray("/nonexistent-bin"));
    QCOMPARE(ToolInvocation(program, {QStringLiteral("rename")}).program, program);
    // A stand-in wine on the PATH: it records what it was asked to run.
    QVERIFY(WriteExecutable(dir.filePath(QStringLiteral("bin/wine")), "#!/bin/sh\necho \"$@\" > ran.txt\n"));
    qputenv("PATH", dir.filePath(QStringLiteral("bin")).toUtf8());
    const Invocation invocation = ToolInvocation(program, {QStringLiteral("rename"), QStringLiteral("inplace")});
    qputenv("PATH", oldPath);
    QCOMPARE(invocation.program, dir.filePath(QStringLiteral("bin/wine")));
    QCOMPARE(invocation.arguments, (QStringList{program, "rename", "inplace"}));
    QVERIFY(ExecCmd(invocation, dir.path(), [] {}).started);
    QFile ran(dir.filePath(QStringLiteral("ran.txt")));
    QVERIFY(ran.open(QIODevice::ReadOnly));
    QCOMPARE(ran.readAll(), (program + QStringLiteral(" rename inplace\n")).toUtf8());
    // A shell script named .exe is no Windows program: it runs directly.
    const QString script = dir.filePath(QStringLiteral("goodSNES.exe"));
    QVERIFY(WriteExecutable(script, "#!/bin/sh\n"));
    QCOMPARE(ToolInvocation(script, {}).program, script);
  }
};

QUILLON_TEST_CLASS(ProcessesTest)
#include "ProcessesTest.moc"
