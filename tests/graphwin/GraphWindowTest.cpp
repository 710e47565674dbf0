#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

#include "graph/Bitmap.h"
#include "project/ProjectDocument.h"
#include "tests/graphwin/ModalHelpers.h"
#include "tests/support/FakeFrame.h"
#include "ui/graph/GraphWindow.h"
#include "ui/graph/OutputOptionsDialog.h"
#include "ui/platform/PathText.h"
#include "ui/platform/QtPrompts.h"

namespace {

constexpr int32_t kRed = 0x0000FF;
constexpr int32_t kGreen = 0x00FF00;

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int Byte(const QByteArray& bytes, qsizetype at) {
  return static_cast<uint8_t>(bytes[at]);
}

// Position of the first marker 0xFF `code` in a JPEG stream, or -1.
qsizetype Marker(const QByteArray& jpeg, int code) {
  for (qsizetype i = 2; i + 1 < jpeg.size(); ++i)
    if (Byte(jpeg, i) == 0xFF && Byte(jpeg, i + 1) == code) return i;
  return -1;
}

struct JpegFacts {
  int Width = 0, Height = 0, Components = 0;
  bool Baseline = false;
  int FirstLumaStep = 0;  // the first entry of the first quantisation table
};

JpegFacts ReadJpeg(const QByteArray& jpeg) {
  JpegFacts facts;
  const qsizetype sof = Marker(jpeg, 0xC0);
  facts.Baseline = sof > 0;
  if (sof > 0) {
    facts.Height = Byte(jpeg, sof + 5) << 8 | Byte(jpeg, sof + 6);
    facts.Width = Byte(jpeg, sof + 7) << 8 | Byte(jpeg, sof + 8);
    facts.Components = Byte(jpeg, sof + 9);
  }
  const qsizetype dqt = Marker(jpeg, 0xDB);
  if (dqt > 0) facts.FirstLumaStep = Byte(jpeg, dqt + 5);
  return facts;
}

// A netpbm picture rendered back from a PDF page.
struct Raster {
  int Width = 0, Height = 0;
  QByteArray Rgb;
  int32_t At(int x, int y) const {
    const qsizetype i = (static_cast<qsizetype>(y) * Width + x) * 3;
    return Byte(Rgb, i) | Byte(Rgb, i + 1) << 8 | Byte(Rgb, i + 2) << 16;
  }
};

Raster RenderPdfPage(const QString& pdf, const QString& prefix) {
  QProcess::execute("pdftoppm", {"-r", "72", "-singlefile", pdf, prefix});
  const QByteArray ppm = ReadAll(prefix + ".ppm");
  const QList<QByteArray> fields = ppm.left(64).split('\n');
  Raster raster;
  if (fields.size() < 3 || fields[0] != "P6") return raster;
  const QList<QByteArray> size = fields[1].split(' ');
  raster.Width = size.value(0).toInt();
  raster.Height = size.value(1).toInt();
  const qsizetype header = fields[0].size() + fields[1].size() + fields[2].size() + 3;
  raster.Rgb = ppm.mid(header);
  return raster;
}

bool IsRed(int32_t c) {
  return (c & 0xFF) > 200 && ((c >> 8) & 0xFF) < 60 && (c >> 16) < 60;
}
bool IsWhite(int32_t c) {
  return c == 0xFFFFFF;
}
bool IsGrey(int32_t c) {
  const int r = c & 0xFF, g = (c >> 8) & 0xFF, b = c >> 16;
  return r < 160 && std::abs(r - g) < 16 && std::abs(r - b) < 16;
}

class GraphWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    frame.UsePdfPage(dir.filePath("page.pdf"), 480, 660);
  }

  // A graph window whose 63 x 45 picture is red with a green diagonal.
  TGraph* RedGraph(int width = 63, int height = 45) {
    auto* graph = new TGraph(frame.Context(), frame.PrinterDevice, form2);
    graph->setWindowTitle("Garph (Test)");
    graph->resize(width + graph->width() - graph->Image1->width(),
                  height + graph->height() - graph->Image1->height());
    Bitmap& picture = graph->Picture();
    picture.SetBrushColor(kRed);
    picture.FillRect(0, 0, picture.Width(), picture.Height());
    picture.SetPenColor(kGreen);
    picture.MoveTo(0, 0);
    picture.LineTo(45, 45);
    return graph;
  }

  void ChooseFile(const QString& name, int filterIndex) {
    frame.Questions.FileAnswers.push_back(FileChoice{dir.filePath(name), filterIndex});
  }

  QTemporaryDir dir;
  FakeFrame frame;
  TForm2 form2{frame.Questions, frame.Shared, frame.PrinterDevice};
};

