#include <gtest/gtest.h>

#include "editor/FilmStripKnob.h"

namespace
{
    // Every frame of the test strips is one flat, opaque colour of its own, so the colour a knob
    // paints tells which frame it took.
    juce::Colour frameColour (int k)
    {
        return juce::Colour ((juce::uint8) (10 + 7 * k), (juce::uint8) (250 - 5 * k), (juce::uint8) (3 * k), (juce::uint8) 255);
    }

    juce::Image makeStrip (int frames, int frameW, int frameH, bool horizontal)
    {
        juce::Image strip (juce::Image::ARGB, horizontal ? frames * frameW : frameW,
                           horizontal ? frameH : frames * frameH, true);
        juce::Graphics g (strip);

        for (int k = 0; k < frames; ++k)
        {
            g.setColour (frameColour (k));
            g.fillRect (horizontal ? k * frameW : 0, horizontal ? 0 : k * frameH, frameW, frameH);
        }

        return strip;
    }

    // Paints the knob into an image of its own size, pre-filled with a colour no frame has.
    juce::Image paintKnob (FilmStripKnob& knob, int w, int h)
    {
        knob.setBounds (0, 0, w, h);
        juce::Image out (juce::Image::ARGB, w, h, false);
        out.clear (out.getBounds(), juce::Colours::magenta);
        juce::Graphics g (out);
        knob.paint (g);
        return out;
    }

    // The frame whose colour fills the image corner to corner, or -1 when the image is not one frame.
    int shownFrame (const juce::Image& image, int frames)
    {
        const auto colour = image.getPixelAt (0, 0);

        for (auto [x, y] : { std::pair { image.getWidth() - 1, 0 },
                             std::pair { 0, image.getHeight() - 1 },
                             std::pair { image.getWidth() - 1, image.getHeight() - 1 },
                             std::pair { image.getWidth() / 2, image.getHeight() / 2 } })
            if (image.getPixelAt (x, y) != colour)
                return -1;

        for (int k = 0; k < frames; ++k)
            if (colour == frameColour (k))
                return k;

        return -1;
    }
}

TEST (FilmStripKnob, ValuePicksTheTruncatedFrameOfAVerticalStrip)
{
    struct Case
    {
        const char* name;
        double minimum, maximum, interval, value;
        int expectedFrame;
    };

    const Case cases[] = {
        { "minimum shows the top frame", 0.0, 1.0, 0.0, 0.0, 0 },
        { "maximum shows the bottom frame", 0.0, 1.0, 0.0, 1.0, 30 },
        { "0.99 stays below the last frame", 0.0, 1.0, 0.0, 0.99, 29 },
        { "the middle shows frame 15", 0.0, 1.0, 0.0, 0.5, 15 },
        { "fx 2 of 1..5 truncates 7.5 to 7", 1.0, 5.0, 1.0, 2.0, 7 },
        { "fx 4 of 1..5 truncates 22.5 to 22", 1.0, 5.0, 1.0, 4.0, 22 },
        { "speed 2 of 1..3 is the middle frame", 1.0, 3.0, 1.0, 2.0, 15 },
        { "bite v of 2..32 shows frame v - 2", 2.0, 32.0, 2.0, 18.0, 16 },
    };

    const auto strip = makeStrip (31, 64, 64, false);

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        FilmStripKnob knob (strip, 31, false);
        knob.setRange (c.minimum, c.maximum, c.interval);
        knob.setValue (c.value, juce::dontSendNotification);

        EXPECT_EQ (shownFrame (paintKnob (knob, 64, 64), 31), c.expectedFrame);
    }
}

TEST (FilmStripKnob, HorizontalStripTakesFramesSideBySide)
{
    FilmStripKnob knob (makeStrip (31, 10, 64, true), 31, true);
    EXPECT_EQ (knob.getFrameWidth(), 10);
    EXPECT_EQ (knob.getFrameHeight(), 64);

    knob.setRange (0.0, 30.0, 1.0);

    for (int k : { 0, 1, 12, 29, 30 })
    {
        SCOPED_TRACE (k);
        knob.setValue (k, juce::dontSendNotification);
        EXPECT_EQ (shownFrame (paintKnob (knob, 10, 64), 31), k);
    }
}

