// The renderer with curves sampled on worker threads against the one-thread renderer: picture,
// messages, check points and the engine's state afterwards must be the same for every project.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/QelParser.h"
#include "fuzz/FuzzInput.h"
#include "graph/Bitmap.h"
#include "graph/GraphRenderer.h"
#include "platform/Conversions.h"
#include "platform/RegionalSettings.h"
#include "project/ProjectFile.h"

namespace {

struct Outcome {
  std::string Result;
  std::vector<uint8_t> Pixels;
  std::vector<std::string> Reports;
  long Checkpoints = 0;
  std::string X, Expression, Ergebnis;

  bool operator==(const Outcome&) const = default;
};

std::vector<uint8_t> Pixels(const Bitmap& bitmap) {
  std::vector<uint8_t> out;
  for (int32_t y = 0; y < bitmap.Height(); ++y) {
    for (int32_t x = 0; x < bitmap.Width(); ++x) {
      const int32_t c = bitmap.Pixel(x, y);
      out.insert(out.end(), {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16)});
    }
  }
  return out;
}

// `budget` check points, then the drawing is cancelled from the poll as a user would.
Outcome Render(const ProjectDocument& project, int32_t w, int32_t h, long budget,
               unsigned threads) {
  TQelParser parser;
  parser.SetConvertAllColonsAndDots(true);
  parser.SetA("2");
  parser.SetX("7");
  Bitmap bitmap(w, h);
  Outcome out;
  bool cancelled = false;
  try {
    const RenderResult result = GraphRenderer(
        project, parser, bitmap, cancelled, [&] { cancelled = ++out.Checkpoints >= budget; },
        [&](const std::string& m) { out.Reports.push_back(m); }, threads);
    out.Result = result == RenderResult::Completed ? "completed" : "cancelled";
  } catch (const std::exception& e) {
    out.Result = e.what();
  }
  out.Pixels = Pixels(bitmap);
  out.X = parser.X();
  out.Expression = parser.Expression();
  out.Ergebnis = parser.ErgebnisString();
  return out;
}

struct Case {
  std::string Name;
  ProjectDocument Project;
  int32_t Width = 0, Height = 0;
};

// A render fuzz input read as the fuzzer reads it.
Case FuzzCase(const std::string& name, const std::string& bytes) {
  FuzzInput in(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  Case c{name, {}, 0, 0};
  const uint8_t options = in.Byte();
  c.Width = in.Byte() % 65;
  c.Height = in.Byte() % 65;
  ProjectSettings& s = c.Project.Settings;
  s.BackgroundColor = in.Int32();
  s.AxisColor = in.Int32();
  s.GridColor = in.Int32();
  s.ShowAxes = options & 2;
  s.ShowGrid = options & 4;
  s.Pointwise = options & 8;
  s.UseDeviation = options & 16;
  for (std::string* text : {&s.XFrom, &s.XTo, &s.YFrom, &s.YTo, &s.OutputWidth, &s.OutputHeight,
                            &s.GridStep, &s.Deviation}) {
    *text = in.Line();
  }
  for (int i = 0; i < 4 && !in.Empty(); ++i) {
    c.Project.Functions.push_back({std::to_string(i + 1), in.Line(), in.Line(), in.Line()});
  }
  return c;
}

std::string FileBytes(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

ProjectDocument Hostile(std::vector<FunctionEntry> functions, const std::string& width = "300") {
  ProjectDocument project;
  project.Settings.OutputWidth = width;
  project.Settings.OutputHeight = "200";
  project.Settings.Pointwise = false;
  project.Settings.UseDeviation = true;
  project.Settings.Deviation = "4";
  project.Functions = std::move(functions);
  return project;
}

std::vector<Case> Cases() {
  std::vector<Case> cases;
  const std::filesystem::path root(QEL_SOURCE_DIR);
  for (const auto& entry : std::filesystem::directory_iterator(root / "resources/examples")) {
    if (entry.path().extension() != ".qgp") continue;
    Case c{entry.path().filename().string(), {}, 0, 0};
    ReadProjectFile(entry.path().string(), c.Project);
    const OutputSize size = RenderOutputSize(c.Project.Settings);
    c.Width = size.Width;
    c.Height = size.Height;
    cases.push_back(std::move(c));
  }
  for (const auto& entry : std::filesystem::directory_iterator(root / "fuzz/corpus/render")) {
    cases.push_back(FuzzCase(entry.path().filename().string(), FileBytes(entry.path())));
  }
  cases.push_back({"steps read x, variables, failing trees",
                   Hostile({{"1", "a*x", "x", "255"},
                            {"2", "sin(", "0.1", "1"},
                            {"3", "  ", "5", "2"},
                            {"4", "ln(x)+1/x", "", "65280"},
                            {"5", "x^0.5", "0,05", "16711680"}}),
                   300, 200});
  cases.push_back({"the last curve fails at its end",
                   Hostile({{"1", "x*x", "0.01", "255"}, {"2", "1/(x-10)+ln(9.9-x)", "0.01", "9"}}),
                   300, 200});
  cases.push_back({"wider than the column table",
                   Hostile({{"1", "x", "1", "255"}, {"2", "tan(x)", "1", "9"}}, "100000"), 300,
                   200});
  cases.push_back({"one column beyond the frame",
                   Hostile({{"1", "x", "1000", "255"}, {"2", "x^2", "-1", "9"}}), 300, 200});
  return cases;
}

TEST(ParallelRender, SameAsOneThreadForEveryProjectAndCancelPoint) {
  for (const char separator : {'.', ','}) {
    SetRegionalDecimalSeparator(separator);
    for (const Case& c : Cases()) {
      for (const long budget : {3L, 700L, 20000L}) {
        SCOPED_TRACE(c.Name + " separator " + separator + " budget " + std::to_string(budget));
        const Outcome one = Render(c.Project, c.Width, c.Height, budget, 1);
        for (const unsigned threads : {2u, 5u}) {
          EXPECT_TRUE(Render(c.Project, c.Width, c.Height, budget, threads) == one) << threads;
        }
      }
    }
  }
  SetRegionalDecimalSeparator('.');
}

}  // namespace
