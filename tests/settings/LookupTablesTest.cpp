// Editing countries, genres and makers: deletion with its question and re-pointing, protection of
// the unknown entries, names that must stay unique, and the batch update.
#include "RecordingFeedback.h"
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "catalogue/Lookups.h"
#include "settings/LookupTables.h"

#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

// Games 1-3 of SNES: country USA (2), maker Acclaim (3).
void AddGames(TestCatalogue& t)
{
  t.Exec(
      QStringLiteral("INSERT INTO Games (GameID, FullName, System, Country, Manufacturer, Genre) VALUES "
                     "(1, 'One', 3, 2, 3, 1), (2, 'Two', 3, 2, 3, 2), (3, 'Three', 3, 3, 7, 1)"));
}

QString Links(TestCatalogue& t, int gameId)
{
  return t
      .Value(QStringLiteral("SELECT group_concat(GenreID) FROM (SELECT GenreID FROM SubGenres WHERE GameID = ? "
                            "ORDER BY rowid)"),
             {gameId})
      .toString();
}

int GenreCount(TestCatalogue& t, int gameId)
{
  return t.Value(QStringLiteral("SELECT Genre FROM Games WHERE GameID = ?"), {gameId}).toInt();
}

}  // namespace

class LookupTablesTest : public QObject {
  Q_OBJECT

 private slots:
  void DeletingAskedOnlyForEntriesInUse()
  {
    TestCatalogue t;
    AddGames(t);
    RecordingFeedback feedback;
    // No game is made by Absolute Entertainment (2): no question.
    QCOMPARE(DeleteLookupEntry(t.Db(), feedback, LookupKind::Manufacturer, 2), LookupDeletion::Deleted);
    QVERIFY(feedback.questions.isEmpty());
    QVERIFY(!t.Value(QStringLiteral("SELECT 1 FROM Manufacturer WHERE ManufacturerID = 2")).isValid());

    // Acclaim is used: No keeps it and its games.
    QCOMPARE(DeleteLookupEntry(t.Db(), feedback, LookupKind::Manufacturer, 3), LookupDeletion::Declined);
    QCOMPARE(feedback.questions.size(), 1);
    QCOMPARE(feedback.questions[0].text,
             QStringLiteral("This manufacturer currently has games associated with it. \r\nDeleting this manufacturer "
                            "would change the associated games' manufacturer to [Unknown].\r\n\r\nWould you like to "
                            "delete this manufacturer?"));
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM Games WHERE Manufacturer = 3")).toInt(), 2);

    // Yes gives its games the unknown maker; others keep theirs.
    feedback.Script(kDeleteLookupQuestion, Answer::Yes);
    QCOMPARE(DeleteLookupEntry(t.Db(), feedback, LookupKind::Manufacturer, 3), LookupDeletion::Deleted);
    QCOMPARE(t.Value(QStringLiteral("SELECT group_concat(Manufacturer) FROM Games")).toString(),
             QStringLiteral("319,319,7"));
    QCOMPARE(DeleteLookupEntry(t.Db(), feedback, LookupKind::Country, 2), LookupDeletion::Deleted);
    QCOMPARE(t.Value(QStringLiteral("SELECT group_concat(Country) FROM Games")).toString(), QStringLiteral("1,1,3"));
    QVERIFY(!feedback.HasError());
  }

