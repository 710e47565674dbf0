#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <optional>

#include "graph/PlotLoop.h"
#include "graph/PlotMapping.h"

class ChildForm;
class FrameCommands;
class GraphSource;
class QAction;
class QMouseEvent;
class QRubberBand;
class QWheelEvent;
class QWidget;
class TGraphImage;

// The graph window's answers to the pointer, on top of its still picture: the coordinates under the
// pointer in the frame's status bar, a rectangle dragged with the left button or a wheel step that
// zooms, and "Ansicht zurück". Zooming hands new ranges to the project editor that drew the graph,
// which draws again and so replaces this window. Until Attach, and once that editor is closed,
// nothing zooms; while a modal dialog (a drawing's progress) is up, the pointer is ignored.
class GraphPointer : public QObject {
  Q_OBJECT
 public:
  GraphPointer(FrameCommands& frame, TGraphImage& image, QWidget& window);

  // The editor whose command drew the picture, and the frame the picture was drawn in.
  void Attach(ChildForm* editor, const PlotGeometry& geometry);
  bool CanZoom() const;

  QAction* Ausschnittvergroessern1;  // explains zooming in the status bar
  QAction* Ansichtzurueck1;          // Backspace

  void AnsichtzurueckClick();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::optional<QPointF> FramePosition(QPointF at) const;
  void ShowReadout(QPointF at);
  void Press(QMouseEvent& event);
  void Drag(QMouseEvent& event);
  void Release(QMouseEvent& event);
  void Wheel(QWheelEvent& event);
  void Apply(const std::optional<ViewRanges>& ranges);
  void Hand(std::function<void(GraphSource&)> act);
  bool ExplainWhenGone();
  void SourceGone();

  FrameCommands& frame_;
  TGraphImage& image_;
  std::optional<PlotGeometry> geometry_;
  QPointer<ChildForm> editor_;
  GraphSource* source_ = nullptr;
  QRubberBand* band_ = nullptr;
  std::optional<QPoint> dragFrom_;
  int64_t wheelAngle_ = 0;
  bool pending_ = false;      // a zoom was handed to the editor and has not run yet
  bool noticeShown_ = false;  // the reason zoom is gone was told
  bool noticeUp_ = false;     // and stays until the pointer leaves
};
