#pragma once
// The program's own INI reader and writer: line-based, section names and keys matched without
// regard to case, values kept as written. A key that occurs several times in its section reads as
// all of its values joined by "|||". A line holding "[" ends a section, whatever else it holds.
#include <QString>
#include <QStringList>

#include <optional>

namespace quillon {

class Feedback;

inline const QString kIniValueSeparator = QStringLiteral("|||");

// The values of `key` in `section` of an INI text, joined by "|||"; empty when there is none.
QString ReadIniText(const QString& text, const QString& section, const QString& key);

// The text with `key` set to `value` in `section`: the key's first line in the section is
// replaced, else a line is inserted directly below the section's header, else the section is
// appended. The result is tidied: CR LF line ends, no run of more than one blank line, no line
// breaks at either end, one line break at the end.
QString WriteIniText(const QString& text, const QString& section, const QString& key, const QString& value);

// The same, but always adds a further line for the key (a repeated key) below the header.
QString AddIniLine(const QString& text, const QString& section, const QString& key, const QString& value);

// Why a section, key or value cannot be written as one INI line that reads back as written (a value
// may hold neither a line break nor "["); empty when it can.
QString IniEntryProblem(const QString& section, const QString& key, const QString& value);

// A file's INI text. A missing file is created empty first. Text that is not UTF-8 is read as
// Windows-1252, the encoding of files written on other systems.
struct IniFileFailure {
  int number = 0;
  QString description;
};
std::optional<QString> LoadIniText(const QString& file, IniFileFailure* failure);
// Writes the whole text beside the file and renames it into place: never half a file.
bool SaveIniText(const QString& file, const QString& text, IniFileFailure* failure);

// ReadIniText and WriteIniText on a file; failures are reported as "-(ReadIniValue)-" and
// "-(WriteIniValue)-". Files have no archive attribute here: the permission bits are left as
// they are.
QString ReadIniValue(const QString& file, const QString& section, const QString& key, Feedback& feedback);
bool WriteIniValue(const QString& file, const QString& section, const QString& key, const QString& value,
                   Feedback& feedback);

// Reads many keys of one INI text without splitting it again for each.
class IniReader {
 public:
  explicit IniReader(const QString& text);
  QString Value(const QString& section, const QString& key) const;
  // The text has a header line of this section.
  bool HasSection(const QString& section) const;

 private:
  QStringList m_lines;
};

}  // namespace quillon
