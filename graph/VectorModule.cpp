// VectorWriter.h's functions for the programs: each loads the module once and calls its writer.
#include "graph/VectorModule.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <string>

#include "graph/VectorWriter.h"

namespace {

// The folder of the running program, where its module folder is found relative to it.
std::string ProgramFolder() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return ".";
  const std::string program(path, static_cast<size_t>(length));
  return program.substr(0, program.rfind('/'));
}

struct Loaded {
  const VectorWriterFunctions* Functions = nullptr;
  std::string Error;
};

Loaded Load() {
  const std::string path = ProgramFolder() + "/" + kVectorModuleFolder + "/" + kVectorModuleName;
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) return {nullptr, dlerror()};
  using Entry = const VectorWriterFunctions* (*)();
  const auto entry = reinterpret_cast<Entry>(dlsym(module, "QelVectorWriterFunctions"));
  if (entry == nullptr) return {nullptr, dlerror()};
  return {entry(), {}};
}

const Loaded& Module() {
  static const Loaded loaded = Load();
  return loaded;
}

const VectorWriterFunctions& Writers() {
  const Loaded& loaded = Module();
  if (loaded.Functions == nullptr) throw VectorError(loaded.Error);
  return *loaded.Functions;
}

}  // namespace

std::string EncodeSvg(const VectorPicture& picture) {
  return Writers().EncodeSvg(picture);
}

std::string EncodePdf(const VectorPicture& picture) {
  return Writers().EncodePdf(picture);
}

void WriteSvgFile(const std::string& path, const VectorPicture& picture) {
  Writers().WriteSvgFile(path, picture);
}

void WritePdfFile(const std::string& path, const VectorPicture& picture) {
  Writers().WritePdfFile(path, picture);
}

TextExtent LoadedTextExtent(const std::string& text, double size) {
  return Writers().LayOutText(text, size);
}

void LoadedTextMask(const TextLine& line, uint8_t* mask, size_t stride, int32_t width,
                    int32_t height, int32_t left, int32_t top) {
  Writers().RenderTextMask(line, mask, stride, width, height, left, top);
}