  void DeletingAGenreLeavesEveryGameAGenre()
  {
    TestCatalogue t;
    AddGames(t);
    // Fighter (13) is game 1's only genre; game 2 also has Puzzle (19); game 3 has it twice.
    t.Exec(
        QStringLiteral("INSERT INTO SubGenres (GameID, GenreID) VALUES (1, 13), (2, 13), (2, 19), (3, 13), "
                       "(3, 13)"));
    RecordingFeedback feedback;
    feedback.Script(kDeleteLookupQuestion, Answer::Yes);
    QCOMPARE(DeleteLookupEntry(t.Db(), feedback, LookupKind::Genre, 13), LookupDeletion::Deleted);
    QCOMPARE(Links(t, 1), QStringLiteral("1"));
    QCOMPARE(Links(t, 2), QStringLiteral("19"));
    QCOMPARE(Links(t, 3), QStringLiteral("1"));
    // Only "[Unknown]" counts as no genre; one real genre counts 1.
    QCOMPARE(GenreCount(t, 1), 0);
    QCOMPARE(GenreCount(t, 2), 1);
    QCOMPARE(GenreCount(t, 3), 0);
    QVERIFY(!t.Value(QStringLiteral("SELECT 1 FROM Genres WHERE GenreID = 13")).isValid());
  }

  void UnknownEntriesCannotBeChanged()
  {
    TestCatalogue t;
    RecordingFeedback feedback;
    feedback.Script(kDeleteLookupQuestion, Answer::Yes);
    const struct {
      LookupKind kind;
      qint64 id;
      const char* message;
    } cases[] = {{LookupKind::Country, 1, "Status: Error - Sorry, this country cannot be edited."},
                 {LookupKind::Genre, 1, "Status: Error - Sorry, this genre cannot be edited."},
                 {LookupKind::Manufacturer, 319, "Status: Error - Sorry, this manufacturer cannot be edited."}};
    for (const auto& c : cases) {
      feedback.Clear();
      QCOMPARE(DeleteLookupEntry(t.Db(), feedback, c.kind, c.id), LookupDeletion::Refused);
      QVERIFY(!RenameLookupEntry(t.Db(), feedback, c.kind, c.id, QStringLiteral("Known")));
      QCOMPARE(feedback.LastStatus(), QString::fromLatin1(c.message));
      QVERIFY(LookupEntryById(t.Db(), feedback, c.kind, c.id).has_value());
    }
    QVERIFY(!SetGoodCode(t.Db(), feedback, 1, QStringLiteral("X")));
    // Another entry holding the unknown code is protected the same way.
    const std::optional<qint64> other =
        AddLookupEntry(t.Db(), feedback, LookupKind::Country, QStringLiteral("Nowhere"), kUnknownGoodCode);
    QVERIFY(other);
    QCOMPARE(DeleteLookupEntry(t.Db(), feedback, LookupKind::Country, *other), LookupDeletion::Refused);
    QVERIFY(IsUnknownEntry(SectionOf(LookupKind::Genre), 55, QStringLiteral("[Unknown]"), QString()));
  }

  void NamesStayFilledAndUnique()
  {
    TestCatalogue t;
    RecordingFeedback feedback;
    QVERIFY(!AddLookupEntry(t.Db(), feedback, LookupKind::Genre, QStringLiteral("  ")));
    QVERIFY(!AddLookupEntry(t.Db(), feedback, LookupKind::Genre, QStringLiteral("puzzle")));
    QVERIFY(!RenameLookupEntry(t.Db(), feedback, LookupKind::Genre, 2, QStringLiteral("PUZZLE")));
    QVERIFY(!RenameLookupEntry(t.Db(), feedback, LookupKind::Genre, 2, QString()));
    QCOMPARE(feedback.ErrorLines().size(), 4);
    QVERIFY(feedback.LastStatus().contains(QStringLiteral("-(gridgenres_BeforeUpdate)-")));
    // Changing only the case of its own name is allowed.
    QVERIFY(RenameLookupEntry(t.Db(), feedback, LookupKind::Genre, 2, QStringLiteral("ACTION ")));
    QCOMPARE(LookupEntryById(t.Db(), feedback, LookupKind::Genre, 2)->name, QStringLiteral("ACTION"));
    // A country may be known by its code alone, but not lose both.
    const std::optional<qint64> coded =
        AddLookupEntry(t.Db(), feedback, LookupKind::Country, QString(), QStringLiteral("Zz;"));
    QVERIFY(coded);
    QVERIFY(!SetGoodCode(t.Db(), feedback, *coded, QString()));
    QVERIFY(SetGoodCode(t.Db(), feedback, 2, QString()));
    QVERIFY(t.Value(QStringLiteral("SELECT goodcode FROM Country WHERE CountryID = 2")).isNull());
  }

