#pragma once

#include "model/Random.h"

#include <cstddef>
#include <vector>

// Feeds scripted raw values to the random functions for as long as it lives and counts the
// draws taken. Past the end of the script it answers 0.
class ScriptedRandom {
  public:
    explicit ScriptedRandom(std::vector<long> values) {
        script() = std::move(values);
        position() = 0;
        previous_ = setRandomSource(&next);
    }
    ~ScriptedRandom() { setRandomSource(previous_); }
    ScriptedRandom(const ScriptedRandom&) = delete;
    ScriptedRandom& operator=(const ScriptedRandom&) = delete;

    static std::size_t draws() { return position(); }

  private:
    static std::vector<long>& script() {
        static std::vector<long> values;
        return values;
    }
    static std::size_t& position() {
        static std::size_t index = 0;
        return index;
    }
    static long next() {
        const std::size_t index = position()++;
        return index < script().size() ? script()[index] : 0;
    }

    RandomSource previous_;
};

inline constexpr long kRandomMax = 2147483647;
