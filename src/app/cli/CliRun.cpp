#include "app/cli/CliRun.h"

#include <QCoreApplication>
#include <QDir>

#include <unistd.h>

namespace quillon::cli {

CliRun::CliRun(QStringList args, QString dataDirOption, QTextStream& out, QTextStream& err)
    : m_args(std::move(args)), m_dataDirOption(std::move(dataDirOption)), m_out(out), m_err(err), m_feedback(out, err)
{
  m_feedback.SetShowProgress(::isatty(STDERR_FILENO) == 1);
}

CliRun::~CliRun()
{
  // The tool leaves the catalogue as it found it in size: no compaction after short commands.
  m_session.Close(m_feedback, false);
}

Catalogue* CliRun::OpenCatalogue()
{
  if (m_session.IsOpen())
    return &m_session.Connection();
  const QString executableDir = QCoreApplication::applicationDirPath();
  m_folder = DataFolder::Resolve(m_dataDirOption, executableDir);
  QString message;
  const QString delivered = DeliveredDataFolder(executableDir) + kCatalogueFileName;
  const OpenOutcome outcome = m_session.Open(m_folder, delivered, m_feedback, &message);
  if (outcome != OpenOutcome::Opened) {
    QString text = message;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (outcome == OpenOutcome::CatalogueMissing)
      m_err << MissingCatalogueTitle() << ": ";
    m_err << text << '\n';
    m_err.flush();
    return nullptr;
  }
  return &m_session.Connection();
}

int CliRun::UsageError(const QString& message)
{
  m_err << "quillon-cli: " << message << "\nTry 'quillon-cli --help'.\n";
  m_err.flush();
  return kUsage;
}

}  // namespace quillon::cli
