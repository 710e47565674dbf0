#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QWindow>
#include <functional>

#include "tests/support/ScriptedPrompts.h"
#include "ui/app/AboutBox.h"
#include "ui/app/HelpViewer.h"
#include "ui/app/MainForm.h"
#include "ui/app/Startup.h"
#include "ui/platform/InstanceLock.h"
#include "ui/platform/QtPrompts.h"
#include "ui/shell/AppInfo.h"
#include "ui/shell/ChildForm.h"
#include "ui/shell/DialogHabits.h"
#include "ui/shell/ErrorReport.h"

namespace {

TEST(InstanceTest, SecondInstanceIsToldAndRefusedUntilTheFirstEnds) {
  QTemporaryDir folder;
  ScriptedPrompts prompts;
  auto first = std::make_unique<InstanceLock>(folder.path());
  EXPECT_TRUE(EnsureSingleInstance(*first, prompts));
  EXPECT_TRUE(prompts.Messages.empty());

  InstanceLock second(folder.path());
  EXPECT_FALSE(EnsureSingleInstance(second, prompts));
  ASSERT_EQ(prompts.Messages.size(), 1u);
  EXPECT_EQ(prompts.Messages[0].Caption, "Qel Graphics");
  EXPECT_EQ(prompts.Messages[0].Text,
            "Es kann nur eine Instanz des Programmes zur Zeit ausgeführt werden.");
  EXPECT_EQ(prompts.Messages[0].Buttons, std::vector<PromptButton>{PromptButton::Ok});
  EXPECT_EQ(prompts.Messages[0].Icon, PromptIcon::Exclamation);

  first.reset();
  InstanceLock third(folder.path());
  EXPECT_TRUE(EnsureSingleInstance(third, prompts));
}

TEST(InstanceTest, LockOfACrashedInstanceDoesNotCount) {
  QTemporaryDir folder;
  const pid_t crashed = fork();
  if (crashed == 0) {
    InstanceLock lock(folder.path());
    _exit(lock.Acquire() ? 0 : 1);  // ends without releasing, as a crash would
  }
  int status = 0;
  waitpid(crashed, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  ASSERT_TRUE(QFile::exists(folder.filePath("Qel Graphics 4.lock")));
  InstanceLock lock(folder.path());
  EXPECT_TRUE(lock.Acquire());
}

TEST(HelpTest, EveryTopicOfTheWindowsIsInTheHelpFile) {
  HelpViewer viewer(QEL_HELP_FILE);
  for (const char* topic :
       {"Indice", "Lizenzvertrag", "Funktionsgraphenerstellen", "Funktionssyntax",
        "Funktionsgraphen anzeigen", "Speichern von Wertetabellen",
        "Drucken / Speichern von Funkionsgraphen", "Wertetabelle anzeigen"}) {
    viewer.ShowTopic(topic);
    EXPECT_EQ(viewer.Report(), "") << topic;
    EXPECT_EQ(viewer.CurrentAnchor(), topic);
  }
  EXPECT_TRUE(viewer.isVisible());
}

TEST(HelpTest, ViewerReportsUnknownTopicsAndMissingFiles) {
  HelpViewer viewer(QEL_HELP_FILE);
  viewer.ShowTopic("indice");
  EXPECT_EQ(viewer.Report(), "Das Thema \"indice\" ist in der Hilfedatei nicht vorhanden.");
  EXPECT_EQ(viewer.CurrentAnchor(), "");
  viewer.ShowTopic("");
  EXPECT_EQ(viewer.Report(), "") << "an empty topic shows the contents";

  HelpViewer missing("/nirgends/Riruvedo32.hlp");
  missing.ShowTopic("Indice");
  EXPECT_EQ(missing.Report(), "Die Hilfedatei /nirgends/Riruvedo32.hlp wurde nicht gefunden.");
}

// The help takes keys while a modal dialog is open, whether it was opened before the dialog or
// from it, and opens beside the frame rather than over it.
TEST(HelpTest, StaysUsableBesideTheFrameWhileADialogIsOpen) {
  for (bool openedFromDialog : {false, true}) {
    SCOPED_TRACE(openedFromDialog);
    QWidget frame;
    frame.setGeometry(40, 40, 400, 300);
    frame.show();
    HelpViewer viewer(QEL_HELP_FILE);
    viewer.resize(300, 200);  // fits beside the frame on the small offscreen screen
    viewer.SetAnchor(&frame);
    if (!openedFromDialog) viewer.ShowTopic("Indice");
    QDialog dialog(&frame);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    if (openedFromDialog) viewer.ShowTopic("Indice");
    QTest::qWait(10);
    EXPECT_GE(viewer.frameGeometry().left(), frame.frameGeometry().right());
    QScrollBar* scroll = viewer.Browser()->verticalScrollBar();
    viewer.Browser()->setFocus();
    scroll->setValue(0);
    QTest::keyClick(viewer.windowHandle(), Qt::Key_End);
    EXPECT_GT(scroll->value(), 0);
    dialog.hide();
    QTest::qWait(10);
    scroll->setValue(0);
    QTest::keyClick(viewer.windowHandle(), Qt::Key_End);
    EXPECT_GT(scroll->value(), 0) << "and after the dialog";
  }
}

TEST(HelpTest, HelpFileIsFoundInTheShareFolderOrBesideTheProgram) {
  QTemporaryDir prefix;
  QDir(prefix.path()).mkpath("bin");
  QDir(prefix.path()).mkpath("share/qelgraphics");
  const QString bin = prefix.filePath("bin");
  const QString shared = prefix.filePath("share/qelgraphics/Riruvedo32.hlp");
  const QString beside = prefix.filePath("bin/Riruvedo32.hlp");
  EXPECT_EQ(ResolveHelpFile(bin), shared) << "named even when missing";
  QFile(beside).open(QIODevice::WriteOnly);
  EXPECT_EQ(ResolveHelpFile(bin), beside);
  QFile(shared).open(QIODevice::WriteOnly);
  EXPECT_EQ(ResolveHelpFile(bin), shared);
  EXPECT_TRUE(QDir::isAbsolutePath(ResolveHelpFile("relative/bin")));
}

TEST(AboutBoxTest, ShowsTheVersionAndOpensTheWebSite) {
  ScriptedPrompts prompts;
  TAboutBox about(prompts, nullptr);
  EXPECT_EQ(about.windowTitle(), "Über Qel Graphics");
  EXPECT_EQ(about.size(), QSize(350, 260));
  EXPECT_EQ(about.minimumSize(), about.maximumSize());
  EXPECT_EQ(about.Label3->text(), "Version 4.2 ");
  EXPECT_EQ(about.Label3->pos(), QPoint(112, 88));
  EXPECT_EQ(about.OKButton->text(), "&Schließen");
  EXPECT_EQ(about.OKButton->geometry(), QRect(248, 232, 97, 25));
  EXPECT_EQ(about.Comments->text(), kWebSiteCaption);
  QTest::mouseClick(about.Comments, Qt::LeftButton);
  EXPECT_EQ(prompts.Urls, std::vector<QUrl>{QUrl(kWebSite)});
}

// Runs `look` on the modal dialog that `show` opens, then closes that dialog.
void OnModal(const std::function<void(QWidget&)>& look, const std::function<void()>& show) {
  bool seen = false;
  QTimer::singleShot(0, [&] {
    if (QWidget* dialog = QApplication::activeModalWidget()) {
      seen = true;
      look(*dialog);
      dialog->close();
    }
  });
  show();
  EXPECT_TRUE(seen) << "no dialog was shown";
}

TEST(QtPromptsTest, AnAddressNoBrowserOpensIsShownToTheUser) {
  QtPrompts prompts({}, "/opt/qel/share/qelgraphics");
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", "");
  QString text;
  OnModal([&](QWidget& box) { text = static_cast<QMessageBox&>(box).text(); },
          [&] { prompts.OpenUrl(QUrl(kWebSite)); });
  qputenv("PATH", path);
  EXPECT_EQ(text,
            "Es konnte kein Webbrowser gestartet werden.\nÖffnen Sie die Adresse bitte selbst:\n"
            "/opt/qel/share/qelgraphics/Riruvedo32.html");
}

TEST(QtPromptsTest, PrinterSetUpSaysItChoosesAPrinter) {
  QtPrompts prompts({});
  QPrinter printer;
  QString title, ok;
  OnModal(
      [&](QWidget& dialog) {
        title = dialog.windowTitle();
        if (auto* buttons = dialog.findChild<QDialogButtonBox*>())
          ok = buttons->button(QDialogButtonBox::Ok)->text();
      },
      [&] { EXPECT_FALSE(prompts.PrinterSetup(nullptr, printer)); });
  EXPECT_EQ(title, "Drucker auswählen");
  EXPECT_EQ(ok, "&Auswählen");
}

TEST(ErrorReportTest, ShowsTheMessageWithAFullStopAsAStopBox) {
  const struct {
    const char *Message, *Shown;
  } cases[] = {
      {"Cannot create file /tmp/x.qgp", "Cannot create file /tmp/x.qgp."},
      {"'abc' is not a valid integer value.", "'abc' is not a valid integer value."},
      {"Division durch 0", "Division durch 0."},
      {"", "."},
  };
  for (const auto& c : cases) {
    ScriptedPrompts prompts;
    ShowErrorReport(prompts, c.Message);
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(prompts.Messages[0].Text, c.Shown);
    EXPECT_EQ(prompts.Messages[0].Caption, "Qel Graphics 4");
    EXPECT_EQ(prompts.Messages[0].Buttons, std::vector<PromptButton>{PromptButton::Ok});
    EXPECT_EQ(prompts.Messages[0].Icon, PromptIcon::Stop);
  }
}

TEST(FileFilterTest, WindowsFiltersBecomeQtFilters) {
  EXPECT_EQ(FileFilters::ToQt("Qel Graphics  (*.qgp)|*.qgp"), QStringList{"Qel Graphics  (*.qgp)"});
  EXPECT_EQ(FileFilters::ToQt("JPEG-Format|*.jpg|BMP-Format (Windows)|*.bmp"),
            (QStringList{"JPEG-Format (*.jpg)", "BMP-Format (Windows) (*.bmp)"}));
  EXPECT_EQ(FileFilters::ToQt("Bilder|*.jpg;*.bmp"), QStringList{"Bilder (*.jpg *.bmp)"});
  EXPECT_EQ(FileFilters::ToQt(""), QStringList{});
}

TEST(FileFilterTest, ATypedNameWithoutExtensionGetsTheChosenEntrysOne) {
  const struct {
    const char* Filter;
    int Index;
    const char *DefaultExt, *Suffix;
  } cases[] = {
      {"JPEG-Format|*.jpg|BMP-Format (Windows)|*.bmp", 1, "jpg", "jpg"},
      {"JPEG-Format|*.jpg|BMP-Format (Windows)|*.bmp", 2, "jpg", "bmp"},
      {"Qel Graphics  (*.qgp)|*.qgp", 1, "*.qpg", "qgp"},
      {"Alle Dateien|*.*", 1, "*.qpg", "qpg"},
      {"TXT-Format (Tab)|*.txt|TXT-Format (Block)|*.txt", 2, "txt", "txt"},
      {"", 3, "txt", "txt"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FileFilters::CompletionSuffix(c.Filter, c.Index, c.DefaultExt), c.Suffix)
        << c.Filter << " " << c.Index;
}

}  // namespace

namespace {

TEST(DialogKeys, EachKeyRunsItsHandlerAndOthersPassThrough) {
  const struct {
    int Key;
    const char* Ran;  // nullptr: the key is not the dialog's
  } cases[] = {{Qt::Key_Return, "confirm"}, {Qt::Key_Enter, "confirm"}, {Qt::Key_F1, "help"},
               {Qt::Key_Escape, "cancel"},  {Qt::Key_Tab, nullptr},     {Qt::Key_A, nullptr}};
  for (const auto& c : cases) {
    QString ran;
    const DialogKeys keys{.Confirm = [&] { ran = "confirm"; },
                          .Help = [&] { ran = "help"; },
                          .Cancel = [&] { ran = "cancel"; }};
    EXPECT_EQ(HandleDialogKey(c.Key, keys), c.Ran != nullptr) << c.Key;
    EXPECT_EQ(ran, c.Ran ? QString(c.Ran) : QString()) << c.Key;
  }
  EXPECT_FALSE(HandleDialogKey(Qt::Key_F1, {.Cancel = [] {}}));
}

// A sub-window that refuses to close while Keep is set.
class StubbornWindow : public QMdiSubWindow {
 public:
  bool Keep = false;

 protected:
  void closeEvent(QCloseEvent* event) override {
    Keep ? event->ignore() : QMdiSubWindow::closeEvent(event);
  }
};

StubbornWindow* AddWindow(QMdiArea& area, const QString& title, bool keep = false) {
  auto* window = new StubbornWindow;
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setWindowTitle(title);
  window->Keep = keep;
  area.addSubWindow(window);
  window->show();
  area.setActiveSubWindow(window);
  return window;
}

QStringList Titles(const QMdiArea& area) {
  QStringList titles;
  for (const QMdiSubWindow* window : area.subWindowList()) titles << window->windowTitle();
  return titles;
}

TEST(CloseOlder, ClosesEveryOlderNamesakeButTheActiveAndOnesThatRefuse) {
  QMdiArea area;
  area.show();
  AddWindow(area, "Garph (a)");
  AddWindow(area, "Garph (a)", true);
  AddWindow(area, "Garph (b)");
  AddWindow(area, "Garph (a)");
  AddWindow(area, "Garph (a)");  // active: never closed
  EXPECT_TRUE(ChildForm::CloseOlder(area, "Garph (a)"));
  QCoreApplication::processEvents();
  EXPECT_EQ(Titles(area), (QStringList{"Garph (a)", "Garph (b)", "Garph (a)"}));
}

TEST(CloseOlder, StopsWhenAskedAndLeavesTheRest) {
  QMdiArea area;
  area.show();
  AddWindow(area, "t");
  AddWindow(area, "t");
  int looks = 0;
  EXPECT_FALSE(ChildForm::CloseOlder(area, "t", [&] { return ++looks > 0; }));
  EXPECT_EQ(area.subWindowList().size(), 2);
}

}  // namespace
