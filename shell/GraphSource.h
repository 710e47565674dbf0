#pragma once

#include <QString>

// The texts of the project's range fields "X von", "bis", "Y von" and "bis".
struct RangeTexts {
  QString XFrom, XTo, YFrom, YTo;
};

// What a graph window may ask of the project editor that drew it, so that zooming with the mouse
// works as typing new ranges and drawing again would. The editor keeps the ranges each zoom
// replaced, for stepping back.
class GraphSource {
 public:
  virtual ~GraphSource() = default;

  // Writes the texts into the range fields as typing would, remembering the ones they replace,
  // then runs "Graphen erstellen".
  virtual void ZoomTo(const RangeTexts& ranges) = 0;
  // Restores the ranges the last zoom replaced and runs "Graphen erstellen"; false without one.
  virtual bool ZoomBack() = 0;
  virtual bool CanZoomBack() const = 0;
};
