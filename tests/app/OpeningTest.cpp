#include <gtest/gtest.h>
#include <malloc.h>
#include <sys/stat.h>
#include <QAction>
#include <QLocalSocket>
#include <QMdiArea>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "tests/app/FakeChild.h"
#include "tests/support/ScriptedPrompts.h"
#include "ui/app/CommandLine.h"
#include "ui/app/FrameOpening.h"
#include "ui/app/FrameWiring.h"
#include "ui/app/InstanceChannel.h"
#include "ui/app/MainForm.h"
#include "ui/app/OpeningQueue.h"
#include "ui/app/RecentProjects.h"
#include "ui/app/Startup.h"
#include "ui/platform/InstanceLock.h"
#include "ui/platform/PathText.h"
#include "ui/project/ProjectWindow.h"

namespace {

using Action = CommandLine::Action;

QByteArray Bytes(const QString& path) {
  return PathToBytes(path);
}

TEST(CommandLineTest, ArgumentsBecomeAbsoluteFilesOrARequest) {
  const struct {
    std::vector<QByteArray> Arguments;
    Action Request;
    QStringList Files;
    QString Unknown;
  } cases[] = {
      {{}, Action::Run, {}, {}},
      {{"a.qgp", "/abs/b.qgp"}, Action::Run, {"/start/a.qgp", "/abs/b.qgp"}, {}},
      {{"../x/./c.qgp"}, Action::Run, {"/x/c.qgp"}, {}},
      {{"mit Leerzeichen.qgp", "-"}, Action::Run, {"/start/mit Leerzeichen.qgp", "/start/-"}, {}},
      {{"--help"}, Action::Help, {}, {}},
      {{"a.qgp", "-h"}, Action::Help, {}, {}},
      {{"--version", "--bogus"}, Action::Version, {}, {}},
      {{"--", "--help", "-x"}, Action::Run, {"/start/--help", "/start/-x"}, {}},
      {{"a.qgp", "--bogus", "-y"}, Action::Usage, {}, "--bogus"},
      {{"--bogus", "--help"}, Action::Help, {}, {}},
  };
  for (const auto& c : cases) {
    const CommandLine line = ParseCommandLine(c.Arguments, "/start");
    EXPECT_EQ(line.Request, c.Request) << c.Files.join(' ').toStdString();
    EXPECT_EQ(line.Files, c.Files);
    EXPECT_EQ(line.UnknownOption, c.Unknown);
  }
  for (const char* option : {"-platform", "--style=fusion", "-qwindowgeometry"})
    EXPECT_TRUE(IsToolkitOption(option)) << option;
  for (const char* option : {"--bogus", "-x", "--plat"}) EXPECT_FALSE(IsToolkitOption(option));
  const QByteArray odd = "/tmp/\xFF zeile\nzwei.qgp";
  EXPECT_EQ(Bytes(ParseCommandLine({odd}, "/").Files.value(0)), odd);
}

// Qt sees only what comes before "--"; what it leaves and everything from "--" on is parsed.
TEST(CommandLineTest, QtTakesNoOptionAfterTheEndOfOptions) {
  const struct {
    std::vector<const char*> Argv;
    int ToolkitCount;
    int ToolkitLeaves;  // as if Qt took an option of one entry
    std::vector<QByteArray> Left;
  } cases[] = {
      {{"qelgraphics", "a.qgp"}, 2, 2, {"a.qgp"}},
      {{"qelgraphics", "--", "-platform", "x.qgp"}, 1, 1, {"--", "-platform", "x.qgp"}},
      {{"qelgraphics", "-reverse", "--", "-reverse"}, 2, 1, {"--", "-reverse"}},
      {{"qelgraphics", "a", "--", "b", "--"}, 2, 2, {"a", "--", "b", "--"}},
  };
  for (const auto& c : cases) {
    std::vector<char*> argv;
    for (const char* entry : c.Argv) argv.push_back(const_cast<char*>(entry));
    const int argc = int(argv.size());
    EXPECT_EQ(ToolkitArgumentCount(argc, argv.data()), c.ToolkitCount) << c.Argv[1];
    EXPECT_EQ(ArgumentsLeft(c.ToolkitLeaves, argv.data(), c.ToolkitCount, argc), c.Left);
  }
}

TEST(OpenRequestTest, RoundTripsAndRejectsWhatCannotBeARequest) {
  const QStringList paths = {"/a b/c.qgp", PathFromBytes("/\xFF\n.qgp"), "/ü.qgp"};
  const QByteArray request = EncodeOpenRequest(paths);
  QStringList decoded;
  EXPECT_EQ(DecodeOpenRequest(request, decoded), OpenRequestState::Complete);
  EXPECT_EQ(decoded, paths);
  EXPECT_EQ(DecodeOpenRequest(request.left(request.size() - 1), decoded),
            OpenRequestState::Incomplete);
  EXPECT_EQ(DecodeOpenRequest(request.left(5), decoded), OpenRequestState::Incomplete);
  const QByteArray magic = EncodeOpenRequest({}).chopped(1);
  const QByteArray malformed[] = {
      "GET / HTTP/1.0\r\n",
      magic + "relative.qgp" + '\0' + '\0',
      request + "more",
      magic + QByteArray(5000, 'a'),
      magic + '/' + QByteArray(kMaxOpenRequestBytes, 'a'),
  };
  for (const QByteArray& bytes : malformed)
    EXPECT_EQ(DecodeOpenRequest(bytes, decoded), OpenRequestState::Malformed)
        << bytes.left(20).constData();
}

// A flood of idle and garbled connections neither stalls the server nor keeps it from taking a
// good request afterwards.
TEST(InstanceServerTest, SurvivesAFloodAndGarbageAndTakesAGoodRequest) {
  QTemporaryDir folder;
  InstanceServer server(folder.path());
  ASSERT_TRUE(server.Listen());
  QSignalSpy requests(&server, &InstanceServer::OpenRequested);
  std::vector<std::unique_ptr<QLocalSocket>> flood;
  for (int i = 0; i < 3 * InstanceServer::kMaxConnections; ++i) {
    flood.push_back(std::make_unique<QLocalSocket>());
    flood.back()->connectToServer(InstanceChannelPath(folder.path()));
    if (i % 3 == 1) flood.back()->write("garbage\n");
    if (i % 3 == 2)
      flood.back()->write(EncodeOpenRequest({}).chopped(1) + QByteArray(1 << 21, '/'));
  }
  QTest::qWait(200);
  flood.clear();
  QTest::qWait(100);
  EXPECT_EQ(requests.count(), 0);

  QLocalSocket good;
  good.connectToServer(InstanceChannelPath(folder.path()));
  good.write(EncodeOpenRequest({"/x/eins.qgp", "/x/zwei.qgp"}));
  for (int i = 0; i < 100 && requests.count() == 0; ++i) QTest::qWait(20);
  ASSERT_EQ(requests.count(), 1);
  EXPECT_EQ(requests.front().front().toStringList(), (QStringList{"/x/eins.qgp", "/x/zwei.qgp"}));
  QByteArray answer;
  for (int i = 0; i < 100 && answer.size() < 3; ++i) {
    QTest::qWait(20);
    answer += good.readAll();
  }
  EXPECT_EQ(answer, "OK\n");
}

// A handed-over file that fails to open shows a box, whose nested event loop runs while the
// client hangs up: the connection that brought the request must not be freed under it. Freed
// memory is overwritten, so that a use after the free crashes instead of passing by luck.
TEST(InstanceServerTest, ABoxShownForAHandOverRunsItsOwnEventLoopSafely) {
  mallopt(M_PERTURB, 0xA5);
  QTemporaryDir folder;
  InstanceServer server(folder.path());
  ASSERT_TRUE(server.Listen());
  int closedBoxes = 0;
  QObject::connect(&server, &InstanceServer::OpenRequested, [&closedBoxes] {
    QMessageBox box(QMessageBox::Warning, "Qel Graphics", "Fehler", QMessageBox::Ok);
    QTimer::singleShot(300, &box, &QMessageBox::accept);
    box.exec();
    ++closedBoxes;
  });
  for (int round = 1; round <= 2; ++round) {
    QLocalSocket client;
    QObject::connect(&client, &QLocalSocket::readyRead, [&client] {
      if (client.readAll().contains('\n')) client.disconnectFromServer();
    });
    client.connectToServer(InstanceChannelPath(folder.path()));
    client.write(EncodeOpenRequest({"/tmp"}));
    for (int i = 0; i < 200 && closedBoxes < round; ++i) QTest::qWait(20);
    EXPECT_EQ(closedBoxes, round);
  }
  mallopt(M_PERTURB, 0);
}

// Idle connections filling every slot do not keep out a second start that sends its request.
TEST(InstanceServerTest, IdleConnectionsCannotRefuseASecondStart) {
  QTemporaryDir folder;
  InstanceServer server(folder.path());
  ASSERT_TRUE(server.Listen());
  std::vector<std::unique_ptr<QLocalSocket>> idle;
  for (int i = 0; i < InstanceServer::kMaxConnections; ++i) {
    idle.push_back(std::make_unique<QLocalSocket>());
    idle.back()->connectToServer(InstanceChannelPath(folder.path()));
    idle.back()->write(EncodeOpenRequest({}).left(4));
  }
  QTest::qWait(100);
  QSignalSpy requests(&server, &InstanceServer::OpenRequested);
  QLocalSocket good;
  good.connectToServer(InstanceChannelPath(folder.path()));
  good.write(EncodeOpenRequest({"/x/a.qgp"}));
  EXPECT_TRUE(requests.wait(2000));
}

// Openings run from the event loop: a request that comes while an opening shows a real box is
// answered at once and opens in the box's loop, the rest of the first request after the box; a
// request for more windows than fit a screen is asked about first.
TEST(OpeningQueueTest, AnswersAHandOverAtOnceAndOpensEachRequestInOrder) {
  QTemporaryDir folder;
  InstanceServer server(folder.path());
  ASSERT_TRUE(server.Listen());
  ScriptedPrompts prompts;
  QLocalSocket client;
  QByteArray answer;
  QStringList opened;
  OpeningQueue queue(prompts, nullptr, [&](const QString& path) {
    opened << path;
    if (path != "/box") return;
    QMessageBox box(QMessageBox::Warning, "Qel Graphics", "Fehler", QMessageBox::Ok);
    QTimer::singleShot(0, [&] { client.write(EncodeOpenRequest({"/b"})); });
    QTimer::singleShot(500, &box, &QMessageBox::accept);
    box.exec();
    answer = client.readAll();
  });
  QObject::connect(&server, &InstanceServer::OpenRequested, &queue, &OpeningQueue::Add);
  client.connectToServer(InstanceChannelPath(folder.path()));
  queue.Add({"/box", "/a"});
  EXPECT_TRUE(opened.isEmpty());
  for (int i = 0; i < 100 && opened.size() < 3; ++i) QTest::qWait(20);
  EXPECT_EQ(opened, (QStringList{"/box", "/b", "/a"}));
  EXPECT_EQ(answer, "OK\n");

  QStringList many;
  for (int i = 0; i <= OpeningQueue::kWithoutAsking; ++i) many << QString("/p%1").arg(i);
  prompts.MessageAnswers = {PromptButton::No, PromptButton::Yes};
  opened.clear();
  queue.Add(many);
  queue.Add(many);
  for (int i = 0; i < 100 && opened.size() < many.size(); ++i) QTest::qWait(20);
  EXPECT_EQ(opened, many);
  ASSERT_EQ(prompts.Messages.size(), 2u);
  EXPECT_EQ(prompts.LastMessageText(),
            "Es sollen 21 Projekte auf einmal geöffnet werden. Sollen sie alle geöffnet werden?");
}

TEST(InstanceServerTest, ReplacesTheSocketOfADeadInstance) {
  QTemporaryDir folder;
  {
    InstanceServer dead(folder.path());
    ASSERT_TRUE(dead.Listen());
  }
  QFile stale(InstanceChannelPath(folder.path()));
  ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
  stale.close();
  InstanceServer server(folder.path());
  EXPECT_TRUE(server.Listen());
}

// A running instance that does not answer (here this very process, busy in the hand-over) never
// keeps the second start waiting: it gives up and shows the one-instance message.
TEST(InstanceServerTest, AHandOverNobodyAnswersEndsInTheOneInstanceMessage) {
  QTemporaryDir folder;
  InstanceLock first(folder.path());
  ASSERT_TRUE(first.Acquire());
  InstanceServer hung(folder.path());
  ASSERT_TRUE(hung.Listen());
  ScriptedPrompts prompts;
  InstanceLock second(folder.path());
  EXPECT_FALSE(EnsureSingleInstance(second, prompts, {"/x/a.qgp"}));
  ASSERT_EQ(prompts.Messages.size(), 1u);
  EXPECT_EQ(prompts.LastMessageText(),
            "Es kann nur eine Instanz des Programmes zur Zeit ausgeführt werden.");
}

class OpeningFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    recent_ = new RecentProjects(
        std::make_unique<QSettings>(folder_.filePath("settings.conf"), QSettings::IniFormat));
    recentOwner_.reset(recent_);
    frame_ = std::make_unique<TMainForm>(FrameEnvironment{&prompts_, [] { return 1024; }, [] {}});
    frame_->SetProjectWindowFactory([this](const QString& name, bool isNew) {
      opened_ << name + (isNew ? " (neu)" : "");
      return new FakeChild(frame_->Children(), "MDIChild", name, calls_);
    });
    frame_->SetRecentProjects(recent_);
    frame_->show();
  }
  void TearDown() override { frame_.reset(); }

  QString Existing(const QString& name) {
    QFile file(folder_.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    return file.fileName();
  }
  QStringList RecentMenu(QMenu& menu) {
    frame_->FillRecentProjects(menu);
    QStringList texts;
    for (QAction* action : menu.actions())
      texts << (action->isSeparator() ? "|"
                                      : action->text() + (action->isEnabled() ? "" : " (aus)"));
    return texts;
  }
  QAction* Entry(QMenu& menu, int index) {
    frame_->FillRecentProjects(menu);
    return menu.actions().value(index);
  }

  QTemporaryDir folder_;
  ScriptedPrompts prompts_;
  RecentProjects* recent_ = nullptr;
  std::unique_ptr<RecentProjects> recentOwner_;
  QStringList calls_, opened_;
  std::unique_ptr<TMainForm> frame_;
};

