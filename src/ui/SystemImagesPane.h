#pragma once
// frmImg, the Images tab of the options: where the system's pictures go and which types they are,
// its default picture, the sites the image search asks with the pictures each must pass over, and
// the search's limits.
#include "ui/SystemSettingsPane.h"

class QListWidget;

namespace quillon::ui {

class SystemImagesPane : public SystemSettingsPane {
  Q_OBJECT

 public:
  SystemImagesPane(UiContext context, QWidget* parent);

  void ShowSystem(qint64 systemId, const Rows& record) override;

 private:
  QLayout* BuildPictureFolder();
  QWidget* BuildSiteList();
  QWidget* BuildIgnoreList();
  QLayout* BuildSearchLimits();
  void ChooseImageFolder();
  QString DefaultImageFilter() const;
  void UpdateImageURLList(qint64 selectId = 0);
  void OnSiteSelectionChanged();
  void UpdateIgnoreList();
  void AddSite();
  void RemoveSite();
  void AddIgnore();
  void RemoveIgnore();
  qint64 SelectedSiteId() const;
  QString AskUrl(const QString& title);

  QListWidget* m_sites = nullptr;
  QPushButton* m_removeSite = nullptr;
  QListWidget* m_ignore = nullptr;
  QPushButton* m_addIgnore = nullptr;
  QPushButton* m_removeIgnore = nullptr;
};

}  // namespace quillon::ui
