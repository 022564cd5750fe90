#pragma once

#include <gtest/gtest.h>

#include <juce_graphics/juce_graphics.h>

/** Whether a window pixel shows the picture drawn at half size, whatever the picture holds: each
    of its channels must lie within those of the picture's pixels around twice its coordinates,
    give or take the resampler's rounding.
*/
inline ::testing::AssertionResult showsPictureAtHalfSize (const juce::Image& window, const juce::Image& picture, int x, int y)
{
    constexpr int tolerance = 6;
    int lo[3] = { 255, 255, 255 }, hi[3] = { 0, 0, 0 };

    for (int sy = juce::jmax (0, 2 * y - 1); sy <= juce::jmin (picture.getHeight() - 1, 2 * y + 2); ++sy)
    {
        for (int sx = juce::jmax (0, 2 * x - 1); sx <= juce::jmin (picture.getWidth() - 1, 2 * x + 2); ++sx)
        {
            const auto c = picture.getPixelAt (sx, sy);
            const int channels[3] = { c.getRed(), c.getGreen(), c.getBlue() };

            for (int k = 0; k < 3; ++k)
            {
                lo[k] = juce::jmin (lo[k], channels[k]);
                hi[k] = juce::jmax (hi[k], channels[k]);
            }
        }
    }

    const auto got = window.getPixelAt (x, y);
    const int gotChannels[3] = { got.getRed(), got.getGreen(), got.getBlue() };

    for (int k = 0; k < 3; ++k)
        if (gotChannels[k] < lo[k] - tolerance || gotChannels[k] > hi[k] + tolerance)
            return ::testing::AssertionFailure() << "channel " << k << " at " << x << "," << y << " is "
                                                 << gotChannels[k] << ", outside " << lo[k] << ".." << hi[k];

    return ::testing::AssertionSuccess();
}
