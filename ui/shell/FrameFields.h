#pragma once

// Fields through which the windows pass results to each other; the frame holds them. Each cancel
// flag has one owner that writes it:
//  - GenerationCancelled: the progress dialog (TForm3) sets it when the user stops or the dialog
//    closes, and the drawing loop reads it at every check point; the project editor clears it when
//    it asks for a new graph.
//  - SaveCancelled, PrintCancelled: the output options dialog (TForm2), inside AskJpegQuality()
//    and AskPrintSize(); callers use those calls' answers rather than the flags.
struct FrameFields {
  bool GenerationCancelled = false;
  bool SaveCancelled = false;
  bool PrintCancelled = false;
  int JpegQuality = 60;
  int PrintWidth = 0;
  int PrintHeight = 0;
};
