#pragma once

#include <array>
#include <string_view>

// The kind of a child window, told by its name alone: "MDIChild...", "Graph...", "Form4...".
enum class ChildKind { None, ProjectEditor, Graph, ValueTable };

// Byte for byte and case-sensitive; a name shorter than a prefix does not match it.
ChildKind KindOfName(std::string_view name);

// The tool-bar buttons whose enabled state follows the active child window, in bar order.
enum ToolButtonIndex {
  kNeu,
  kOeffnen,
  kSpeichern,
  kZeichnen,
  kWertetabelle,
  kSpeichernAls,
  kDrucken,
  kBeenden,
  kToolButtonCount
};

// Enabled states of the tool-bar buttons for the kind of the active child window (None when there
// is no active child).
std::array<bool, kToolButtonCount> ToolBarStates(ChildKind activeKind);
