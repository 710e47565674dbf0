#pragma once

#include <QString>

class Prompts;
class QMdiArea;
class QMenu;
class QPrinter;
class TMDIChild;
class TQelParser;

// Fields through which the windows pass results to each other; the frame holds them. Each cancel
// flag has one owner that writes it:
//  - GenerationCancelled: the progress dialog (TForm3) sets it when the user stops or the dialog
//    closes, and the drawing loop reads it at every check point; the project editor clears it when
//    it asks for a new graph.
//  - SaveCancelled, PrintCancelled: the output options dialog (TForm2), inside AskJpegQuality()
//    and AskPrintSize(); callers use those calls' answers rather than the flags.
struct FrameFields {
  bool GenerationCancelled = false;
  bool SaveCancelled = false;
  bool PrintCancelled = false;
  int JpegQuality = 60;
  int PrintWidth = 0;
  int PrintHeight = 0;
};

// What the child windows may ask of the frame window: its shared commands (menu items of the child
// windows forward to these), the shared engine, the shared fields and the question interface.
class FrameCommands {
 public:
  virtual ~FrameCommands() = default;

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

  virtual TQelParser& QelParser1() = 0;
  virtual FrameFields& Fields() = 0;
  virtual Prompts& prompts() = 0;
  virtual QMdiArea* MdiArea() = 0;
  virtual QPrinter& Printer() = 0;

  // The hand-over of a project editor's "Graphen erstellen" and "Wertetabelle anzeigen" once the
  // editor has checked its settings: the frame runs the progress dialog and the value-table options
  // dialog on that editor. TMainForm overrides both; a frame without those dialogs (a test's) does
  // nothing.
  virtual void GenerateGraph(TMDIChild&) {}

  // A passing line in the frame's status bar (the coordinates under the pointer); an empty text
  // gives the bar back its usual contents. A frame without a status bar ignores it.
  virtual void ShowStatusText(const QString&) {}
  // Fills the "Zuletzt geöffnet" submenu of any window's "Datei" menu as it opens.
  virtual void FillRecentProjects(QMenu&) {}
  virtual void ShowValueTableDialog(TMDIChild&) {}
};
