// The main window's menus, as one table.
#include "identify/Verification.h"
#include "ui/FrontendExportDialog.h"
#include "ui/GameListPane.h"
#include "ui/MainWindow.h"
#include "ui/MameImportCommand.h"
#include "ui/MatchStatusMarks.h"
#include "ui/MenuTable.h"
#include "ui/SiteListDialogs.h"

#include <QMenuBar>

namespace quillon::ui {

namespace {

// The image commands, in the Download submenu of the list's menu and in Scan > Images.
QList<MenuLine> ImageCommandLines(const QStringList& names, const std::function<void(ImageCommand)>& start)
{
  const QString captions[] = {QObject::tr("&Current Game"), QObject::tr("&Selected Games"),
                              QObject::tr("Selected Games &w/o Images")};
  const ImageCommand commands[] = {ImageCommand::CurrentGame, ImageCommand::SelectedGames,
                                   ImageCommand::SelectedGamesWithoutImages};
  QList<MenuLine> lines;
  for (int i = 0; i < 3; ++i) {
    const ImageCommand command = commands[i];
    lines << Item(names[i], captions[i], {}, [start, command] { start(command); });
  }
  return lines;
}

// View > Verification: all games, or the games of one identification result.
QList<MenuLine> MatchFilterLines(const std::function<void(std::optional<int>)>& choose)
{
  const std::pair<const char*, std::optional<MatchStatus>> choices[] = {{"All Games", std::nullopt},
                                                                        {"Verified", MatchStatus::Verified},
                                                                        {"Rename Needed", MatchStatus::Rename},
                                                                        {"Bad Dumps", MatchStatus::BadDump},
                                                                        {"Not in List", MatchStatus::NotInList},
                                                                        {"Ambiguous", MatchStatus::Ambiguous},
                                                                        {"Not Verified", MatchStatus::Unchecked}};
  QList<MenuLine> lines;
  for (const auto& [caption, status] : choices) {
    const QString name = QStringLiteral("VerifyFilter") + QString::fromLatin1(caption).remove(QLatin1Char(' '));
    const std::optional<int> filter = status ? std::optional<int>(static_cast<int>(*status)) : std::nullopt;
    MenuLine line = Item(name, QObject::tr(caption), {}, [choose, filter] { choose(filter); }).Exclusive(!status);
    lines << (status ? line.WithIcon(MatchStatusIcon(static_cast<int>(*status))) : line);
  }
  return lines;
}

}  // namespace

void MainWindow::BuildMenus()
{
  const auto images = [this](ImageCommand command) { StartImageSearch(command); };
  const auto identify = [this](void (*command)(IdentifyContext&)) {
    return [this, command] {
      IdentifyContext context = IdentifyFor();
      command(context);
    };
  };
  const auto frontend = [this](FrontendFormat format) {
    return Item(FrontendActionName(format), FrontendActionCaption(format), {}, [this, format] {
      RunFrontendExport(format,
                        {&Context().catalogue, m_feedback.get(), CurrentSystemID(),
                         [this](bool lock) { LockControls(lock, QString()); }},
                        this);
    });
  };
  const auto key = [](Qt::Key letter) { return QKeySequence(Qt::CTRL | letter); };

  QList<MenuLine> lines{
      Submenu(tr("&File"), QStringLiteral("FileMenu")),
      Submenu(tr("&Export")),
      Item(QStringLiteral("ExportSiteURLs"), tr("Image &Site URLs"), key(Qt::Key_U),
           [this] { ExportSiteListCommand(*this, Context().catalogue, *m_feedback, Context().folder, this); }),
      Separator(),
      frontend(FrontendFormat::Esde),
      frontend(FrontendFormat::Pegasus),
      frontend(FrontendFormat::RetroArch),
      End(),
      Submenu(tr("&Import")),
      Item(QStringLiteral("ImportSiteURLs"), tr("&Image Site URLs"), key(Qt::Key_I),
           [this] { ImportSiteListCommand(*this, Context().catalogue, *m_feedback, Context().folder, this); }),
      Item(QStringLiteral("ImportMame"), tr("&Mame Game List"), key(Qt::Key_L),
           [this] { RunMameImportCommand(Context(), *this, this); }),
      Item(QStringLiteral("ImportDat"), tr("&Reference Lists (DAT)..."), {}, identify(RunReferenceListsCommand)),
      End(),
      Separator(),
      Item(QStringLiteral("SaveAsMy"), tr("Save as .&My"), key(Qt::Key_S),
           [this] { RunSaveAsMyCommand(ExportContextNow(), this); })
          .Disabled(),
      Item(QStringLiteral("exporth2menu"), tr("&Save to Meedio"), {},
           [this] { RunSaveToMeedioCommand(ExportContextNow(), this); })
          .Disabled(),
      Separator(),
      Item(QStringLiteral("Settings"), tr("S&ettings"), key(Qt::Key_E), [this] { OpenSystemOptions(); }),
      Separator(),
      Item(QStringLiteral("ExitMenu"), tr("&Exit"), key(Qt::Key_X), [this] { close(); }),
      End(),

      Submenu(tr("&Edit"), QStringLiteral("EditMenu")),
      // Shown only in the list's menu, like Download.
      Item(QStringLiteral("PlayGame"), tr("&Play"), {}, [this] { PlayRow(m_listPane->CurrentRow()); }).Hidden(),
      Separator(QStringLiteral("PlaySeparator")).Hidden(),
      Item(QStringLiteral("AddGame"), tr("&Add Game"), key(Qt::Key_Insert),
           [this] { AddGamesCommand(Context(), *this, m_settings.systemId, this); }),
      Item(QStringLiteral("DeleteGame"), tr("&Delete Game"), key(Qt::Key_D), [this] { DeleteGames(false); }).Disabled(),
      Item(QStringLiteral("Del_Sel"), tr("Delete &Selected"), key(Qt::Key_T), [this] { DeleteGames(true); }).Disabled(),
      Item(QStringLiteral("DetailEditor"), tr("&Detail Editor"), key(Qt::Key_G),
           [this] { RunDetailEditor(Context(), *this, this); }),
      Separator(QStringLiteral("DownloadSeparator")).Hidden(),
      Submenu(tr("&Download"), {}, QStringLiteral("DownloadMenu")).Hidden(),
      Submenu(tr("&Images")),
  };
  lines << ImageCommandLines({"DownloadCurrent", "DownloadSelected", "DownloadWithoutImages"}, images);
  lines << End() << End() << End();

  lines << Submenu(tr("S&can"), QStringLiteral("ScanMenu"))
        << Submenu(tr("&Images"), {}, QStringLiteral("ImageS")).Disabled();
  lines << ImageCommandLines({"ImagesCurrent", "ImagesSelected", "ImagesWithoutImages"}, images);
  lines
      << End() << Submenu(tr("&Roms"), QStringLiteral("RomsMenu"))
      << Item(QStringLiteral("RomScanMenu"), tr("&Rom Scan"), key(Qt::Key_R), [this] { OpenScanner(true); }).Disabled()
      << Item(QStringLiteral("GoodRomScan"), tr("&Rom Scan w/GoodTools"), key(Qt::Key_W),
              [this] { OpenScanner(false); })
             .Disabled()
      << Separator()
      << Item(QStringLiteral("VerifyRoms"), tr("&Verify Roms"), {}, identify(RunVerifyCommand)).Disabled()
      << Item(QStringLiteral("RenameRoms"), tr("Re&name to Standard Names"), {}, identify(RunRenameCommand)).Disabled()
      << End() << End();

  lines << Submenu(tr("&View"), QStringLiteral("ViewMenu"))
        << Item(QStringLiteral("ViewAvailable"), tr("&Available"), key(Qt::Key_A),
                [this] { OnViewChosen(GameView::Available); })
        << Item(QStringLiteral("ViewMissing"), tr("&Missing"), key(Qt::Key_M),
                [this] { OnViewChosen(GameView::Missing); })
        << Separator()
        << Item(QStringLiteral("ClonesOnly"), tr("Clones Only"), key(Qt::Key_O), [this] { OnCloneMarkToggled(false); })
               .Disabled()
               .Checkable()
        << Item(QStringLiteral("Clones"), tr("Include Clones"), key(Qt::Key_C), [this] { OnCloneMarkToggled(true); })
               .Disabled()
               .Checkable()
        << Separator() << Submenu(tr("&Verification"), {}, QStringLiteral("VerifyFilterMenu"));
  lines << MatchFilterLines([this](std::optional<int> status) { SetMatchFilter(status); });
  lines << End() << Separator()
        << Item(QStringLiteral("ViewPictures"), tr("&Pictures"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P),
                [this] { m_listPane->ShowPictures(Action(QStringLiteral("ViewPictures"))->isChecked()); })
               .Checkable()
        << Item(QStringLiteral("OnlySystemsWithGames"), tr("Only Systems With &Games"), {},
                [this] { ShowOnlySystemsWithGames(Action(QStringLiteral("OnlySystemsWithGames"))->isChecked()); })
               .Checkable()
        << End();

  lines << Submenu(tr("&Help"), QStringLiteral("HelpMenu"))
        << Item(QStringLiteral("HelpContents"), tr("&Help"), QKeySequence(Qt::Key_F1), [this] { ShowHelp(); })
        << Separator()
        << Item(QStringLiteral("AboutMenu"), tr("A&bout Quillon"), key(Qt::Key_B), [this] { ShowAbout(); }) << End();

  AddMenuLines(menuBar(), lines);
  m_editMenu = menuBar()->findChild<QMenu*>(QStringLiteral("EditMenu"));
}

}  // namespace quillon::ui
