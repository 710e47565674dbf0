#pragma once

#include <optional>
#include <string>

#include "platform/FileStamp.h"

class Prompts;
class QWidget;

// A save over a file that someone else changed since the editor read or saved it would lose that
// change unseen: the user is asked first. True when the save may go ahead.
bool MayReplace(Prompts& prompts, QWidget* parent, const std::optional<FileStamp>& stamp,
                const std::string& path);
