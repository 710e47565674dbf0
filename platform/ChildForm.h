#pragma once

#include <QMdiSubWindow>

class QMdiArea;
class QMenuBar;

// Base of the frame's child windows (project editor, graph, value table). A child is the sub-window
// itself, so its caption, outer size, object name and close handling are the sub-window's; it frees
// itself when closed. Its own menu bar replaces the frame's while it is active. The frame tells the
// kind of a child by objectName() only, and reaches a child's documented commands (SpeichernClick,
// Graphenspeichernunter1Click, ...) as Qt slots by name.
class ChildForm : public QMdiSubWindow {
  Q_OBJECT
 public:
  // Adds the window to the frame's area under the first free name of its kind: baseName, then
  // baseName + "_1", "_2", ...
  ChildForm(QMdiArea* area, const QString& baseName);

  virtual QMenuBar* MainMenu1() const = 0;

  static QString FreeName(const QMdiArea* area, const QString& baseName);

 private:
  void KeepCloseKeyToItself();
};
