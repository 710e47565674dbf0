#pragma once

#include <QMdiSubWindow>

class QMenuBar;

// Base of the frame's child windows (project editor, graph, value table). A child is the sub-window
// itself, so its caption, size, object name and close handling are the sub-window's. Its own menu
// bar replaces the frame's while it is active. The kind of a child is told by objectName() only.
class ChildForm : public QMdiSubWindow {
  Q_OBJECT
 public:
  using QMdiSubWindow::QMdiSubWindow;
  virtual QMenuBar* MainMenu1() const = 0;
};
