#include <QFileInfo>
#include <QPointer>
#include <csignal>

#include "platform/AtomicFile.h"
#include "ui/app/AboutBox.h"
#include "ui/app/CommandLine.h"
#include "ui/app/FrameWiring.h"
#include "ui/app/HelpViewer.h"
#include "ui/app/InstanceChannel.h"
#include "ui/app/MainForm.h"
#include "ui/app/OpeningQueue.h"
#include "ui/app/RecentProjects.h"
#include "ui/app/Startup.h"
#include "ui/graph/OutputOptionsDialog.h"
#include "ui/graph/ProgressDialog.h"
#include "ui/platform/InstanceLock.h"
#include "ui/platform/QtPrompts.h"
#include "ui/shell/AppInfo.h"
#include "ui/shell/ErrorReport.h"
#include "ui/valuetable/ValueTableOptionsDialog.h"

int main(int argc, char** argv) {
  // A file-size limit fails the save with its message instead of ending the application.
  std::signal(SIGXFSZ, SIG_IGN);
  EnableStaleTemporaryFileCleanup();

  // Help, version and a wrong option need no display, so they are answered before the application
  // object exists; Qt's own options are left for it to take.
  const CommandLine early = ParseCommandLine(ArgumentsOf(argc, argv), {});
  if (early.Request != CommandLine::Action::Run && !IsToolkitOption(early.UnknownOption))
    return PrintAndExit(early);

  const int toolkitGiven = ToolkitArgumentCount(argc, argv);
  int toolkitArgc = toolkitGiven;
  QelApplication app(toolkitArgc, argv);
  // Qt has taken its own options (-platform, -style, ...) out of argv by now.
  const CommandLine command =
      ParseCommandLine(ArgumentsLeft(toolkitArgc, argv, toolkitGiven, argc), StartFolder());
  if (command.Request != CommandLine::Action::Run) return PrintAndExit(command);
  LoadGermanQtTexts(app);

  QPointer<HelpViewer> help;
  QPointer<QWidget> frame;
  const QString helpFile = ResolveHelpFile(QCoreApplication::applicationDirPath());
  QtPrompts prompts(
      [&help, &frame, &helpFile](const QString& topic) {
        if (!help) help = new HelpViewer(helpFile);
        help->SetAnchor(frame);
        help->ShowTopic(topic);
      },
      QFileInfo(helpFile).absolutePath());

  SingleInstance instance;
  if (!instance.Take(InstanceLock::DefaultFolder(), prompts, command.Files)) return 0;
  // Only the name: a display name would be appended to every caption the desktop shows.
  app.setApplicationName(kApplicationTitle);
  // Lets the desktop match the window to the installed desktop entry and its icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("de.qelgraphics.QelGraphics"));
  app.SetPrompts(&prompts);

  TMainForm MainForm(FrameEnvironment{&prompts, {}, {}});
  frame = &MainForm;
  TAboutBox AboutBox(prompts, &MainForm);
  MainForm.AboutBox = &AboutBox;
  RecentProjects recent(RecentProjects::UserSettings());
  MainForm.SetRecentProjects(&recent);
  TForm2 Form2(prompts, MainForm.Fields(), MainForm.Printer(), &MainForm);
  TForm3 Form3(MainForm.Children(), MainForm.QelParser1(), MainForm.Fields(), MainForm.Printer(),
               Form2, &MainForm);
  TForm5 Form5(MainForm.Children(), MainForm.QelParser1(), &MainForm);
  WireFrame(MainForm, {&Form2, &Form3, &Form5});
  // Taken from the first event loop on, a start-up box's included.
  OpeningQueue opening(prompts, &MainForm,
                       [&MainForm](const QString& path) { MainForm.OpenProjectFiles({path}); });
  if (InstanceServer* server = instance.Server())
    QObject::connect(server, &InstanceServer::OpenRequested, &MainForm,
                     [&MainForm, &opening](const QStringList& paths) {
                       opening.Add(paths);
                       MainForm.BringToFront();
                     });
  MainForm.show();
  opening.Add(command.Files);
  const int result = app.exec();
  delete help;
  return result;
}
