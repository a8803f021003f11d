#pragma once
// A game's pictures: base.ext is picture 0, base_1.ext picture 1, base_2.ext picture 2 ... with
// any of the system's picture types. Stepping through them, deleting one (the gap is closed),
// and taking a new picture file in for a game.
#include <QString>
#include <QStringList>

namespace quillon {

class Catalogue;
class DataFolder;
class Feedback;
struct SystemSettings;

// The system's picture types: extensions without dots, separated by ";".
QStringList ImageTypes(const QString& defaultImageType);

// The position of a picture: the number after the last "_" of its name without extension, when
// that text is a number; otherwise 0.
int GetImgPos(const QString& picturePath);

// The name (without folder and extension) of the picture at `position` of the same game as
// `picturePath`.
QString PictureNameAt(const QString& picturePath, int position);

// The first existing `folder` + `name` + "." + type, in the order of the types; empty when none.
QString FindPicture(const QString& folder, const QString& name, const QStringList& types);

// The picture `step` positions away from the shown one (previous from picture 0 gives nothing);
// empty when there is none.
QString NavigatePicture(const QString& shownPath, int step, const QStringList& types);

// Where the shown picture stands among those the arrows step through: the run of pictures with
// neighbouring positions around it. "2 of 3": place 2, count 3; {0, 0} when it does not exist.
struct PicturePlace {
  int place = 0;
  int count = 0;
};
PicturePlace PlaceAmongPictures(const QString& shownPath, const QStringList& types);

// Deletes the shown picture and moves the later ones down one position. Returns the picture to
// show afterwards: the one now at the deleted position, else the one before it, else empty.
QString DeletePicture(const QString& shownPath, const QStringList& types);

struct AddImageOutcome {
  bool added = false;
  QString stored;     // what the game's picture column now holds
  QString shownPath;  // the picture to show
};

// Takes a picture file for a game. Without "Rename Images" the file stays where it is and its
// path is stored. Otherwise it is copied under the game's ROM name (with the picture's extension)
// into the system's picture folder; a system without one is first asked to take the picture's
// folder (question key "set-image-folder"), and an existing different file is replaced only when
// the user agrees (key "overwrite-image").
AddImageOutcome Add_Image(Catalogue& catalogue, Feedback& feedback, SystemSettings& settings, qint64 gameId,
                          const QString& romFileName, const QString& sourcePath);

}  // namespace quillon
