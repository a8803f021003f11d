// The INI reader and writer of the site-list files, and the URL encoding of search text.
#include "RecordingFeedback.h"
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "images/IniFile.h"
#include "images/UrlEncode.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

QByteArray FileBytes(const QString& path)
{
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

}  // namespace

class IniFileTest : public QObject {
  Q_OBJECT

 private slots:
  void ReadingJoinsRepeatedKeysAndIgnoresCase()
  {
    const QString text = QStringLiteral(
        "[Other]\r\na1=elsewhere\r\n[SITE]\r\nA1=http://One/Path\r\nb1=two\r\na10=not a1\r\nA1=Again\r\n"
        "[site]\r\na1=third\r\n");
    QCOMPARE(ReadIniText(text, QStringLiteral("Site"), QStringLiteral("a1")),
             QStringLiteral("http://One/Path|||Again|||third"));
    QCOMPARE(ReadIniText(text, QStringLiteral("site"), QStringLiteral("B1")), QStringLiteral("two"));
    QCOMPARE(ReadIniText(text, QStringLiteral("Site"), QStringLiteral("c1")), QString());
    QCOMPARE(ReadIniText(text, QStringLiteral("Missing"), QStringLiteral("a1")), QString());
    // Line ends of other systems read the same.
    QCOMPARE(ReadIniText(QStringLiteral("[Site]\na1=x\rb1=y\n"), QStringLiteral("Site"), QStringLiteral("b1")),
             QStringLiteral("y"));
  }

  void AnyLineWithABracketEndsTheSection()
  {
    const QString text = QStringLiteral(
        "[Site]\r\na1=http://x/?q=[1]\r\nb1=after the bracket\r\n [Site]\r\nc1=header with a space\r\n"
        "[Site] \r\nd1=trailing space\r\n");
    QCOMPARE(ReadIniText(text, QStringLiteral("Site"), QStringLiteral("a1")), QString());
    QCOMPARE(ReadIniText(text, QStringLiteral("Site"), QStringLiteral("b1")), QString());
    QCOMPARE(ReadIniText(text, QStringLiteral("Site"), QStringLiteral("c1")), QString());
    QCOMPARE(ReadIniText(text, QStringLiteral("Site"), QStringLiteral("d1")), QString());
  }

  void WritingReplacesOnlyTheFirstLineOfTheKey()
  {
    const QString text = QStringLiteral("[Site]\r\nA1=old\r\nb1=keep\r\na1=second\r\n\r\n[Ignore List]\r\na1=ig\r\n");
    QCOMPARE(WriteIniText(text, QStringLiteral("site"), QStringLiteral("a1"), QStringLiteral("New")),
             QStringLiteral("[Site]\r\na1=New\r\nb1=keep\r\na1=second\r\n\r\n[Ignore List]\r\na1=ig\r\n"));
  }

  void WritingInsertsBelowTheHeaderOrAppendsTheSection()
  {
    QString text;
    text = WriteIniText(text, QStringLiteral("Site"), QStringLiteral("b1"), QStringLiteral("second"));
    QCOMPARE(text, QStringLiteral("[Site]\r\nb1=second\r\n"));
    // The header on the first line is found: the new key goes directly below it.
    text = WriteIniText(text, QStringLiteral("Site"), QStringLiteral("a1"), QStringLiteral("first"));
    QCOMPARE(text, QStringLiteral("[Site]\r\na1=first\r\nb1=second\r\n"));
    text = AddIniLine(text, QStringLiteral("Ignore List"), QStringLiteral("a1"), QStringLiteral("x"));
    text = AddIniLine(text, QStringLiteral("ignore list"), QStringLiteral("a1"), QStringLiteral("y"));
    QCOMPARE(text, QStringLiteral("[Site]\r\na1=first\r\nb1=second\r\n\r\n[Ignore List]\r\na1=y\r\na1=x\r\n"));
    QCOMPARE(ReadIniText(text, QStringLiteral("Ignore List"), QStringLiteral("A1")), QStringLiteral("y|||x"));
    // A key below a line holding "[" is outside the section: the write inserts a new line, and
    // reading gives the new value back.
    const QString cut = QStringLiteral("[Site]\r\na1=[x]\r\nb1=hidden\r\n");
    const QString written = WriteIniText(cut, QStringLiteral("Site"), QStringLiteral("b1"), QStringLiteral("new"));
    QCOMPARE(written, QStringLiteral("[Site]\r\nb1=new\r\na1=[x]\r\nb1=hidden\r\n"));
    QCOMPARE(ReadIniText(written, QStringLiteral("Site"), QStringLiteral("b1")), QStringLiteral("new"));
  }

