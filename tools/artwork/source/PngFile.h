#pragma once

#include <juce_graphics/juce_graphics.h>

/** The pixel layouts the plug-in's pictures are stored in (8 bits per sample, never interlaced). */
enum class PngLayout
{
    rgb,         // colour, no alpha
    greyAlpha,   // grey + alpha
    rgba         // colour + alpha
};

/** Writes an image as a PNG in the given layout, with fixed compression settings and no time
    stamp, so the same picture always gives the same bytes. Alpha is stored straight (not
    premultiplied); grey is the colour's luma. Returns false when the file can't be written. */
bool writePng (const juce::Image& image, PngLayout layout, const juce::File& file);
