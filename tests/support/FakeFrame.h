#pragma once

#include <QMdiArea>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <functional>
#include <string>
#include <vector>

#include "engine/QelParser.h"
#include "tests/support/ScriptedPrompts.h"
#include "ui/shell/ChildContext.h"
#include "ui/shell/FrameFields.h"
#include "ui/shell/MenuCommands.h"

// A frame for the child windows' tests: a visible child area, the shared fields, the scripted
// questions and a printer that writes PDF pages of a known pixel size. Menu commands are recorded.
class FakeFrame : public MenuCommands {
 public:
  FakeFrame() {
    Parser.SetConvertAllColonsAndDots(true);
    Area.resize(1400, 1000);
    Area.show();
    UsePdfPage(QStringLiteral("page.pdf"), 480, 660);
  }

  // A page of width x height printer pixels at 72 per inch, no margins.
  void UsePdfPage(const QString& path, int width, int height) {
    PrinterDevice.setOutputFormat(QPrinter::PdfFormat);
    PrinterDevice.setOutputFileName(path);
    PrinterDevice.setResolution(72);
    PrinterDevice.setPageSize(QPageSize(QSizeF(width, height), QPageSize::Point));
    PrinterDevice.setPageOrientation(QPageLayout::Portrait);
    PrinterDevice.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
  }

  void FileNew1Execute() override { Calls.push_back("FileNew1Execute"); }
  void FileOpen1Execute() override { Calls.push_back("FileOpen1Execute"); }
  void Druckereinstellungen1Click() override {
    Calls.push_back("Druckereinstellungen1Click");
    if (OnPrinterSetup) OnPrinterSetup();
  }
  void FileExit1Execute() override { Calls.push_back("FileExit1Execute"); }
  void WindowCascadeItemClick() override { Calls.push_back("WindowCascadeItemClick"); }
  void WindowTileItemClick() override { Calls.push_back("WindowTileItemClick"); }
  void WindowTileItem2Click() override { Calls.push_back("WindowTileItem2Click"); }
  void WindowMinimizeItemClick() override { Calls.push_back("WindowMinimizeItemClick"); }
  void WindowArrangeItemClick() override { Calls.push_back("WindowArrangeItemClick"); }
  void Index1Click() override { Calls.push_back("Index1Click"); }
  void Lizenzvertrag1Click() override { Calls.push_back("Lizenzvertrag1Click"); }
  void ZurQelWebseite1Click() override { Calls.push_back("ZurQelWebseite1Click"); }
  void HelpAbout1Execute() override { Calls.push_back("HelpAbout1Execute"); }

  ChildContext Context() { return {*this, &Area, Questions}; }

  ScriptedPrompts Questions;
  FrameFields Shared;
  TQelParser Parser;
  QMdiArea Area;
  QPrinter PrinterDevice{QPrinter::HighResolution};
  std::vector<std::string> Calls;
  std::function<void()> OnPrinterSetup;
};
