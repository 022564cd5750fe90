#include "FilmStripKnob.h"

FilmStripKnob::FilmStripKnob (juce::Image strip, int frameCount, bool horizontal)
    : FilmStripKnob()
{
    setFilmStrip (std::move (strip), frameCount, horizontal);
}

FilmStripKnob::FilmStripKnob()
{
    setTextBoxStyle (juce::Slider::NoTextBox, false, 0, 0);
}

FilmStripKnob::~FilmStripKnob() = default;

void FilmStripKnob::setFilmStrip (juce::Image strip, int frameCount, bool horizontal)
{
    numFrames = juce::jmax (1, frameCount);   // a count below 1 would divide by zero below
    isHorizontal = horizontal;
    filmStrip = std::move (strip);
    frameWidth = 0;
    frameHeight = 0;

    if (filmStrip.isValid())
    {
        frameWidth = isHorizontal ? filmStrip.getWidth() / numFrames : filmStrip.getWidth();
        frameHeight = isHorizontal ? filmStrip.getHeight() : filmStrip.getHeight() / numFrames;
    }

    repaint();
}

void FilmStripKnob::paint (juce::Graphics& g)
{
    const auto proportion = (float) valueToProportionOfLength (getValue());
    const auto frame = (int) ((float) (numFrames - 1) * proportion);

    g.drawImage (filmStrip,
                 0, 0, getWidth(), getHeight(),
                 isHorizontal ? frame * frameWidth : 0,
                 isHorizontal ? 0 : frame * frameHeight,
                 frameWidth, frameHeight,
                 false);
}
