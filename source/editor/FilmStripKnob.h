#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** A rotary slider drawn as one frame of a film strip.

    The strip is a single image holding every frame of the knob's picture, stacked from top to
    bottom (or side by side when horizontal). The slider's value picks the frame: the range's
    minimum shows the first frame and only the maximum itself reaches the last. Value handling,
    dragging and parameter attachments are the slider's own.
*/
class FilmStripKnob : public juce::Slider
{
public:
    /** Builds a knob from a strip of frameCount frames; a count below 1 is taken as 1. */
    FilmStripKnob (juce::Image strip, int frameCount, bool horizontal);

    /** Builds a knob that draws nothing until setFilmStrip gives it a strip. */
    FilmStripKnob();

    ~FilmStripKnob() override;

    /** Takes a strip of frameCount frames in place of the one it had; a count below 1 is taken as 1. */
    void setFilmStrip (juce::Image strip, int frameCount, bool horizontal);

    /** Draws the frame for the current value over the whole bounds, and nothing else. */
    void paint (juce::Graphics&) override;

    int getNumFrames() const noexcept { return numFrames; }
    int getFrameWidth() const noexcept { return frameWidth; }
    int getFrameHeight() const noexcept { return frameHeight; }

private:
    int numFrames = 1;
    bool isHorizontal = false;
    juce::Image filmStrip;
    int frameWidth = 0;
    int frameHeight = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FilmStripKnob)
};
