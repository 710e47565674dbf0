#pragma once

#include <QDialog>

class Prompts;
class QLabel;
class QPushButton;

// The about box: created once at start-up, shown modally by every about command.
class TAboutBox : public QDialog {
  Q_OBJECT
 public:
  TAboutBox(Prompts& prompts, QWidget* parent);

  QLabel* Label3 = nullptr;
  QLabel* Comments = nullptr;
  QPushButton* OKButton = nullptr;

 public slots:
  void CommentsClick();
  void OKButtonClick();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLabel* AddText(const QString& text, int left, int top, bool bold = false);
  void AddPicture(QWidget* parent, const QString& name, const QRect& place);

  Prompts& prompts_;
};
