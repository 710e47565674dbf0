#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

class TQelParser;

// One sample of a value table: x and f(x), both as the engine's rounded text ("Error" for a failed
// f(x)).
struct ValueTableRow {
  std::string X;
  std::string Fx;

  bool operator==(const ValueTableRow&) const = default;
};

using ValueTable = std::vector<ValueTableRow>;

inline constexpr std::size_t MaxValueTableRows = 2000;

// What the builder was given: the project's range texts and the chosen function's texts.
struct ValueTableInput {
  std::string XFrom;
  std::string XTo;
  std::string StepWidth;
  std::string Expression;
};

// The rows built and the one message to show, if any (single-byte text; shown with an OK button, an
// exclamation icon and the caption "Qel Graphics"). The rows are kept whatever the message.
struct ValueTableResult {
  ValueTable Rows;
  std::string Message;
};

// Samples the expression from XFrom while x <= XTo in steps of StepWidth, with the engine's current
// Precision, stopping after MaxValueTableRows rows. poll runs where pending input may be processed:
// once after the range is read and once before every sample. The engine keeps the built expression.
ValueTableResult BuildValueTableRows(TQelParser& engine, const ValueTableInput& input,
                                     const std::function<void()>& poll);

// The two export layouts, CR LF after every line, texts written as the table holds them.
enum class ValueTableLayout { Tab, Block };

std::string ValueTableExportText(const ValueTable& rows, ValueTableLayout layout);

// Writes the export atomically; throws FileCreateError ("Cannot create file <path>") on failure.
void WriteValueTableExport(const std::string& path, const ValueTable& rows,
                           ValueTableLayout layout);
