#pragma once

#include <array>

#include "dsp/StepGate.h"

/** One of the editor's twelve presets: its menu text, the eight knob values in the order they
    are applied, and the top edges of the eight step handles (82..350), whose heights give the
    step gains through levelForHeight.
*/
struct Preset
{
    const char* name;
    double fx, speed, impact, depth, rate, bite, feedback, phaserX;
    std::array<int, StepGate::numSteps> handleHeights;
};

/** The presets in menu order; the preset with id n is presetTable[n - 1]. Values written with
    an f are float constants widened to double, as the knobs receive them. */
inline constexpr std::array<Preset, 12> presetTable { {
    { "Default", 1, 2, 1, 0.2f, 3.5, 32, 0.3f, 0, { 350, 350, 350, 350, 350, 350, 350, 350 } },
    { "Intergalactic", 1, 3, 0.5, 0.1f, 0.2f, 32, 0, 0, { 350, 250, 150, 82, 350, 250, 150, 82 } },
    { "Exterminate", 1, 1, 1, 0, 0.1f, 32, 0.25, 0, { 250, 250, 150, 250, 250, 250, 150, 250 } },
    { "Destroy All Humans", 5, 2, 1, 0.4f, 3.5, 16, 0.4f, 0, { 350, 200, 100, 350, 200, 200, 100, 100 } },
    { "Baby Hate Machine", 2, 3, 1, 0.3f, 13.5, 16, 0.2f, 0.5, { 150, 250, 150, 82, 150, 150, 82, 82 } },
    { "Spaced Out", 4, 1, 0.7f, 0.4f, 9.5, 32, 0.3f, 0, { 150, 82, 82, 150, 150, 82, 82, 150 } },
    { "Crush Resistance", 5, 2, 1, 0.6f, 17.5, 16, 0.2f, 0.6f, { 150, 150, 82, 350, 150, 150, 82, 350 } },
    { "Phasers at Stun", 4, 2, 1, 0.4f, 7.5, 8, 0.1f, 1, { 350, 300, 250, 200, 150, 100, 130, 82 } },
    { "Radod Sex Fiend", 3, 1, 1, 0.7f, 7.5, 32, 0.5, 0, { 200, 82, 82, 200, 200, 82, 82, 200 } },
    { "Breeder", 2, 2, 0.7f, 0.3f, 6.5, 8, 0.4f, 0.3f, { 150, 82, 82, 250, 250, 82, 82, 150 } },
    { "Red Hole", 4, 3, 1, 0.4f, 2.5, 32, 0.5, 0, { 250, 300, 250, 200, 250, 100, 130, 82 } },
    { "Colonise", 2, 1, 1, 0.8f, 17.5, 8, 0.5, 0, { 250, 300, 350, 200, 250, 100, 130, 200 } },
} };