TEST_F(GraphWindowTest, MenuOffersOnlyTheGraphsOwnCommands) {
  TGraph* graph = RedGraph();
  TGraph second(frame.Context(), frame.PrinterDevice, form2);
  EXPECT_EQ(graph->objectName(), "Graph");
  EXPECT_EQ(second.objectName(), "Graph_1");
  EXPECT_EQ(second.windowTitle(), "Graph");
  const std::pair<MenuItem, bool> items[] = {
      {MenuItem::Speichern, false},
      {MenuItem::Speichernunter, false},
      {MenuItem::Funktionsgrapherstellen1, false},
      {MenuItem::Wertetabelleanzeigen1, false},
      {MenuItem::Wertetabellespeichernunter1, false},
      {MenuItem::Graphenspeichernunter1, true},
      {MenuItem::Graphendrucken1, true},
      {MenuItem::FileCloseItem, true},
  };
  for (const auto& [item, enabled] : items)
    EXPECT_EQ(graph->Menus().Item(item)->isEnabled(), enabled) << static_cast<int>(item);
  graph->Menus().Item(MenuItem::Kontexthilfe1)->trigger();
  EXPECT_EQ(frame.Questions.HelpTopics, std::vector<QString>{"Funktionsgraphen anzeigen"});
  graph->Menus().Item(MenuItem::FileCloseItem)->trigger();
  EXPECT_EQ(frame.Area.subWindowList().size(), 1);
}

// A picture shown at its own size gives every exposed pixel as it is; a stretched one the nearest
// picture pixel. A part exposed alone shows what the whole shows there.
TEST_F(GraphWindowTest, EveryExposedPartShowsThePictureAtItsSizeOrStretched) {
  auto* graph = new TGraph(frame.Context(), frame.PrinterDevice, form2);
  const int frameWidth = graph->width() - graph->Image1->width();
  const int frameHeight = graph->height() - graph->Image1->height();
  graph->resize(63 + frameWidth, 45 + frameHeight);
  Bitmap& picture = graph->Picture();
  for (int y = 0; y < 45; ++y)
    for (int x = 0; x < 63; ++x) picture.SetPixel(x, y, x * 4 | y * 5 << 8 | (x ^ y) << 18);
  struct Case {
    QSize Shown;
    QRect Part;
  };
  const Case cases[] = {
      {{63, 45}, {0, 0, 63, 45}},    {{63, 45}, {10, 7, 20, 30}},   {{63, 45}, {50, 40, 30, 30}},
      {{126, 90}, {0, 0, 126, 90}},  {{126, 90}, {33, 21, 50, 40}}, {{40, 29}, {5, 3, 20, 20}},
      {{100, 77}, {37, 11, 41, 60}},
  };
  for (const Case& c : cases) {
    graph->resize(c.Shown.width() + frameWidth, c.Shown.height() + frameHeight);
    ASSERT_EQ(graph->Image1->size(), c.Shown);
    const QRect part = c.Part & graph->Image1->rect();
    const QImage shown = graph->Image1->grab(part).toImage();
    ASSERT_EQ(shown.size(), part.size());
    int wrong = 0;
    for (int y = part.top(); y <= part.bottom(); ++y) {
      for (int x = part.left(); x <= part.right(); ++x) {
        const QRgb pixel = shown.pixel(x - part.left(), y - part.top());
        const int u = (2 * x + 1) * 63 / (2 * c.Shown.width());
        const int v = (2 * y + 1) * 45 / (2 * c.Shown.height());
        wrong += (qRed(pixel) | qGreen(pixel) << 8 | qBlue(pixel) << 16) != picture.Pixel(u, v);
      }
    }
    EXPECT_EQ(wrong, 0) << c.Shown.width() << "x" << c.Shown.height() << " part at " << part.x()
                        << "," << part.y();
  }
}

