#include <gtest/gtest.h>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QMap>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>

#include "tests/support/ProjectLines.h"

namespace {

// A private X server without a window manager. Xvfb picks a free display itself and prints its
// number, so runs in parallel never share one.
class XServer {
 public:
  ~XServer() {
    process_.kill();
    process_.waitForFinished();
  }

  // The display, or empty when no server could start within a few seconds.
  QString Start() {
    process_.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
    if (!process_.waitForStarted(5000)) return {};
    QElapsedTimer clock;
    clock.start();
    QByteArray out;
    while (!out.contains('\n') && clock.elapsed() < 10000 &&
           process_.state() == QProcess::Running) {
      process_.waitForReadyRead(200);
      out += process_.readAllStandardOutput();
    }
    const QByteArray number = out.trimmed();
    return number.isEmpty() ? QString() : ":" + QString::fromLatin1(number);
  }

 private:
  QProcess process_;
};

// Where the part lies in the screen, if it does.
std::optional<QPoint> Locate(const QImage& screen, const QImage& part) {
  const QImage s = screen.convertToFormat(QImage::Format_RGB32);
  const QImage p = part.convertToFormat(QImage::Format_RGB32);
  const size_t rowBytes = size_t(p.width()) * 4;
  for (int y = 0; y + p.height() <= s.height(); ++y)
    for (int x = 0; x + p.width() <= s.width(); ++x) {
      int row = 0;
      while (row < p.height() && std::memcmp(s.constScanLine(y + row) + size_t(x) * 4,
                                             p.constScanLine(row), rowBytes) == 0)
        ++row;
      if (row == p.height()) return QPoint(x, y);
    }
  return std::nullopt;
}

bool Contains(const QImage& screen, const QImage& part) {
  return Locate(screen, part).has_value();
}

// The first minutes of a new user: a new project with a function typed in, Ctrl+E from the field,
// the graph whole on screen and saved, a value table saved, "Beenden" with "Abbrechen" and then
// with "Nein". Every caption is checked byte for byte where it appears.
class FirstMinutes : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* tool : {"Xvfb", "xdotool", "import"})
      if (QStandardPaths::findExecutable(tool).isEmpty())
        GTEST_SKIP() << tool << " is missing: scripts/install-deps installs Xvfb, xdotool and "
                     << "imagemagick for the end-to-end test.";
    ASSERT_TRUE(home_.isValid());
    display_ = server_.Start();
    if (display_.isEmpty()) GTEST_SKIP() << "no X server could start (Xvfb)";
    env_ = QProcessEnvironment::systemEnvironment();
    env_.insert("DISPLAY", display_);
    env_.insert("QT_QPA_PLATFORM", "xcb");
    env_.insert("HOME", home_.path());
    for (const char* xdg :
         {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"})
      env_.insert(xdg, home_.path());
    env_.insert("LC_ALL", "C.UTF-8");
    // Freed memory is overwritten, so that a use after free crashes rather than passing by luck.
    env_.insert("MALLOC_PERTURB_", "165");
    app_.setProcessEnvironment(env_);
    app_.setWorkingDirectory(home_.path());
    app_.start(QELGRAPHICS_PATH, {});
    ASSERT_TRUE(app_.waitForStarted(5000));
  }

  void TearDown() override {
    if (app_.state() == QProcess::NotRunning) return;
    app_.kill();
    app_.waitForFinished();
  }

  QString Tool(const QString& program, const QStringList& arguments) {
    QProcess tool;
    tool.setProcessEnvironment(env_);
    tool.start(program, arguments);
    tool.waitForFinished(10000);
    return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
  }

  // The visible top-level window whose whole caption is the text, waiting up to 20 seconds: a
  // loaded machine may take that long to start the program and build its font caches.
  QString Window(const QString& caption) {
    const QString pattern = "^" + QRegularExpression::escape(caption) + "$";
    for (const QDeadlineTimer deadline(20000); !deadline.hasExpired(); QThread::msleep(100)) {
      const QString ids = Tool("xdotool", {"search", "--onlyvisible", "--name", pattern});
      if (!ids.isEmpty()) return ids.split('\n').front();
    }
    return {};
  }

  bool Gone(const QString& caption) {
    const QString pattern = "^" + QRegularExpression::escape(caption) + "$";
    for (int tries = 0; tries < 30; ++tries) {
      if (Tool("xdotool", {"search", "--onlyvisible", "--name", pattern}).isEmpty()) return true;
      QThread::msleep(100);
    }
    return false;
  }

  // Without a window manager the focus is given by hand before the keys.
  void Keys(const QString& window, const QStringList& keys) {
    Tool("xdotool", QStringList{"windowfocus", "--sync", window, "key", "--delay", "60"} + keys);
    QThread::msleep(300);
  }
  void Type(const QString& window, const QString& text) {
    Tool("xdotool", {"windowfocus", "--sync", window, "type", "--delay", "20", text});
    QThread::msleep(200);
  }

  // The file dialog's type list sits at the bottom of the dialog, where no key reaches it.
  void ChooseSecondFileType(const QString& dialog) {
    const QStringList geometry =
        Tool("xdotool", {"getwindowgeometry", "--shell", dialog}).split('\n').filter("HEIGHT=");
    const int height = geometry.value(0).mid(7).toInt();
    Tool("xdotool",
         {"mousemove", "--window", dialog, "200", QString::number(height - 23), "click", "1"});
    QThread::msleep(300);
    Tool("xdotool", {"key", "--delay", "60", "Down", "Return"});
    QThread::msleep(200);
  }

  QRect Geometry(const QString& window) {
    QMap<QString, int> values;
    for (const QString& line :
         Tool("xdotool", {"getwindowgeometry", "--shell", window}).split('\n'))
      values[line.section('=', 0, 0)] = line.section('=', 1).toInt();
    return {values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]};
  }

  QImage Shot(const QString& window) {
    const QString file = home_.filePath("window.png");
    Tool("import", {"-display", display_, "-window", window, file});
    return QImage(file);
  }

  // F1 in a modal dialog opens the help beside the frame, and the wheel scrolls it while the
  // dialog stays open.
  void HelpScrollsBesideTheFrame(const QString& frame, const QString& dialog) {
    Keys(dialog, {"F1"});
    const QString help = Window("Qel Graphics - Hilfe");
    ASSERT_FALSE(help.isEmpty());
    QThread::msleep(300);
    // The centred frame leaves no room for the whole help on either side: it goes to the roomier
    // one, on the screen, rather than over the frame's top-left corner.
    EXPECT_GT(Geometry(help).left(), Geometry(frame).left());
    EXPECT_LE(Geometry(help).right(), 1279);
    const QImage before = Shot(help);
    // Upwards: the topic's heading is at the top of the view, with the rest of the help above it,
    // whereas a topic near the end leaves nothing to scroll down to.
    Tool("xdotool", {"mousemove", "--window", help, "200", "300", "click", "--repeat", "5", "4"});
    QThread::msleep(300);
    EXPECT_NE(Shot(help), before) << "the help scrolls while the dialog is open";
    EXPECT_FALSE(Window("Wertetabelle erstellen").isEmpty());
  }

  // A second start of the program; its exit status.
  int SecondStart(const QStringList& files) {
    QProcess start;
    start.setProcessEnvironment(env_);
    start.start(QELGRAPHICS_PATH, files);
    start.waitForFinished(10000);
    return start.exitStatus() == QProcess::NormalExit ? start.exitCode() : -1;
  }

  QImage Screen() {
    const QString file = home_.filePath("screen.png");
    Tool("import", {"-display", display_, "-window", "root", file});
    return QImage(file);
  }

  QTemporaryDir home_;
  XServer server_;
  QString display_;
  QProcessEnvironment env_;
  QProcess app_;
};

