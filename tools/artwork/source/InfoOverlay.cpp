#include "Artwork.h"

using namespace juce;

namespace
{
    // The overlay sits at y 77 in a 477-high window: rows 400 and below never show.
    constexpr float visibleHeight = 400.0f;

    void heading (Graphics& g, const String& text, Colour accent, float x, float y)
    {
        g.setColour (accent);
        g.fillRect (x, y + 3.0f, 3.0f, 13.0f);
        g.setFont (Look::font (15.0f, true, 0.2f));
        g.drawText (text, Rectangle<float> (x + 10.0f, y, 300.0f, 19.0f), Justification::centredLeft, false);
    }

    void line (Graphics& g, const String& text, float x, float y, float width = 330.0f)
    {
        g.setColour (Look::ink.withAlpha (0.86f));
        g.setFont (Look::font (14.0f, false));
        g.drawText (text, Rectangle<float> (x, y, width, 18.0f), Justification::centredLeft, false);
    }

    void tableRow (Graphics& g, const String& name, const String& what, Colour accent, float x, float y)
    {
        g.setColour (accent);
        g.setFont (Look::font (13.0f, true, 0.08f));
        g.drawText (name, Rectangle<float> (x, y, 110.0f, 18.0f), Justification::centredLeft, false);
        line (g, what, x + 112.0f, y, 215.0f);
    }

    // A small step column: a handle part-way up, quiet at the top, full level at the bottom.
    void laneSketch (Graphics& g, Rectangle<float> area)
    {
        g.setColour (Colour (0xff070a16));
        g.fillRoundedRectangle (area, 4.0f);

        for (int b = 0; b < 10; ++b)
        {
            const auto h = area.getHeight() / 10.0f;
            g.setColour (Look::cyan.withAlpha (0.02f + 0.01f * (float) b));
            g.fillRect (area.getX() + 1.0f, area.getY() + h * (float) b, area.getWidth() - 2.0f, h);
        }

        g.setColour (Colours::white.withAlpha (0.12f));
        g.drawRoundedRectangle (area, 4.0f, 1.0f);

        const auto handle = Rectangle<float> (area.getX() + 4.0f, area.getY() + area.getHeight() * 0.42f, area.getWidth() - 8.0f, 22.0f);
        g.setColour (Look::steel);
        g.fillRoundedRectangle (handle, 3.0f);
        g.setColour (Look::cyan);
        g.fillRect (handle.getX() + 3.0f, handle.getY() + 1.5f, handle.getWidth() - 6.0f, 1.5f);

        Path arrows;
        const auto x = area.getRight() + 10.0f;
        arrows.addArrow ({ x, handle.getY() - 4.0f, x, area.getY() + 2.0f }, 1.2f, 7.0f, 6.0f);
        arrows.addArrow ({ x, handle.getBottom() + 4.0f, x, area.getBottom() - 2.0f }, 1.2f, 7.0f, 6.0f);
        g.setColour (Look::mute);
        g.fillPath (arrows);

        g.setFont (Look::font (10.0f, true, 0.1f));
        g.drawText ("QUIET", Rectangle<float> (x + 8.0f, area.getY(), 60.0f, 12.0f), Justification::centredLeft, false);
        g.drawText ("FULL", Rectangle<float> (x + 8.0f, area.getBottom() - 12.0f, 60.0f, 12.0f), Justification::centredLeft, false);
    }
}

namespace Artwork
{
    juce::Image infoOverlay()
    {
        Image image (Image::ARGB, 800, 405, true);
        Graphics g (image);

        // Opaque, so the text reads over anything behind it.
        g.setGradientFill (ColourGradient (Colour (0xff0d1330), 400.0f, 60.0f, Colour (0xff05060d), 400.0f, visibleHeight, false));
        g.fillAll();

        Random random (0x1f0);
        for (int i = 0; i < 140; ++i)
        {
            const auto size = 0.5f + random.nextFloat();
            g.setColour (Colours::white.withAlpha (0.08f + 0.2f * random.nextFloat()));
            g.fillEllipse (random.nextFloat() * 800.0f, random.nextFloat() * visibleHeight, size, size);
        }

        const auto frame = Rectangle<float> (10.0f, 8.0f, 780.0f, visibleHeight - 16.0f);
        g.setColour (Look::cyan.withAlpha (0.35f));
        g.drawRoundedRectangle (frame, 12.0f, 1.0f);

        const auto title = Look::textPath ("HOW TO FLY ZURIZAZ", Look::font (22.0f, true, 0.12f), 400.0f, 40.0f);
        Look::glow (g, title, Look::cyan.withAlpha (0.5f), 5);
        g.setColour (Look::ink);
        g.fillPath (title);

        ColourGradient rule (Look::cyan.withAlpha (0.0f), 150.0f, 0.0f, Look::ember.withAlpha (0.0f), 650.0f, 0.0f, false);
        rule.addColour (0.3, Look::cyan.withAlpha (0.5f));
        rule.addColour (0.7, Look::ember.withAlpha (0.5f));
        g.setGradientFill (rule);
        g.fillRect (150.0f, 60.0f, 500.0f, 1.0f);

        // Left: steps and knobs.
        constexpr float left = 48.0f;
        heading (g, "STEPS", Look::cyan, left, 84.0f);
        laneSketch (g, { left + 4.0f, 112.0f, 26.0f, 84.0f });
        line (g, "Drag up or down in a step's column", left + 96.0f, 112.0f, 250.0f);
        line (g, "to set its level.", left + 96.0f, 130.0f, 250.0f);
        line (g, "Higher is quieter;", left + 96.0f, 156.0f, 250.0f);
        line (g, "the bottom is full level.", left + 96.0f, 174.0f, 250.0f);

        heading (g, "KNOBS", Look::cyan, left, 222.0f);
        line (g, "Click the centre column to show or hide", left, 250.0f);
        line (g, "the knobs. FX picks the mode, SPEED the steps.", left, 268.0f);
        line (g, "A knob marked OFF does nothing in the", left, 294.0f);
        line (g, "current FX mode.", left, 312.0f);

        // Right: what each mode uses, and the speeds.
        constexpr float right = 430.0f;
        heading (g, "FX MODES", Look::ember, right, 84.0f);
        tableRow (g, "GLIMMER", "all knobs: wide swept delay", Look::gold, right, 112.0f);
        tableRow (g, "QUAKE", "all knobs: tight swept delay", Look::gold, right, 132.0f);
        tableRow (g, "DISTORT", "IMPACT: drive", Look::gold, right, 152.0f);
        tableRow (g, "SILENCE", "no knobs: the gate alone", Look::gold, right, 172.0f);
        tableRow (g, "DESTROY", "IMPACT + BITE: bit crusher", Look::gold, right, 192.0f);

        heading (g, "SPEED", Look::ember, right, 222.0f);
        tableRow (g, "SUBSONIC", "4 steps per bar (beats)", Look::gold, right, 250.0f);
        tableRow (g, "SUPERSONIC", "8 steps per bar (half beats)", Look::gold, right, 270.0f);
        tableRow (g, "HYPERSONIC", "16 steps per bar (quarter beats)", Look::gold, right, 290.0f);
        line (g, "On a mono track each step lasts twice as long.", right, 312.0f);

        g.setColour (Look::mute);
        g.fillPath (Look::textPath ("CLICK ANYWHERE ON THIS PANEL TO CLOSE IT", Look::font (11.0f, true, 0.15f), 400.0f, 352.0f));
        return image;
    }
}