TEST_F(OpeningFrameTest, FilesOpenInOrderAsOpenDoesAndOnlyRealFilesAreRemembered) {
  const QString a = Existing("a.qgp"), b = Existing("b&c.qgp");
  frame_->OpenProjectFiles({a, folder_.filePath("fehlt.qgp"), b});
  EXPECT_EQ(opened_, (QStringList{a, folder_.filePath("fehlt.qgp"), b}));
  EXPECT_EQ(frame_->MdiArea()->currentSubWindow()->windowTitle(), b);
  EXPECT_EQ(recent_->List(), (QStringList{b, a}));
  QMenu menu;
  EXPECT_EQ(RecentMenu(menu),
            (QStringList{"&1 " + QString(b).replace("&", "&&"), "&2 " + a, "|", "Liste leeren"}));
}

TEST_F(OpeningFrameTest, RecentListKeepsTheNewestEightAndSurvivesARestart) {
  QStringList files;
  for (int i = 0; i < 10; ++i) files << Existing(QString("p%1.qgp").arg(i));
  frame_->OpenProjectFiles(files);
  frame_->OpenProjectFiles({files[3]});
  const QStringList expected = {files[3], files[9], files[8], files[7],
                                files[6], files[5], files[4], files[2]};
  EXPECT_EQ(recent_->List(), expected);
  RecentProjects again(
      std::make_unique<QSettings>(folder_.filePath("settings.conf"), QSettings::IniFormat));
  EXPECT_EQ(again.List(), expected);
}

