#pragma once
// delgame ("Delete Game"): how the current or the ticked games go: hidden from the list, removed
// from the catalogue, or removed with their ROM files.
#include "scan/GameDeletion.h"

#include <QDialog>

class QRadioButton;

namespace quillon::ui {

class DeleteGameDialog : public QDialog {
  Q_OBJECT

 public:
  // `count` says how many games the choice is for.
  DeleteGameDialog(int count, QWidget* parent = nullptr);
  DeleteMode Mode() const { return m_mode; }

 private:
  DeleteMode m_mode = DeleteMode::ListOnly;
};

}  // namespace quillon::ui
