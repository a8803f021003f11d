#include "images/IniFile.h"

#include "catalogue/Feedback.h"
#include "common/AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

namespace quillon {

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

QStringList SplitLines(const QString& text)
{
  static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
  return text.split(lineBreak);
}

bool IsHeaderOf(const QString& line, const QString& section)
{
  return line.compare(QLatin1Char('[') + section + QLatin1Char(']'), Qt::CaseInsensitive) == 0;
}

bool IsLineOfKey(const QString& line, const QString& key)
{
  return line.size() > key.size() && line.at(key.size()) == QLatin1Char('=') &&
         line.startsWith(key, Qt::CaseInsensitive);
}

QString ValuesOf(const QStringList& lines, const QString& section, const QString& key)
{
  QStringList values;
  bool inSection = false;
  for (const QString& line : lines) {
    if (line.contains(QLatin1Char('['))) {
      inSection = IsHeaderOf(line, section);
      continue;
    }
    if (inSection && IsLineOfKey(line, key))
      values << line.mid(key.size() + 1);
  }
  return values.join(kIniValueSeparator);
}

int HeaderIndex(const QStringList& lines, const QString& section)
{
  for (int i = 0; i < lines.size(); ++i) {
    if (IsHeaderOf(lines[i], section))
      return i;
  }
  return -1;
}

// The key's first line in the section that starts at `header`; the section's lines end at the
// first line holding "[", as they do for the reader.
int KeyLineIndex(const QStringList& lines, int header, const QString& key)
{
  for (int i = header + 1; i < lines.size() && !lines[i].contains(QLatin1Char('[')); ++i) {
    if (IsLineOfKey(lines[i], key))
      return i;
  }
  return -1;
}

QString Tidied(QString text)
{
  const QString threeBreaks = kLineBreak + kLineBreak + kLineBreak;
  const QString twoBreaks = kLineBreak + kLineBreak;
  while (text.contains(threeBreaks))
    text.replace(threeBreaks, twoBreaks);
  qsizetype start = 0;
  while (start < text.size() && text.at(start).unicode() <= 13)
    ++start;
  qsizetype end = text.size();
  while (end > start && text.at(end - 1).unicode() <= 13)
    --end;
  return text.mid(start, end - start) + kLineBreak;
}

enum class KeyLine { Replace, Add };

QString Written(const QString& text, const QString& section, const QString& key, const QString& value, KeyLine mode)
{
  const QString line = key + QLatin1Char('=') + value;
  QStringList lines = SplitLines(text);
  const int header = HeaderIndex(lines, section);
  if (header < 0) {
    return Tidied(lines.join(kLineBreak) + kLineBreak + kLineBreak + QLatin1Char('[') + section + QLatin1Char(']') +
                  kLineBreak + line);
  }
  const int existing = mode == KeyLine::Replace ? KeyLineIndex(lines, header, key) : -1;
  if (existing >= 0)
    lines[existing] = line;
  else
    lines.insert(header + 1, line);
  return Tidied(lines.join(kLineBreak));
}

QString DecodedText(QByteArray bytes)
{
  if (bytes.startsWith("\xEF\xBB\xBF"))
    bytes.remove(0, 3);
  QStringDecoder utf8(QStringDecoder::Utf8);
  QString text = utf8.decode(bytes);
  if (!utf8.hasError())
    return text;
  QStringDecoder windows1252("windows-1252");
  if (windows1252.isValid())
    return windows1252.decode(bytes);
  return QString::fromLatin1(bytes);
}

}  // namespace

QString ReadIniText(const QString& text, const QString& section, const QString& key)
{
  return ValuesOf(SplitLines(text), section, key);
}

QString WriteIniText(const QString& text, const QString& section, const QString& key, const QString& value)
{
  return Written(text, section, key, value, KeyLine::Replace);
}

QString AddIniLine(const QString& text, const QString& section, const QString& key, const QString& value)
{
  return Written(text, section, key, value, KeyLine::Add);
}

QString IniEntryProblem(const QString& section, const QString& key, const QString& value)
{
  static const QRegularExpression lineBreak(QStringLiteral("[\r\n]"));
  if (section.isEmpty() || section.contains(lineBreak) || section.contains(QLatin1Char('[')) ||
      section.contains(QLatin1Char(']')))
    return QStringLiteral("Invalid section name");
  if (key.isEmpty() || key.contains(lineBreak) || key.contains(QLatin1Char('[')) || key.contains(QLatin1Char('=')))
    return QStringLiteral("Invalid key");
  if (value.contains(lineBreak))
    return QStringLiteral("A value cannot hold a line break");
  // The reader takes any line holding "[" for a section header: such a value would not be read
  // back, and would hide the keys below it in its section.
  if (value.contains(QLatin1Char('[')))
    return QStringLiteral("A value cannot hold \"[\"");
  return {};
}

std::optional<QString> LoadIniText(const QString& file, IniFileFailure* failure)
{
  QFile input(file);
  if (!input.exists()) {
    if (!input.open(QIODevice::WriteOnly)) {
      if (failure)
        *failure = {kPathFileAccessError, QStringLiteral("Path/File access error: ") + input.errorString()};
      return std::nullopt;
    }
    return QString();
  }
  if (QFileInfo(file).isDir() || !input.open(QIODevice::ReadOnly)) {
    if (failure)
      *failure = {kPathFileAccessError, QStringLiteral("Path/File access error: ") + input.errorString()};
    return std::nullopt;
  }
  return DecodedText(input.readAll());
}

bool SaveIniText(const QString& file, const QString& text, IniFileFailure* failure)
{
  AtomicFile output(file);
  ReplaceFailure replaceFailure;
  if (!output.Write(text.toUtf8(), &replaceFailure) || !output.Commit(&replaceFailure)) {
    if (failure)
      *failure = {kPathFileAccessError, QStringLiteral("Path/File access error: ") + replaceFailure.reason};
    return false;
  }
  return true;
}

QString ReadIniValue(const QString& file, const QString& section, const QString& key, Feedback& feedback)
{
  IniFileFailure failure;
  const std::optional<QString> text = LoadIniText(file, &failure);
  if (!text) {
    ReportError(feedback, failure.number, QStringLiteral("ReadIniValue"), failure.description);
    return {};
  }
  return ReadIniText(*text, section, key);
}

bool WriteIniValue(const QString& file, const QString& section, const QString& key, const QString& value,
                   Feedback& feedback)
{
  const QString routine = QStringLiteral("WriteIniValue");
  const QString problem = IniEntryProblem(section, key, value);
  if (!problem.isEmpty()) {
    ReportError(feedback, kInvalidProcedureCall, routine, problem);
    return false;
  }
  IniFileFailure failure;
  const std::optional<QString> text = LoadIniText(file, &failure);
  if (!text || !SaveIniText(file, WriteIniText(*text, section, key, value), &failure)) {
    ReportError(feedback, failure.number, routine, failure.description);
    return false;
  }
  return true;
}

IniReader::IniReader(const QString& text) : m_lines(SplitLines(text)) {}

QString IniReader::Value(const QString& section, const QString& key) const
{
  return ValuesOf(m_lines, section, key);
}

bool IniReader::HasSection(const QString& section) const
{
  return HeaderIndex(m_lines, section) >= 0;
}

}  // namespace quillon