TEST_F(OpeningFrameTest, ChoosingAMissingProjectSaysSoAndDropsItAndClearingEmptiesTheList) {
  const QString kept = Existing("bleibt.qgp"), gone = Existing("weg.qgp");
  frame_->OpenProjectFiles({kept, gone});
  QFile::remove(gone);
  opened_.clear();
  QMenu menu;
  Entry(menu, 0)->trigger();
  EXPECT_TRUE(opened_.isEmpty());
  ASSERT_EQ(prompts_.Messages.size(), 1u);
  EXPECT_EQ(prompts_.Messages[0].Caption, "Qel Graphics");
  EXPECT_TRUE(prompts_.LastMessageText().contains(gone));
  EXPECT_EQ(recent_->List(), QStringList{kept});
  Entry(menu, 0)->trigger();
  EXPECT_EQ(opened_, QStringList{kept});
  menu.actions().back()->trigger();
  EXPECT_EQ(RecentMenu(menu), QStringList{"Liste leeren (aus)"});
}

TEST_F(OpeningFrameTest, EveryDateiMenuHasTheRecentProjectsJustBeforeBeenden) {
  FakeChild child(frame_->Children(), "Graph", "Graph", calls_);
  for (const StandardMenus* menus : {&child.Menus()}) {
    const QList<QAction*> items = menus->Datei->actions();
    const auto exit = items.indexOf(menus->Item(MenuItem::FileExitItem));
    ASSERT_GT(exit, 0);
    EXPECT_EQ(items[exit - 1]->menu(), menus->ZuletztGeoeffnet);
    EXPECT_EQ(items[exit - 1]->text(), "&Zuletzt geöffnet");
  }
  QAction* frameExit = frame_->WindowAction(MenuItem::FileExitItem);
  const QList<QAction*> frameItems = qobject_cast<QMenu*>(frameExit->parent())->actions();
  EXPECT_EQ(frameItems[frameItems.indexOf(frameExit) - 1]->menu()->objectName(),
            "ZuletztGeoeffnet1");
}

