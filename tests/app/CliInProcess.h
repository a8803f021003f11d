#pragma once
// Runs quillon-cli's commands, in this process or as the real program, and keeps what they print.
#include <QString>
#include <QStringList>

namespace quillon::test {

struct CliOutput {
  int status = -1;
  QString out;
  QString err;
};

CliOutput RunCliOn(const QString& dataFolder, const QStringList& args);

// The built quillon-cli (or `program`) as a process of its own; status -1 when it did not end
// normally within a minute.
CliOutput RunCliProgram(const QStringList& args, const QString& program = {});

}  // namespace quillon::test
