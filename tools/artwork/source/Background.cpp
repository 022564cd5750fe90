#include "Artwork.h"

using namespace juce;

namespace
{
    // Everything is laid out in window coordinates (800 x 477) and drawn at twice the size.
    constexpr float topBarHeight = 28.0f;

    // Where the step handles stand (left edges), and the first row of each level band of the
    // handle heights, from the quietest (0.1 at 83) to full level (320 down to 350).
    const float handleX[] = { 12.0f, 79.0f, 150.0f, 220.0f, 513.0f, 583.0f, 652.0f, 720.0f };
    const float bandTops[] = { 83.0f, 84.0f, 111.0f, 135.0f, 151.0f, 186.0f, 221.0f, 251.0f, 291.0f, 320.0f };
    constexpr float laneTop = 76.0f;
    constexpr float laneBottom = 474.0f;

    void cloud (Graphics& g, Random& random, Point<float> centre, float radius, Colour colour, float alpha)
    {
        g.setGradientFill (ColourGradient (colour.withAlpha (alpha), centre, colour.withAlpha (0.0f), centre.translated (radius, 0.0f), true));
        g.fillEllipse (Rectangle<float> (2.0f * radius, 2.0f * radius).withCentre (centre));

        // Lumps, so it reads as gas rather than a spotlight.
        for (int i = 0; i < 14; ++i)
        {
            const auto c = centre + Point<float> ((random.nextFloat() - 0.5f) * radius * 1.4f, (random.nextFloat() - 0.5f) * radius * 1.0f);
            const auto r = radius * (0.15f + 0.3f * random.nextFloat());
            g.setGradientFill (ColourGradient (colour.withAlpha (alpha * 0.45f), c, colour.withAlpha (0.0f), c.translated (r, 0.0f), true));
            g.fillEllipse (Rectangle<float> (2.0f * r, 2.0f * r).withCentre (c));
        }
    }

    void stars (Graphics& g, Random& random)
    {
        for (int i = 0; i < 560; ++i)
        {
            const Point<float> p (random.nextFloat() * 800.0f, topBarHeight + random.nextFloat() * (477.0f - topBarHeight));
            const auto bright = std::pow (random.nextFloat(), 3.0f);
            const auto size = 0.35f + 1.1f * bright;
            const auto tint = Colour (0xffbcd4ff).interpolatedWith (Colour (0xffffe2c4), random.nextFloat());
            g.setColour (tint.withAlpha (0.25f + 0.75f * bright));
            g.fillEllipse (Rectangle<float> (size, size).withCentre (p));

            if (bright > 0.55f)   // the brightest few twinkle
            {
                g.setColour (tint.withAlpha (0.35f));
                g.fillRect (Rectangle<float> (6.0f * size, 0.25f).withCentre (p));
                g.fillRect (Rectangle<float> (0.25f, 6.0f * size).withCentre (p));
            }
        }
    }

    void topBar (Graphics& g)
    {
        g.setGradientFill (ColourGradient (Colour (0xff141a31), 0.0f, 0.0f, Colour (0xff080b17), 0.0f, topBarHeight, false));
        g.fillRect (0.0f, 0.0f, 800.0f, topBarHeight);
        g.setColour (Colours::white.withAlpha (0.05f));
        g.fillRect (0.0f, 0.0f, 800.0f, 0.5f);

        ColourGradient edge (Look::cyan.withAlpha (0.0f), 0.0f, 0.0f, Look::ember.withAlpha (0.0f), 800.0f, 0.0f, false);
        edge.addColour (0.3, Look::cyan.withAlpha (0.45f));
        edge.addColour (0.7, Look::ember.withAlpha (0.45f));
        g.setGradientFill (edge);
        g.fillRect (0.0f, topBarHeight - 0.5f, 800.0f, 0.5f);

        // A dark read-out well behind the tempo text.
        const Rectangle<float> tempo (87.0f, 7.0f, 70.0f, 16.0f);
        g.setColour (Colour (0xff04060d));
        g.fillRoundedRectangle (tempo, 3.0f);
        g.setColour (Colours::white.withAlpha (0.07f));
        g.drawRoundedRectangle (tempo, 3.0f, 0.5f);
    }

