#pragma once

#include <QLockFile>
#include <QString>

// The one-instance rule: a lock file named "Qel Graphics 4" in the user's runtime folder, held for
// the life of the process. A lock left behind by a crashed instance (its process is gone) does not
// count.
class InstanceLock {
 public:
  explicit InstanceLock(const QString& folder = DefaultFolder());

  // False when another running instance holds the lock.
  bool Acquire();

  // The folder of the lock; the running instance's hand-over socket lives beside it.
  const QString& Folder() const { return folder_; }

  static QString DefaultFolder();

 private:
  QString folder_;
  QLockFile lock_;
};
