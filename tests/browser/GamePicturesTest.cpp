// A game's numbered pictures: stepping, deleting, taking new ones in.
#include "RecordingFeedback.h"
#include "TestCatalogue.h"
#include "TestGames.h"
#include "TestRegistry.h"

#include "browser/GamePictures.h"
#include "catalogue/SystemSettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

QString Content(const QString& path)
{
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

}  // namespace

class GamePicturesTest : public QObject {
  Q_OBJECT

 private slots:
  void PositionsAndNames()
  {
    QCOMPARE(GetImgPos(QStringLiteral("/p/Game (E).png")), 0);
    QCOMPARE(GetImgPos(QStringLiteral("/p/Game (E)_2.png")), 2);
    QCOMPARE(GetImgPos(QStringLiteral("/p/Sonic_the_Hedgehog.png")), 0);
    QCOMPARE(PictureNameAt(QStringLiteral("/p/Game (E)_2.png"), 0), QStringLiteral("Game (E)"));
    QCOMPARE(PictureNameAt(QStringLiteral("/p/Game (E).png"), 1), QStringLiteral("Game (E)_1"));
    // An underscore that carries no number belongs to the name.
    QCOMPARE(PictureNameAt(QStringLiteral("/p/Sonic_the_Hedgehog.png"), 1), QStringLiteral("Sonic_the_Hedgehog_1"));
  }

  void SteppingOverTwoTypes()
  {
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    QVERIFY(TouchFile(folder + "Game.png"));
    QVERIFY(TouchFile(folder + "Game_1.jpg"));
    QVERIFY(TouchFile(folder + "Game_2.png"));
    const QStringList types{"png", "jpg"};
    QCOMPARE(NavigatePicture(folder + "Game.png", 1, types), folder + "Game_1.jpg");
    QCOMPARE(NavigatePicture(folder + "Game_1.jpg", 1, types), folder + "Game_2.png");
    QVERIFY(NavigatePicture(folder + "Game_2.png", 1, types).isEmpty());
    QCOMPARE(NavigatePicture(folder + "Game_1.jpg", -1, types), folder + "Game.png");
    QVERIFY(NavigatePicture(folder + "Game.png", -1, types).isEmpty());
  }

  // "2 of 3": the run of neighbouring pictures the arrows step through.
  void PlaceAmongTheGamesPictures()
  {
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    for (const char* name : {"Game.png", "Game_1.jpg", "Game_2.png", "Game_4.png", "Other.png"})
      QVERIFY(TouchFile(folder + name));
    const QStringList types{"png", "jpg"};
    const auto place = [&](const char* name) {
      const PicturePlace found = PlaceAmongPictures(folder + name, types);
      return QStringLiteral("%1 of %2").arg(found.place).arg(found.count);
    };
    QCOMPARE(place("Game.png"), QStringLiteral("1 of 3"));
    QCOMPARE(place("Game_1.jpg"), QStringLiteral("2 of 3"));
    QCOMPARE(place("Game_4.png"), QStringLiteral("1 of 1"));  // beyond a gap the arrows do not go
    QCOMPARE(place("Other.png"), QStringLiteral("1 of 1"));
    QCOMPARE(place("Game_3.png"), QStringLiteral("0 of 0"));
  }

  void DeletingClosesTheGap()
  {
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    QVERIFY(TouchFile(folder + "Game.png", "0"));
    QVERIFY(TouchFile(folder + "Game_1.png", "1"));
    QVERIFY(TouchFile(folder + "Game_2.png", "2"));
    const QStringList types{"png", "jpg"};
    QCOMPARE(DeletePicture(folder + "Game_1.png", types), folder + "Game_1.png");
    QCOMPARE(Content(folder + "Game_1.png"), QStringLiteral("2"));
    QVERIFY(!QFile::exists(folder + "Game_2.png"));
    // Deleting the last one shows the one before it.
    QCOMPARE(DeletePicture(folder + "Game_1.png", types), folder + "Game.png");
    QCOMPARE(DeletePicture(folder + "Game.png", types), QString());
    QVERIFY(QDir(folder).isEmpty());
  }

  void TakingAPictureIn()
  {
    TestCatalogue t;
    const qint64 game =
        TestGame(kGameboy, QStringLiteral("Game")).File(QStringLiteral("Game (E).gb")).Missing().Insert(t.Db());
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("downloads/cover.PNG"));
    QVERIFY(TouchFile(source, "new"));
    RecordingFeedback feedback;
    SystemSettings settings;
    settings.systemId = 11;

    // Without renaming the file stays where it is.
    AddImageOutcome outcome = Add_Image(t.Db(), feedback, settings, game, QStringLiteral("Game (E).gb"), source);
    QVERIFY(outcome.added);
    QCOMPARE(t.Value(QStringLiteral("SELECT Image FROM Games WHERE GameID = ?"), {game}).toString(), source);

    // Renaming: the system without picture folder is asked to take the picture's folder.
    settings.renameImages = true;
    feedback.Script(QStringLiteral("set-image-folder"), Answer::Yes);
    outcome = Add_Image(t.Db(), feedback, settings, game, QStringLiteral("Game (E).gb"), source);
    const QString folder = dir.filePath(QStringLiteral("downloads/"));
    QCOMPARE(outcome.shownPath, folder + "Game (E).PNG");
    QCOMPARE(settings.imageFolder, folder);
    QCOMPARE(t.Value(QStringLiteral("SELECT DefaultImagePath FROM System WHERE SystemID = 11")).toString(), folder);
    QCOMPARE(t.Value(QStringLiteral("SELECT Image FROM Games WHERE GameID = ?"), {game}).toString(),
             QStringLiteral("Game (E).PNG"));

    // An existing different picture is replaced only when the user agrees.
    const QString other = dir.filePath(QStringLiteral("other.PNG"));
    QVERIFY(TouchFile(other, "other"));
    outcome = Add_Image(t.Db(), feedback, settings, game, QStringLiteral("Game (E).gb"), other);
    QVERIFY(!outcome.added);
    QCOMPARE(Content(folder + "Game (E).PNG"), QStringLiteral("new"));
    feedback.Script(QStringLiteral("overwrite-image"), Answer::Yes);
    QVERIFY(Add_Image(t.Db(), feedback, settings, game, QStringLiteral("Game (E).gb"), other).added);
    QCOMPARE(Content(folder + "Game (E).PNG"), QStringLiteral("other"));
  }
};

QUILLON_TEST_CLASS(GamePicturesTest)
#include "GamePicturesTest.moc"
