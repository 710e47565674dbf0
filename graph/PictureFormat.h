#pragma once

#include <optional>
#include <string_view>

// The formats a graph's picture is written in.
enum class PictureFormat { Jpeg, Bmp, Png, Svg, Pdf };

// The format the name's extension stands for, in any case: .jpg, .jpeg, .bmp, .png, .svg, .pdf.
std::optional<PictureFormat> PictureFormatOfName(std::string_view name);

// The format a picture saved under `name` is written in: the one its extension stands for, so the
// file's content matches its name; `chosen` (the save dialog's filter) only for any other name.
PictureFormat PictureFormatToWrite(std::string_view name, PictureFormat chosen);
