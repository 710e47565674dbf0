#include <QFileInfo>
#include <QPointer>
#include <csignal>

#include "app/AboutBox.h"
#include "app/CommandLine.h"
#include "app/HelpViewer.h"
#include "app/MainForm.h"
#include "app/OpeningQueue.h"
#include "app/RecentProjects.h"
#include "app/Startup.h"
#include "graph/OutputOptionsDialog.h"
#include "graph/ProgressDialog.h"
#include "platform/AtomicFile.h"
#include "platform/QtPrompts.h"
#include "project/ProjectWindow.h"
#include "shell/AppInfo.h"
#include "shell/ErrorReport.h"
#include "valuetable/ValueTableOptionsDialog.h"

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
  MainForm.SetProjectWindowFactory([&MainForm](const QString& name, bool isNew) {
    return CreateProjectWindow(MainForm, name, isNew);
  });
  RecentProjects recent(RecentProjects::UserSettings());
  MainForm.SetRecentProjects(&recent);
  TForm2 Form2(MainForm, &MainForm);
  MainForm.Form2 = &Form2;
  TForm3 Form3(MainForm, Form2, &MainForm);
  MainForm.Form3 = &Form3;
  TForm5 Form5(MainForm, &MainForm);
  MainForm.Form5 = &Form5;
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
