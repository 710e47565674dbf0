#pragma once

// Fixed texts the application shows in more than one place.
inline constexpr const char* kApplicationTitle = "Qel Graphics 4";
inline constexpr const char* kFrameCaption = "Qel Graphics 4.2";
inline constexpr const char* kWebSite = "https://qelgraphics.example.org/";
inline constexpr const char* kHelpFileName = "Riruvedo32.hlp";
