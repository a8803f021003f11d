// The names other programs know our systems by: the shipped table against the catalogue and
// Mame's own software lists, and the per-system overrides.
#include "RecordingFeedback.h"
#include "SilentUpgradeDisplay.h"
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "catalogue/ReservedKeys.h"
#include "catalogue/StructureUpgrade.h"
#include "catalogue/SystemNames.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

const QString kMameHashFolder = QStringLiteral("/usr/share/games/mame/hash/");

void Upgrade(TestCatalogue& t)
{
  SilentUpgradeDisplay display;
  RecordingFeedback feedback;
  UpdateDb(t.Db(), feedback, display);
  QVERIFY2(!feedback.HasError(), qPrintable(feedback.ErrorLines().join('\n')));
}

QList<qint64> DeliveredSystems()
{
  QList<qint64> ids;
  for (qint64 id = 1; id <= 28; ++id)
    ids << id;
  return ids << kZincSystemId;
}

}  // namespace

class SystemNamesTest : public QObject {
  Q_OBJECT

 private slots:
  void EveryDeliveredSystemHasNamesAndCustomOnesHaveNone()
  {
    TestCatalogue t;
    Upgrade(t);
    QCOMPARE(t.Value("SELECT SystemID FROM System WHERE System = 'Zinc'").toLongLong(), kZincSystemId);
    QSet<QString> playlists;
    for (const qint64 id : DeliveredSystems()) {
      const std::optional<SystemNames> names = ShippedSystemNames(id);
      QVERIFY2(names, qPrintable(QString::number(id)));
      for (const QString& name : {names->esde, names->pegasus, names->retroArch}) {
        QVERIFY2(!name.isEmpty() && !name.contains('/'), qPrintable(QString::number(id)));
      }
      // Systems share a playlist only where they are one front-end system (the Mame arcade).
      QVERIFY2(!playlists.contains(names->retroArch) || names->retroArch == "MAME", qPrintable(names->retroArch));
      playlists << names->retroArch;
    }
    for (qint64 id = 29; id <= 33; ++id) {
      QCOMPARE(t.Value("SELECT SType FROM System WHERE SystemID = ?", {id}).toInt(), 5);
      QVERIFY(!ShippedSystemNames(id));
    }
  }

  void SoftwareListsAreMamesOwn()
  {
    if (!QDir(kMameHashFolder).exists())
      QSKIP("Mame's software lists (Debian's mame-data) are not installed");
    for (const qint64 id : DeliveredSystems()) {
      const SystemNames names = *ShippedSystemNames(id);
      for (const QString& list : names.softwareLists) {
        QFile file(kMameHashFolder + list + ".xml");
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(list));
        QVERIFY2(file.read(64 * 1024).contains("<softwarelist name=\"" + list.toUtf8() + "\""), qPrintable(list));
      }
    }
  }

  void OverridesWinAndBlankKeepsTheShippedName()
  {
    TestCatalogue t;
    Upgrade(t);
    t.Exec(
        "UPDATE System SET EsdeName = 'sfc', PegasusName = '  ', SoftwareLists = 'snes; snes_bspack,x', "
        "RetroArchCore = '/cores/snes9x_libretro.so' WHERE SystemID = 3");
    t.Exec("UPDATE System SET System = 'Homebrew', RetroArchName = 'My Homebrew' WHERE SystemID = 29");
    RecordingFeedback feedback;
    const std::optional<SystemNames> snes = SystemNamesOf(t.Db(), feedback, 3);
    QVERIFY(snes);
    QCOMPARE(snes->esde, QStringLiteral("sfc"));
    QCOMPARE(snes->pegasus, QStringLiteral("snes"));
    QCOMPARE(snes->retroArch, QStringLiteral("Nintendo - Super Nintendo Entertainment System"));
    QCOMPARE(snes->softwareLists, QStringList({"snes", "snes_bspack", "x"}));
    QCOMPARE(snes->retroArchCore, QStringLiteral("/cores/snes9x_libretro.so"));
    const std::optional<SystemNames> custom = SystemNamesOf(t.Db(), feedback, 29);
    QCOMPARE(custom->esde, QString());
    QCOMPARE(custom->retroArch, QStringLiteral("My Homebrew"));
    QVERIFY(!SystemNamesOf(t.Db(), feedback, 999));
    QVERIFY(feedback.HasError());
  }

  void ACatalogueWithoutTheColumnsGivesTheShippedNames()
  {
    TestCatalogue t;
    QVERIFY(!t.Db().HasColumn("System", kEsdeNameColumn));
    RecordingFeedback feedback;
    const std::optional<SystemNames> names = SystemNamesOf(t.Db(), feedback, 11);
    QVERIFY(names && !feedback.HasError());
    QCOMPARE(names->esde, QStringLiteral("gb"));
    QCOMPARE(names->softwareLists, QStringList({"gameboy", "gbcolor"}));
  }
};

QUILLON_TEST_CLASS(SystemNamesTest)
#include "SystemNamesTest.moc"
