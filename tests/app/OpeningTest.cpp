#include <gtest/gtest.h>
#include <QAction>
#include <QLocalSocket>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include "tests/app/FakeChild.h"
#include "tests/support/ScriptedPrompts.h"
#include "ui/app/CommandLine.h"
#include "ui/app/FrameOpening.h"
#include "ui/app/FrameWiring.h"
#include "ui/app/InstanceChannel.h"
#include "ui/app/MainForm.h"
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
