// Step 14: the tables that identify ROM files by their contents. Reference lists (DAT files and
// Mame software lists) with their entries and ROMs, the cache of file hashes, each game's result,
// and the journal that lets an interrupted rename be finished.
#include "catalogue/Catalogue.h"
#include "catalogue/StructureUpgradeSteps.h"

namespace quillon::upgrade {

namespace {

// Every statement may run again on a catalogue that has its piece already.
const char* const kStatements[] = {
    "CREATE TABLE IF NOT EXISTS RefList (ListID INTEGER PRIMARY KEY AUTOINCREMENT, System INTEGER NOT NULL, "
    "Name TEXT NOT NULL, Description TEXT, Version TEXT, Format TEXT, Header TEXT, SourceFile TEXT, Imported TEXT, "
    "Entries INTEGER NOT NULL DEFAULT 0)",
    "CREATE INDEX IF NOT EXISTS RefListBySystem ON RefList (System, Name)",
    "CREATE TABLE IF NOT EXISTS RefEntry (EntryID INTEGER PRIMARY KEY, ListID INTEGER NOT NULL, Name TEXT, "
    "Description TEXT, Year TEXT, Publisher TEXT, CloneOf TEXT)",
    "CREATE INDEX IF NOT EXISTS RefEntryByList ON RefEntry (ListID)",
    // Offset: where the ROM starts in the part's data when the part's ROMs make one file; -1 when
    // the ROM is a file of its own (DAT files) or cannot be placed.
    "CREATE TABLE IF NOT EXISTS RefRom (EntryID INTEGER NOT NULL, Part TEXT, Name TEXT, Size INTEGER, "
    "Offset INTEGER NOT NULL DEFAULT -1, CRC INTEGER, SHA1 TEXT, MD5 TEXT, Status TEXT)",
    "CREATE INDEX IF NOT EXISTS RefRomByEntry ON RefRom (EntryID)",
    // One row per file (Member empty) or archive member; valid while the file's size and
    // modification time are those recorded.
    "CREATE TABLE IF NOT EXISTS HashCache (Path TEXT NOT NULL, Member TEXT NOT NULL DEFAULT '', FileSize INTEGER, "
    "MTime INTEGER, Size INTEGER, CRC INTEGER, SHA1 TEXT, DataRead INTEGER NOT NULL DEFAULT 0, "
    "HeaderSize INTEGER NOT NULL DEFAULT 0, BodyCRC INTEGER, BodySHA1 TEXT, Segments TEXT, "
    "PRIMARY KEY (Path, Member))",
    "CREATE TABLE IF NOT EXISTS GameMatch (GameID INTEGER PRIMARY KEY, FileName TEXT, Status INTEGER NOT NULL, "
    "StandardName TEXT, ListID INTEGER, Checked TEXT)",
    "CREATE TABLE IF NOT EXISTS RenameJournal (ID INTEGER PRIMARY KEY AUTOINCREMENT, GameID INTEGER NOT NULL, "
    "Kind TEXT NOT NULL, OldPath TEXT NOT NULL, NewPath TEXT NOT NULL, FileName TEXT, Image TEXT)",
    // Game keys are given again after deletions: a deleted game's result must not pass to a new one.
    "CREATE TRIGGER IF NOT EXISTS GameMatchOfDeletedGame AFTER DELETE ON Games "
    "BEGIN DELETE FROM GameMatch WHERE GameID = old.GameID; END",
};

}  // namespace

void AddReferenceListTables(StepRun& run)
{
  run.Announce(kUpdatingLabel);
  for (const char* statement : kStatements) {
    if (!run.Db().Execute(run.Reporter(), kUpgradeRoutine, QString::fromLatin1(statement))) {
      run.CountFailure();
      return;
    }
  }
}

}  // namespace quillon::upgrade