TEST_F(GraphWindowTest, BmpFollowsTheFilterEntryAndThePicturesOwnSize) {
  TGraph* graph = RedGraph();
  graph->resize(400, 300);  // the display grows; the picture does not
  ChooseFile("picture.bild", 2);
  graph->Graphenspeichernunter1Click();
  const QByteArray bmp = ReadAll(dir.filePath("picture.bild"));
  ASSERT_GE(bmp.size(), 26);
  EXPECT_EQ(bmp.left(2), "BM");
  EXPECT_EQ(Byte(bmp, 18) | Byte(bmp, 19) << 8, 63);
  EXPECT_EQ(Byte(bmp, 22) | Byte(bmp, 23) << 8, 45);
  const FileDialogSpec& asked = frame.Questions.FileDialogs.front();
  EXPECT_EQ(asked.Title, "Graphen speichern unter");
  EXPECT_EQ(asked.Filter,
            "JPEG-Format|*.jpg|BMP-Format (Windows)|*.bmp|PNG-Format (verlustfrei)|*.png|"
            "SVG-Vektorgrafik|*.svg|PDF-Dokument|*.pdf");
  EXPECT_EQ(asked.FilterIndex, 1);
  EXPECT_EQ(asked.DefaultExt, "jpg");
  EXPECT_TRUE(asked.AskBeforeReplacing);
}

TEST_F(GraphWindowTest, JpegAtTheChosenQuality) {
  TGraph* graph = RedGraph();
  struct Case {
    int Slider;  // 0: left at its start
    int FirstLumaStep;
  };
  // libjpeg scales the standard table's 16 to 13 at quality 60, 255 (baseline limit) at 2, 1 at
  // 100.
  for (const Case c : {Case{0, 13}, Case{1, 255}, Case{50, 1}}) {
    SCOPED_TRACE(c.Slider);
    const QString name = QString("q%1.jpg").arg(c.Slider);
    ChooseFile(name, 1);
    WhenShown(form2, [&] {
      EXPECT_EQ(form2.windowTitle(), QStringLiteral("JPEG Qualität"));
      if (c.Slider) form2.TrackBar1->setValue(c.Slider);
      QTest::mouseClick(form2.Button1, Qt::LeftButton);
    });
    graph->Graphenspeichernunter1Click();
    const JpegFacts jpeg = ReadJpeg(ReadAll(dir.filePath(name)));
    EXPECT_TRUE(jpeg.Baseline);
    EXPECT_EQ(jpeg.Components, 3);
    EXPECT_EQ(jpeg.Width, 63);
    EXPECT_EQ(jpeg.Height, 45);
    EXPECT_EQ(jpeg.FirstLumaStep, c.FirstLumaStep);
  }
}

