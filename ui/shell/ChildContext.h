#pragma once

class MenuCommands;
class Prompts;
class QMdiArea;

// What every child window receives from the frame: the commands its menu's shared items forward
// to, the work area it lives in and the questions it asks. A kind that needs more (the engine, the
// printer, the shared fields) is handed those separately.
struct ChildContext {
  MenuCommands& Menus;
  QMdiArea* Area;
  Prompts& Questions;
};
