#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/QelParser.h"
#include "graph/PlotLoop.h"

// One curve to sample: the function's place in the list, its expression and its pixel step.
struct CurveJob {
  size_t Function = 0;
  std::string Expression;
  int64_t P = 1;
};

// Samples curves on worker threads, each with an engine and tree of its own, ahead of the drawing
// as far as a fixed amount of memory for samples allows; the drawing takes their samples in list
// order as they become ready. Every sample is what the drawing engine would have computed: the
// workers' engines copy its settings and variables and read the same column table, made before
// they start.
class CurveWorkers {
 public:
  CurveWorkers(const TQelParser& engine, const PlotGeometry& frame, const ColumnTable& columns,
               std::vector<CurveJob> jobs, unsigned threads);
  ~CurveWorkers();
  CurveWorkers(const CurveWorkers&) = delete;
  CurveWorkers& operator=(const CurveWorkers&) = delete;

  bool Has(size_t function) const;
  // The samples of a function's curve, waiting for them as needed; a worker's error is raised.
  SampleFetch Fetch(size_t function);
  // The function is drawn: its samples go and a worker may start further ahead.
  void Release(size_t function);

 private:
  struct Slot {
    CurveJob Job;
    std::vector<CurveSample> Samples;
    std::atomic<int64_t> Ready{0};
    std::atomic<bool> Done{false};
    std::exception_ptr Error;
  };

  void Work(TQelParser engine);
  void Sample(TQelParser& engine, Slot& slot);
  void WaitFor(const Slot& slot, int64_t first);

  const PlotGeometry frame_;
  const ColumnTable& columns_;
  std::vector<std::unique_ptr<Slot>> slots_;
  std::vector<int64_t> slotOf_;
  size_t ahead_;
  std::mutex mutex_;
  std::condition_variable sampled_, released_;
  size_t next_ = 0, drawn_ = 0;
  static constexpr int64_t kWakeEvery = 64;
  std::atomic<bool> stop_{false}, waiting_{false};
  std::atomic<int64_t> wanted_{0};
  std::vector<std::thread> threads_;
};

// The number of threads a rendering may use: the machine's cores.
unsigned RenderThreads();
