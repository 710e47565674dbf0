#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include "project/ProjectDocument.h"

// The project file: single-byte text, one value per line, identified only by its position; every
// line ends with CR LF. A project with n functions has 27 + 14 n lines.

// A file that exists but cannot be read; the message is the platform's "Cannot open file <path>".
// Reason, when not empty, says why in German (Windows-1252) for the windows.
class FileOpenError : public std::runtime_error {
 public:
  explicit FileOpenError(const std::string& message, std::string reason = {})
      : std::runtime_error(message), reason_(std::move(reason)) {}
  const std::string& Reason() const { return reason_; }

 private:
  std::string reason_;
};

// Larger files are refused unread: a real project (thousands of functions, each expression at the
// engine's length bound of 10000 characters) stays far below this.
inline constexpr std::size_t MaxProjectFileSize = std::size_t{256} << 20;

// A damaged count line can ask for millions of functions; empty entries are added for missing
// blocks only up to this many entries in all. Blocks present in the file are always read in full.
inline constexpr std::size_t MaxEntriesWithoutBlocks = 1000;

// The bytes SaveData writes for a document.
std::string ProjectFileText(const ProjectDocument& document);

// Writes the document to its DateiName atomically and clears Modified. On failure throws
// FileCreateError ("Cannot create file <path>"); the old file stays intact and Modified unchanged.
void SaveData(ProjectDocument& document);

// Fills Settings and Functions from the bytes of a project file (any line ending). A count line
// that is not an integer throws ConvertError ("'<line>' is not a valid integer value") after the
// settings have been set, with no functions and Modified true (the settings were changed).
// Otherwise Modified is false. Caption and DateiName are left alone.
void ReadProjectText(std::string_view bytes, ProjectDocument& document);

// ReadProjectText on the file at path, read line by line and only as far as the count line asks. A
// file that cannot be opened or read, is no regular file or is larger than MaxProjectFileSize (also
// one that does not exist: callers that treat a missing file as a new project check that first)
// throws FileOpenError and leaves the document untouched.
void ReadProjectFile(const std::string& path, ProjectDocument& document);

// The editor's list operations. AddFunctionEntry appends {Number n+1, "", "0.1", "0"};
// DeleteFunctionEntry removes the entry at index and renumbers the entries after it by their new
// 1-based position. Both set Modified; an index out of range changes nothing.
void AddFunctionEntry(ProjectDocument& document);
void DeleteFunctionEntry(ProjectDocument& document, std::size_t index);
