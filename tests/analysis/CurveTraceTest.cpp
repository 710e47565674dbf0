#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/CurveTrace.h"
#include "graph/DerivativeCurves.h"
#include "graph/GraphRenderer.h"
#include "platform/RegionalSettings.h"

namespace {

ProjectDocument Project(const std::vector<std::string>& expressions) {
  ProjectDocument project;
  for (size_t i = 0; i < expressions.size(); ++i)
    project.Functions.push_back(
        {std::to_string(i + 1), expressions[i], "0.1", std::to_string(100 + i)});
  return project;
}

// The default frame: 640 x 480 over -10..10, 32 columns and 24 rows to the unit.
TEST(CurveTraceTest, ReadsEachCurveAtTheColumnAndFindsTheNearest) {
  SetRegionalDecimalSeparator(',');
  TQelParser engine;
  const ProjectDocument project = Project({"x^3", "", "1/x", "x+", "2"});
  CurveTracer tracer(project, engine);
  const PlotGeometry frame = RenderGeometry(project.Settings, engine);
  struct Case {
    int64_t Column;
    long double Row;
    std::vector<size_t> Functions;  // those with a value
    int Nearest;                    // -1: none within reach
    const char* Readout;
  };
  const Case cases[] = {
      {368, 159, {1, 3, 5}, 0, "f1(1,5) = 3,375"},  // x^3 at row 159
      {368, 224, {1, 3, 5}, 1, "f3(1,5) = 0,667"},
      {320, 192, {1, 5}, 1, "f5(0) = 2"},  // 1/0 raises
      {368, 100, {1, 3, 5}, -1, ""},
  };
  for (const Case& c : cases) {
    const std::vector<CurveValue> values = tracer.At(frame, c.Column);
    std::vector<size_t> functions;
    for (const CurveValue& v : values) functions.push_back(v.Function);
    EXPECT_EQ(functions, c.Functions) << c.Column;
    const std::optional<size_t> nearest = NearestCurve(values, frame, c.Row, 8);
    ASSERT_EQ(nearest ? static_cast<int>(*nearest) : -1, c.Nearest) << c.Readout;
    if (nearest) {
      EXPECT_EQ(TraceReadout(frame, values[*nearest], c.Column), c.Readout);
    }
  }
  SetRegionalDecimalSeparator('.');
}

// Derivative curves are traced as drawn, exact from the tree, after the functions.
TEST(CurveTraceTest, ReadsTheDerivativeCurvesDrawnBesideAFunction) {
  SetRegionalDecimalSeparator(',');
  TQelParser engine;
  ProjectDocument project = Project({"x^3", "ln(x)"});
  project.Functions[0].DrawFirstDerivative = project.Functions[0].DrawSecondDerivative = true;
  project.Functions[1].DrawFirstDerivative = true;
  CurveTracer tracer(project, engine);
  const PlotGeometry frame = RenderGeometry(project.Settings, engine);
  std::vector<std::string> readouts;
  for (const int64_t column : {368, 288})
    for (const CurveValue& v : tracer.At(frame, column))
      readouts.push_back(TraceReadout(frame, v, column));
  const std::vector<std::string> expected = {
      "f1(1,5) = 3,375",  "f2(1,5) = 0,405", "f1'(1,5) = 6,75", "f1''(1,5) = 9",
      "f2'(1,5) = 0,667", "f1(-1) = -1",     "f1'(-1) = 3",     "f1''(-1) = -6"};
  EXPECT_EQ(readouts, expected) << "ln has no value, nor its derivative, at -1";
  EXPECT_EQ(tracer.At(frame, 368)[2].Color, LighterTone(100));
  SetRegionalDecimalSeparator('.');
}

TEST(CurveTraceTest, MarkersSitOnThePointsInsideThePicture) {
  SetRegionalDecimalSeparator('.');  // the labels are written in it
  TQelParser engine;
  const ProjectDocument project = Project({"x^2-4", "x"});
  const PlotGeometry frame = RenderGeometry(project.Settings, engine);
  const std::vector<PointList> lists = {{1,
                                         0,
                                         {{PointKind::Zero, 2, 0},
                                          {PointKind::Pole, 1, {}},
                                          {PointKind::Minimum, 0, -40},
                                          {PointKind::Inflection, 2, 0}},
                                         0},
                                        {1, 2, {{PointKind::Intersection, -1.5L, -1.5L}}, 0}};
  const std::vector<CurveMarker> markers = PointMarkers(lists, project, frame);
  ASSERT_EQ(markers.size(), 2u);
  EXPECT_EQ(markers[0].Label, "N,W(2|0)") << "points that read the same share a label";
  EXPECT_EQ(markers[1].Label, "S(-1.5|-1.5)");
  EXPECT_EQ(markers[0].Column, 384);
  EXPECT_EQ(markers[0].Row, 240);
  EXPECT_EQ(markers[1].Column, 272);
  EXPECT_EQ(markers[1].Row, 276);
  EXPECT_EQ(markers[1].Color, 100);
}

// Labels go above right, else above left, below right, below left, inside the picture and clear
// of markers and earlier labels; none where nothing fits.
TEST(CurveTraceTest, LabelsTakeTheFirstFreePlaceBesideTheirMarker) {
  PlotGeometry frame;
  frame.W = 100, frame.H = 50;
  struct Case {
    std::vector<std::pair<long double, long double>> Markers;
    double Height;
    std::vector<int> Lefts;  // of each label, -1 for none
  };
  const Case cases[] = {
      {{{50, 25}}, 10, {54}},                // above right
      {{{95, 25}}, 10, {66}},                // no room right: above left
      {{{50, 3}}, 10, {54}},                 // no room above: below right
      {{{50, 25}, {60, 25}}, 10, {54, 64}},  // clear of the first label: below right
      {{{50, 25}, {52, 25}, {51, 25}}, 10, {54, 23, 55}},
      {{{2, 2}, {98, 2}, {50, 25}}, 10, {6, 69, 54}},
      {{{50, 25}}, 30, {-1}},  // no place fits
  };
  for (const Case& c : cases) {
    std::vector<CurveMarker> markers;
    for (const auto& [x, y] : c.Markers) markers.push_back({x, y, 0, "P"});
    const std::vector<LabelBox> sizes(markers.size(), LabelBox{0, 0, 25, c.Height});
    const auto placed = PlaceLabels(markers, sizes, frame, 3);
    ASSERT_EQ(placed.size(), c.Lefts.size());
    for (size_t i = 0; i < placed.size(); ++i)
      EXPECT_EQ(placed[i] ? static_cast<int>(placed[i]->Left) : -1, c.Lefts[i])
          << c.Markers.size() << " markers, label " << i;
  }
}

}  // namespace
