// frmBrowser driven like a user would, over a small window that plays the main window's part,
// against a site on 127.0.0.1; and the File menu's site-list commands.
#include "ImageSiteScene.h"
#include "RecordingFeedback.h"
#include "TestRegistry.h"

#include "images/SiteLists.h"
#include "ui/ImageBrowser.h"
#include "ui/ImageCommands.h"
#include "ui/ImageSearchHost.h"
#include "ui/SiteListDialogs.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

using namespace quillon;
using namespace quillon::test;
using namespace quillon::ui;

namespace {

// The main window's part: a check-box list and a picture box.
class ListHost final : public QWidget, public ImageSearchHost {
 public:
  ListHost() : m_list(new QListWidget(this)), m_picture(new QLabel(this))
  {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(m_picture);
  }

  void Add(qint64 gameId, const QString& text, bool checked)
  {
    auto* item = new QListWidgetItem(text, m_list);
    item->setData(Qt::UserRole, gameId);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
  }

  int GameRowCount() const override { return m_list->count(); }
  ImageSearchListRow GameRowAt(int row) const override
  {
    const QListWidgetItem* item = m_list->item(row);
    return {item->data(Qt::UserRole).toLongLong(), item->text(), item->checkState() == Qt::Checked};
  }
  int SelectedGameRow() const override { return m_list->currentRow(); }
  void SelectGameRow(int row) override
  {
    m_list->setCurrentRow(row);
    m_list->scrollToItem(m_list->item(row));
  }
  void ShowGameDetails(qint64) override {}
  void ShowPicture(const QString& path) override { m_picture->setPixmap(QPixmap(path)); }
  void GamePictureStored(qint64 gameId, const QString& path) override
  {
    stored << QStringLiteral("%1 %2").arg(gameId).arg(path.section(QLatin1Char('/'), -1));
    ShowPicture(path);
  }
  void ImageFolderStored(const QString&) override {}
  void LockControls(bool lock, const QString&) override { m_list->setEnabled(!lock); }

  bool ShowsPicture() const { return !m_picture->pixmap().isNull(); }
  bool IsUnlocked() const { return m_list->isEnabled(); }

  QStringList stored;

 private:
  QListWidget* m_list;
  QLabel* m_picture;
};

void Click(QWidget* widget, QPoint at = {})
{
  QTest::mouseClick(widget, Qt::LeftButton, {}, at.isNull() ? widget->rect().center() : at);
}

// Acts in the search window each time its Select button becomes usable, while the timer lives.
std::unique_ptr<QTimer> WhenChoosing(ListHost& host, const std::function<void(ImageBrowser&, QTableWidget&)>& act)
{
  auto timer = std::make_unique<QTimer>();
  QObject::connect(timer.get(), &QTimer::timeout, &host, [&host, act] {
    auto* browser = host.findChild<ImageBrowser*>(QStringLiteral("frmBrowser"));
    auto* select = browser ? browser->findChild<QPushButton*>(QStringLiteral("cmdsel")) : nullptr;
    if (select && select->isEnabled() && browser->isVisible())
      act(*browser, *browser->findChild<QTableWidget*>(QStringLiteral("imggrid")));
  });
  timer->start(30);
  return timer;
}

}  // namespace

class ImageBrowserTest : public QObject {
  Q_OBJECT