TEST_F(OpeningFrameTest, ASavedProjectGoesToTheFrontOfTheList) {
  WireFrame(*frame_, {});
  const QString opened = folder_.filePath("geoeffnet.qgp"), saved = folder_.filePath("neu.qgp");
  ASSERT_TRUE(QFile::copy(QEL_EXAMPLE, opened));
  frame_->OpenProjectFiles({opened});
  frame_->FileNew1Execute();
  prompts_.FileAnswers = {FileChoice{saved, 1}};
  frame_->ToolButton2Click();
  EXPECT_EQ(recent_->List(), (QStringList{saved, opened}));
}

// Only a file that was read goes to the list; one the editor could not read does not.
TEST_F(OpeningFrameTest, AProjectThatFailsToOpenIsNotRemembered) {
  WireFrame(*frame_, {});
  const QString good = folder_.filePath("gut.qgp"), bad = Existing("kaputt.qgp");
  ASSERT_TRUE(QFile::copy(QEL_EXAMPLE, good));
  QFile garbage(bad);
  ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
  garbage.write("kein Projekt\n");
  garbage.close();
  frame_->OpenProjectFiles({good, bad, PathFromBytes(QByteArray("/tmp/a\0.qgp", 11))});
  EXPECT_EQ(recent_->List(), QStringList{good});
  EXPECT_EQ(prompts_.Messages.size(), 1u);
}

