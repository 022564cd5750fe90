#pragma once

#include <array>
#include <cstddef>

/** The eight knobs, in host index order: the order of their parameters, and of every table
    indexed by a knob (Parameters::knobParameters, a preset's knob values, the editor's knob slots).

    It lives here, with nothing included, so that the effect modes can say which knobs they use
    and every other folder, all of which sit on this one, can name the knobs too.
*/
enum class Knob
{
    speed,
    fx,
    impact,
    depth,
    rate,
    feedback,
    phaserX,
    bite
};

/** How many knobs there are, and where each one's row is in a table indexed by knob. */
namespace Knobs
{
    inline constexpr size_t count = 8;

    /** The knob's row in a table indexed by knob. */
    constexpr size_t index (Knob knob) noexcept { return (size_t) knob; }

    /** Every knob, in host index order. */
    inline constexpr std::array<Knob, count> inHostOrder { Knob::speed, Knob::fx, Knob::impact, Knob::depth,
                                                           Knob::rate, Knob::feedback, Knob::phaserX, Knob::bite };

    static_assert ([]
                   {
                       for (size_t i = 0; i < count; ++i)
                           if (index (inHostOrder[i]) != i)
                               return false;
                       return true; }(),
                   "inHostOrder lists the knobs in the enum's order");
}
