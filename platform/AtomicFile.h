#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

// A file that cannot be created or written; the message is the platform's "Cannot create file
// <path>".
class FileCreateError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Writes bytes to a temporary file in the target's folder, flushes it to disk and renames it over
// the target, so a failed or interrupted write leaves the previous file byte for byte intact.
// Throws FileCreateError on any failure.
void WriteFileAtomically(const std::string& path, std::string_view bytes);
