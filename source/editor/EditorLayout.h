#pragma once

#include <iterator>
#include <limits>

#include <juce_graphics/juce_graphics.h>

#include "dsp/Knob.h"
#include "dsp/StepGate.h"
#include "processor/StepLevels.h"

/** Where everything stands in the fixed window, in editor pixels. The step handles' heights
    (highestY, lowestY, heightScale) are with the step levels in processor/StepLevels.h, as the
    processor stores and plays them.

    juce::Rectangle has no constexpr constructor, so the rectangles are inline constants.
*/
namespace EditorLayout
{
    constexpr int windowWidth = 800;
    constexpr int windowHeight = 477;

    /** Knobs left of it are on the left panel. */
    constexpr int windowMiddleX = windowWidth / 2;

    //==============================================================================
    // The top bar, left to right. The buttons' boxes start above the window's top edge (the site
    // logo's left of its left edge too); the parts outside are cut off.
    inline const juce::Rectangle<int> siteLinkButton { -8, -2, 110, 30 };
    inline const juce::Rectangle<int> tempoText { 92, 0, 70, 30 };

    // The video link has the room between the tempo text and the preset arrows.
    inline const juce::Rectangle<int> videoLinkButton { 190, -1, 60, 30 };
    inline const juce::Rectangle<int> previousPresetButton { 270, -1, 30, 30 };
    inline const juce::Rectangle<int> presetMenu { 300, 3, 200, 21 };
    inline const juce::Rectangle<int> nextPresetButton { 500, -1, 30, 30 };

    // Bypass lies over the right part of the version text's area.
    inline const juce::Rectangle<int> versionText { 682, 0, 70, 30 };
    inline const juce::Rectangle<int> bypassButton { 703, -1, 70, 30 };
    inline const juce::Rectangle<int> infoButton { 767, -1, 30, 30 };

    //==============================================================================
    inline const juce::Rectangle<int> lastStepIndicator { 334, 196, 132, 40 };
    inline const juce::Rectangle<int> leftKnobPanel { 45, 130, 208, 196 };
    inline const juce::Rectangle<int> rightKnobPanel { 548, 130, 208, 196 };

    /** Everything under the top bar; its last five rows hang past the window's bottom edge. */
    inline const juce::Rectangle<int> infoOverlay { 0, 77, windowWidth, 405 };

    /** The free column between the two groups of handles (pointer x, both ends inclusive) whose
        background opens and closes the knobs panel. */
    constexpr int centreColumnFirstX = 301;
    constexpr int centreColumnLastX = 499;

    //==============================================================================
    constexpr int knobSize = 64;

    /** Each knob's top-left corner, indexed by Knob. */
    constexpr juce::Point<int> knobPositions[] = {
        { 575, 150 },   // speed
        { 160, 150 },   // fx
        { 70, 150 },    // impact
        { 70, 243 },    // depth
        { 160, 243 },   // rate
        { 575, 243 },   // feedback
        { 665, 243 },   // phaserX
        { 665, 150 }    // bite
    };

    static_assert (std::size (knobPositions) == Knobs::count, "one position per knob");

    constexpr juce::Point<int> knobPosition (Knob knob) noexcept { return knobPositions[Knobs::index (knob)]; }

    /** A knob left of the window's middle sits on the left panel: it takes that panel's film strip
        and, if it has one, that panel's cover. */
    constexpr bool isOnLeftPanel (Knob knob) noexcept { return knobPosition (knob).x < windowMiddleX; }

    /** Each readout sits right under its knob, 3 pixels further left: wider than the knob, it
        overhangs it by 3 on both sides. */
    constexpr int readoutOffsetX = -3;
    constexpr int readoutWidth = 70;
    constexpr int readoutHeight = 20;

    //==============================================================================
    /** One step handle's row: its x in the layout (a click on the handle puts it back there too),
        the x a drag puts it at, and its drag column (pointer x, both ends inclusive). */
    struct Handle
    {
        int layoutX, placedX, firstPointerX, lastPointerX;
    };

    // Columns are uneven; the gap 290..512 between the two groups belongs to no handle, and
    // handle 1 takes every pointer x left of handle 2. A drag puts handles 3 and 6 at 150 and
    // 584, one and two pixels right of where the layout has them.
    constexpr Handle handles[] = {
        { 12, 12, std::numeric_limits<int>::min(), 78 },
        { 79, 79, 79, 148 },
        { 149, 150, 149, 219 },
        { 220, 220, 220, 289 },
        { 513, 513, 513, 581 },
        { 582, 584, 582, 651 },
        { 652, 652, 652, 719 },
        { 720, 720, 720, 791 }
    };

    static_assert (std::size (handles) == StepGate::numSteps, "one row per step handle");

    /** All eight handles show the same 68 x 125 picture; handle 1's box is the only one tall
        enough for all of it. */
    constexpr int handleWidth = 68;
    constexpr int handleBoxHeight (int index) { return index == 0 ? 125 : 120; }

    /** The y at which the window shows a handle of this stored height: within the drag range
        highestY..lowestY, whatever height a host or a session has given it. */
    constexpr int displayedHandleY (float height) noexcept
    {
        using StepLevels::highestY, StepLevels::lowestY;
        return height < (float) highestY ? highestY : (height > (float) lowestY ? lowestY : (int) height);
    }
}
