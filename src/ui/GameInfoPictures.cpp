// The details panel's pictures: the picture box and its arrows, the picture file's text, adding,
// choosing, deleting and previewing a game's pictures.
#include "browser/GamePictures.h"
#include "catalogue/Catalogue.h"
#include "catalogue/DataFolder.h"
#include "catalogue/GameDetails.h"
#include "catalogue/SystemSettings.h"
#include "ui/GameInfoPanel.h"
#include "ui/ImagePreviewDialog.h"
#include "ui/PictureBox.h"
#include "ui/StatusFeedback.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QStandardPaths>
#include <QToolButton>

namespace quillon::ui {

void GameInfoPanel::OnImageTextChanged(const QString& text)
{
  if (Busy())
    return;
  Write(QStringLiteral("Image"), text);
  if (text.isEmpty())
    m_picture->Clear();
  else
    ShowPicture(text);
}

void GameInfoPanel::ShowPicture(const QString& path)
{
  const QFileInfo info(path);
  if (info.isFile() && !path.endsWith(QLatin1Char('/')))
    m_picture->Load(path);
  else
    m_picture->Clear();
}

void GameInfoPanel::UpdateImage(const QString& path, const QString& caption)
{
  StatusFeedback& feedback = m_context.feedback;
  if (!caption.isEmpty())
    feedback.SetStatus(StatusKind::Text, QStringLiteral("Loading Image (") + caption + QLatin1Char(')'));
  QString full = path;
  if (IsRelativePicture(path)) {
    SystemSettings settings = m_host.CurrentSettings();
    settings.imageFolder = EnsureImageFolder(m_context.catalogue, feedback, m_context.folder, settings);
    KeepImageFolder(settings);
    full = settings.imageFolder + path;
  }
  const bool wasFilling = m_filling;
  m_filling = true;
  if (QFileInfo(full).isFile() && !full.endsWith(QLatin1Char('/'))) {
    m_image->setText(full);
    m_picture->Load(full);
  } else {
    m_image->clear();
    m_picture->Clear();
  }
  m_filling = wasFilling;
  feedback.SetStatus(StatusKind::Done, {});
}

void GameInfoPanel::PaintPicture(const QString& path)
{
  ShowPicture(path);
}

void GameInfoPanel::SetImageText(const QString& path)
{
  m_image->setText(path);
}

void GameInfoPanel::AddImageFile(const QString& path)
{
  if (m_gameId == 0)
    return;
  SystemSettings settings = m_host.CurrentSettings();
  const AddImageOutcome outcome =
      Add_Image(m_context.catalogue, m_context.feedback, settings, m_gameId, m_fileName->text(), path);
  KeepImageFolder(settings);
  if (!outcome.added)
    return;
  UpdateImage(outcome.shownPath);
  emit edited();
}

void GameInfoPanel::ShowPicturePlace()
{
  const PicturePlace place = PlaceAmongPictures(m_image->text(), ImageTypes(m_host.CurrentSettings().defaultImageType));
  m_picturePlace->setText(place.count > 0 ? tr("%1 of %2").arg(place.place).arg(place.count) : QString());
}

void GameInfoPanel::ChoosePicture()
{
  const SystemSettings& settings = m_host.CurrentSettings();
  QString start = settings.imageFolder;
  if (start.isEmpty()) {
    start = m_context.folder.TempImagesFolder();
    QDir().mkpath(start);
  }
  QStringList patterns;
  for (const QString& type : ImageTypes(settings.defaultImageType))
    patterns << QStringLiteral("*.") + type;
  const QString filter = QStringLiteral("Rom Image (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
  const QString chosen = QFileDialog::getOpenFileName(this, QStringLiteral("Select Rom Image"), start, filter);
  if (!chosen.isEmpty())
    AddImageFile(chosen);
}

void GameInfoPanel::StepPicture(int step)
{
  const QString next = NavigatePicture(m_image->text(), step, ImageTypes(m_host.CurrentSettings().defaultImageType));
  if (!next.isEmpty())
    m_image->setText(next);
}

void GameInfoPanel::DeleteShownPicture()
{
  const QString shown = m_image->text();
  if (shown.isEmpty() || !QFileInfo(shown).isFile())
    return;
  m_picture->Clear();
  const QString next = DeletePicture(shown, ImageTypes(m_host.CurrentSettings().defaultImageType));
  m_image->setText(next);
  // The same name may now stand for the next picture: show it again.
  if (!next.isEmpty())
    ShowPicture(next);
  ShowPicturePlace();
}

void GameInfoPanel::PreviewPicture()
{
  if (m_image->text().isEmpty())
    return;
  ImagePreviewDialog preview(m_image->text(), m_picture->size(), this);
  preview.exec();
}

}  // namespace quillon::ui