TEST_F(FirstMinutes, NewFunctionGraphTableAndBeenden) {
  const QString frame = Window("Qel Graphics 4.2");
  ASSERT_FALSE(frame.isEmpty()) << "the frame's caption is exactly its own";

  Keys(frame, {"ctrl+n"});
  Keys(frame, {"alt+z"});
  QThread::msleep(300);
  Type(frame, "sin(x) * 5");
  Keys(frame, {"ctrl+e"});
  ASSERT_TRUE(Gone("Erzeuge Graphen"));

  const QString picture = home_.filePath("graph.bmp");
  Keys(frame, {"alt+g", "s"});
  const QString saveGraph = Window("Graphen speichern unter");
  ASSERT_FALSE(saveGraph.isEmpty()) << "Ctrl+E from the field made a graph window";
  Type(saveGraph, picture);
  ChooseSecondFileType(saveGraph);
  Keys(saveGraph, {"Return"});
  ASSERT_TRUE(Gone("Graphen speichern unter"));
  const QImage saved(picture);
  ASSERT_FALSE(saved.isNull()) << picture.toStdString();
  EXPECT_GT(saved.width(), 560);
  EXPECT_GT(saved.height(), 400);
  EXPECT_TRUE(Contains(Screen(), saved)) << "the whole graph is on screen";

  Keys(frame, {"alt+f", "1"});
  Keys(frame, {"ctrl+w"});
  const QString options = Window("Wertetabelle erstellen");
  ASSERT_FALSE(options.isEmpty());
  HelpScrollsBesideTheFrame(frame, options);
  Keys(options, {"Return"});
  ASSERT_TRUE(Gone("Wertetabelle erstellen"));
  Keys(frame, {"alt+g", "p"});
  const QString saveTable = Window("Wertetabelle speichern unter");
  ASSERT_FALSE(saveTable.isEmpty());
  const QString table = home_.filePath("tabelle.txt");
  Type(saveTable, table);
  Keys(saveTable, {"Return"});
  ASSERT_TRUE(Gone("Wertetabelle speichern unter"));
  QFile tableFile(table);
  ASSERT_TRUE(tableFile.open(QIODevice::ReadOnly));
  EXPECT_GT(tableFile.readAll().count('\n'), 10);

  Keys(frame, {"alt+d", "b"});
  QString question = Window("Projekt geändert");
  ASSERT_FALSE(question.isEmpty());
  Keys(question, {"Escape"});
  ASSERT_TRUE(Gone("Projekt geändert"));
  EXPECT_FALSE(app_.waitForFinished(500)) << "Abbrechen keeps the application";
  EXPECT_FALSE(Window("Qel Graphics 4.2").isEmpty());

  Keys(frame, {"alt+d", "b"});
  question = Window("Projekt geändert");
  ASSERT_FALSE(question.isEmpty());
  Keys(question, {"alt+n"});
  ASSERT_TRUE(app_.waitForFinished(5000)) << "Nein ends the application";
  EXPECT_EQ(app_.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(app_.exitCode(), 0);
}

// A handed-over folder brings up the error box; a hand-over while it is open is answered and
// opens too, and closing the box by its key leaves the instance running.
TEST_F(FirstMinutes, AHandOversErrorBoxClosesSafelyAndLaterHandOversOpen) {
  ASSERT_FALSE(Window("Qel Graphics 4.2").isEmpty());
  const QString project = home_.filePath("beispiel.qgp");
  ASSERT_TRUE(QFile::copy(QEL_EXAMPLE, project));
  EXPECT_EQ(SecondStart({home_.path()}), 0);
  const QString box = Window("Qel Graphics 4");
  ASSERT_FALSE(box.isEmpty()) << "a folder brings up the error box";
  EXPECT_EQ(SecondStart({project}), 0);
  Keys(box, {"Return"});
  ASSERT_TRUE(Gone("Qel Graphics 4"));
  EXPECT_FALSE(app_.waitForFinished(1000)) << "closing the box ended the instance";
  QFile settings(home_.filePath("Qel/Qel Graphics.conf"));
  ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
  EXPECT_TRUE(settings.readAll().contains(QFile::encodeName(project)));
}

// A curve discussion by keys and the pointer: the trace follows the pointer and the arrow keys,
// "Wert berechnen" opens, and the Kurvenpunkte window saves its list through the menu.
TEST_F(FirstMinutes, CurveDiscussionByKeysAndPointer) {
  const QString project = home_.filePath("kurve.qgp");
  // Line-wise over -3..3 x -4..4.
  std::vector<std::string> lines = qeltest::DefaultSettingsLines("1");
  lines[8] = "0";
  const std::vector<std::string> ranges = {"-3", "3", "-4", "4"};
  std::copy(ranges.begin(), ranges.end(), lines.begin() + 9);
  qeltest::AppendBlock(lines, {"1", "x^3-3*x", "0.05", "255"});
  qeltest::WriteBytes(project.toStdString(), qeltest::Join(lines));
  const QString picture = home_.filePath("kurve.bmp");
  ASSERT_EQ(QProcess::execute(QELCLI_PATH, {"render", project, picture}), 0);

  const QString frame = Window("Qel Graphics 4.2");
  ASSERT_FALSE(frame.isEmpty());
  EXPECT_EQ(SecondStart({project}), 0);
  QThread::msleep(1000);
  Keys(frame, {"ctrl+e"});
  ASSERT_TRUE(Gone("Erzeuge Graphen"));
  QThread::msleep(500);
  const std::optional<QPoint> origin = Locate(Screen(), QImage(picture));
  ASSERT_TRUE(origin) << "the graph window shows what qelcli renders";

  // The maximum (-1, 2) is at column 213, row 120 of the 640 x 480 picture.
  const QImage plain = Screen().copy(origin->x() + 193, origin->y() + 100, 40, 40);
  Tool("xdotool",
       {"mousemove", QString::number(origin->x() + 213), QString::number(origin->y() + 124)});
  QThread::msleep(400);
  const QImage traced = Screen().copy(origin->x() + 193, origin->y() + 100, 40, 40);
  EXPECT_NE(traced, plain) << "a trace marker sits on the curve under the pointer";
  Keys(frame, {"Right", "Right", "Right", "Right", "Right", "Right"});
  EXPECT_NE(Screen().copy(origin->x() + 193, origin->y() + 100, 40, 40), traced)
      << "the arrow keys move the trace";

  Keys(frame, {"alt+g", "b"});
  const QString value = Window("Wert berechnen");
  ASSERT_FALSE(value.isEmpty());
  Keys(value, {"Escape"});
  ASSERT_TRUE(Gone("Wert berechnen"));

  Keys(frame, {"alt+g", "k"});
  QThread::msleep(1000);
  Keys(frame, {"alt+g", "p"});
  const QString save = Window("Kurvenpunkte speichern unter");
  ASSERT_FALSE(save.isEmpty()) << "the Kurvenpunkte window is active";
  const QString list = home_.filePath("punkte.txt");
  Type(save, list);
  Keys(save, {"Return"});
  ASSERT_TRUE(Gone("Kurvenpunkte speichern unter"));
  QFile saved(list);
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  const QByteArray text = saved.readAll();
  EXPECT_TRUE(text.contains("Hochpunkt\t-1\t2")) << text.toStdString();
  EXPECT_TRUE(text.contains("Tiefpunkt\t1\t-2")) << text.toStdString();
}

}  // namespace
