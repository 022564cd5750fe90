#pragma once

#include <atomic>
#include <climits>
#include <string>

namespace Tempo
{
    /** The host tempo as the editor shows it: a whole number of beats per minute, as text.

        The audio thread publishes a whole number once per block; the editor reads it as text. The
        number crosses threads as one atomic int, so the editor always sees either the old or the new
        tempo whole, and the audio thread never waits or allocates.
    */
    class Text
    {
    public:
        /** Audio thread: publishes a whole-number tempo. */
        void publish (int wholeBeatsPerMinute) noexcept { value.store (wholeBeatsPerMinute, std::memory_order_relaxed); }

        /** True once a tempo has been published. */
        bool hasValue() const noexcept { return value.load (std::memory_order_relaxed) != noValue; }

        /** The published tempo, or noValue before the first block. */
        int get() const noexcept { return value.load (std::memory_order_relaxed); }

        /** Message thread: the decimal text of the tempo ("120", "-5"), empty before the first block. */
        std::string toString() const
        {
            const auto v = get();
            return v == noValue ? std::string() : std::to_string (v);
        }

        static constexpr int noValue = INT_MIN;

    private:
        std::atomic<int> value { noValue };
    };
}