    void lane (Graphics& g, float x, Colour accent, int step)
    {
        const Rectangle<float> area (x + 3.0f, laneTop, 62.0f, laneBottom - laneTop);

        g.setColour (Colour (0xff070a16).withAlpha (0.55f));
        g.fillRoundedRectangle (area, 5.0f);

        // Each level band is shaded by its level: faint at the quiet top, fuller at the bottom.
        for (int b = 0; b < (int) std::size (bandTops); ++b)
        {
            const auto level = 0.1f * (float) (b + 1);
            const auto top = bandTops[b] + 1.0f;
            const auto bottom = b + 1 < (int) std::size (bandTops) ? bandTops[b + 1] + 1.0f : area.getBottom() - 1.0f;
            g.setColour (accent.withAlpha (0.01f + 0.13f * level));
            g.fillRect (area.getX() + 1.0f, top, area.getWidth() - 2.0f, bottom - top);

            // A tick on both sides at the top of each band.
            g.setColour (accent.withAlpha (0.25f + 0.45f * level));
            g.fillRect (area.getX() + 2.0f, top - 0.25f, 7.0f, 0.5f);
            g.fillRect (area.getRight() - 9.0f, top - 0.25f, 7.0f, 0.5f);
            g.setColour (Colours::white.withAlpha (0.035f));
            g.fillRect (area.getX() + 10.0f, top - 0.25f, area.getWidth() - 20.0f, 0.5f);
        }

        // The groove the handle runs in.
        const auto centreX = area.getCentreX();
        g.setColour (Colours::black.withAlpha (0.6f));
        g.fillRoundedRectangle (centreX - 1.5f, 80.0f, 3.0f, laneBottom - 84.0f, 1.5f);
        g.setColour (accent.withAlpha (0.18f));
        g.fillRect (centreX - 0.25f, 82.0f, 0.5f, laneBottom - 88.0f);

        g.setColour (Colours::white.withAlpha (0.07f));
        g.drawRoundedRectangle (area, 5.0f, 0.5f);

        // The step's number above the lane, where no handle ever stands.
        const Point<float> badge (centreX, 53.0f);
        g.setColour (Colour (0xff05070f).withAlpha (0.8f));
        g.fillEllipse (Rectangle<float> (20.0f, 20.0f).withCentre (badge));
        g.setColour (accent.withAlpha (0.55f));
        g.drawEllipse (Rectangle<float> (20.0f, 20.0f).withCentre (badge), 0.75f);
        g.setColour (Look::ink.withAlpha (0.9f));
        g.fillPath (Look::textPath (String (step), Look::font (11.0f), badge.x, badge.y));
    }

    void blackHole (Graphics& g, Point<float> c)
    {
        const auto tilt = AffineTransform::rotation (-0.12f, c.x, c.y);
        constexpr float rx = 96.0f, ry = 15.0f, r = 30.0f;

        g.setGradientFill (ColourGradient (Look::ember.withAlpha (0.2f), c, Look::ember.withAlpha (0.0f), c.translated (110.0f, 0.0f), true));
        g.fillEllipse (Rectangle<float> (220.0f, 220.0f).withCentre (c));

        auto disk = [&] (float from, float to)
        {
            Path outer, inner;
            outer.addCentredArc (c.x, c.y, rx, ry, 0.0f, from, to, true);
            inner.addCentredArc (c.x, c.y, rx - 11.0f, ry - 2.0f, 0.0f, from, to, true);

            Path glowShape;
            PathStrokeType (6.0f).createStrokedPath (glowShape, outer, tilt);
            Look::glow (g, glowShape, Look::ember.withAlpha (0.5f), 6);

            g.setColour (Look::ember.withAlpha (0.35f));
            g.strokePath (outer, PathStrokeType (7.0f, PathStrokeType::curved, PathStrokeType::butt), tilt);
            g.setColour (Look::gold.withAlpha (0.45f));
            g.strokePath (inner, PathStrokeType (6.0f, PathStrokeType::curved, PathStrokeType::butt), tilt);
            g.setColour (Colour (0xffffe6b0).withAlpha (0.8f));
            g.strokePath (outer, PathStrokeType (0.8f), tilt);
            g.strokePath (inner, PathStrokeType (0.6f), tilt);
        };

        disk (-MathConstants<float>::halfPi, MathConstants<float>::halfPi);   // behind the hole

        // The light bent over the top of the hole.
        Path halo;
        halo.addEllipse (Rectangle<float> (2.0f * r + 6.0f, 2.0f * r + 6.0f).withCentre (c));
        Look::glow (g, halo, Look::gold.withAlpha (0.8f), 6);
        g.setColour (Colours::black);
        g.fillEllipse (Rectangle<float> (2.0f * r, 2.0f * r).withCentre (c));
        g.setColour (Look::gold.withAlpha (0.7f));
        g.drawEllipse (Rectangle<float> (2.0f * r + 1.0f, 2.0f * r + 1.0f).withCentre (c), 1.0f);

        disk (MathConstants<float>::halfPi, MathConstants<float>::pi * 1.5f);   // in front
    }

