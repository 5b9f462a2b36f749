#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>

// What a piece of background work is handed: the user's Cancel, and where the work says how
// far it has got. The work runs in stages (reading a file, then decoding it), each standing for
// a part of the whole; progress within a stage is mapped into its part.
//
// The flag and the progress may be read on any thread; the stage is the working thread's own.
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
        progress_.store(from_ + (to_ - from_) * std::clamp(fraction, 0.0, 1.0),
                        std::memory_order_relaxed);
    }
    // The share of the whole that is done, from 0 to 1.
    double progress() const { return progress_.load(std::memory_order_relaxed); }

    // How far the current stage is, in its own units, for the user to read.
    enum class Unit { None, Bytes, Pairs };
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

  private:
    std::atomic<bool> cancelled_{false};
    std::atomic<double> progress_{0.0};
    std::atomic<Unit> unit_{Unit::None};
    std::atomic<std::int64_t> done_{0};
    std::atomic<std::int64_t> total_{0};
    double from_ = 0.0;
    double to_ = 1.0;
};
