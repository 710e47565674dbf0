#pragma once

#include <QMdiArea>
#include <set>

#include "ui/app/FrameWiring.h"
#include "ui/app/MainForm.h"
#include "ui/project/ProjectWindow.h"

// The wired frame without dialogs, counting the editors' two hand-overs.
class HandOverFrame : public TMainForm {
 public:
  explicit HandOverFrame(FrameEnvironment environment) : TMainForm(std::move(environment)) {
    WireFrame(*this, {});
    connect(MdiArea(), &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
      auto* editor = qobject_cast<TMDIChild*>(window);
      if (!editor || !counted_.insert(editor).second) return;
      connect(editor, &TMDIChild::GraphWanted, this, [this] { ++Graphs; });
      connect(editor, &TMDIChild::ValueTableWanted, this, [this] { ++Tables; });
    });
  }
  int Graphs = 0;
  int Tables = 0;

 private:
  std::set<const TMDIChild*> counted_;
};