TEST_F(GraphWindowTest, LosslessAndVectorFormatsFollowTheFilterEntry) {
  TGraph* graph = RedGraph();
  struct Case {
    const char* Name;
    int Filter;
    QByteArray Start;
    QByteArray Size;  // how the file states the picture's 63 x 45 pixels
  };
  // A typed extension names the format (and asks no JPEG quality); the filter entry decides for
  // any other name.
  const Case cases[] = {
      {"a.Png", 1, "\x89PNG", QByteArray("\0\0\0\x3F\0\0\0\x2D", 8)},
      {"b.svg", 2, "<?xml", R"(width="63px" height="45px" viewBox="0 0 63 45")"},
      {"c.PDF", 3, "%PDF", "/MediaBox [ 0 0 47.25 33.75 ]"},
      {"d", 3, "\x89PNG", QByteArray("\0\0\0\x3F\0\0\0\x2D", 8)},
      {"e.bild", 4, "<?xml", R"(width="63px" height="45px" viewBox="0 0 63 45")"},
      {"f.txt", 5, "%PDF", "/MediaBox [ 0 0 47.25 33.75 ]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    ChooseFile(c.Name, c.Filter);
    graph->Graphenspeichernunter1Click();
    const QByteArray file = ReadAll(dir.filePath(c.Name));
    EXPECT_TRUE(file.startsWith(c.Start));
    EXPECT_TRUE(file.contains(c.Size)) << file.left(400).toStdString();
  }
  // A name typed without an extension gets the chosen entry's.
  const QString filter = frame.Questions.FileDialogs.back().Filter;
  for (const auto& [index, suffix] : {std::pair{3, "png"}, {4, "svg"}, {5, "pdf"}})
    EXPECT_EQ(FileFilters::CompletionSuffix(filter, index, "jpg"), suffix);
  const QImage png(dir.filePath("a.Png"), "PNG");
  ASSERT_EQ(png.size(), QSize(63, 45));
  const Bitmap& picture = graph->Picture();
  for (int y = 0; y < 45; ++y) {
    for (int x = 0; x < 63; ++x) {
      const QRgb p = png.pixel(x, y);
      ASSERT_EQ(qRed(p) | qGreen(p) << 8 | qBlue(p) << 16, picture.Pixel(x, y)) << x << "," << y;
    }
  }
  EXPECT_TRUE(frame.Questions.Messages.empty());
}

// The vector copy is drawn again from the project the window was drawn from, at its picture's size.
TEST_F(GraphWindowTest, VectorPicturesAreDrawnFromTheKeptProject) {
  TGraph* graph = RedGraph();
  ChooseFile("blank.svg", 4);
  graph->Graphenspeichernunter1Click();
  ProjectDocument project;
  project.Settings.BackgroundColor = kGreen;
  project.Settings.Pointwise = false;
  project.Functions.push_back({"1", "-x", "0.1", "255"});  // through the top left corner
  graph->KeepDrawing(project, frame.Parser);
  project.Settings.BackgroundColor = kRed;  // later edits do not count
  ChooseFile("drawn.svg", 4);
  graph->Graphenspeichernunter1Click();
  const QByteArray blank = ReadAll(dir.filePath("blank.svg"));
  const QByteArray drawn = ReadAll(dir.filePath("drawn.svg"));
  EXPECT_TRUE(blank.contains("fill:rgb(100%,100%,100%)"));
  EXPECT_FALSE(blank.contains("<path"));
  EXPECT_TRUE(drawn.contains(R"(width="63" height="45" style="fill:rgb(0%,100%,0%))"));
  EXPECT_TRUE(drawn.contains("stroke:rgb(100%,0%,0%)"));
}

// Ctrl+C (ahead of the frame's own Ctrl+C) and the context menu's item copy pixels and drawing.
TEST_F(GraphWindowTest, CopyPutsThePictureOnTheClipboardAsImageAndSvg) {
  QAction frameCopy(&frame.Area);
  frameCopy.setShortcut(QKeySequence::Copy);
  frame.Area.addAction(&frameCopy);
  TGraph* graph = RedGraph();
  frame.Area.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&frame.Area));
  frame.Area.setActiveSubWindow(graph);
  ASSERT_NE(QApplication::focusWidget(), nullptr);
  EXPECT_TRUE(graph->Image1->actions().contains(graph->Kopieren1));
  for (bool byKey : {true, false}) {
    QGuiApplication::clipboard()->clear();
    byKey ? QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::ControlModifier)
          : graph->Kopieren1->trigger();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    const QImage image = qvariant_cast<QImage>(data->imageData());
    ASSERT_EQ(image.size(), QSize(63, 45)) << byKey;
    EXPECT_EQ(image.pixel(44, 44) & 0xFFFFFF, 0x00FF00u);  // the diagonal, green
    EXPECT_EQ(image.pixel(62, 0) & 0xFFFFFF, 0xFF0000u);
    EXPECT_TRUE(data->data("image/svg+xml").contains(R"(width="63px" height="45px")"));
  }
}

TEST_F(GraphWindowTest, CancellingWritesNothing) {
  TGraph* graph = RedGraph();
  frame.Questions.FileAnswers.push_back(std::nullopt);
  graph->Graphenspeichernunter1Click();
  ChooseFile("never.jpg", 1);
  WhenShown(form2, [&] { QTest::keyClick(form2.TrackBar1, Qt::Key_Escape); });
  graph->Graphenspeichernunter1Click();
  EXPECT_TRUE(frame.Shared.SaveCancelled);
  EXPECT_FALSE(QFile::exists(dir.filePath("never.jpg")));
  EXPECT_TRUE(frame.Questions.Messages.empty());
}

