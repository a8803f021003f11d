#include "browser/GamePictures.h"

#include "catalogue/DataFolder.h"
#include "catalogue/Feedback.h"
#include "catalogue/GameDetails.h"
#include "catalogue/SystemSettings.h"
#include "common/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace quillon {

namespace {

// The highest position looked at when closing a gap; pictures go nowhere near it.
constexpr int kLastPosition = 9999;

QString NameWithoutExtension(const QString& path)
{
  const QString name = QFileInfo(path).fileName();
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  return dot < 0 ? name : name.left(dot);
}

QString FolderOf(const QString& path)
{
  const QFileInfo info(path);
  return info.path() + QLatin1Char('/');
}

// The name of picture 0: the name without its numeric "_n" suffix.
QString BaseName(const QString& picturePath)
{
  const QString name = NameWithoutExtension(picturePath);
  const qsizetype underscore = name.lastIndexOf(QLatin1Char('_'));
  if (underscore < 0)
    return name;
  bool numeric = false;
  name.mid(underscore + 1).toInt(&numeric);
  return numeric ? name.left(underscore) : name;
}

QString ExtensionOf(const QString& path)
{
  const QString name = QFileInfo(path).fileName();
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  return dot < 0 ? QString() : name.mid(dot + 1);
}

// Within one folder: a rename, which replaces a picture already under the new name.
bool MovePicture(const QString& from, const QString& to)
{
  return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

}  // namespace

QStringList ImageTypes(const QString& defaultImageType)
{
  QStringList types;
  for (const QString& type : defaultImageType.split(QLatin1Char(';'))) {
    if (!type.trimmed().isEmpty())
      types << type.trimmed();
  }
  return types;
}

int GetImgPos(const QString& picturePath)
{
  const QString name = NameWithoutExtension(picturePath);
  const qsizetype underscore = name.lastIndexOf(QLatin1Char('_'));
  if (underscore < 0)
    return 0;
  bool numeric = false;
  const int position = name.mid(underscore + 1).toInt(&numeric);
  return numeric && position >= 0 && position <= 32767 ? position : 0;
}

QString PictureNameAt(const QString& picturePath, int position)
{
  const QString base = BaseName(picturePath);
  return position == 0 ? base : base + QLatin1Char('_') + QString::number(position);
}

QString FindPicture(const QString& folder, const QString& name, const QStringList& types)
{
  for (const QString& type : types) {
    const QString path = folder + name + QLatin1Char('.') + type;
    if (QFileInfo(path).isFile())
      return path;
  }
  return {};
}

QString NavigatePicture(const QString& shownPath, int step, const QStringList& types)
{
  if (shownPath.isEmpty())
    return {};
  const int position = GetImgPos(shownPath);
  if (step != 1 && position < 1)
    return {};
  const int target = position + step;
  if (target < 0)
    return {};
  return FindPicture(FolderOf(shownPath), PictureNameAt(shownPath, target), types);
}

PicturePlace PlaceAmongPictures(const QString& shownPath, const QStringList& types)
{
  if (shownPath.isEmpty() || !QFileInfo(shownPath).isFile())
    return {};
  const QString folder = FolderOf(shownPath);
  const auto exists = [&](int position) {
    return !FindPicture(folder, PictureNameAt(shownPath, position), types).isEmpty();
  };
  const int shown = GetImgPos(shownPath);
  int first = shown;
  while (first > 0 && exists(first - 1))
    --first;
  int last = shown;
  while (last < kLastPosition && exists(last + 1))
    ++last;
  return {shown - first + 1, last - first + 1};
}

QString DeletePicture(const QString& shownPath, const QStringList& types)
{
  const QString folder = FolderOf(shownPath);
  const int deleted = GetImgPos(shownPath);
  QFile::remove(shownPath);
  for (int position = deleted; position < kLastPosition; ++position) {
    const QString next = FindPicture(folder, PictureNameAt(shownPath, position + 1), types);
    if (next.isEmpty())
      break;
    MovePicture(next, folder + PictureNameAt(shownPath, position) + QLatin1Char('.') + ExtensionOf(next));
  }
  const QString atDeleted = FindPicture(folder, PictureNameAt(shownPath, deleted), types);
  if (!atDeleted.isEmpty() || deleted == 0)
    return atDeleted;
  return FindPicture(folder, PictureNameAt(shownPath, deleted - 1), types);
}

AddImageOutcome Add_Image(Catalogue& catalogue, Feedback& feedback, SystemSettings& settings, qint64 gameId,
                          const QString& romFileName, const QString& sourcePath)
{
  AddImageOutcome outcome;
  const QString source = QFileInfo(sourcePath).absoluteFilePath();
  if (!QFileInfo(source).isFile()) {
    ReportError(feedback, kFileNotFound, QStringLiteral("Add_Image"), QStringLiteral("File not found: ") + sourcePath);
    return outcome;
  }
  if (!settings.renameImages) {
    outcome.added = UpdateGameInfo(catalogue, feedback, gameId, QStringLiteral("Image"), source);
    outcome.stored = outcome.shownPath = source;
    return outcome;
  }
  const QString sourceFolder = FolderOf(source);
  const QString newName = NameWithoutExtension(romFileName) + QLatin1Char('.') + ExtensionOf(source);
  QString targetFolder = settings.imageFolder;
  if (targetFolder.isEmpty()) {
    const Question question{QStringLiteral("set-image-folder"),
                            QStringLiteral("Quillon"),
                            QStringLiteral("Would you like to set ") + sourceFolder +
                                QStringLiteral(" as the default image path for this system?"),
                            QuestionButtons::YesNo,
                            MessageIcon::Question,
                            Answer::No};
    if (feedback.Ask(question) == Answer::Yes && StoreImageFolder(catalogue, feedback, settings.systemId, sourceFolder))
      settings.imageFolder = sourceFolder;
    targetFolder = sourceFolder;
  }
  const QString target = targetFolder + newName;
  // An existing different picture is replaced only when the user agrees, and then in one rename.
  bool replace = false;
  if (QFileInfo::exists(target) && QFileInfo(target).canonicalFilePath() != QFileInfo(source).canonicalFilePath()) {
    const Question overwrite{QStringLiteral("overwrite-image"),
                             QStringLiteral("Quillon"),
                             QStringLiteral("Overwrite existing file?"),
                             QuestionButtons::YesNo,
                             MessageIcon::Question,
                             Answer::No};
    if (feedback.Ask(overwrite) != Answer::Yes)
      return outcome;
    replace = true;
  }
  if ((replace || !QFileInfo::exists(target)) && !CopyFileAtomically(source, target, Durability::Synced, nullptr)) {
    ReportError(feedback, kPathFileAccessError, QStringLiteral("Add_Image"),
                QStringLiteral("Cannot copy the picture to ") + target);
    return outcome;
  }
  outcome.added = UpdateGameInfo(catalogue, feedback, gameId, QStringLiteral("Image"), target, settings.imageFolder);
  outcome.stored = targetFolder == settings.imageFolder ? newName : target;
  outcome.shownPath = target;
  return outcome;
}

}  // namespace quillon
