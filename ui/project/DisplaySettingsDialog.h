#pragma once

#include <QDialog>
#include <functional>

#include "project/ProjectDocument.h"

class Prompts;
class QAction;
class QCheckBox;
class QMenu;
class QPushButton;

// "Darstellung": the switches that make a project's graph readable (numbers on the axes, a legend,
// smooth curves, exact curves at any zoom). Shown modally for one project at a time; OK hands the
// switches back, Abbrechen, Esc and the title bar's close button leave the project as it was.
class TDisplaySettings : public QDialog {
  Q_OBJECT
 public:
  TDisplaySettings(Prompts& prompts, QWidget* parent);

  // Shows the switches of `settings`; after OK writes them back and tells whether any changed.
  bool Edit(ProjectSettings& settings);

  QCheckBox *AxisNumbersBox, *LegendBox, *SmoothBox, *ExactBox;
  QPushButton *OkButton, *CancelButton, *HelpButton;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Prompts& prompts_;
};

// Adds the item "Da&rstellung..." to `menu` before `before`: it shows the dialog for `settings`
// over `owner` and calls `changed` when the user has changed a switch.
QAction* AddDisplaySettingsItem(QMenu& menu, QAction* before, QWidget& owner, Prompts& prompts,
                                ProjectSettings& settings, std::function<void()> changed);
