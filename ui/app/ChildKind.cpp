#include "ui/app/ChildKind.h"

ChildKind KindOfName(std::string_view name) {
  if (name.starts_with("MDIChild")) return ChildKind::ProjectEditor;
  if (name.starts_with("Graph")) return ChildKind::Graph;
  if (name.starts_with("Form4")) return ChildKind::ValueTable;
  return ChildKind::None;
}

std::array<bool, kToolButtonCount> ToolBarStates(ChildKind activeKind) {
  const bool editor = activeKind == ChildKind::ProjectEditor;
  const bool graph = activeKind == ChildKind::Graph;
  const bool table = activeKind == ChildKind::ValueTable;
  return {true, true, editor, editor, editor, graph || table, graph, true};
}