  void BatchUpdateMovesGamesAndAddsNewNames()
  {
    TestCatalogue t;
    AddGames(t);
    t.Exec(QStringLiteral("INSERT INTO SubGenres (GameID, GenreID) VALUES (1, 13), (2, 19), (2, 13), (3, 2)"));
    t.Exec(QStringLiteral("UPDATE Games SET Genre = 1 WHERE GameID IN (1, 3)"));
    RecordingFeedback feedback;
    Lookups lookups(t.Db(), feedback);

    // Fighter to a new genre: the name is added and both games move.
    QCOMPARE(MoveLookupGames(t.Db(), lookups, feedback, LookupKind::Genre, QStringLiteral("Fighter"),
                             QStringLiteral("Versus")),
             std::optional<int>(2));
    const qint64 versus = t.Value(QStringLiteral("SELECT GenreID FROM Genres WHERE GenreName = 'Versus'")).toLongLong();
    QVERIFY(versus > 0);
    QCOMPARE(Links(t, 1), QString::number(versus));
    QVERIFY(t.Value(QStringLiteral("SELECT 1 FROM Genres WHERE GenreID = 13")).isValid());
    // Into a genre the game already has: one link is left, and the count follows.
    QCOMPARE(MoveLookupGames(t.Db(), lookups, feedback, LookupKind::Genre, QStringLiteral("Versus"),
                             QStringLiteral("puzzle")),
             std::optional<int>(2));
    QCOMPARE(Links(t, 2), QStringLiteral("19"));
    QCOMPARE(GenreCount(t, 2), 1);
    // Into "[Unknown]": it is not kept beside a real genre.
    t.Exec(QStringLiteral("INSERT INTO SubGenres (GameID, GenreID) VALUES (3, 19)"));
    QCOMPARE(MoveLookupGames(t.Db(), lookups, feedback, LookupKind::Genre, QStringLiteral("Action"),
                             QStringLiteral("[Unknown]")),
             std::optional<int>(1));
    QCOMPARE(Links(t, 3), QStringLiteral("19"));

    // Makers: a new name is added; countries must exist.
    QCOMPARE(MoveLookupGames(t.Db(), lookups, feedback, LookupKind::Manufacturer, QStringLiteral("acclaim"),
                             QStringLiteral("New Maker")),
             std::optional<int>(2));
    QCOMPARE(t.Value(QStringLiteral("SELECT Manufacturer.Manufacturer FROM Games JOIN Manufacturer ON "
                                    "Games.Manufacturer = ManufacturerID WHERE GameID = 1"))
                 .toString(),
             QStringLiteral("New Maker"));
    QVERIFY(!feedback.HasError());
    QVERIFY(!MoveLookupGames(t.Db(), lookups, feedback, LookupKind::Country, QStringLiteral("USA"),
                             QStringLiteral("Atlantis")));
    QVERIFY(!MoveLookupGames(t.Db(), lookups, feedback, LookupKind::Country, QStringLiteral("Atlantis"),
                             QStringLiteral("USA")));
    QVERIFY(!t.Value(QStringLiteral("SELECT 1 FROM Country WHERE Country = 'Atlantis'")).isValid());
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM Games WHERE Country = 2")).toInt(), 2);
    QCOMPARE(
        MoveLookupGames(t.Db(), lookups, feedback, LookupKind::Country, QStringLiteral("USA"), QStringLiteral("Japan")),
        std::optional<int>(2));
    QCOMPARE(t.Value(QStringLiteral("SELECT group_concat(Country) FROM Games")).toString(), QStringLiteral("4,4,3"));
  }
};

QUILLON_TEST_CLASS(LookupTablesTest)
#include "LookupTablesTest.moc"
