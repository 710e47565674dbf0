#pragma once

#include <QPointer>
#include <QSet>
#include <QWidget>

class QLabel;
class QTextBrowser;

// The application's help viewer: a window of its own that shows the help file, first its contents,
// then the topic asked for. A missing file or an unknown topic is reported in the viewer itself.
// It stays usable while a modal dialog is open, so the help a dialog's F1 opens can be read and
// scrolled beside it.
class HelpViewer : public QWidget {
  Q_OBJECT
 public:
  explicit HelpViewer(const QString& helpFile, QWidget* parent = nullptr);

  // Opens the file at its contents; false (and reported) when the file cannot be read.
  bool ShowContents();
  // The contents, then the jump to the topic when the file holds it.
  void ShowTopic(const QString& topic);

  // The window the viewer opens beside the first time it is shown.
  void SetAnchor(QWidget* frame) { anchor_ = frame; }

  QString Report() const;
  QString CurrentAnchor() const { return currentAnchor_; }
  QTextBrowser* Browser() const { return browser_; }

 protected:
  bool event(QEvent* event) override;

 private:
  void SetReport(const QString& text);
  void PlaceBesideAnchor();
  void FollowModalDialog();
  void CollectAnchors();

  QString helpFile_;
  QTextBrowser* browser_ = nullptr;
  QLabel* report_ = nullptr;
  QSet<QString> anchors_;
  QString currentAnchor_;
  QPointer<QWidget> anchor_;
  bool placed_ = false;
};
