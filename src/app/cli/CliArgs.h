#pragma once
// The options of one command: flags, options with a value (repeatable), and positional words.
#include <QHash>
#include <QString>
#include <QStringList>

namespace quillon::cli {

class CliArgs {
 public:
  // `flags` take no value ("--missing"); `valued` take the next word ("--system NAME") or
  // "--system=NAME". Anything else starting with "--" is an error.
  CliArgs(const QStringList& args, const QStringList& flags, const QStringList& valued);

  bool Ok() const { return m_error.isEmpty(); }
  QString Error() const { return m_error; }
  bool Has(const QString& option) const { return m_seen.contains(option); }
  QString Value(const QString& option) const { return m_values.value(option).value(0); }
  QStringList Values(const QString& option) const { return m_values.value(option); }
  const QStringList& Positional() const { return m_positional; }

 private:
  QStringList m_positional;
  QHash<QString, QStringList> m_values;
  QStringList m_seen;
  QString m_error;
};

}  // namespace quillon::cli
