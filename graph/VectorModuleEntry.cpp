// The module's entry: the writers of VectorWriter.cpp, which the module holds unchanged, and the
// text layout.
#include "graph/TextLayout.h"
#include "graph/VectorModule.h"
#include "graph/VectorWriter.h"

extern "C" const VectorWriterFunctions* QelVectorWriterFunctions() {
  static const VectorWriterFunctions functions{EncodeSvg,    EncodePdf,  WriteSvgFile,
                                               WritePdfFile, LayOutText, RenderTextMask};
  return &functions;
}

// The module's own bitmaps reach the text layout directly.
TextExtent LoadedTextExtent(const std::string& text, double size) {
  return LayOutText(text, size);
}

void LoadedTextMask(const TextLine& line, uint8_t* mask, size_t stride, int32_t width,
                    int32_t height, int32_t left, int32_t top) {
  RenderTextMask(line, mask, stride, width, height, left, top);
}
