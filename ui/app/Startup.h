#pragma once

#include <QString>
#include <QStringList>
#include <cstdio>
#include <memory>

#include "ui/app/InstanceChannel.h"
#include "ui/platform/InstanceLock.h"

class Prompts;
class QCoreApplication;

// True when this is the only running instance. Otherwise hands the files to the running instance
// and returns false; without files, or when the hand-over fails, tells the user that only one
// instance may run.
bool EnsureSingleInstance(InstanceLock& lock, Prompts& prompts, const QStringList& files = {});

// The one-instance rule for a start: the lock, and the server for later starts' hand-overs. In a
// folder that is not private (empty) the rule cannot be kept safely: the start then runs on its
// own, and says so on standard error, as it does when it cannot listen.
class SingleInstance {
 public:
  // False when this start has handed its files over (or was refused) and ends.
  bool Take(const QString& folder, Prompts& prompts, const QStringList& files,
            std::FILE* errors = stderr);
  // Null when this start takes no hand-overs.
  InstanceServer* Server() const { return server_.get(); }

 private:
  std::unique_ptr<InstanceLock> lock_;
  std::unique_ptr<InstanceServer> server_;
};

// Loads Qt's own German texts (dialog buttons, file, colour and print dialogs); false when missing.
bool LoadGermanQtTexts(QCoreApplication& app);

// The help file's absolute path: beside the program, or in the share folder of its prefix (the
// build tree and an installation alike). The first candidate when neither exists, so the viewer
// can name the file it misses.
QString ResolveHelpFile(const QString& programFolder);
