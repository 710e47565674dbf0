#pragma once

class QMenu;

// The frame's commands that the shared items of every child's menu forward to; only the menus
// (StandardMenus) call them.
class MenuCommands {
 public:
  virtual ~MenuCommands() = default;

  virtual void FileNew1Execute() = 0;
  virtual void FileOpen1Execute() = 0;
  virtual void Druckereinstellungen1Click() = 0;
  virtual void FileExit1Execute() = 0;

  virtual void WindowCascadeItemClick() = 0;
  virtual void WindowTileItemClick() = 0;   // one above the other
  virtual void WindowTileItem2Click() = 0;  // side by side
  virtual void WindowMinimizeItemClick() = 0;
  virtual void WindowArrangeItemClick() = 0;

  virtual void Index1Click() = 0;
  virtual void Lizenzvertrag1Click() = 0;
  virtual void ZurQelWebseite1Click() = 0;
  virtual void HelpAbout1Execute() = 0;

  // Fills the "Zuletzt geöffnet" submenu of any window's "Datei" menu as it opens.
  virtual void FillRecentProjects(QMenu&) {}
};
