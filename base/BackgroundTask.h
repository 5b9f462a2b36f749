#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <functional>

// What a piece of long work is handed by whoever runs it: the user's Cancel, and where the work
// says how far it has got. The work runs in stages (reading a file, then decoding it), each
// standing for a part of the whole; progress within a stage is mapped into its part, and a
// stage may be split into parts of its own.
//
// The flag, the progress and the amount may be read on any thread; the stage, the watcher and
// the tally of steps are the working thread's own.
class BackgroundTask {
  public:
    bool isCancelled() const { return cancelled_.load(std::memory_order_relaxed); }
    const std::atomic<bool>& cancelFlag() const { return cancelled_; }
    void cancel() { cancelled_ = true; }

    // Reports from now on stand for [from, to] of the whole, and the whole is at `from`.
    void setStage(double from, double to) {
        from_ = from;
        to_ = to;
        setProgress(0.0);
    }
    // The share of the current stage that is done, from 0 to 1.
    void setProgress(double fraction) {
        const double whole = from_ + (to_ - from_) * std::clamp(fraction, 0.0, 1.0);
        progress_.store(whole, std::memory_order_relaxed);
        if (watcher_)
            watcher_(whole);
    }
    // The share of the whole that is done, from 0 to 1.
    double progress() const { return progress_.load(std::memory_order_relaxed); }
    // Called on the working thread with the share of the whole at every report (a test follows
    // the reports with it).
    void watchProgress(std::function<void(double)> watcher) { watcher_ = std::move(watcher); }

    // [from, to] of the current stage, as the stage while the part lives; the stage it was cut
    // from comes back after it.
    class Part {
      public:
        Part(BackgroundTask& task, double from, double to)
            : task_(task)
            , from_(task.from_)
            , to_(task.to_) {
            task.setStage(from_ + (to_ - from_) * from, from_ + (to_ - from_) * to);
        }
        ~Part() {
            task_.from_ = from_;
            task_.to_ = to_;
        }
        Part(const Part&) = delete;
        Part& operator=(const Part&) = delete;

      private:
        BackgroundTask& task_;
        double from_;
        double to_;
    };

    // How far the current stage is, in its own units, for the user to read.
    enum class Unit { None, Bytes, Pairs, Frames };
    struct Amount {
        Unit unit = Unit::None;
        std::int64_t done = 0;
        std::int64_t total = 0;
    };
    // Read while it is set, the three may come from two reports: close enough to show.
    void setAmount(Unit unit, std::int64_t done, std::int64_t total) {
        unit_.store(unit, std::memory_order_relaxed);
        done_.store(done, std::memory_order_relaxed);
        total_.store(total, std::memory_order_relaxed);
    }
    Amount amount() const {
        return {unit_.load(std::memory_order_relaxed), done_.load(std::memory_order_relaxed),
                total_.load(std::memory_order_relaxed)};
    }

    // The steps of work done, for tests and benchmarks that bound them.
    void countSteps(std::uint64_t steps) { steps_ += steps; }
    std::uint64_t steps() const { return steps_; }

  private:
    std::atomic<bool> cancelled_{false};
    std::atomic<double> progress_{0.0};
    std::atomic<Unit> unit_{Unit::None};
    std::atomic<std::int64_t> done_{0};
    std::atomic<std::int64_t> total_{0};
    double from_ = 0.0;
    double to_ = 1.0;
    std::function<void(double)> watcher_;
    std::uint64_t steps_ = 0;
};

// How often long loops look at the flag and report: every this many steps.
constexpr std::uint32_t checkInterval = 4096;
