#pragma once

/** The heights of the step handles, in editor pixels, and the gains they give: what the
    processor stores and plays and the editor shows. Their x positions and boxes are in
    editor/EditorLayout.h.
*/
namespace StepLevels
{
    /** The rows of a single pixel that stand between the level bands. A handle whose top edge is on
        one plays at full level; the presets rely on 82, 150 and 250 doing so. A drag never stops on
        one: it goes a pixel down into the band below.
    */
    constexpr int singleRows[] = { 82, 110, 150, 185, 220, 250, 290 };

    /** True when y is one of the single rows between the bands. */
    constexpr bool isSingleRow (int y) noexcept
    {
        for (auto row : singleRows)
            if (row == y)
                return true;

        return false;
    }

    /** The gain a step plays at for a step handle whose top edge stands at y (editor pixels).

        A handle higher in the window means a quieter step, in bands of a tenth from 0.1 at y 83 to
        full level from 320 down. The single rows between the bands give full level. Defined for the
        handles' range 82..350; heights outside it give full level.
    */
    constexpr float levelForHeight (int y) noexcept
    {
        if (isSingleRow (y)) return 1.0f;
        if (y == 83) return 0.1f;
        if (y <= 109) return y >= 84 ? 0.2f : 1.0f;
        if (y <= 134) return 0.3f;
        if (y <= 149) return 0.4f;
        if (y <= 184) return 0.5f;
        if (y <= 219) return 0.6f;
        if (y <= 249) return 0.7f;
        if (y <= 289) return 0.8f;
        if (y <= 319) return 0.9f;
        return 1.0f;
    }

    /** The range of heights a drag or a preset gives a step handle. Every handle starts at the
        bottom of its column, lowestY. */
    constexpr int highestY = 82;
    constexpr int lowestY = 350;

    /** A handle-height parameter holds the height as a fraction of heightScale pixels, on a grid
        with a point for every whole pixel. */
    constexpr int heightScale = 400;
}