    void centreColumn (Graphics& g)
    {
        // Title with an orbit around it.
        const auto titleFont = Look::font (34.0f, true, 0.1f);
        const auto title = Look::textPath ("ZURIZAZ", titleFont, 401.0f, 60.0f);

        Path orbit;
        orbit.addEllipse (Rectangle<float> (210.0f, 30.0f).withCentre ({ 401.0f, 61.0f }));
        ColourGradient orbitFill (Look::cyan.withAlpha (0.7f), 296.0f, 0.0f, Look::ember.withAlpha (0.7f), 506.0f, 0.0f, false);
        orbitFill.addColour (0.5, Colours::white.withAlpha (0.1f));
        g.setGradientFill (orbitFill);
        g.strokePath (orbit, PathStrokeType (0.8f), AffineTransform::rotation (-0.06f, 401.0f, 61.0f));

        Look::glow (g, title, Look::cyan.withAlpha (0.55f), 5);
        ColourGradient titleFill (Colour (0xff8fe9ff), 310.0f, 0.0f, Colour (0xffffb27a), 492.0f, 0.0f, false);
        titleFill.addColour (0.5, Colours::white);
        g.setGradientFill (titleFill);
        g.fillPath (title);

        g.setColour (Look::mute);
        g.fillPath (Look::textPath ("EIGHT-STEP GATE  /  SPACE FX", Look::font (8.5f, true, 0.18f), 401.0f, 92.0f));

        // A hint that the centre opens the knobs.
        const Point<float> knob (401.0f, 132.0f);
        g.setColour (Look::mute.withAlpha (0.8f));
        g.drawEllipse (Rectangle<float> (14.0f, 14.0f).withCentre (knob), 1.0f);
        g.drawLine (knob.x, knob.y, knob.x + 4.0f, knob.y - 4.0f, 1.2f);
        g.fillPath (Look::textPath ("CLICK HERE FOR THE KNOBS", Look::font (8.0f, true, 0.15f), 401.0f, 151.0f));

        // The slot the last-step light comes on in (334..465, 196..235).
        const Rectangle<float> slot (330.0f, 192.0f, 140.0f, 48.0f);
        g.setColour (Colour (0xff03040a).withAlpha (0.75f));
        g.fillRoundedRectangle (slot, 24.0f);
        g.setColour (Colours::white.withAlpha (0.09f));
        g.drawRoundedRectangle (slot.reduced (0.5f), 23.5f, 0.75f);
        g.setColour (Colours::white.withAlpha (0.13f));
        g.fillPath (Look::textPath ("LAST STEP", Look::font (12.0f, true, 0.1f), 409.0f, 216.0f));
        g.drawEllipse (Rectangle<float> (26.0f, 26.0f).withCentre ({ 354.0f, 216.0f }), 0.75f);

        blackHole (g, { 401.0f, 360.0f });
    }
}

namespace Artwork
{
    juce::Image background()
    {
        Image image (Image::RGB, 1600, 954, true);
        Graphics g (image);
        g.addTransform (AffineTransform::scale (2.0f));

        g.setGradientFill (ColourGradient (Colour (0xff0c1030), 400.0f, 240.0f, Look::space, 0.0f, 477.0f, true));
        g.fillRect (0, 0, 800, 477);

        Random random (0x5a5a1);   // fixed seed: the same sky every time
        cloud (g, random, { 150.0f, 360.0f }, 250.0f, Colour (0xff6a2c9a), 0.30f);
        cloud (g, random, { 650.0f, 170.0f }, 230.0f, Colour (0xff0f5f88), 0.32f);
        cloud (g, random, { 730.0f, 430.0f }, 190.0f, Colour (0xffa0304a), 0.20f);
        cloud (g, random, { 260.0f, 110.0f }, 170.0f, Colour (0xff1a4a9a), 0.22f);
        stars (g, random);

        for (int i = 0; i < 8; ++i)
            lane (g, handleX[i], i < 4 ? Look::cyan : Look::ember, i + 1);

        centreColumn (g);
        topBar (g);
        return image;
    }
}
