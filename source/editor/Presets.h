#pragma once

#include <array>

#include "dsp/Knob.h"
#include "dsp/StepGate.h"

namespace Presets
{
    /** One of the editor's twelve presets: its menu text, the eight knob values indexed by Knob,
        and the top edges of the eight step handles (82..350), whose heights give the step gains
        through StepLevels::levelForHeight.
    */
    struct Preset
    {
        const char* name;
        std::array<double, Knobs::count> knobValues;   // speed, fx, impact, depth, rate, feedback, phaserX, bite
        std::array<int, StepGate::numSteps> handleHeights;
    };

    /** The order a preset sets its knobs in, and so the order in which the host hears their
        gestures and values (and records them, when it automates a preset load). */
    inline constexpr std::array<Knob, Knobs::count> knobOrder { Knob::fx, Knob::speed, Knob::impact, Knob::depth,
                                                                Knob::rate, Knob::bite, Knob::feedback, Knob::phaserX };

    /** The presets in menu order; the preset with id n is table[n - 1]. Values written with
        an f are float constants widened to double, as the knobs receive them. */
    inline constexpr std::array<Preset, 12> table { {
        { "Default", { 2, 1, 1, 0.2f, 3.5, 0.3f, 0, 32 }, { 350, 350, 350, 350, 350, 350, 350, 350 } },
        { "Intergalactic", { 3, 1, 0.5, 0.1f, 0.2f, 0, 0, 32 }, { 350, 250, 150, 82, 350, 250, 150, 82 } },
        { "Exterminate", { 1, 1, 1, 0, 0.1f, 0.25, 0, 32 }, { 250, 250, 150, 250, 250, 250, 150, 250 } },
        { "Destroy All Humans", { 2, 5, 1, 0.4f, 3.5, 0.4f, 0, 16 }, { 350, 200, 100, 350, 200, 200, 100, 100 } },
        { "Baby Hate Machine", { 3, 2, 1, 0.3f, 13.5, 0.2f, 0.5, 16 }, { 150, 250, 150, 82, 150, 150, 82, 82 } },
        { "Spaced Out", { 1, 4, 0.7f, 0.4f, 9.5, 0.3f, 0, 32 }, { 150, 82, 82, 150, 150, 82, 82, 150 } },
        { "Crush Resistance", { 2, 5, 1, 0.6f, 17.5, 0.2f, 0.6f, 16 }, { 150, 150, 82, 350, 150, 150, 82, 350 } },
        { "Phasers at Stun", { 2, 4, 1, 0.4f, 7.5, 0.1f, 1, 8 }, { 350, 300, 250, 200, 150, 100, 130, 82 } },
        { "Radod Sex Fiend", { 1, 3, 1, 0.7f, 7.5, 0.5, 0, 32 }, { 200, 82, 82, 200, 200, 82, 82, 200 } },
        { "Breeder", { 2, 2, 0.7f, 0.3f, 6.5, 0.4f, 0.3f, 8 }, { 150, 82, 82, 250, 250, 82, 82, 150 } },
        { "Red Hole", { 3, 4, 1, 0.4f, 2.5, 0.5, 0, 32 }, { 250, 300, 250, 200, 250, 100, 130, 82 } },
        { "Colonise", { 1, 2, 1, 0.8f, 17.5, 0.5, 0, 8 }, { 250, 300, 350, 200, 250, 100, 130, 200 } },
    } };
}
