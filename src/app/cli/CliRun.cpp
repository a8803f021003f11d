#include "app/cli/CliRun.h"

#include "catalogue/StructureUpgrade.h"

#include <QCoreApplication>
#include <QDir>

#include <unistd.h>

namespace quillon::cli {

namespace {

// The upgrade's labels on stderr, once a step changes something: a start with nothing to upgrade
// stays quiet, and "Loading" is printed at most once, before the first change.
class StderrUpgradeDisplay final : public UpgradeDisplay {
 public:
  explicit StderrUpgradeDisplay(QTextStream& err) : m_err(err) {}

  void ShowLabel(const QString& text) override
  {
    const QString line = OneLine(text);
    if (text == kLoadingLabel) {
      m_pendingLoading = line;
      return;
    }
    if (!m_pendingLoading.isEmpty()) {
      Print(m_pendingLoading);
      m_pendingLoading.clear();
    }
    if (line != m_lastPrinted)
      Print(line);
  }

  void ShowProgress(int) override {}

 private:
  static QString OneLine(QString text) { return text.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).trimmed(); }

  void Print(const QString& line)
  {
    m_err << line << '\n';
    m_err.flush();
    m_lastPrinted = line;
  }

  QTextStream& m_err;
  QString m_pendingLoading;
  QString m_lastPrinted;
};

}  // namespace

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
    // A failing connection was printed already as the feedback's status line.
    if (message == m_feedback.LastStatus())
      return nullptr;
    QString text = message;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (outcome == OpenOutcome::CatalogueMissing)
      m_err << MissingCatalogueTitle() << ": ";
    m_err << text << '\n';
    m_err.flush();
    return nullptr;
  }
  // Before any command reads a table. Its failures are printed, but they are not the command's.
  CliFeedback upgradeFeedback(m_out, m_err);
  StderrUpgradeDisplay display(m_err);
  UpdateDb(m_session.Connection(), upgradeFeedback, display);
  return &m_session.Connection();
}

int CliRun::UsageError(const QString& message)
{
  m_err << "quillon-cli: " << message << "\nTry 'quillon-cli --help'.\n";
  m_err.flush();
  return kUsage;
}

}  // namespace quillon::cli
