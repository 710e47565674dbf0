#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

// What the program's arguments ask for: qelgraphics [--help | --version] [--] [FILE ...].
struct CommandLine {
  enum class Action { Run, Help, Version, Usage };
  Action Request = Action::Run;
  QStringList Files;      // absolute, in the given order; every byte kept (platform/PathText.h)
  QString UnknownOption;  // with Usage: the option that was not understood
};

// Reads the arguments after the program's name; relative FILEs are taken from startFolder (bytes,
// as the system gives it). "--help" and "--version" win over anything else before "--"; after
// "--" every argument is a FILE.
CommandLine ParseCommandLine(const std::vector<QByteArray>& arguments,
                             const QByteArray& startFolder);

// True for the options Qt takes for itself (-platform, -style, --display, ...): they are left for
// the application object to remove, any other unknown option is answered before it exists.
bool IsToolkitOption(const QString& option);

// The texts for standard output (help, version) and standard error (usage, on a wrong option).
QString HelpText();
QString VersionText();
QString UsageText(const QString& unknownOption);

// The process's exit status for a wrong command line.
inline constexpr int kUsageExitStatus = 64;

// argv without the program's name, and the folder the program was started in, as bytes.
std::vector<QByteArray> ArgumentsOf(int argc, char** argv);

// Qt knows no "--" and would take its options after it too: it is given only the entries of argv
// before the first "--". ArgumentsLeft is what remains for ParseCommandLine once Qt has taken its
// own out of those (toolkitArgc is Qt's count afterwards): the rest of them, then "--" and
// everything after it.
int ToolkitArgumentCount(int argc, char** argv);
std::vector<QByteArray> ArgumentsLeft(int toolkitArgc, char** argv, int toolkitGiven, int argc);
QByteArray StartFolder();

// Help and version go to standard output (status 0), the usage to standard error (status 64).
int PrintAndExit(const CommandLine& line);
