#pragma once

#include <QLockFile>
#include <QString>

// The one-instance rule: a lock file named "Qel Graphics 4" in a folder private to the user (see
// platform/PrivateAccess.h), held for the life of the process. A lock left behind by a crashed
// instance (its process is gone) does not count.
class InstanceLock {
 public:
  explicit InstanceLock(const QString& folder);

  // False when another running instance holds the lock.
  bool Acquire();

  // The folder of the lock; the running instance's hand-over socket lives beside it.
  const QString& Folder() const { return folder_; }

  // Empty when the user has no private folder: the rule cannot be kept safely then.
  static QString DefaultFolder();

  // The longest name the lock's folder must leave room for in a socket address.
  static constexpr std::size_t kLongestName = 32;

 private:
  QString folder_;
  QLockFile lock_;
};