 private slots:
  void SelectedGamesAskWhereSeveralMatchesTie()
  {
    ImageSiteScene scene;
    QVERIFY(scene.IsValid());
    scene.AddSite(QStringLiteral("/results"));
    scene.ServeResults(QStringLiteral("/results"), {{QStringLiteral("Sonic Hedgehog"), QStringLiteral("/s1")},
                                                    {QStringLiteral("Sonic Hedgehog Box"), QStringLiteral("/s2")},
                                                    {QStringLiteral("Zelda Link"), QStringLiteral("/zelda")}});
    scene.ServeMatch(QStringLiteral("/s2"), {{QStringLiteral("/pics/s.png"), {}}});
    scene.ServeMatch(QStringLiteral("/zelda"), {{QStringLiteral("/pics/z.jpg"), {}}});
    scene.ServePicture(QStringLiteral("/pics/s.png"), {90, 90}, "png");
    // /s1 is never loaded: the user picks /s2.
    scene.ServePicture(QStringLiteral("/pics/z.jpg"), {90, 90}, "jpeg");
    const qint64 sonic = scene.AddGame(QStringLiteral("Sonic Hedgehog"), QStringLiteral("Sonic (U).zip"));
    const qint64 zelda = scene.AddGame(QStringLiteral("Zelda Link"), QStringLiteral("Zelda (U).zip"));
    ListHost host;
    host.Add(sonic, QStringLiteral("Sonic Hedgehog"), true);
    host.Add(999, QStringLiteral("Not ticked"), false);
    host.Add(zelda, QStringLiteral("Zelda Link"), true);
    host.show();

    QString caption;
    QStringList shownRows;
    bool hiddenColumns = false;
    const auto choosing = WhenChoosing(host, [&](ImageBrowser& browser, QTableWidget& grid) {
      caption = browser.windowTitle();
      for (int row = 0; row < grid.rowCount(); ++row)
        shownRows << grid.item(row, 2)->text() + QLatin1Char('|') + grid.item(row, 3)->text();
      hiddenColumns = grid.isColumnHidden(0) && grid.isColumnHidden(1) && grid.isColumnHidden(4);
      // The second match is the one wanted.
      Click(grid.viewport(), grid.visualItemRect(grid.item(1, 2)).center());
      Click(browser.findChild<QPushButton*>(QStringLiteral("cmdsel")));
    });
    RecordingFeedback feedback;
    RunImageCommand(host, scene.Catalogue().Db(), feedback, scene.Catalogue().Folder(), scene.Settings(feedback),
                    ImageCommand::SelectedGames, &host);

    QCOMPARE(caption, QStringLiteral("Sonic Hedgehog - [Images]"));
    QCOMPARE(shownRows, (QStringList{QStringLiteral(" Sonic Hedgehog|127.0.0.1"),
                                     QStringLiteral(" Sonic Hedgehog Box|127.0.0.1"), QStringLiteral("|")}));
    QVERIFY(hiddenColumns);
    QCOMPARE(host.stored, (QStringList{QStringLiteral("%1 Sonic (U).png").arg(sonic),
                                       QStringLiteral("%1 Zelda (U).jpg").arg(zelda)}));
    QCOMPARE(scene.GameImage(sonic).toString(), QStringLiteral("Sonic (U).png"));
    QVERIFY(host.ShowsPicture());
    QVERIFY(host.IsUnlocked());
    QVERIFY(feedback.questions.isEmpty());
    const QStringList statuses = feedback.StatusLines();
    QVERIFY(statuses.contains(QStringLiteral("Status: 2 matches found, select one.")));
    QVERIFY(statuses.contains(QStringLiteral("Status: Loading ") + scene.Server().Address(QStringLiteral("/s2"))));
    QCOMPARE(feedback.LastStatus(), QStringLiteral("Status: OK."));
    QTRY_VERIFY(!host.findChild<ImageBrowser*>());
  }