TEST_F(GraphWindowTest, APictureWithoutPixelsIsRefusedForEveryFormat) {
  auto* graph = new TGraph(frame.Context(), frame.PrinterDevice, form2);
  graph->resize(graph->width() - graph->Image1->width() + 2,
                graph->height() - graph->Image1->height());
  ASSERT_EQ(graph->Picture().Height(), 0);
  graph->Graphenspeichernunter1Click();
  EXPECT_TRUE(frame.Questions.FileDialogs.empty()) << "no name is asked for a file never written";
  ASSERT_EQ(frame.Questions.Messages.size(), 1u);
  EXPECT_EQ(frame.Questions.Messages[0].Text,
            "Das Bild des Graphen ist 2 x 0 Pixel groß und kann nicht gespeichert werden.\n"
            "Wählen Sie eine größere Ausgabegröße und erstellen Sie den Graphen neu.");
  EXPECT_EQ(frame.Questions.Messages[0].Icon, PromptIcon::Exclamation);
  EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(GraphWindowTest, AFileThatCannotBeWrittenIsReported) {
  TGraph* graph = RedGraph();
  ChooseFile("missing/picture.bmp", 2);
  graph->Graphenspeichernunter1Click();
  ASSERT_EQ(frame.Questions.Messages.size(), 1u);
  EXPECT_EQ(frame.Questions.Messages[0].Caption, "Qel Graphics 4");
  EXPECT_TRUE(frame.Questions.Messages[0].Text.startsWith("Cannot create file "));
  EXPECT_TRUE(graph->isVisible());
}

TEST_F(GraphWindowTest, PrintedPageShowsThePictureCentredWithItsHeader) {
  struct Case {
    const char* Name;
    bool FitKeepingProportions;
    int X, Y, W, H;
  };
  // Page 480 x 660: at 100 % centred; fitted it is 480 wide and 480 * 45 / 63 = 342 high.
  const Case cases[] = {{"100 %", false, 208, 307, 63, 45}, {"fit", true, 0, 159, 480, 342}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    const QString pdf = dir.filePath(QString("%1.pdf").arg(c.X));
    frame.UsePdfPage(pdf, 480, 660);
    TGraph* graph = RedGraph();
    WhenShown(form2, [&] {
      EXPECT_EQ(form2.Edit2->text(), "63");
      EXPECT_EQ(form2.PaperHeight, 660);
      if (c.FitKeepingProportions) {
        QTest::mouseClick(form2.CheckBox1, Qt::LeftButton);
        QTest::mouseClick(form2.RadioButton3, Qt::LeftButton);
      }
      QTest::mouseClick(form2.Button1, Qt::LeftButton);
    });
    graph->Graphendrucken1Click();
    EXPECT_EQ(frame.Shared.PrintWidth, c.W);
    const Raster page = RenderPdfPage(pdf, dir.filePath(QString("r%1").arg(c.X)));
    ASSERT_EQ(page.Width, 480);
    ASSERT_EQ(page.Height, 660);
    // Inside the picture's corners, just outside its edges, and the header texts above it.
    EXPECT_TRUE(IsRed(page.At(c.X + c.W - 2, c.Y + 2)));
    EXPECT_TRUE(IsRed(page.At(c.X + 2, c.Y + c.H - 2)));
    EXPECT_TRUE(IsWhite(page.At(c.X + c.W / 2, c.Y - 2)));
    EXPECT_TRUE(IsWhite(page.At(c.X + c.W / 2, c.Y + c.H + 1)));
    if (c.X > 2) {
      EXPECT_TRUE(IsWhite(page.At(c.X - 2, c.Y + c.H / 2)));
    }
    int blue = 0, dark = 0;
    for (int y = 20; y < 34; ++y)
      for (int x = 10; x < 120; ++x)
        blue += (page.At(x, y) >> 16) > 180 && (page.At(x, y) & 0xFF) < 80;
    for (int y = 100; y < 112; ++y)
      for (int x = 10; x < 120; ++x) dark += IsGrey(page.At(x, y));
    EXPECT_GT(blue, 20);
    EXPECT_GT(dark, 10);
    graph->close();
  }
}

TEST_F(GraphWindowTest, PrintingToAFileNumbersItTellsWhereAndKeepsThePictureLossless) {
  const QString pdf = dir.filePath("Qel Graphics.pdf");
  frame.UsePdfPage(pdf, 480, 660);
  TGraph* graph = RedGraph();
  const QString expected[] = {pdf, dir.filePath("Qel Graphics (2).pdf"),
                              dir.filePath("Qel Graphics (3).pdf")};
  for (const QString& path : expected) {
    WhenShown(form2, [&] { QTest::mouseClick(form2.Button1, Qt::LeftButton); });
    graph->Graphendrucken1Click();
    EXPECT_EQ(frame.Questions.LastMessageText(),
              "Der Graph wurde als PDF-Datei gespeichert:\n" + path);
    const QByteArray written = ReadAll(path);
    EXPECT_TRUE(written.startsWith("%PDF")) << path.toStdString();
    EXPECT_FALSE(written.contains("/DCTDecode")) << "the picture is stored without JPEG";
  }
  EXPECT_EQ(frame.PrinterDevice.outputFileName(), pdf);
}

// A graph with any display setting is drawn again as lines and text, with no picture in the page;
// a plain one prints its own pixels. Axis numbers are text in the core's font.
TEST_F(GraphWindowTest, DisplaySettingsPrintAsLinesAndText) {
  const struct {
    bool ProjectSettings::*Setting;
    bool Image, Text;
  } cases[] = {{nullptr, true, false},
               {&ProjectSettings::AxisNumbers, false, true},
               {&ProjectSettings::Legend, false, false},  // no function, no legend line
               {&ProjectSettings::SmoothCurves, false, false},
               {&ProjectSettings::ExactCurves, false, false}};
  for (size_t i = 0; i < std::size(cases); ++i) {
    const QString pdf = dir.filePath(QString("fine%1.pdf").arg(i));
    frame.UsePdfPage(pdf, 480, 660);
    ProjectDocument project;
    project.Settings.OutputWidth = "320", project.Settings.OutputHeight = "240";
    if (cases[i].Setting) project.Settings.*cases[i].Setting = true;
    TGraph* graph = RedGraph(320, 240);
    graph->KeepDrawing(project, frame.Parser);
    WhenShown(form2, [&] { QTest::mouseClick(form2.Button1, Qt::LeftButton); });
    graph->Graphendrucken1Click();
    const QByteArray written = ReadAll(pdf);
    EXPECT_EQ(written.contains("/Width 320\n/Height 240"), cases[i].Image) << i;
    EXPECT_EQ(written.contains("/Subtype /Image"), cases[i].Image) << i;
    EXPECT_EQ(written.contains("DejaVuSans"), cases[i].Text) << i;
  }
}

TEST_F(GraphWindowTest, CancelledPrintOpensNoJob) {
  const QString pdf = dir.filePath("cancelled.pdf");
  frame.UsePdfPage(pdf, 480, 660);
  TGraph* graph = RedGraph();
  WhenShown(form2, [&] { form2.close(); });
  graph->Graphendrucken1Click();
  EXPECT_TRUE(frame.Shared.PrintCancelled);
  EXPECT_FALSE(QFile::exists(pdf));
}

}  // namespace

namespace {

// A folder whose name is no valid UTF-8 takes every format's picture like any other.
TEST_F(GraphWindowTest, SavesIntoAFolderWhoseNameIsNoUtf8) {
  const std::string odd = PathString(dir.path()) + "/Bilder \xE4";
  ASSERT_TRUE(std::filesystem::create_directory(odd));
  TGraph* graph = RedGraph();
  frame.Shared.JpegQuality = 60;
  const std::pair<const char*, int> cases[] = {
      {"/g.bmp", 2}, {"/g.png", 3}, {"/g.svg", 4}, {"/g.pdf", 5}};
  for (const auto& [name, filter] : cases) {
    frame.Questions.FileAnswers.push_back(FileChoice{PathString(odd + name), filter});
    graph->Graphenspeichernunter1Click();
    EXPECT_TRUE(std::filesystem::is_regular_file(odd + name)) << name;
  }
  EXPECT_TRUE(frame.Questions.Messages.empty());
}

}  // namespace
