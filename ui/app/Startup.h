#pragma once

#include <QString>
#include <QStringList>

class InstanceLock;
class Prompts;
class QCoreApplication;

// True when this is the only running instance. Otherwise hands the files to the running instance
// and returns false; without files, or when the hand-over fails, tells the user that only one
// instance may run.
bool EnsureSingleInstance(InstanceLock& lock, Prompts& prompts, const QStringList& files = {});

// Loads Qt's own German texts (dialog buttons, file, colour and print dialogs); false when missing.
bool LoadGermanQtTexts(QCoreApplication& app);

// The help file's absolute path: beside the program, or in the share folder of its prefix (the
// build tree and an installation alike). The first candidate when neither exists, so the viewer
// can name the file it misses.
QString ResolveHelpFile(const QString& programFolder);