  void WritingTidiesBlankLinesAndEnds()
  {
    const QString text = QStringLiteral("\r\n\n\t[A]\nk=v\n\n\n\n[B]\r\nx=1\r\n\r\n\r\n");
    QCOMPARE(WriteIniText(text, QStringLiteral("B"), QStringLiteral("y"), QStringLiteral("2")),
             QStringLiteral("[A]\r\nk=v\r\n\r\n[B]\r\ny=2\r\nx=1\r\n"));
  }

  void FilesAreCreatedReadAndRewrittenWhole()
  {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sites.ini"));
    RecordingFeedback feedback;
    QCOMPARE(ReadIniValue(path, QStringLiteral("Site"), QStringLiteral("a1"), feedback), QString());
    QVERIFY(QFile::exists(path));
    QCOMPARE(FileBytes(path), QByteArray());

    QVERIFY(WriteIniValue(path, QStringLiteral("Site"), QStringLiteral("a1"), QStringLiteral("http://é/"), feedback));
    QVERIFY(WriteIniValue(path, QStringLiteral("Site"), QStringLiteral("A1"), QStringLiteral("http://b/"), feedback));
    QCOMPARE(FileBytes(path), QByteArray("[Site]\r\nA1=http://b/\r\n"));
    QCOMPARE(ReadIniValue(path, QStringLiteral("site"), QStringLiteral("a1"), feedback), QStringLiteral("http://b/"));

    // A value with a line break would smuggle in lines of its own: refused, file unchanged.
    QVERIFY(
        !WriteIniValue(path, QStringLiteral("Site"), QStringLiteral("b1"), QStringLiteral("x\r\n[Evil]"), feedback));
    QVERIFY(feedback.LastStatus().contains(QStringLiteral("-(WriteIniValue)-")));
    QCOMPARE(FileBytes(path), QByteArray("[Site]\r\nA1=http://b/\r\n"));
    // Nor may it hold "[": the reader would take its line for a header and lose it and the keys
    // below it (found by fuzzing).
    QVERIFY(
        !WriteIniValue(path, QStringLiteral("Site"), QStringLiteral("a0"), QStringLiteral("http://[::1]/"), feedback));
    QCOMPARE(ReadIniValue(path, QStringLiteral("Site"), QStringLiteral("A1"), feedback), QStringLiteral("http://b/"));
    QCOMPARE(FileBytes(path), QByteArray("[Site]\r\nA1=http://b/\r\n"));

    // Files written on other systems in their 8-bit encoding read as Windows-1252.
    QVERIFY(TouchFile(path, QByteArray("[Site]\r\na1=http://x/caf\xE9\r\n")));
    QCOMPARE(ReadIniValue(path, QStringLiteral("Site"), QStringLiteral("a1"), feedback),
             QStringLiteral("http://x/caf\u00E9"));
  }

  void UnreadableOrUnwritablePlacesAreReported()
  {
    QTemporaryDir dir;
    RecordingFeedback feedback;
    QCOMPARE(ReadIniValue(dir.path(), QStringLiteral("Site"), QStringLiteral("a1"), feedback), QString());
    QVERIFY(feedback.LastStatus().startsWith(QStringLiteral("Status: Error - 75-(ReadIniValue)-")));
    const QString inMissingFolder = dir.filePath(QStringLiteral("no/such/folder/x.ini"));
    QVERIFY(
        !WriteIniValue(inMissingFolder, QStringLiteral("Site"), QStringLiteral("a1"), QStringLiteral("v"), feedback));
    QVERIFY(feedback.LastStatus().contains(QStringLiteral("-(WriteIniValue)-")));
  }

  void UrlEncodeKeepsOnlyLettersAndDigits()
  {
    QCOMPARE(URLEncode(QStringLiteral("Street Fighter EX+a")), QStringLiteral("Street+Fighter+EX%2Ba"));
    QCOMPARE(URLEncode(QStringLiteral("AZaz09")), QStringLiteral("AZaz09"));
    QCOMPARE(URLEncode(QStringLiteral("legend ")), QStringLiteral("legend+"));
    QCOMPARE(URLEncode(QStringLiteral("-_.~!*'()&=/%")), QStringLiteral("%2D%5F%2E%7E%21%2A%27%28%29%26%3D%2F%25"));
    QCOMPARE(URLEncode(QStringLiteral("Pok\u00E9mon \u65E5")), QStringLiteral("Pok%C3%A9mon+%E6%97%A5"));
    QCOMPARE(URLEncode(QString()), QString());
  }
};

QUILLON_TEST_CLASS(IniFileTest)
#include "IniFileTest.moc"
