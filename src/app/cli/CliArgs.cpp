#include "app/cli/CliArgs.h"

namespace quillon::cli {

CliArgs::CliArgs(const QStringList& args, const QStringList& flags, const QStringList& valued)
{
  bool onlyPositional = false;
  for (int i = 0; i < args.size(); ++i) {
    const QString& word = args[i];
    if (onlyPositional || !word.startsWith(QStringLiteral("--")) || word == QStringLiteral("-")) {
      m_positional << word;
      continue;
    }
    if (word == QStringLiteral("--")) {
      onlyPositional = true;
      continue;
    }
    QString name = word;
    QString value;
    bool hasValue = false;
    const qsizetype equals = word.indexOf(QLatin1Char('='));
    if (equals > 0) {
      name = word.left(equals);
      value = word.mid(equals + 1);
      hasValue = true;
    }
    if (flags.contains(name) && !hasValue) {
      m_seen << name;
    } else if (valued.contains(name)) {
      if (!hasValue) {
        if (i + 1 >= args.size()) {
          m_error = QStringLiteral("%1 needs a value").arg(name);
          return;
        }
        value = args[++i];
      }
      m_seen << name;
      m_values[name] << value;
    } else {
      m_error = QStringLiteral("unknown option %1").arg(word);
      return;
    }
  }
}

}  // namespace quillon::cli
