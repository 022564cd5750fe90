#include "Artwork.h"

using namespace juce;

namespace
{
    const Point<float> centre { 32.0f, 32.0f };
    constexpr float trackRadius = 26.0f;
    constexpr float bodyRadius = 20.5f;
    constexpr float tickRadius = 29.5f;

    float angleOfFrame (int frame)
    {
        return -Artwork::knobSweep + 2.0f * Artwork::knobSweep * (float) frame / (float) (Artwork::knobFrames - 1);
    }

    Path arc (float radius, float from, float to)
    {
        Path p;
        p.addCentredArc (centre.x, centre.y, radius, radius, 0.0f, from, to, true);
        return p;
    }

    Path stroked (const Path& path, float width)
    {
        Path outline;
        PathStrokeType (width, PathStrokeType::curved, PathStrokeType::rounded).createStrokedPath (outline, path);
        return outline;
    }

    void strokeArc (Graphics& g, float radius, float from, float to, float width)
    {
        g.strokePath (arc (radius, from, to), PathStrokeType (width, PathStrokeType::curved, PathStrokeType::rounded));
    }

    // The metal body: a shadowed disc, a bevelled rim and a brushed cap.
    void drawBody (Graphics& g, float brightness)
    {
        auto shade = [brightness] (Colour c)
        { return c.withMultipliedBrightness (brightness); };

        g.setColour (Colours::black.withAlpha (0.55f));
        g.fillEllipse (Rectangle<float> (2.0f * (bodyRadius + 1.5f), 2.0f * (bodyRadius + 1.5f)).withCentre (centre.translated (0.0f, 1.5f)));

        const auto body = Rectangle<float> (2.0f * bodyRadius, 2.0f * bodyRadius).withCentre (centre);
        g.setGradientFill (ColourGradient (shade (Colour (0xff5a657f)), body.getX(), body.getY(),
                                           shade (Colour (0xff10131d)), body.getRight(), body.getBottom(), false));
        g.fillEllipse (body);

        const auto cap = body.reduced (3.5f);
        g.setGradientFill (ColourGradient (shade (Colour (0xff333b4f)), cap.getCentreX(), cap.getY(),
                                           shade (Colour (0xff161a26)), cap.getCentreX(), cap.getBottom(), false));
        g.fillEllipse (cap);

        g.setColour (shade (Colour (0xff8793b0)).withAlpha (0.35f));
        g.drawEllipse (body.reduced (0.5f), 1.0f);
        g.setColour (Colours::black.withAlpha (0.4f));
        g.drawEllipse (cap, 0.8f);

        // Fine concentric grooves catch a little light.
        for (float r = 5.0f; r < cap.getWidth() * 0.5f - 1.0f; r += 2.5f)
        {
            g.setColour (Colours::white.withAlpha (0.025f * brightness));
            g.drawEllipse (Rectangle<float> (2.0f * r, 2.0f * r).withCentre (centre), 0.6f);
        }
    }

    void drawTicks (Graphics& g, Colour colour)
    {
        for (int i = 0; i <= 10; ++i)
        {
            const auto a = -Artwork::knobSweep + 2.0f * Artwork::knobSweep * (float) i / 10.0f;
            const auto size = (i == 0 || i == 5 || i == 10) ? 1.8f : 1.2f;
            g.setColour (colour);
            g.fillEllipse (Rectangle<float> (size, size).withCentre (Look::onCircle (centre, tickRadius, a)));
        }
    }

    void drawKnobFrame (Graphics& g, int frame, Colour accent)
    {
        const auto angle = angleOfFrame (frame);

        drawTicks (g, Colours::white.withAlpha (0.35f));

        g.setColour (Colour (0xff1a2030));
        strokeArc (g, trackRadius, -Artwork::knobSweep, Artwork::knobSweep, 3.2f);

        if (frame > 0)
        {
            const auto value = arc (trackRadius, -Artwork::knobSweep, angle);
            Look::glow (g, stroked (value, 3.2f), accent.withAlpha (0.7f), 2);
            g.setColour (accent);
            g.strokePath (value, PathStrokeType (2.4f, PathStrokeType::curved, PathStrokeType::rounded));
        }

        drawBody (g, 1.0f);

        // Pointer: an accent line with a bright core, from the cap's middle to its rim.
        const auto inner = Look::onCircle (centre, 6.0f, angle);
        const auto outer = Look::onCircle (centre, bodyRadius - 3.0f, angle);
        Path pointer;
        pointer.startNewSubPath (inner);
        pointer.lineTo (outer);
        Look::glow (g, stroked (pointer, 3.0f), accent.withAlpha (0.9f), 3);
        g.setColour (accent);
        g.strokePath (pointer, PathStrokeType (3.0f, PathStrokeType::curved, PathStrokeType::rounded));
        g.setColour (Colours::white.withAlpha (0.85f));
        g.strokePath (pointer, PathStrokeType (1.0f, PathStrokeType::curved, PathStrokeType::rounded));

        // The value's end on the track.
        const auto tip = Look::onCircle (centre, trackRadius, angle);
        g.setColour (Colours::white);
        g.fillEllipse (Rectangle<float> (3.2f, 3.2f).withCentre (tip));
    }

