#pragma once

#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

#include "analysis/CurveTrace.h"

#include "ui/graph/PrintDib.h"
#include "ui/platform/Prompts.h"
#include "ui/shell/ChildContext.h"
#include "ui/shell/ChildForm.h"
#include "ui/shell/StandardMenus.h"

class Bitmap;
class QAction;
class GraphPointer;
class QPrinter;
struct ProjectDocument;
class TForm2;
class TQelParser;
class VectorPicture;

// Shows a bitmap stretched over the whole of its own area; nothing while there is none. Markers
// are drawn over it in the window only, so that saved and printed pictures stay as drawn.
class TGraphImage : public QWidget {
 public:
  explicit TGraphImage(QWidget* parent);

  const Bitmap* Picture = nullptr;
  std::vector<CurveMarker> Markers;             // the points of a curve discussion
  std::vector<std::optional<LabelBox>> Labels;  // where their labels fit, in picture pixels
  std::optional<CurveMarker> Trace;             // the traced value

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void DrawMarker(QPainter& painter, const CurveMarker& marker, double diameter) const;
  void DrawLabels(QPainter& painter) const;
};

// A child window showing one rendered graph. Its picture is made at the first drawing with the size
// the image area has then and keeps that size: the display is scaled to the window, while saving
// and printing always use the picture itself. Closing the window frees it with its picture.
class TGraph : public ChildForm {
  Q_OBJECT
 public:
  TGraph(const ChildContext& context, QPrinter& printer, TForm2& form2);
  ~TGraph() override;

  QMenuBar* MainMenu1() const override { return menus_.Bar; }
  const StandardMenus& Menus() const { return menus_; }

  // The picture, made at the first call with Image1's size at that moment.
  Bitmap& Picture();
  // Makes a width x height picture and sizes the window around it, so that its image area shows
  // the picture pixel for pixel: what is saved is what the window shows.
  Bitmap& ShowPicture(int32_t width, int32_t height);
  bool HasPicture() const { return picture_ != nullptr; }
  // Shows a picture drawn afresh (a zoom's), the window sized around it as ShowPicture does.
  void ReplacePicture(Bitmap&& picture);
  // Keeps what the picture is drawn from, so that a vector copy can be drawn again when saved.
  void KeepDrawing(const ProjectDocument& project, const TQelParser& engine);
  // Marks the points of a curve discussion on the picture while it shows the same functions.
  void MarkPoints(std::vector<PointList> lists);

  TGraphImage* Image1;
  GraphPointer* Pointer;  // coordinates, zoom and "Ansicht zurück"
  QAction* Kopieren1;     // the picture to the clipboard (Ctrl+C and the context menu)
  FileDialogSpec SaveDialog1;
  TPrintDIB PrintDIB1;

 public slots:
  void Graphenspeichernunter1Click() override;
  void Graphendrucken1Click() override;
  // Puts the picture on the clipboard both as an image and as an SVG drawing.
  void Kopieren1Click();

 protected:
  // Ctrl+C copies the picture while the graph window has the focus, ahead of the frame's copying
  // of selected text.
  bool event(QEvent* event) override;

 private:
  struct Drawing;

  void AddCopyItem();
  bool RefuseEmptyPicture();
  void SavePicture(const FileChoice& choice);
  VectorPicture VectorCopy();
  bool PrintsFinely() const;
  void Print(int32_t width, int32_t height);
  void PlaceMarkers();

  Prompts& questions_;
  QPrinter& printer_;
  TForm2& form2_;
  std::unique_ptr<Bitmap> picture_;
  std::unique_ptr<Drawing> drawing_;
  std::unique_ptr<CurveTracer> tracer_;
  std::vector<PointList> marked_;
  StandardMenus menus_;
};
