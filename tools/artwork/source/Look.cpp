#include "Artwork.h"

namespace Look
{
    juce::Font font (float height, bool bold, float extraKerning)
    {
        juce::Font f ("Liberation Sans", height, bold ? juce::Font::bold : juce::Font::plain);
        f.setExtraKerningFactor (extraKerning);
        return f;
    }

    juce::Path textPath (const juce::String& text, const juce::Font& font, float cx, float cy)
    {
        juce::GlyphArrangement glyphs;
        glyphs.addLineOfText (font, text, 0.0f, 0.0f);
        juce::Path p;
        glyphs.createPath (p);

        // Centre on the cap height rather than the ink, so lines of text share a baseline.
        const auto width = glyphs.getBoundingBox (0, -1, true).getWidth();
        const auto capHeight = font.getAscent() * 0.72f;
        p.applyTransform (juce::AffineTransform::translation (cx - width * 0.5f, cy + capHeight * 0.5f));
        return p;
    }

    void glow (juce::Graphics& g, const juce::Path& shape, juce::Colour colour, int radius)
    {
        juce::DropShadow (colour, radius, {}).drawForPath (g, shape);
    }

    juce::Point<float> onCircle (juce::Point<float> centre, float radius, float angle)
    {
        return centre.getPointOnCircumference (radius, angle);
    }
}
