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
