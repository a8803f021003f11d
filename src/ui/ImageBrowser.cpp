#include "ui/ImageBrowser.h"

#include "ui/ImageSearchHost.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace quillon::ui {

namespace {

// The grid's columns: address, score, link text, domain, site.
enum GridColumn { kAddressColumn = 0, kScoreColumn, kTextColumn, kDomainColumn, kSiteColumn, kColumnCount };

QString CellText(const MatchRow& row, int column)
{
  switch (column) {
    case kAddressColumn:
      return row.address;
    case kScoreColumn:
      return row.score;
    case kTextColumn:
      return row.text;
    case kDomainColumn:
      return row.domain;
    default:
      return row.siteId;
  }
}

}  // namespace

ImageBrowser::ImageBrowser(ImageSearchHost& host, Catalogue& catalogue, Feedback& feedback,
                           const DataFolder& dataFolder, const SystemSettings& settings, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_host(host),
      m_search(std::make_unique<ImageSearch>(catalogue, feedback, dataFolder, settings, *this)),
      m_openAddress([](const QUrl& address) { QDesktopServices::openUrl(address); })
{
  setObjectName(QStringLiteral("frmBrowser"));
  setWindowTitle(tr("Images"));
  resize(560, 340);
  BuildControls();
}

ImageBrowser::~ImageBrowser() = default;

void ImageBrowser::BuildControls()
{
  auto* layout = new QVBoxLayout(this);
  auto* labels = new QHBoxLayout;
  auto* gameLabel = new QLabel(QStringLiteral("Game"), this);
  gameLabel->setObjectName(QStringLiteral("Label1"));
  auto* providerLabel = new QLabel(QStringLiteral("Provided by:"), this);
  providerLabel->setObjectName(QStringLiteral("Label2"));
  labels->addWidget(gameLabel, 1);
  labels->addWidget(providerLabel, 1);
  layout->addLayout(labels);

  m_grid = new QTableWidget(1, kColumnCount, this);
  m_grid->setObjectName(QStringLiteral("imggrid"));
  m_grid->horizontalHeader()->hide();
  m_grid->verticalHeader()->hide();
  m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
  // Address, score and site are kept out of sight; text and domain share the width.
  for (const int column : {kAddressColumn, kScoreColumn, kSiteColumn})
    m_grid->setColumnHidden(column, true);
  m_grid->horizontalHeader()->setSectionResizeMode(kTextColumn, QHeaderView::Stretch);
  m_grid->horizontalHeader()->setSectionResizeMode(kDomainColumn, QHeaderView::Stretch);
  connect(m_grid, &QTableWidget::currentCellChanged, this, [this](int row) { m_search->SetSelectedRow(row); });
  connect(m_grid, &QTableWidget::cellClicked, this, [this](int row) { OnGridClicked(row); });
  connect(m_grid, &QTableWidget::cellDoubleClicked, this, [this](int row) { OnGridDoubleClicked(row); });
  layout->addWidget(m_grid, 1);

  auto* buttons = new QHBoxLayout;
  m_selectButton = AddButton(QStringLiteral("cmdsel"), tr("&Select"));
  m_viewButton = AddButton(QStringLiteral("cmdview"), tr("&View"));
  m_skipButton = AddButton(QStringLiteral("cmdSkip"), tr("S&kip"));
  m_closeButton = AddButton(QStringLiteral("cmdclose"), tr("&Close"));
  buttons->addWidget(m_selectButton);
  buttons->addWidget(m_viewButton);
  buttons->addStretch(1);
  buttons->addWidget(m_skipButton);
  buttons->addWidget(m_closeButton);
  layout->addLayout(buttons);
  m_selectButton->setEnabled(false);
  m_viewButton->setEnabled(false);

  connect(m_selectButton, &QPushButton::clicked, this, [this] { m_search->Select(); });
  connect(m_viewButton, &QPushButton::clicked, this, &ImageBrowser::OnView);
  connect(m_skipButton, &QPushButton::clicked, this, [this] { m_search->Skip(); });
  connect(m_closeButton, &QPushButton::clicked, this, &ImageBrowser::OnClose);
}

QPushButton* ImageBrowser::AddButton(const QString& objectName, const QString& caption)
{
  auto* button = new QPushButton(caption, this);
  button->setObjectName(objectName);
  button->setAutoDefault(false);
  return button;
}

BatchOutcome ImageBrowser::Run(ImageCommand command, bool resumeBatch)
{
  m_batchEnded = false;
  show();
  raise();
  activateWindow();
  const BatchOutcome outcome = m_search->Run(command, resumeBatch);
  m_batchEnded = true;
  close();
  return outcome;
}

void ImageBrowser::closeEvent(QCloseEvent* event)
{
  // Closed by the window manager while searching: every wait ends and the batch stops.
  if (!m_batchEnded && m_search->IsRunning())
    m_search->Abort();
  event->accept();
}

void ImageBrowser::OnGridClicked(int row)
{
  const QTableWidgetItem* score = m_grid->item(row, kScoreColumn);
  if (score && !score->text().isEmpty())
    SetSelectEnabled(true);
}

void ImageBrowser::OnGridDoubleClicked(int row)
{
  m_search->SetSelectedRow(row);
  m_search->Select();
}

void ImageBrowser::OnView()
{
  const QTableWidgetItem* address = m_grid->item(m_grid->currentRow(), kAddressColumn);
  if (address && !address->text().isEmpty())
    m_openAddress(QUrl(address->text()));
}

void ImageBrowser::OnClose()
{
  m_search->Close();
  m_batchEnded = true;
  close();
}

int ImageBrowser::ListCount()
{
  return m_host.GameRowCount();
}

ListedGame ImageBrowser::ListedGameAt(int position)
{
  const ImageSearchListRow row = m_host.GameRowAt(position - 1);
  return {row.gameId, row.text, row.checked};
}

int ImageBrowser::SelectedPosition()
{
  return std::max(0, m_host.SelectedGameRow() + 1);
}

void ImageBrowser::SelectPosition(int position)
{
  m_host.SelectGameRow(position - 1);
}

void ImageBrowser::ShowGame(qint64 gameId)
{
  m_host.ShowGameDetails(gameId);
}

void ImageBrowser::LockControls(bool lock)
{
  m_host.LockControls(lock, QString());
}

void ImageBrowser::ShowCaption(const QString& caption)
{
  setWindowTitle(caption);
}

void ImageBrowser::ShowGrid(const MatchGrid& grid, int selectedRow)
{
  const QSignalBlocker blocker(m_grid);
  m_grid->clearContents();
  m_grid->setRowCount(grid.RowCount());
  for (int row = 0; row < grid.RowCount(); ++row) {
    for (int column = 0; column < kColumnCount; ++column)
      m_grid->setItem(row, column, new QTableWidgetItem(CellText(grid.Row(row), column)));
  }
  m_grid->setCurrentCell(selectedRow, kTextColumn);
  m_grid->selectRow(selectedRow);
}

void ImageBrowser::SetGridEnabled(bool enabled)
{
  m_grid->setEnabled(enabled);
}

void ImageBrowser::SetSelectEnabled(bool enabled)
{
  m_selectButton->setEnabled(enabled);
  m_viewButton->setEnabled(enabled);
}

void ImageBrowser::SetSkipEnabled(bool enabled)
{
  m_skipButton->setEnabled(enabled);
}

void ImageBrowser::ShowPicture(const QString& path)
{
  m_host.ShowPicture(path);
}

void ImageBrowser::PictureStored(qint64 gameId, const QString& path)
{
  m_host.GamePictureStored(gameId, path);
}

void ImageBrowser::ImageFolderStored(const QString& folder)
{
  m_host.ImageFolderStored(folder);
}

}  // namespace quillon::ui
