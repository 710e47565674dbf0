#include "graph/CurveWorkers.h"

#include <algorithm>
#include <stdexcept>

namespace {

// Curves sampled ahead wait in memory until they are drawn: as many as this holds, so that the
// workers keep going while the drawing thread is held up (a window repainting), and at least one
// a worker and one more.
constexpr size_t kAheadBytes = size_t{8} << 20;

size_t CurvesAhead(const PlotGeometry& frame, unsigned threads) {
  const size_t curveBytes = sizeof(CurveSample) * static_cast<size_t>(std::max(frame.W, 1));
  return std::max<size_t>(threads + 1, kAheadBytes / curveBytes);
}

}  // namespace

CurveWorkers::CurveWorkers(const TQelParser& engine, const PlotGeometry& frame,
                           const ColumnTable& columns, std::vector<CurveJob> jobs, unsigned threads)
    : frame_(frame), columns_(columns), ahead_(CurvesAhead(frame, threads)) {
  size_t functions = 0;
  for (const CurveJob& job : jobs) functions = std::max(functions, job.Function + 1);
  slotOf_.assign(functions, -1);
  for (CurveJob& job : jobs) {
    slotOf_[job.Function] = static_cast<int64_t>(slots_.size());
    slots_.push_back(std::make_unique<Slot>());
    slots_.back()->Job = std::move(job);
  }
  const unsigned workers = std::min<unsigned>(threads, static_cast<unsigned>(slots_.size()));
  for (unsigned i = 0; i < workers; ++i)
    threads_.emplace_back(&CurveWorkers::Work, this, engine.Sibling());
}

CurveWorkers::~CurveWorkers() {
  {
    const std::lock_guard lock(mutex_);
    stop_ = true;
  }
  released_.notify_all();
  for (std::thread& thread : threads_) thread.join();
}

bool CurveWorkers::Has(size_t function) const {
  return function < slotOf_.size() && slotOf_[function] >= 0;
}

void CurveWorkers::Work(TQelParser engine) {
  for (;;) {
    Slot* slot = nullptr;
    {
      std::unique_lock lock(mutex_);
      released_.wait(lock,
                     [&] { return stop_ || next_ >= slots_.size() || next_ < drawn_ + ahead_; });
      if (stop_ || next_ >= slots_.size()) return;
      slot = slots_[next_++].get();
    }
    try {
      Sample(engine, *slot);
    } catch (...) {
      slot->Error = std::current_exception();
    }
    const std::lock_guard lock(mutex_);
    slot->Done = true;
    sampled_.notify_all();
  }
}

void CurveWorkers::Sample(TQelParser& engine, Slot& slot) {
  engine.SetExpression(slot.Job.Expression);
  if (!engine.CreateTree()) return;
  const int64_t p = slot.Job.P;
  slot.Samples.resize(static_cast<size_t>(SampleCount(frame_, p)));
  const auto column = [&](int64_t u) -> const VariableReading& { return *columns_.Cached(u); };
  for (size_t k = 0; k < slot.Samples.size() && !stop_;) {
    const size_t n = std::min(kSampleBlock, slot.Samples.size() - k);
    SampleCurve(engine, frame_, p, static_cast<int64_t>(k), n, column, &slot.Samples[k]);
    k += n;
    slot.Ready = static_cast<int64_t>(k);
    if (waiting_ && slot.Ready >= wanted_) {
      const std::lock_guard lock(mutex_);
      sampled_.notify_all();
    }
  }
}

// Waits for a few samples at once rather than one, so that the drawing is woken rarely.
void CurveWorkers::WaitFor(const Slot& slot, int64_t first) {
  if (slot.Ready > first || slot.Done) return;
  const int64_t wanted = std::min(first + kWakeEvery, SampleCount(frame_, slot.Job.P));
  const auto ready = [&] { return slot.Ready >= wanted || slot.Done; };
  std::unique_lock lock(mutex_);
  wanted_ = wanted;
  waiting_ = true;
  sampled_.wait(lock, ready);
  waiting_ = false;
}

SampleFetch CurveWorkers::Fetch(size_t function) {
  Slot& slot = *slots_[static_cast<size_t>(slotOf_[function])];
  return [this, &slot](int64_t first, const CurveSample*& out) -> size_t {
    WaitFor(slot, first);
    if (slot.Done && slot.Error) std::rethrow_exception(slot.Error);
    const int64_t ready = slot.Ready;
    if (ready <= first) throw std::logic_error("a curve was drawn that its worker did not sample");
    out = slot.Samples.data() + first;
    return static_cast<size_t>(ready - first);
  };
}

void CurveWorkers::Release(size_t function) {
  Slot& slot = *slots_[static_cast<size_t>(slotOf_[function])];
  {
    const std::unique_lock lock(mutex_);
    drawn_ = static_cast<size_t>(slotOf_[function]) + 1;
  }
  released_.notify_all();
  if (slot.Done) std::vector<CurveSample>().swap(slot.Samples);
}

unsigned RenderThreads() {
  return std::max(1u, std::thread::hardware_concurrency());
}
