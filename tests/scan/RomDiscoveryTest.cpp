// Walking ROM folders: which files are found and in which order.
#include "RecordingFeedback.h"
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "scan/RomDiscovery.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

class RomDiscoveryTest : public QObject {
  Q_OBJECT

 private slots:
  void ExtensionsAreTakenExactly()
  {
    QTemporaryDir dir;
    const QString root = dir.path() + QLatin1Char('/');
    for (const char* name : {"noext", "Mario.nes", "Zelda.NES", "Tetris.gb.zip", "README", ".hidden.nes", "Abc.zip"})
      QVERIFY(TouchFile(root + QString::fromUtf8(name)));
    RecordingFeedback feedback;
    QStringList found;
    QVERIFY(FindRoms(root,
                     {QStringLiteral("nes"), QStringLiteral("zip"), QStringLiteral("zip"), QStringLiteral("noext")},
                     true, feedback, found));
    // Case matters, a file is listed once per equal entry, a name without a dot is its own
    // extension, and hidden files count like any other. Names come in their sorted order, whatever
    // order the folder keeps them in.
    QCOMPARE(found, (QStringList{root + ".hidden.nes", root + "Abc.zip", root + "Abc.zip", root + "Mario.nes",
                                 root + "Tetris.gb.zip", root + "Tetris.gb.zip", root + "noext"}));
    QVERIFY(feedback.yields >= 6);
    QVERIFY(!feedback.HasError());
  }

  void NestedFoldersAreWalkedDepthFirst()
  {
    QTemporaryDir dir;
    const QString root = dir.path() + QLatin1Char('/');
    QVERIFY(TouchFile(root + "c/other.zip"));
    QVERIFY(TouchFile(root + "a/b/deep.zip"));
    QVERIFY(TouchFile(root + "a/upper.zip"));
    QVERIFY(TouchFile(root + "top.zip"));
    RecordingFeedback feedback;
    QStringList found;
    QVERIFY(FindRoms(root, {QStringLiteral("zip")}, true, feedback, found));
    // Files of a folder before those of its subfolders.
    QCOMPARE(found, (QStringList{root + "top.zip", root + "a/upper.zip", root + "a/b/deep.zip", root + "c/other.zip"}));
    QStringList folders;
    QVERIFY(GetSubFolders(root, feedback, folders));
    QCOMPARE(folders, (QStringList{root + "a/", root + "a/b/", root + "c/"}));

    // "Scan Subfolders" off: only the folder itself.
    found.clear();
    QVERIFY(FindRoms(root, {QStringLiteral("zip")}, false, feedback, found));
    QCOMPARE(found, QStringList{root + "top.zip"});

    QStringList none;
    QTemporaryDir flat;
    QVERIFY(GetSubFolders(flat.path(), feedback, none));
    QVERIFY(none.isEmpty());
  }

  void LinkedFolderLoopsEndTheWalk()
  {
    QTemporaryDir dir;
    const QString root = dir.path() + QLatin1Char('/');
    QVERIFY(TouchFile(root + "sub/game.zip"));
    QVERIFY(QFile::link(root, root + "sub/back-to-top"));
    RecordingFeedback feedback;
    QStringList found;
    QVERIFY(FindRoms(root, {QStringLiteral("zip")}, true, feedback, found));
    QCOMPARE(found, QStringList{root + "sub/game.zip"});
    QStringList folders;
    QVERIFY(GetSubFolders(root, feedback, folders));
    QCOMPARE(folders, QStringList{root + "sub/"});
  }

  void MissingFolderIsReportedWithItsTag()
  {
    RecordingFeedback feedback;
    QStringList found{QStringLiteral("kept")};
    QVERIFY(!FindRoms(QStringLiteral("/no/such/folder/"), {QStringLiteral("zip")}, true, feedback, found));
    QCOMPARE(found, QStringList{"kept"});
    QVERIFY2(feedback.LastStatus().startsWith(QStringLiteral("Status: Error - 76-(FindRoms)-")),
             qPrintable(feedback.LastStatus()));
    QStringList folders;
    QVERIFY(!GetSubFolders(QStringLiteral("/no/such/folder/"), feedback, folders));
    QVERIFY(feedback.LastStatus().contains(QStringLiteral("-(GetSubFolders)-")));
  }
};

QUILLON_TEST_CLASS(RomDiscoveryTest)
#include "RomDiscoveryTest.moc"
