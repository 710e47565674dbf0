#include "ui/app/CommandLine.h"

#include <unistd.h>

#include <QDir>
#include <cerrno>
#include <cstdio>

#include "ui/platform/PathText.h"
#include "ui/shell/AppInfo.h"

namespace {

bool IsOption(const QByteArray& argument) {
  return argument.size() > 1 && argument.startsWith('-');
}

QString Absolute(const QByteArray& file, const QByteArray& startFolder) {
  const QByteArray path = file.startsWith('/') ? file : startFolder + '/' + file;
  return QDir::cleanPath(PathFromBytes(path));
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<QByteArray>& arguments,
                             const QByteArray& startFolder) {
  CommandLine line;
  bool options = true;
  for (const QByteArray& argument : arguments) {
    if (options && argument == "--") {
      options = false;
    } else if (options && (argument == "--help" || argument == "-h")) {
      return {CommandLine::Action::Help, {}, {}};
    } else if (options && argument == "--version") {
      return {CommandLine::Action::Version, {}, {}};
    } else if (options && IsOption(argument)) {
      if (line.UnknownOption.isEmpty()) line.UnknownOption = PathFromBytes(argument);
    } else {
      line.Files << Absolute(argument, startFolder);
    }
  }
  if (!line.UnknownOption.isEmpty()) {
    line.Request = CommandLine::Action::Usage;
    line.Files.clear();
  }
  return line;
}

bool IsToolkitOption(const QString& option) {
  static const QStringList kOptions = {"platform",
                                       "platformpluginpath",
                                       "platformtheme",
                                       "plugin",
                                       "qwindowgeometry",
                                       "qwindowicon",
                                       "qwindowtitle",
                                       "reverse",
                                       "session",
                                       "display",
                                       "geometry",
                                       "style",
                                       "stylesheet",
                                       "widgetcount",
                                       "nograb",
                                       "dograb",
                                       "sync",
                                       "name",
                                       "title",
                                       "visual",
                                       "qmljsdebugger"};
  QString name = option.mid(1);
  if (name.startsWith('-')) name.remove(0, 1);
  return kOptions.contains(name.section('=', 0, 0));
}

QString HelpText() {
  return QStringLiteral(
      "Aufruf: qelgraphics [OPTION] [--] [DATEI ...]\n"
      "Zeichnet Funktionsgraphen und erstellt Wertetabellen.\n"
      "\n"
      "Jede DATEI wird als Projekt in einem eigenen Fenster geöffnet, der Reihe nach, wie mit\n"
      "\"Öffnen\". Eine DATEI, die es nicht gibt, öffnet ein leeres Projekt unter diesem Namen.\n"
      "Läuft das Programm schon, öffnet es die Dateien und kommt nach vorn; der zweite Aufruf\n"
      "endet sofort.\n"
      "\n"
      "  -h, --help     diese Hilfe zeigen und beenden\n"
      "      --version  die Version zeigen und beenden\n"
      "      --         alle weiteren Argumente sind Dateien\n"
      "\n"
      "Rückgabewerte: 0 bei Erfolg, 64 bei einem falschen Aufruf.\n");
}

QString VersionText() {
  return QString::fromUtf8(kFrameCaption) + "\n";
}

QString UsageText(const QString& unknownOption) {
  return "qelgraphics: unbekannte Option \"" + unknownOption +
         "\"\nAufruf: qelgraphics [--help | --version] [--] [DATEI ...]\n";
}

std::vector<QByteArray> ArgumentsOf(int argc, char** argv) {
  std::vector<QByteArray> arguments;
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
  return arguments;
}

int ToolkitArgumentCount(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (QByteArray(argv[i]) == "--") return i;
  return argc;
}

std::vector<QByteArray> ArgumentsLeft(int toolkitArgc, char** argv, int toolkitGiven, int argc) {
  std::vector<QByteArray> arguments = ArgumentsOf(toolkitArgc, argv);
  for (int i = toolkitGiven; i < argc; ++i) arguments.emplace_back(argv[i]);
  return arguments;
}

QByteArray StartFolder() {
  QByteArray folder(4096, '\0');
  while (!::getcwd(folder.data(), size_t(folder.size()))) {
    if (errno != ERANGE) return QByteArrayLiteral("/");
    folder.resize(folder.size() * 2);
  }
  return QByteArray(folder.constData());
}

int PrintAndExit(const CommandLine& line) {
  const bool usage = line.Request == CommandLine::Action::Usage;
  const QString text = usage ? UsageText(line.UnknownOption)
                       : line.Request == CommandLine::Action::Version ? VersionText()
                                                                      : HelpText();
  const QByteArray bytes = PathToBytes(text);
  std::FILE* stream = usage ? stderr : stdout;
  std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
  std::fflush(stream);
  return usage ? kUsageExitStatus : 0;
}
