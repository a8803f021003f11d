#pragma once
// The reference lists of each system in the catalogue: importing a DAT file or a Mame software
// list (a list of the same name is replaced, in one transaction), listing and removing them.
#include "identify/ReferenceList.h"

#include <QString>

#include <optional>
#include <vector>

namespace quillon {

class Catalogue;
class Feedback;

// Where Debian's mame-data package puts Mame's software lists.
inline const QString kMameHashFolder = QStringLiteral("/usr/share/games/mame/hash/");
// The file of the software list with this name ("nes" gives .../hash/nes.xml).
QString MameSoftwareListFile(const QString& listName, const QString& folder = kMameHashFolder);

struct ListSummary {
  qint64 listId = 0;
  QString name;
  QString description;
  QString version;
  QString format;
  int entries = 0;
  QString sourceFile;
  QString imported;  // when, as ISO date and time
};

struct ListImport {
  bool ok = false;
  bool replaced = false;  // a list of this name was there and was replaced
  ListSummary list;
  QString error;  // why nothing was imported
};

// Imports the list in `file` for the system. A list of the same name replaces the earlier one and
// keeps its place among the system's lists; nothing changes when the file cannot be read. A list
// without a version takes its file's date as version.
ListImport ImportReferenceList(Catalogue& catalogue, Feedback& feedback, qint64 systemId, const QString& file);

// The system's lists in the order they count when a ROM matches several (first imported first).
std::optional<std::vector<ListSummary>> ListsOfSystem(Catalogue& catalogue, Feedback& feedback, qint64 systemId);

// The system's database name on the RetroArch thumbnail server: its RetroArch name (shipped or set
// by the user), else as its DAT files name it: the first DAT list whose name reads "Maker - System",
// without trailing bracketed words ("Nintendo - Nintendo Entertainment System (Headered)" gives
// "Nintendo - Nintendo Entertainment System"); empty when the system has neither.
QString RetroArchDatabaseName(Catalogue& catalogue, qint64 systemId);

// Removes a list of the system, by name, with its entries and their results. False when there is none.
bool RemoveReferenceList(Catalogue& catalogue, Feedback& feedback, qint64 systemId, const QString& name);

}  // namespace quillon
