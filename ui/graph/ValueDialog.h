#pragma once

#include <QDialog>

class TQelParser;
class QLineEdit;
class QTreeWidget;
struct ProjectDocument;

// "Wert berechnen": x typed as the user writes numbers, f(x) of every function of the project as
// the engine gives it, or the engine's message where it has no value.
class TValueDialog : public QDialog {
  Q_OBJECT
 public:
  TValueDialog(TQelParser& engine, const ProjectDocument& project, QWidget* parent);

  QLineEdit* Edit1;
  QTreeWidget* ListView1;

 public slots:
  void BerechnenClick();

 private:
  TQelParser& engine_;
  const ProjectDocument& project_;
};
