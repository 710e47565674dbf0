#include "ui/platform/InstanceLock.h"

#include <QDir>
#include <QStandardPaths>

InstanceLock::InstanceLock(const QString& folder)
    : folder_(folder), lock_(QDir(folder).filePath("Qel Graphics 4.lock")) {
  // Only a dead owner makes the lock stale, never its age: an instance may run for days.
  lock_.setStaleLockTime(0);
}

bool InstanceLock::Acquire() {
  return lock_.tryLock(0);
}

QString InstanceLock::DefaultFolder() {
  const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  return runtime.isEmpty() ? QDir::tempPath() : runtime;
}
