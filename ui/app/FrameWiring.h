#pragma once

class TForm2;
class TForm3;
class TForm5;
class TMainForm;

// The long-lived dialogs that the frame's children hand their requests to; a test may leave any
// of them out, and the requests it would serve then do nothing.
struct FrameDialogs {
  TForm2* Form2 = nullptr;
  TForm3* Form3 = nullptr;
  TForm5* Form5 = nullptr;
};

// The frame as the one mediator: every project editor it opens is created with the frame's shared
// things, and its "Graphen erstellen" and "Wertetabelle anzeigen" are connected to the dialogs;
// each graph drawn is connected back to its editor, so that zooming in the graph types the new
// ranges into the editor and draws the graph again at once; the output options' printer set-up
// is the frame's. main.cpp and the tests wire the frame through this one function.
void WireFrame(TMainForm& frame, FrameDialogs dialogs);
