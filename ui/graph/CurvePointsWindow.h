#pragma once

#include <QRect>
#include <QString>
#include <functional>
#include <vector>

#include "analysis/PointTable.h"
#include "engine/QelParser.h"
#include "project/ProjectDocument.h"
#include "ui/shell/ChildContext.h"
#include "ui/shell/ChildForm.h"
#include "ui/shell/StandardMenus.h"

class QAction;
class QMenu;
class QMdiArea;
class QTreeWidget;

// What a graph's picture was drawn from: the project and the engine as they were then.
struct DrawnFrom {
  ProjectDocument Project;
  TQelParser Engine;
};

// The points of a curve discussion as a list of function, kind, x and y; saved as text in the tab
// layout and copied to the clipboard in the same layout. It is a table window to the frame, whose
// "Speichern" saves it.
class TCurvePoints : public ChildForm {
  Q_OBJECT
 public:
  explicit TCurvePoints(const ChildContext& context);

  QMenuBar* MainMenu1() const override { return menus_.Bar; }

  void SetRows(std::vector<PointRow> rows);
  const std::vector<PointRow>& Rows() const { return rows_; }

  QTreeWidget* ListView1;
  QAction* Kopieren1;

 public slots:
  void Wertetabellespeichernunter1Click() override;
  void Kopieren1Click();

 private:
  Prompts& questions_;
  StandardMenus menus_;
  std::vector<PointRow> rows_;
};

// Discusses every function of the project into a new window "Kurvenpunkte (<caption>)", after
// closing an older one of the same project. Input is let through while it works; closing the new
// window stops the analysis. Returns the window, or null when it was closed meanwhile; `found`, if
// given, receives the points.
// `beside` is the graph window the points are marked in, which the new window keeps clear of as far
// as the area allows.
TCurvePoints* ShowCurvePoints(const ChildContext& context, TQelParser& engine,
                              const QString& projectCaption, const ProjectDocument& project,
                              std::vector<PointList>* found = nullptr,
                              const QWidget* beside = nullptr);

// Where a window of the size goes in the area so that it hides as little of the graph as it can:
// right of it where there is room, else at the area's right edge, level with the graph's top and
// inside the area where it fits.
QPoint BesideGraph(const QRect& area, const QRect& graph, const QSize& size);

// Adds "Kurvendiskussion" and "Wert berechnen…" to a graph window's menu and to its picture's
// context menu. `drawn` is what the picture was drawn from (null while there is none); the
// window's title "Garph (<project caption>)" names the project. The points found go to `mark`
// while the window is still open.
void AddCurveDiscussion(QMenu& menu, QWidget& picture, const ChildContext& context, QWidget& window,
                        std::function<const DrawnFrom*()> drawn,
                        std::function<void(std::vector<PointList>)> mark);
