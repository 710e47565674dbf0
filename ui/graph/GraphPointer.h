#pragma once

#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QString>
#include <cstdint>
#include <optional>

#include "analysis/CurveTrace.h"
#include "graph/PlotLoop.h"
#include "graph/PlotMapping.h"
#include "ui/shell/RangeTexts.h"

class QAction;
class QMouseEvent;
class QRubberBand;
class QWheelEvent;
class QWidget;
class TGraphImage;

// The graph window's answers to the pointer, on top of its still picture: the coordinates under the
// pointer, a rectangle dragged with the left button or a wheel step that zooms, and "Ansicht
// zurück". It only asks, by signal: whoever linked it (the frame, to the project editor that drew
// the graph) types the new ranges and draws the picture again before the signal returns. Until
// Link, and after Unlink, nothing zooms; while a modal dialog is up, the pointer is ignored. Wheel
// notches and steps back that arrive while a drawing runs are added up and asked for together
// when it has ended. Near a curve the pointer traces it: a marker sits on the curve at the
// pointer's column and the status bar reads its value; the arrow keys then move along it and
// switch to the curve above or below.
class GraphPointer : public QObject {
  Q_OBJECT
 public:
  GraphPointer(TGraphImage& image, QWidget& window);

  // The ranges and pixels of the picture now shown, and how far it may be zoomed.
  void SetGeometry(const PlotGeometry& geometry, const ZoomLimits& limits);
  void Link(bool canStepBack);
  void Unlink();
  bool CanZoom() const;
  const std::optional<PlotGeometry>& Geometry() const { return geometry_; }
  // The curves of the picture now shown, read for the trace; null for none.
  void SetTracer(CurveTracer* tracer);

  QAction* Ausschnittvergroessern1;  // explains zooming in the status bar
  QAction* Ansichtzurueck1;          // Backspace

  void AnsichtzurueckClick();

 signals:
  void StatusText(const QString& text);
  void ZoomWanted(const RangeTexts& ranges);
  void ZoomBackWanted(int steps);
  void GeometryChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::optional<QPointF> FramePosition(QPointF at) const;
  void ShowReadout(QPointF at);
  void Press(QMouseEvent& event);
  void Drag(QMouseEvent& event);
  void Release(QMouseEvent& event);
  void Wheel(QWheelEvent& event);
  void AskPending();
  void AskNow();
  bool ExplainWhenGone();
  bool Trace(QPointF pixel);
  void ShowTrace(int64_t column, const CurveValue& value);
  void HideTrace();
  bool Key(int key);
  void StepAlong(int64_t direction);
  void SwitchCurve(bool up);

  TGraphImage& image_;
  std::optional<PlotGeometry> geometry_;
  ZoomLimits limits_;
  bool linked_ = false;
  QRubberBand* band_ = nullptr;
  std::optional<QPoint> dragFrom_;
  int64_t wheelAngle_ = 0;
  bool busy_ = false;           // a zoom was asked for and its drawing has not ended
  int64_t pendingNotches_ = 0;  // wheel notches that arrived meanwhile, and where
  QPointF pendingAt_;
  int pendingBack_ = 0;  // steps back that arrived meanwhile
  std::optional<ViewRanges> pendingRectangle_;
  bool noticeShown_ = false;  // the reason zoom is gone was told
  bool noticeUp_ = false;     // and stays until the pointer leaves
  CurveTracer* tracer_ = nullptr;
  std::optional<int64_t> traceColumn_;  // where the trace marker is, on which curve
  CurveValue traced_;
};