// A settings file that would block or flood the start is left alone; the list then lasts the run.
TEST(RecentSettingsTest, ASettingsFileThatIsNoSaneFileIsNotRead) {
  QTemporaryDir folder;
  const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", folder.path().toUtf8());
  ASSERT_TRUE(QDir(folder.path()).mkpath("Qel"));
  const QString path = folder.filePath("Qel/Qel Graphics.conf");
  EXPECT_NE(RecentProjects::UserSettings(), nullptr);
  ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
  RecentProjects recent(RecentProjects::UserSettings());
  recent.Add("/a.qgp");
  EXPECT_EQ(recent.List(), QStringList{"/a.qgp"});
  QFile::remove(path);
  QFile big(path);
  ASSERT_TRUE(big.open(QIODevice::WriteOnly));
  big.write(QByteArray(2 << 20, 'x'));
  big.close();
  EXPECT_EQ(RecentProjects::UserSettings(), nullptr);
  qputenv("XDG_CONFIG_HOME", saved);
}

// A project open already, by any spelling of its name, comes to the front: no second editor.
TEST_F(OpeningFrameTest, AProjectOpenAlreadyComesToTheFront) {
  WireFrame(*frame_, {});
  const QString a = folder_.filePath("a.qgp"), b = folder_.filePath("b.qgp");
  ASSERT_TRUE(QFile::copy(QEL_EXAMPLE, a) && QFile::copy(QEL_EXAMPLE, b));
  ASSERT_TRUE(QFile::link(a, folder_.filePath("verweis.qgp")));
  frame_->OpenProjectFiles({a, b, a, folder_.filePath("verweis.qgp")});
  EXPECT_EQ(frame_->MdiArea()->subWindowList().size(), 2);
  EXPECT_EQ(frame_->MdiArea()->activeSubWindow()->windowTitle(), a);
}

QMimeData* Drop(const QList<QByteArray>& urls) {
  auto* data = new QMimeData;
  QList<QUrl> list;
  for (const QByteArray& url : urls) list << QUrl::fromEncoded(url);
  data->setUrls(list);
  return data;
}

TEST_F(OpeningFrameTest, DropsOfProjectFilesOpenThemAndOtherDropsAreRefused) {
  const struct {
    QList<QByteArray> Urls;
    QStringList Opened;
  } cases[] = {
      {{"file:///tmp/eins.qgp", "file:///tmp/Zwei%20%C3%BC.QGP"},
       {"/tmp/eins.qgp", "/tmp/Zwei ü.QGP"}},
      {{"file:///tmp/notiz.txt", "https://example.org/a.qgp"}, {}},
      {{"file:///tmp/bild.png", "file:///tmp/a%0Ab.qgp"}, {"/tmp/a\nb.qgp"}},
      {{"file:///tmp/%FF.qgp"}, {PathFromBytes("/tmp/\xFF.qgp")}},
      {{"file:///tmp/notiz.txt%00.qgp"}, {}},
  };
  for (const auto& c : cases) {
    opened_.clear();
    std::unique_ptr<QMimeData> data(Drop(c.Urls));
    const QPoint at = frame_->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame_.get(), &enter);
    EXPECT_EQ(enter.isAccepted(), !c.Opened.isEmpty()) << c.Urls.front().constData();
    QDropEvent drop(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame_.get(), &drop);
    EXPECT_EQ(opened_, c.Opened);
  }
}

}  // namespace
