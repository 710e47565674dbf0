#pragma once

#include <QMdiSubWindow>
#include <functional>

class QMdiArea;
class QMenuBar;

// Base of the frame's child windows (project editor, graph, value table). A child is the sub-window
// itself, so its caption, outer size, object name and close handling are the sub-window's; it frees
// itself when closed. Its own menu bar replaces the frame's while it is active. The frame tells the
// kind of a child by objectName() only (see app/ChildKind.h) and forwards its tool-bar commands to
// the active child of the button's kind through the virtual commands below; a kind answers those
// its menus name and leaves the others doing nothing.
class ChildForm : public QMdiSubWindow {
  Q_OBJECT
 public:
  // Adds the window to the frame's area under the first free name of its kind: baseName, then
  // baseName + "_1", "_2", ...
  ChildForm(QMdiArea* area, const QString& baseName);

  virtual QMenuBar* MainMenu1() const = 0;

  // The tool bar's document commands, named after the menu items they stand for.
  virtual void SpeichernClick() {}                    // project editor: "Speichern"
  virtual void Funktionsgrapherstellen1Click() {}     // project editor: "Graphen erstellen"
  virtual void Wertetabelleanzeigen1Click() {}        // project editor: "Wertetabelle anzeigen"
  virtual void Graphenspeichernunter1Click() {}       // graph: "Graphen speichern unter"
  virtual void Graphendrucken1Click() {}              // graph: "Graphen drucken"
  virtual void Wertetabellespeichernunter1Click() {}  // value table: "Wertetabelle speichern unter"

  static QString FreeName(const QMdiArea* area, const QString& baseName);

  // A window its maker has placed keeps that place; the frame cascades only the others.
  void KeepPlace() { placed_ = true; }
  bool Placed() const { return placed_; }

  // Asks whether the window may close, without closing it: a modified project asks its question
  // and saves at once on "Ja". An agreement holds for the next close, which then asks nothing;
  // ForgetAgreement() withdraws it when the close it was given for does not happen.
  bool MayClose();
  void ForgetAgreement() { agreed_ = false; }

  // Asks every child of the area in turn and closes them only when all agree; after a refusal
  // every child stays as it was.
  static bool CloseAll(QMdiArea& area);

  // Closes every child of the area but the active one whose caption is the title. Pending input
  // runs before each look, and the list is read again each time: a child that closes leaves it, so
  // the same position is looked at again; one that refuses stays and is passed over. Answers false,
  // leaving the rest open, as soon as stop() answers true before a look.
  static bool CloseOlder(QMdiArea& area, const QString& title,
                         const std::function<bool()>& stop = {});

 signals:
  // A passing line for the frame's status bar (the coordinates under the pointer); an empty text
  // gives the bar back its usual contents.
  void StatusText(const QString& text);

 protected:
  // The question a window asks before it closes; true lets it close.
  virtual bool AskToClose() { return true; }
  void closeEvent(QCloseEvent* event) override;

 private:
  void KeepCloseKeyToItself();

  bool agreed_ = false;
  bool placed_ = false;
};
