#pragma once

#include <atomic>
#include <cmath>

/** A parameter's value as the audio thread reads it: lock-free, at the moment of use.

    A value that is not finite reads as the parameter's default. A parameter's range does not
    hold back a NaN that a host or a direct caller pushes through, and one would otherwise reach
    the output, or stay for good in the state that carries over from sample to sample.
*/
struct LiveParameter
{
    const std::atomic<float>& value;
    float defaultValue;

    /** The current value, or defaultValue when the current value is NaN or infinite. */
    float load() const noexcept
    {
        const auto v = value.load (std::memory_order_relaxed);
        return std::isfinite (v) ? v : defaultValue;
    }
};
