#pragma once

#include <QMdiArea>
#include <QPrinter>
#include <memory>

#include "engine/QelParser.h"
#include "platform/FrameCommands.h"
#include "tests/support/ScriptedPrompts.h"

// The frame as the value table windows see it: an area for the children, the shared engine set up
// as the application's, the shared fields and scripted questions. Frame commands only count their
// calls.
class FakeFrame : public FrameCommands {
 public:
  FakeFrame() {
    Parser.SetConvertAllColonsAndDots(true);
    Area.resize(1000, 800);
    Area.show();
  }

  void FileNew1Execute() override { ++Calls; }
  void FileOpen1Execute() override { ++Calls; }
  void Druckereinstellungen1Click() override { ++Calls; }
  void FileExit1Execute() override { ++Calls; }
  void WindowCascadeItemClick() override { ++Calls; }
  void WindowTileItemClick() override { ++Calls; }
  void WindowTileItem2Click() override { ++Calls; }
  void WindowMinimizeItemClick() override { ++Calls; }
  void WindowArrangeItemClick() override { ++Calls; }
  void Index1Click() override { ++Calls; }
  void Lizenzvertrag1Click() override { ++Calls; }
  void ZurQelWebseite1Click() override { ++Calls; }
  void HelpAbout1Execute() override { ++Calls; }

  TQelParser& QelParser1() override { return Parser; }
  FrameFields& Fields() override { return FieldValues; }
  Prompts& prompts() override { return Questions; }
  QMdiArea* MdiArea() override { return &Area; }
  QPrinter& Printer() override {
    if (!printer_) printer_ = std::make_unique<QPrinter>();
    return *printer_;
  }

  TQelParser Parser;
  FrameFields FieldValues;
  ScriptedPrompts Questions;
  QMdiArea Area;
  int Calls = 0;

 private:
  std::unique_ptr<QPrinter> printer_;
};
