#pragma once

#include <juce_graphics/juce_graphics.h>

/** The look shared by every picture: a dark starfield with a cool cyan accent for the left
    group and a warm ember accent for the right one. Everything is drawn with JUCE's software
    renderer and Liberation Sans, so the pictures come out the same on every machine. */
namespace Look
{
    const juce::Colour space { 0xff04050d };
    const juce::Colour night { 0xff0b1026 };
    const juce::Colour plate { 0xff121829 };
    const juce::Colour plateDark { 0xff080b16 };
    const juce::Colour steel { 0xff2a3144 };
    const juce::Colour steelEdge { 0xff56627f };
    const juce::Colour ink { 0xffeef2fb };
    const juce::Colour mute { 0xff7a849c };
    const juce::Colour cyan { 0xff45d4ff };
    const juce::Colour ember { 0xffff8a3c };
    const juce::Colour gold { 0xffffc861 };
    const juce::Colour alarm { 0xffff4646 };

    /** Liberation Sans at a pixel height; the generator refuses to run without the real face. */
    juce::Font font (float height, bool bold = true, float extraKerning = 0.0f);

    /** The outline of a line of text centred on (cx, cy), for filling, stroking or glowing. */
    juce::Path textPath (const juce::String& text, const juce::Font& font, float cx, float cy);

    /** A soft halo around a shape (a blurred copy of it in the given colour). */
    void glow (juce::Graphics& g, const juce::Path& shape, juce::Colour colour, int radius);

    /** The point at an angle (radians, clockwise from twelve o'clock) on a circle. */
    juce::Point<float> onCircle (juce::Point<float> centre, float radius, float angle);
}

/** The pictures, each at its stored pixel size. */
namespace Artwork
{
    juce::Image background();                       // 1600 x 954, opaque
    juce::Image knobStrip (juce::Colour accent);    // 64 x 1984, 31 frames
    juce::Image coverStrip (juce::Colour accent);   // 64 x 1984, 31 frames, dimmed
    juce::Image knobPanel (juce::Colour accent);    // 208 x 196
    juce::Image stepHandle (bool lit);              // 68 x 125
    juce::Image lastStep();                         // 132 x 40
    juce::Image bypass (bool on);                   // 66 x 27
    juce::Image arrow (bool next);                  // 20 x 20
    juce::Image infoButton();                       // 20 x 20
    juce::Image infoOverlay();                      // 800 x 405
    juce::Image siteLogo();                         // 100 x 30, drawn in greys
    juce::Image videoLogo();                        // 48 x 20, drawn in greys

    constexpr int knobFrames = 31;
    constexpr int knobSize = 64;
    constexpr float knobSweep = juce::MathConstants<float>::pi * 0.75f;   // +-135 degrees
}

/** Pictures for looking at the artwork, not for the plug-in. */
namespace Sheets
{
    /** Every picture on one page, each strip as a row of its frames, with names. */
    juce::Image contactSheet (const juce::StringArray& names, const juce::Array<juce::Image>& images);

    /** The 800 x 477 window put together from the pictures as the editor lays them out, with
        handles at sample heights, the knobs panel open and (optionally) the information overlay. */
    juce::Image mockWindow (bool withOverlay);
}
