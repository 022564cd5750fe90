#pragma once

#include <iterator>
#include <limits>

#include "dsp/StepGate.h"
#include "processor/StepLevels.h"

/** Where the window stands the eight step handles and where the pointer moves each of them, and
    the size of their boxes. All eight show the same 68 x 125 picture; handle 1's box is the only
    one tall enough for all of it. The heights (highestY, lowestY, heightScale) are with the step
    levels, as the processor stores and plays them.
*/
namespace HandleGeometry
{
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

    constexpr int width = 68;
    constexpr int boxHeight (int index) { return index == 0 ? 125 : 120; }

    /** The y at which the window shows a handle of this stored height: within the drag range
        highestY..lowestY, whatever height a host or a session has given it. */
    constexpr int displayedY (float height) noexcept
    {
        return height < (float) highestY ? highestY : (height > (float) lowestY ? lowestY : (int) height);
    }
}
