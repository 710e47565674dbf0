#pragma once

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

namespace qeltest {

// Runs `body` in a forked child, for limits and identities the test process must not take on
// itself. Succeeds when the body returned true and failed no assertion; the child's own failures
// are printed there.
template <typename Body>
testing::AssertionResult SucceedsInChild(Body body) {
  const pid_t child = ::fork();
  if (child < 0) return testing::AssertionFailure() << "fork failed";
  if (child == 0) ::_exit(body() && !testing::Test::HasFailure() ? 0 : 1);
  int status = 0;
  if (::waitpid(child, &status, 0) != child) return testing::AssertionFailure() << "waitpid failed";
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    return testing::AssertionFailure() << "the child process failed";
  return testing::AssertionSuccess();
}

// The disk "fills up" after `bytes`: larger writes fail with EFBIG instead of killing the process.
inline void LimitFileSize(rlim_t bytes) {
  std::signal(SIGXFSZ, SIG_IGN);
  const rlimit limit{bytes, bytes};
  ::setrlimit(RLIMIT_FSIZE, &limit);
}

}  // namespace qeltest