  void CloseKeepsThePositionToResumeFrom()
  {
    ImageSiteScene scene;
    scene.AddSite(QStringLiteral("/results"));
    scene.ServeResults(QStringLiteral("/results"), {{QStringLiteral("Game One Box"), QStringLiteral("/1")},
                                                    {QStringLiteral("Game Two Box"), QStringLiteral("/2")}});
    scene.ServeMatch(QStringLiteral("/2"), {{QStringLiteral("/pics/two.gif"), {}}});
    scene.ServePicture(QStringLiteral("/pics/two.gif"), {90, 90}, "gif");
    ListHost host;
    const qint64 one = scene.AddGame(QStringLiteral("Game One Box"), QStringLiteral("One.zip"));
    const qint64 two = scene.AddGame(QStringLiteral("Game Two Box"), QStringLiteral("Two.zip"));
    host.Add(one, QStringLiteral("Game One Box"), true);
    host.Add(two, QStringLiteral("Game Two Box"), true);

    // Each game matches both links (two words in three): Skip the first, Close at the second.
    int choices = 0;
    auto choosing = WhenChoosing(host, [&](ImageBrowser& browser, QTableWidget&) {
      const char* button = ++choices == 1 ? "cmdSkip" : "cmdclose";
      Click(browser.findChild<QPushButton*>(QString::fromLatin1(button)));
    });
    RecordingFeedback feedback;
    scene.SetSystem(QStringLiteral("DefaultImage"), QStringLiteral("none.png"));
    RunImageCommand(host, scene.Catalogue().Db(), feedback, scene.Catalogue().Folder(), scene.Settings(feedback),
                    ImageCommand::SelectedGames, &host);
    QCOMPARE(choices, 2);
    QCOMPARE(scene.GameImage(one).toString(), QStringLiteral("none.png"));
    QVERIFY(scene.GameImage(two).isNull());
    QVERIFY(host.IsUnlocked());
    QVERIFY(!feedback.StatusLines().contains(QStringLiteral("Status: OK.")));

    // The next run offers to resume at the second game, where a double click picks its match.
    feedback.Script(kResumeQuestionKey, Answer::Yes);
    choosing = WhenChoosing(host, [](ImageBrowser&, QTableWidget& grid) {
      const QRect cell = grid.visualItemRect(grid.item(0, 2));
      QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
    });
    RunImageCommand(host, scene.Catalogue().Db(), feedback, scene.Catalogue().Folder(), scene.Settings(feedback),
                    ImageCommand::SelectedGames, &host);
    QCOMPARE(feedback.questions.size(), qsizetype(1));
    QCOMPARE(feedback.StatusLines().count(QStringLiteral("Status: Searching for Game One Box")), qsizetype(1));
    QCOMPARE(scene.GameImage(two).toString(), QStringLiteral("Two.gif"));
  }

  void SiteListsSurviveExportAndImport()
  {
    ImageSiteScene scene;
    const qint64 site = scene.AddSite(QStringLiteral("/find?q="));
    scene.Ignore(site, QStringLiteral("/logo.gif"));
    ListHost host;
    RecordingFeedback feedback;
    const QString file = scene.Catalogue().Path(QStringLiteral("sites.ini"));
    QString startFolder;
    ExportSiteListCommand(host, scene.Catalogue().Db(), feedback, scene.Catalogue().Folder(), &host,
                          [&](QWidget*, const QString& folder) {
                            startFolder = folder;
                            return file;
                          });
    QCOMPARE(startFolder, scene.Catalogue().Folder().UrlFolder());
    scene.Catalogue().Exec(QStringLiteral("DELETE FROM ImageURL"));
    scene.Catalogue().Exec(QStringLiteral("DELETE FROM IgnoreList"));

    // A cancelled dialog changes nothing; then the file is read back in overwrite mode.
    feedback.Script(kOverwriteSitesQuestion, Answer::Yes);
    const auto import = [&](const QString& chosen) {
      ImportSiteListCommand(host, scene.Catalogue().Db(), feedback, scene.Catalogue().Folder(), &host,
                            [chosen](QWidget*, const QString&) { return chosen; });
    };
    import(QString());
    QVERIFY(feedback.questions.isEmpty());
    import(file);
    QCOMPARE(feedback.questions.size(), qsizetype(1));
    QCOMPARE(scene.Catalogue().Value(QStringLiteral("SELECT URL FROM ImageURL WHERE SystemID = 3")).toString(),
             scene.Server().Address(QStringLiteral("/find?q=")));
    QCOMPARE(scene.Catalogue()
                 .Value(QStringLiteral("SELECT URL FROM IgnoreList WHERE SiteURL = "
                                       "(SELECT ID FROM ImageURL WHERE SystemID = 3)"))
                 .toString(),
             scene.Server().Address(QStringLiteral("/logo.gif")));
    QVERIFY(host.IsUnlocked());
    QVERIFY(!feedback.HasError());
  }
};

QUILLON_TEST_CLASS(ImageBrowserTest)
#include "ImageBrowserTest.moc"
