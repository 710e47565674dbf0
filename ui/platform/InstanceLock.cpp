#include "ui/platform/InstanceLock.h"

#include <QDir>

#include "platform/PrivateAccess.h"
#include "ui/platform/PathText.h"

InstanceLock::InstanceLock(const QString& folder)
    : folder_(folder), lock_(QDir(folder).filePath("Qel Graphics 4.lock")) {
  // Only a dead owner makes the lock stale, never its age: an instance may run for days.
  lock_.setStaleLockTime(0);
}

bool InstanceLock::Acquire() {
  return lock_.tryLock(0);
}

QString InstanceLock::DefaultFolder() {
  const auto folder = PrivateRuntimeFolder(ProcessEnvironment(), kLongestName);
  return folder ? PathFromBytes(QByteArray::fromStdString(*folder)) : QString();
}
