#pragma once

#include <array>

#include "EditorSession.h"

/** The step handles as the tests drive and check them. */
namespace HandleInput
{
    /** Each handle's x in the layout. */
    constexpr int layoutX[8] = { 12, 79, 149, 220, 513, 582, 652, 720 };

    /** Each handle's box height: only handle 1's box holds the whole picture. */
    inline int boxHeight (int index) { return index == 0 ? 125 : 120; }

    inline std::array<juce::Rectangle<int>, 8> handleBounds (ZurizazAudioProcessorEditor& editor)
    {
        std::array<juce::Rectangle<int>, 8> bounds;
        for (size_t i = 0; i < 8; ++i)
            bounds[i] = editor.babyRadodButtons[i].getBounds();
        return bounds;
    }

    inline void drag (ZurizazAudioProcessorEditor& editor, int x, int y)
    {
        editor.mouseDrag (mouseAt (editor, x, y));
    }
}
