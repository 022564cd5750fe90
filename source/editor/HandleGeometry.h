#pragma once

/** Where the window stands the eight step handles: the layout's x of each handle (a click on a
    handle puts it back there too), and the size of its box. All eight show the same 68 x 125
    picture; handle 1's box is the only one tall enough for all of it.
*/
namespace HandleGeometry
{
    constexpr int numHandles = 8;
    constexpr int layoutX[numHandles] = { 12, 79, 149, 220, 513, 582, 652, 720 };
    constexpr int width = 68;
    constexpr int boxHeight (int index)   { return index == 0 ? 125 : 120; }

    /** The y at which the window shows a handle of this stored height: within the drag range
        82..350, whatever height a host or a session has given it. */
    constexpr int displayedY (float height) noexcept { return height < 82.0f ? 82 : (height > 350.0f ? 350 : (int) height); }
}
