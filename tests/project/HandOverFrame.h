#pragma once

#include "app/MainForm.h"

// The frame with the editor's two hand-overs counted instead of running their dialogs.
class HandOverFrame : public TMainForm {
 public:
  using TMainForm::TMainForm;
  void GenerateGraph(TMDIChild&) override { ++Graphs; }
  void ShowValueTableDialog(TMDIChild&) override { ++Tables; }
  int Graphs = 0;
  int Tables = 0;
};
