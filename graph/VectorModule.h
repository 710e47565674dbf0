#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "graph/Canvas.h"
#include "graph/TextFace.h"

class VectorPicture;

// The SVG and PDF writers live in a module of their own, the only part that needs cairo and what
// it pulls in, so that a program writing only pixel pictures never loads them. The module hands
// over its writers through one entry; VectorWriter.h's functions load the module the first time
// one of them is called.
struct VectorWriterFunctions {
  std::string (*EncodeSvg)(const VectorPicture&);
  std::string (*EncodePdf)(const VectorPicture&);
  void (*WriteSvgFile)(const std::string&, const VectorPicture&);
  void (*WritePdfFile)(const std::string&, const VectorPicture&);
  // The text layout of TextLayout.h, which needs the same libraries.
  TextExtent (*LayOutText)(const std::string&, double);
  void (*RenderTextMask)(const TextLine&, uint8_t*, size_t, int32_t, int32_t, int32_t, int32_t);
};

extern "C" const VectorWriterFunctions* QelVectorWriterFunctions();

// The module's file name, and its folder relative to the program's.
inline constexpr const char* kVectorModuleName = "qel_vector_writer.so";
inline constexpr const char* kVectorModuleFolder = "../lib/qelgraphics";

// TextLayout.h's functions for the core, through the module.
TextExtent LoadedTextExtent(const std::string& text, double size);
void LoadedTextMask(const TextLine& line, uint8_t* mask, size_t stride, int32_t width,
                    int32_t height, int32_t left, int32_t top);
