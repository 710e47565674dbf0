#pragma once

#include <optional>
#include <string>
#include <string_view>

// The single-byte code page of project files, tables and engine messages (Windows-1252). Every byte
// has a character: the five bytes the code page leaves unassigned stand for the control characters
// of the same number, so any file's bytes survive a round trip through the windows.
char32_t CodePointOfWindows1252(unsigned char byte);

// The byte of a character, or nothing when the code page cannot hold it.
std::optional<unsigned char> Windows1252ByteOf(char32_t code);

std::string Utf8FromWindows1252(std::string_view text);
