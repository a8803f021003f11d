#include "app/cli/CliCommands.h"

#include <QCoreApplication>

namespace quillon::cli {

namespace {

void Append(std::vector<CliCommand>& all, std::vector<CliCommand> more)
{
  for (CliCommand& command : more)
    all.push_back(std::move(command));
}

void PrintHelp(QTextStream& out, const std::vector<CliCommand>& commands)
{
  out << "quillon-cli " << QUILLON_VERSION
      << ": the ROM library manager without a window.\n\n"
         "Usage: quillon-cli [--data-dir DIR] COMMAND [ARGUMENTS]\n\n"
         "Global options:\n"
         "  --data-dir DIR   the data folder (default: $QUILLON_HOME, the program's folder when it\n"
         "                   holds a catalogue, else ~/.local/share/quillon)\n"
         "  -h, --help       this text; 'quillon-cli help COMMAND' shows one command\n"
         "  --version        the program's version\n\n"
         "Commands:\n";
  for (const CliCommand& command : commands) {
    out << "  " << command.name << "\n      " << command.summary << '\n';
    for (const QString& line : command.synopsis)
      out << "      quillon-cli " << line << '\n';
  }
  out << "\nResults go to stdout, statuses and errors to stderr; the exit status is 0 only on success.\n";
}

const CliCommand* FindCommand(const std::vector<CliCommand>& commands, const QString& name)
{
  for (const CliCommand& command : commands) {
    if (command.name == name)
      return &command;
  }
  return nullptr;
}

}  // namespace

std::vector<CliCommand> AllCommands()
{
  std::vector<CliCommand> all;
  Append(all, InfoCommands());
  Append(all, SystemCommands());
  Append(all, LookupCommands());
  Append(all, ScanCommands());
  Append(all, ListCommands());
  Append(all, GameCommands());
  Append(all, NamesCommands());
  Append(all, SitesCommands());
  Append(all, ImagesCommands());
  Append(all, MameCommands());
  Append(all, IdentifyCommands());
  Append(all, ExportCommands());
  Append(all, FrontendCommands());
  return all;
}

int RunCli(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
  const std::vector<CliCommand> commands = AllCommands();
  QString dataDir;
  int index = 0;
  for (; index < arguments.size(); ++index) {
    const QString& argument = arguments[index];
    if (argument == QStringLiteral("--data-dir")) {
      if (index + 1 >= arguments.size()) {
        err << "quillon-cli: --data-dir needs a folder\n";
        return kUsage;
      }
      dataDir = arguments[++index];
    } else if (argument.startsWith(QStringLiteral("--data-dir="))) {
      dataDir = argument.mid(11);
    } else if (argument == QStringLiteral("-h") || argument == QStringLiteral("--help")) {
      PrintHelp(out, commands);
      return kSuccess;
    } else if (argument == QStringLiteral("--version")) {
      out << "quillon-cli " << QUILLON_VERSION << '\n';
      return kSuccess;
    } else {
      break;
    }
  }
  if (index >= arguments.size()) {
    PrintHelp(err, commands);
    return kUsage;
  }
  const QString name = arguments[index];
  if (name == QStringLiteral("help")) {
    const CliCommand* command = index + 1 < arguments.size() ? FindCommand(commands, arguments[index + 1]) : nullptr;
    if (!command) {
      PrintHelp(out, commands);
      return kSuccess;
    }
    out << command->summary << '\n';
    for (const QString& line : command->synopsis)
      out << "  quillon-cli " << line << '\n';
    return kSuccess;
  }
  const CliCommand* command = FindCommand(commands, name);
  if (!command) {
    err << "quillon-cli: unknown command '" << name << "'\nTry 'quillon-cli --help'.\n";
    return kUsage;
  }
  CliRun run(arguments.mid(index + 1), dataDir, out, err);
  const int status = command->run(run);
  out.flush();
  err.flush();
  return status;
}

}  // namespace quillon::cli
