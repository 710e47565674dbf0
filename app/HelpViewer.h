#pragma once

#include <QSet>
#include <QWidget>

class QLabel;
class QTextBrowser;

// The application's help viewer: a window of its own that shows the help file, first its contents,
// then the topic asked for. A missing file or an unknown topic is reported in the viewer itself.
class HelpViewer : public QWidget {
  Q_OBJECT
 public:
  explicit HelpViewer(const QString& helpFile, QWidget* parent = nullptr);

  // Opens the file at its contents; false (and reported) when the file cannot be read.
  bool ShowContents();
  // The contents, then the jump to the topic when the file holds it.
  void ShowTopic(const QString& topic);

  QString Report() const;
  QString CurrentAnchor() const { return currentAnchor_; }
  QTextBrowser* Browser() const { return browser_; }

 private:
  void SetReport(const QString& text);
  void CollectAnchors();

  QString helpFile_;
  QTextBrowser* browser_ = nullptr;
  QLabel* report_ = nullptr;
  QSet<QString> anchors_;
  QString currentAnchor_;
};
