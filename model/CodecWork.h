#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

// What a long read or write of a scene is handed by whoever runs it: a flag that asks it to
// stop, where it says how far it has got, and where it tallies the work it did (for tests and
// benchmarks that bound it). All are optional. The codec looks at the flag every few thousand
// objects, so that a cancelled job ends within a fraction of a second, and reports progress as
// often.
class CodecWork {
  public:
    CodecWork() = default;
    CodecWork(const std::atomic<bool>* cancelled, std::function<void(double)> progress,
              std::function<void(std::int64_t, std::int64_t)> pairs = {})
        : cancelled_(cancelled)
        , progress_(std::move(progress))
        , pairs_(std::move(pairs)) {}

    bool cancelled() const { return cancelled_ && cancelled_->load(std::memory_order_relaxed); }
    // The share of the job done, from 0 to 1, mapped into the part this stage stands for.
    void report(double fraction) const {
        if (progress_)
            progress_(from_ + (to_ - from_) * fraction);
    }
    // The pairs done so far of all there are, in words the user follows.
    void reportPairs(std::int64_t done, std::int64_t total) const {
        if (pairs_)
            pairs_(done, total);
    }
    // Adds the steps of work done to the tally, if one was asked for.
    void countStepsIn(std::uint64_t* tally) { steps_ = tally; }
    void countSteps(std::uint64_t steps) const {
        if (steps_)
            *steps_ += steps;
    }
    // The same work, for a stage that stands for [from, to] of this one's range.
    CodecWork stage(double from, double to) const {
        CodecWork part = *this;
        part.from_ = from_ + (to_ - from_) * from;
        part.to_ = from_ + (to_ - from_) * to;
        return part;
    }

  private:
    const std::atomic<bool>* cancelled_ = nullptr;
    std::function<void(double)> progress_;
    std::function<void(std::int64_t, std::int64_t)> pairs_;
    std::uint64_t* steps_ = nullptr;
    double from_ = 0.0;
    double to_ = 1.0;
};

// How often loops look at the flag and report: every this many steps.
constexpr std::uint32_t codecCheckInterval = 4096;
