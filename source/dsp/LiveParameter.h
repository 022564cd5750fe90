#pragma once

#include <atomic>
#include <cmath>

namespace Dsp
{
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
        float load() const noexcept { return orDefault (loadAsStored()); }

        /** The current value as stored, NaN and infinities included: for a reader that only works
            with a new value, which it then passes through orDefault.
        */
        float loadAsStored() const noexcept { return value.load (std::memory_order_relaxed); }

        /** v, or defaultValue when v is NaN or infinite. */
        float orDefault (float v) const noexcept { return std::isfinite (v) ? v : defaultValue; }
    };
}
