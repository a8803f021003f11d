#pragma once
// Putting a game's picture where a front-end looks for it: copied or hard-linked beside the target
// and renamed into place, or converted when the front-end does not read the picture's format. A
// placed picture takes its source's modification time, so a later export sees it is current.
#include "export/frontends/FrontendExport.h"

#include <QSet>
#include <QString>
#include <QStringList>

namespace quillon {

struct PlacedPicture {
  enum class Outcome { Copied, Linked, Converted, Current, Missing, Failed };
  Outcome outcome = Outcome::Failed;
  QString path;   // the placed file
  QString error;  // why it failed
};

// Places `source` at `pathWithoutExtension` + "." + an extension of `extensions` (lower case, the
// preferred first): a PNG or JPEG picture keeps its format when the front-end reads it, any other
// is converted to the first extension's format. `mode` must not be MediaMode::None. `madeFolders`
// remembers the folders made (or found) so far, so a run asks for each only once.
PlacedPicture PlacePicture(const QString& source, const QString& pathWithoutExtension, const QStringList& extensions,
                           MediaMode mode, QSet<QString>& madeFolders);

}  // namespace quillon