    // A cover must hide the knob under it completely, so it is an opaque disc a little larger
    // than anything a knob frame draws, holding the same knob greyed out and marked OFF.
    void drawCoverFrame (Graphics& g, int frame, Colour accent)
    {
        const auto tint = Colour (0xff1b1f2a).interpolatedWith (accent, 0.06f);
        g.setColour (tint);
        g.fillEllipse (Rectangle<float> (64.0f, 64.0f).withCentre (centre));
        g.setColour (Colour (0xff2c3140));
        g.drawEllipse (Rectangle<float> (62.0f, 62.0f).withCentre (centre), 1.0f);

        drawTicks (g, Colours::white.withAlpha (0.12f));

        // A dashed, empty track: nothing to turn here.
        const auto track = arc (trackRadius, -Artwork::knobSweep, Artwork::knobSweep);
        Path dashed;
        const float dashes[] = { 2.0f, 3.0f };
        PathStrokeType (2.2f).createDashedStroke (dashed, track, dashes, 2);
        g.setColour (Colours::white.withAlpha (0.10f));
        g.fillPath (dashed);

        drawBody (g, 0.42f);

        const auto angle = angleOfFrame (frame);
        Path pointer;
        pointer.startNewSubPath (Look::onCircle (centre, 11.0f, angle));
        pointer.lineTo (Look::onCircle (centre, bodyRadius - 3.0f, angle));
        g.setColour (Colours::white.withAlpha (0.16f));
        g.strokePath (pointer, PathStrokeType (2.0f, PathStrokeType::curved, PathStrokeType::rounded));

        g.setColour (Colour (0xff9aa2b4).withAlpha (0.75f));
        g.fillPath (Look::textPath ("OFF", Look::font (10.0f, true, 0.08f), centre.x, centre.y + 1.0f));
    }

    template <typename DrawFrame>
    Image strip (DrawFrame&& drawFrame)
    {
        const auto size = Artwork::knobSize;
        Image image (Image::ARGB, size, size * Artwork::knobFrames, true);
        Graphics g (image);

        for (int frame = 0; frame < Artwork::knobFrames; ++frame)
        {
            Graphics::ScopedSaveState state (g);
            g.reduceClipRegion (0, frame * size, size, size);
            g.setOrigin (0, frame * size);
            drawFrame (g, frame);
        }

        return image;
    }
}

namespace Artwork
{
    juce::Image knobStrip (juce::Colour accent)
    {
        return strip ([accent] (juce::Graphics& g, int frame)
                      { drawKnobFrame (g, frame, accent); });
    }

    juce::Image coverStrip (juce::Colour accent)
    {
        return strip ([accent] (juce::Graphics& g, int frame)
                      { drawCoverFrame (g, frame, accent); });
    }

    juce::Image knobPanel (juce::Colour accent)
    {
        Image image (Image::ARGB, 208, 196, true);
        Graphics g (image);
        const auto bounds = image.getBounds().toFloat().reduced (0.5f);

        // Opaque, so a handle behind the open panel never shows through it.
        g.setGradientFill (ColourGradient (Colour (0xff161d31), 0.0f, 0.0f, Colour (0xff090c17), 0.0f, 196.0f, false));
        g.fillRoundedRectangle (bounds, 10.0f);

        // A faint wash of the group's colour from the top corner.
        g.setGradientFill (ColourGradient (accent.withAlpha (0.10f), 0.0f, 0.0f, accent.withAlpha (0.0f), 150.0f, 150.0f, true));
        g.fillRoundedRectangle (bounds, 10.0f);

        g.setColour (accent.withAlpha (0.55f));
        g.drawRoundedRectangle (bounds, 10.0f, 1.0f);
        g.setColour (Colours::white.withAlpha (0.06f));
        g.drawRoundedRectangle (bounds.reduced (3.0f), 7.5f, 1.0f);

        // Rivets in the corners.
        for (auto p : { Point<float> (9.0f, 9.0f), Point<float> (199.0f, 9.0f), Point<float> (9.0f, 187.0f), Point<float> (199.0f, 187.0f) })
        {
            g.setColour (Colours::black.withAlpha (0.6f));
            g.fillEllipse (Rectangle<float> (5.0f, 5.0f).withCentre (p.translated (0.0f, 0.6f)));
            g.setColour (Colour (0xff4a5470));
            g.fillEllipse (Rectangle<float> (4.0f, 4.0f).withCentre (p));
        }

        // A dividing line between the two columns of knobs.
        ColourGradient divider (accent.withAlpha (0.0f), 104.0f, 14.0f, accent.withAlpha (0.0f), 104.0f, 182.0f, false);
        divider.addColour (0.5, accent.withAlpha (0.25f));
        g.setGradientFill (divider);
        g.fillRect (103.5f, 14.0f, 1.0f, 168.0f);

        // A recessed well behind each knob and a plate for the readout under it.
        for (auto knob : { Point<int> (25, 20), Point<int> (115, 20), Point<int> (25, 113), Point<int> (115, 113) })
        {
            const auto c = knob.toFloat() + Point<float> (32.0f, 32.0f);
            const auto well = Rectangle<float> (66.0f, 66.0f).withCentre (c);
            g.setGradientFill (ColourGradient (Colour (0xff03050b), c.x, well.getY(), Colour (0xff101626), c.x, well.getBottom(), false));
            g.fillEllipse (well);
            g.setColour (accent.withAlpha (0.18f));
            g.drawEllipse (well, 1.0f);

            const auto plate = Rectangle<float> ((float) knob.x - 1.0f, (float) knob.y + 66.0f, 66.0f, 16.0f);
            g.setColour (Colour (0xff05070e));
            g.fillRoundedRectangle (plate, 4.0f);
            g.setColour (Colours::white.withAlpha (0.07f));
            g.drawRoundedRectangle (plate.reduced (0.5f), 4.0f, 1.0f);
        }

        return image;
    }
}
