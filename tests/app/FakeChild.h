#pragma once

#include <QMdiArea>
#include <QStringList>

#include "ui/platform/Prompts.h"
#include "ui/shell/ChildContext.h"
#include "ui/shell/ChildForm.h"
#include "ui/shell/StandardMenus.h"

// A child window of any kind for the frame's tests: it records the commands the frame forwards to
// it and, while Modified, asks the unsaved-changes question when it is closed.
class FakeChild : public ChildForm {
  Q_OBJECT
 public:
  FakeChild(const ChildContext& context, const QString& baseName, const QString& caption,
            QStringList& calls, const QString& helpTopic = "Funktionsgraphenerstellen")
      : ChildForm(context.Area, baseName), questions_(context.Questions), calls_(calls) {
    setWindowTitle(caption);
    menus_ =
        StandardMenus::ForChild(*this, context,
                                {.ContextHelpTopic = helpTopic,
                                 .Own = {{MenuItem::Speichern, [this] { SpeichernClick(); }}}});
  }

  bool Modified = false;
  QMenuBar* MainMenu1() const override { return menus_.Bar; }
  const StandardMenus& Menus() const { return menus_; }

 public slots:
  void SpeichernClick() override { calls_ << objectName() + ".SpeichernClick"; }
  void Funktionsgrapherstellen1Click() override {
    calls_ << objectName() + ".Funktionsgrapherstellen1Click";
  }
  void Wertetabelleanzeigen1Click() override {
    calls_ << objectName() + ".Wertetabelleanzeigen1Click";
  }
  void Graphenspeichernunter1Click() override {
    calls_ << objectName() + ".Graphenspeichernunter1Click";
  }
  void Graphendrucken1Click() override { calls_ << objectName() + ".Graphendrucken1Click"; }
  void Wertetabellespeichernunter1Click() override {
    calls_ << objectName() + ".Wertetabellespeichernunter1Click";
  }

 protected:
  bool AskToClose() override {
    return !Modified ||
           questions_.Message(this, "Projekt geändert", "Möchten Sie die Änderungen speichern?",
                              {PromptButton::Yes, PromptButton::No, PromptButton::Cancel},
                              PromptIcon::Question) != PromptButton::Cancel;
  }

 private:
  Prompts& questions_;
  QStringList& calls_;
  StandardMenus menus_;
};
