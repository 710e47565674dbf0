// The real program, started as a user starts it: arguments, and the hand-over from a second start
// to the running instance. Each test gets its own runtime, home and configuration folders.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "ui/app/InstanceChannel.h"
#include "ui/platform/PathText.h"

namespace {

// Waits until the condition holds or the time is up; whether it holds.
template <typename Condition>
bool Eventually(Condition condition, int milliseconds = 10000) {
  for (QDeadlineTimer deadline(milliseconds); !condition(); QTest::qWait(50))
    if (deadline.hasExpired()) return false;
  return true;
}

class StartTest : public ::testing::Test {
 protected:
  // Qt uses a runtime folder only when it is private to the user.
  void SetUp() override {
    ASSERT_TRUE(QDir().mkpath(folder_.filePath("runtime")));
    QFile::setPermissions(folder_.filePath("runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    environment_ = QProcessEnvironment::systemEnvironment();
    environment_.insert("QT_QPA_PLATFORM", "offscreen");
    environment_.insert("XDG_RUNTIME_DIR", folder_.filePath("runtime"));
    environment_.insert("HOME", folder_.path());
    environment_.insert("XDG_CONFIG_HOME", folder_.filePath("config"));
    environment_.remove("XDG_CACHE_HOME");
    // In a sanitizer build, Qt's process-lifetime caches are no leak of ours.
    environment_.insert("ASAN_OPTIONS", environment_.value("ASAN_OPTIONS") + ":detect_leaks=0");
  }
  void TearDown() override {
    for (auto& process : running_) {
      process->kill();
      process->waitForFinished(5000);
    }
  }

  std::unique_ptr<QProcess> Program(const QStringList& arguments) {
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(environment_);
    process->setWorkingDirectory(folder_.path());
    process->start(QEL_PROGRAM, arguments);
    EXPECT_TRUE(process->waitForStarted(10000));
    return process;
  }
  // Runs a start that must end by itself; its exit status.
  int Finished(const QStringList& arguments, QByteArray* out = nullptr, QByteArray* err = nullptr) {
    auto process = Program(arguments);
    EXPECT_TRUE(process->waitForFinished(20000)) << arguments.join(' ').toStdString();
    if (out) *out = process->readAllStandardOutput();
    if (err) *err = process->readAllStandardError();
    return process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1;
  }
  // Starts the instance that keeps running, and waits until it listens for second starts.
  QProcess& Running(const QStringList& arguments = {}, const QString& folder = "runtime") {
    running_.push_back(Program(arguments));
    const QString socket = InstanceChannelPath(folder_.filePath(folder));
    EXPECT_TRUE(Eventually([&] { return QFile::exists(socket); }));
    return *running_.back();
  }
  QString Project(const QString& name) {
    EXPECT_TRUE(QFile::copy(QEL_EXAMPLE, folder_.filePath(name)));
    return folder_.filePath(name);
  }
  // The running instance records each project it opened from a file.
  QStringList Remembered() {
    QSettings settings(folder_.filePath("config/Qel/Qel Graphics.conf"), QSettings::NativeFormat);
    QStringList paths;
    for (const QVariant& entry : settings.value("RecentProjects").toList())
      paths << PathFromBytes(entry.toByteArray());
    return paths;
  }

  QTemporaryDir folder_;
  QProcessEnvironment environment_;
  std::vector<std::unique_ptr<QProcess>> running_;
};

TEST_F(StartTest, HelpAndVersionPrintAndAWrongOptionGivesTheUsage) {
  const struct {
    QStringList Arguments;
    int Status;
    const char* OutContains;
    const char* ErrContains;
  } cases[] = {
      {{"--help"}, 0, "Aufruf: qelgraphics", ""},
      {{"datei.qgp", "-h"}, 0, "--version", ""},
      {{"--version"}, 0, "Qel Graphics 4.2", ""},
      {{"--gibtsnicht", "datei.qgp"}, 64, "", "--gibtsnicht"},
  };
  for (const auto& c : cases) {
    QByteArray out, err;
    EXPECT_EQ(Finished(c.Arguments, &out, &err), c.Status) << c.Arguments.join(' ').toStdString();
    EXPECT_TRUE(out.contains(c.OutContains)) << out.constData();
    EXPECT_TRUE(err.contains(c.ErrContains)) << err.constData();
    if (c.Status != 0) {
      EXPECT_TRUE(out.isEmpty());
    }
  }
}

// A pipe and a folder among the files neither hang the running instance nor count as projects:
// it still takes the next hand-over.
TEST_F(StartTest, ASecondStartHandsItsFilesToTheRunningInstanceAndEnds) {
  const QString first = Project("erstes Projekt.qgp");
  const QString second = Project("zwei\xC3\xBC.qgp");
  const QString third = Project("drei.qgp");
  ASSERT_EQ(::mkfifo(QFile::encodeName(folder_.filePath("rohr.qgp")).constData(), 0600), 0);
  Running({"erstes Projekt.qgp"});
  EXPECT_TRUE(Eventually([&] { return Remembered() == QStringList{first}; }))
      << Remembered().join(' ').toStdString();
  EXPECT_EQ(Finished({second, "fehlt.qgp", "rohr.qgp", folder_.path()}), 0);
  EXPECT_TRUE(Eventually([&] {
    return Remembered() == (QStringList{second, first});
  })) << Remembered().join(' ').toStdString();
  EXPECT_EQ(Finished({third}), 0);
  EXPECT_TRUE(Eventually([&] { return Remembered().value(0) == third; }));
}

TEST_F(StartTest, AStartAfterADeadInstanceRecoversItsLockAndSocket) {
  QProcess& dead = Running();
  ::kill(pid_t(dead.processId()), SIGKILL);
  dead.waitForFinished(5000);
  ASSERT_TRUE(QFile::exists(InstanceChannelPath(folder_.filePath("runtime"))));
  const QString a = Project("a.qgp"), b = Project("b.qgp");
  QProcess& next = Running({a});
  QTest::qWait(500);
  EXPECT_EQ(next.state(), QProcess::Running) << "the new start became the running instance";
  EXPECT_EQ(Finished({b}), 0);
  EXPECT_TRUE(Eventually([&] {
    return Remembered() == (QStringList{b, a});
  })) << Remembered().join(' ').toStdString();
}

// Without a runtime folder (su, ssh, cron) the lock and socket go to the user's own cache folder,
// never to the shared temporary folder; with no private folder at all, a start runs on its own and
// says so.
TEST_F(StartTest, WithoutARuntimeFolderNoSharedFolderIsEverUsed) {
  environment_.remove("XDG_RUNTIME_DIR");
  environment_.insert("TMPDIR", folder_.filePath("tmp"));
  ASSERT_TRUE(QDir().mkpath(folder_.filePath("tmp")));
  const QString a = Project("a.qgp"), b = Project("b.qgp");
  Running({a}, ".cache/qelgraphics");
  EXPECT_EQ(Finished({b}), 0);
  EXPECT_TRUE(Eventually([&] { return Remembered().value(0) == b; }));
  QDirIterator shared(folder_.filePath("tmp"), QDir::Files | QDir::System | QDir::Hidden,
                      QDirIterator::Subdirectories);
  EXPECT_FALSE(shared.hasNext()) << shared.next().toStdString();

  environment_.insert("XDG_CACHE_HOME", folder_.filePath("tmp"));
  QFile::setPermissions(folder_.filePath("tmp"), QFileDevice::Permissions(0x7777));
  QProcess& alone = *running_.emplace_back(Program({a}));
  QTest::qWait(1500);
  EXPECT_EQ(alone.state(), QProcess::Running) << "a start without a private folder must not end";
  const QByteArray notes = alone.readAllStandardError();
  EXPECT_EQ(notes.count("kein privater Ordner"), 1) << notes.constData();
}

// A runtime folder reached through a link is the same folder for every start; a socket path that
// cannot be listened on is reported.
TEST_F(StartTest, ALinkedRuntimeFolderHandsOverAndAFailedListenIsReported) {
  ASSERT_TRUE(QFile::link(folder_.filePath("runtime"), folder_.filePath("verweis")));
  environment_.insert("XDG_RUNTIME_DIR", folder_.filePath("verweis"));
  const QString a = Project("a.qgp"), b = Project("b.qgp");
  QProcess& first = Running({a});
  EXPECT_EQ(Finished({b}), 0);
  EXPECT_TRUE(Eventually([&] { return Remembered().value(0) == b; }));
  first.kill();
  first.waitForFinished(5000);

  const QString socket = InstanceChannelPath(folder_.filePath("runtime"));
  QFile::remove(socket);
  ASSERT_TRUE(QDir().mkpath(socket + "/drin"));
  QProcess& deaf = *running_.emplace_back(Program({a}));
  QByteArray notes;
  EXPECT_TRUE(Eventually([&] {
    return (notes += deaf.readAllStandardError()).contains(socket.toUtf8());
  })) << notes.constData();
}

// After "--" even Qt's own option names are files.
TEST_F(StartTest, QtsOptionsAfterTheEndOfOptionsAreFiles) {
  const QString a = Project("a.qgp");
  QProcess& first = Running({"--", "-platform", "a.qgp"});
  EXPECT_TRUE(Eventually([&] { return Remembered() == QStringList{a}; }));
  EXPECT_EQ(first.state(), QProcess::Running);
}

}  // namespace
