#pragma once
// Pegasus: one metadata.pegasus.txt per ROM folder (or per system in a folder of the user's
// choice), holding the system's collection with its launch command and one entry per game. The
// file is ours: an export replaces it, but never a file of that name that another hand wrote.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace quillon {

// The first line of every metadata file we write; a file starting otherwise is not ours.
inline const QString kPegasusHeader =
    QStringLiteral("# Written by Quillon from its catalogue. The next export replaces this file.");

struct PegasusCollection {
  QString name;
  QString shortName;
  QStringList extensions;
  QString launch;   // empty: none
  QString workdir;  // empty: Pegasus's own choice
};

struct PegasusGame {
  QString title;
  QString file;  // relative to the metadata file ("./...") or absolute
  QString developer;
  QStringList genres;
  QString release;      // "YYYY"
  QString rating;       // "80%"
  QString description;  // line ends as LF
  QString region;
  QString boxFront;  // relative ("./media/...") or absolute
  QString launch;    // the game's own command, when it differs from the collection's
  QString workdir;
};

// The launch command of an emulator command ("program -options"): the program (quoted when it
// holds blanks), its options as typed, and the ROM file as "{file.path}" in quotes. Empty for an
// empty command. `workdir` receives the program's folder when the program is given by its path.
QString PegasusLaunch(const QString& emulatorCommand, QString* workdir);

// A description as Pegasus's multi-line text: one indented line per paragraph, " ." between
// paragraphs, a line break inside a paragraph as "\n" and a typed "\n" as "\\n".
QStringList PegasusDescriptionLines(const QString& text);

// The whole file.
QByteArray PegasusMetadataText(const PegasusCollection& collection, const std::vector<PegasusGame>& games);

}  // namespace quillon
