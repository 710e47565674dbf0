#pragma once

// Fixed texts the application shows in more than one place.
inline constexpr const char* kMessageCaption = "Qel Graphics";  // caption of the windows' messages
inline constexpr const char* kApplicationTitle = "Qel Graphics 4";
inline constexpr const char* kFrameCaption = "Qel Graphics 4.2";
// The project's home page. It has no public one, so this is the help installed as a web page; a
// relative address is opened from the folder of the help file.
inline constexpr const char* kWebSite = "Riruvedo32.html";
inline constexpr const char* kWebSiteCaption = "Qel Graphics – Hilfe als Webseite";
inline constexpr const char* kHelpFileName = "Riruvedo32.hlp";
// Where the user's settings live: <configuration folder>/Qel/Qel Graphics.conf.
inline constexpr const char* kSettingsOrganisation = "Qel";
inline constexpr const char* kSettingsApplication = "Qel Graphics";

// The open and save dialogs' entry for project files, and the default extension they are given.
inline constexpr const char* kProjectFilter = "Qel Graphics  (*.qgp)|*.qgp";
inline constexpr const char* kProjectDefaultExt = "*.qpg";