TEST (FilmStripKnob, FrameCountsOfOneOrLessShowTheWholeStrip)
{
    // A 16 x 64 strip of four coloured bands: drawn whole, its top and bottom bands both show.
    const auto strip = makeStrip (4, 16, 16, false);

    for (int count : { 1, 0, -3 })
    {
        SCOPED_TRACE (count);
        FilmStripKnob knob (strip, count, false);
        EXPECT_EQ (knob.getNumFrames(), 1);
        EXPECT_EQ (knob.getFrameWidth(), 16);
        EXPECT_EQ (knob.getFrameHeight(), 64);

        knob.setRange (0.0, 1.0, 0.0);

        for (double value : { 0.0, 0.7, 1.0 })
        {
            knob.setValue (value, juce::dontSendNotification);
            const auto out = paintKnob (knob, 16, 64);
            EXPECT_EQ (out.getPixelAt (8, 0), frameColour (0));
            EXPECT_EQ (out.getPixelAt (8, 63), frameColour (3));
        }
    }
}

TEST (FilmStripKnob, InvalidImagePaintsNothing)
{
    FilmStripKnob knob (juce::Image(), 31, false);
    EXPECT_EQ (knob.getFrameWidth(), 0);
    EXPECT_EQ (knob.getFrameHeight(), 0);

    knob.setRange (0.0, 1.0, 0.0);
    knob.setValue (0.5, juce::dontSendNotification);
    const auto out = paintKnob (knob, 64, 64);

    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            ASSERT_EQ (out.getPixelAt (x, y), juce::Colours::magenta) << x << ", " << y;
}

TEST (FilmStripKnob, DrawsNoSliderTextBox)
{
    FilmStripKnob knob (makeStrip (31, 64, 64, false), 31, false);
    EXPECT_EQ (knob.getTextBoxPosition(), juce::Slider::NoTextBox);
}

TEST (FilmStripKnob, AStripGivenLaterReplacesTheOldOneWhole)
{
    FilmStripKnob knob;
    EXPECT_EQ (knob.getTextBoxPosition(), juce::Slider::NoTextBox);
    EXPECT_EQ (knob.getFrameWidth(), 0);
    EXPECT_EQ (paintKnob (knob, 16, 16).getPixelAt (8, 8), juce::Colours::magenta) << "no strip yet, nothing drawn";

    knob.setRange (0.0, 30.0, 1.0);
    knob.setValue (12.0, juce::dontSendNotification);

    // Horizontal 31 x 10 pixels first, then vertical 5 x 16: each set takes the new strip's
    // orientation, count and frame size, none of the old one's.
    knob.setFilmStrip (makeStrip (31, 10, 64, true), 31, true);
    EXPECT_EQ (knob.getNumFrames(), 31);
    EXPECT_EQ (knob.getFrameWidth(), 10);
    EXPECT_EQ (shownFrame (paintKnob (knob, 10, 64), 31), 12);

    knob.setFilmStrip (makeStrip (5, 16, 16, false), 5, false);
    EXPECT_EQ (knob.getNumFrames(), 5);
    EXPECT_EQ (knob.getFrameWidth(), 16);
    EXPECT_EQ (knob.getFrameHeight(), 16);
    EXPECT_EQ (shownFrame (paintKnob (knob, 16, 16), 5), 1);   // 12 / 30 of 4 frames truncates to 1

    knob.setFilmStrip (juce::Image(), 31, false);
    EXPECT_EQ (knob.getFrameHeight(), 0);
    EXPECT_EQ (paintKnob (knob, 16, 16).getPixelAt (8, 8), juce::Colours::magenta);
}
