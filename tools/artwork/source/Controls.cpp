#include "Artwork.h"

using namespace juce;

namespace
{
    // Fits a shape into a box, centred, scaling it down only when it is too big.
    Path fitted (Path p, Rectangle<float> box)
    {
        const auto b = p.getBounds();
        const auto scale = jmin (1.0f, box.getWidth() / b.getWidth(), box.getHeight() / b.getHeight());
        p.applyTransform (AffineTransform::translation (-b.getCentreX(), -b.getCentreY())
                              .scaled (scale)
                              .translated (box.getCentreX(), box.getCentreY()));
        return p;
    }

    void roundButtonBase (Graphics& g)
    {
        const auto disc = Rectangle<float> (17.0f, 17.0f).withCentre ({ 10.0f, 10.0f });
        g.setGradientFill (ColourGradient (Colour (0xff1d2538), 10.0f, 1.5f, Colour (0xff0b0f1a), 10.0f, 18.5f, false));
        g.fillEllipse (disc);
        g.setColour (Look::cyan.withAlpha (0.6f));
        g.drawEllipse (disc, 1.0f);
    }
}

namespace Artwork
{
    juce::Image stepHandle (bool lit)
    {
        Image image (Image::ARGB, 68, 125, true);
        Graphics g (image);

        // Boxes of 120 rows cut two rows off the top and three off the bottom: draw within 3..121.
        const auto body = Rectangle<float> (6.0f, 3.0f, 56.0f, 118.0f);
        Path outline;
        outline.addRoundedRectangle (body, 7.0f);

        if (lit)
            Look::glow (g, outline, Look::ember.withAlpha (0.9f), 6);
        else
            Look::glow (g, outline, Colours::black.withAlpha (0.8f), 4);

        ColourGradient fill = lit ? ColourGradient (Colour (0xffffd986), 0.0f, body.getY(), Colour (0xffa8400f), 0.0f, body.getBottom(), false)
                                  : ColourGradient (Colour (0xff3a4259), 0.0f, body.getY(), Colour (0xff121621), 0.0f, body.getBottom(), false);
        fill.addColour (0.35, lit ? Colour (0xffff9440) : Colour (0xff242a3a));
        g.setGradientFill (fill);
        g.fillPath (outline);

        // Sheen down the left side.
        g.setGradientFill (ColourGradient (Colours::white.withAlpha (lit ? 0.22f : 0.08f), body.getX(), 0.0f,
                                           Colours::white.withAlpha (0.0f), body.getCentreX(), 0.0f, false));
        g.fillPath (outline);

        // The top edge is the step's level: a bright rule across the cap.
        const auto cap = body.withHeight (15.0f);
        g.setColour (lit ? Colours::white : Look::cyan.withAlpha (0.75f));
        g.fillRoundedRectangle (cap.reduced (4.0f, 0.0f).withHeight (2.5f).translated (0.0f, 1.5f), 1.2f);
        g.setColour (Colours::black.withAlpha (lit ? 0.25f : 0.5f));
        g.fillRect (body.getX() + 1.0f, cap.getBottom(), body.getWidth() - 2.0f, 1.0f);
        g.setColour (Colours::white.withAlpha (lit ? 0.35f : 0.08f));
        g.fillRect (body.getX() + 1.0f, cap.getBottom() + 1.0f, body.getWidth() - 2.0f, 1.0f);

        // Grip ridges.
        for (int i = 0; i < 4; ++i)
        {
            const auto y = 28.0f + 5.0f * (float) i;
            g.setColour (Colours::black.withAlpha (lit ? 0.3f : 0.55f));
            g.fillRoundedRectangle (18.0f, y, 32.0f, 1.5f, 0.7f);
            g.setColour (Colours::white.withAlpha (lit ? 0.35f : 0.1f));
            g.fillRoundedRectangle (18.0f, y + 1.5f, 32.0f, 1.0f, 0.5f);
        }

        // The step light.
        const auto window = Rectangle<float> (19.0f, 90.0f, 30.0f, 14.0f);
        g.setColour (Colours::black.withAlpha (lit ? 0.45f : 0.75f));
        g.fillRoundedRectangle (window.expanded (1.5f), 8.5f);

        if (lit)
        {
            Path light;
            light.addRoundedRectangle (window, 7.0f);
            Look::glow (g, light, Colours::white, 4);
            g.setGradientFill (ColourGradient (Colours::white, window.getCentreX(), window.getCentreY(),
                                               Look::gold, window.getRight(), window.getCentreY(), true));
            g.fillPath (light);
        }
        else
        {
            g.setColour (Colour (0xff0a0d15));
            g.fillRoundedRectangle (window, 7.0f);
            g.setColour (Look::cyan.withAlpha (0.12f));
            g.drawRoundedRectangle (window.reduced (0.5f), 7.0f, 1.0f);
        }

        g.setColour (lit ? Colour (0xffffe1a8) : Look::steelEdge);
        g.strokePath (outline, PathStrokeType (1.0f));
        return image;
    }

    juce::Image lastStep()
    {
        Image image (Image::ARGB, 132, 40, true);
        Graphics g (image);

        const auto pill = Rectangle<float> (2.0f, 2.0f, 128.0f, 36.0f);
        Path outline;
        outline.addRoundedRectangle (pill, 18.0f);
        Look::glow (g, outline, Look::ember, 3);

        ColourGradient fill (Look::gold, 0.0f, pill.getY(), Colour (0xffe8621f), 0.0f, pill.getBottom(), false);
        g.setGradientFill (fill);
        g.fillPath (outline);
        g.setColour (Colours::white.withAlpha (0.5f));
        g.strokePath (outline, PathStrokeType (1.0f));

        // "8" in a dark badge, then the words.
        const auto badge = Rectangle<float> (28.0f, 28.0f).withCentre ({ 20.0f, 20.0f });
        g.setColour (Colour (0xff1c0d04));
        g.fillEllipse (badge);
        g.setColour (Look::gold);
        g.fillPath (Look::textPath ("8", Look::font (20.0f), badge.getCentreX(), badge.getCentreY()));

        g.setColour (Colour (0xff2a1104));
        g.fillPath (Look::textPath ("LAST STEP", Look::font (14.0f, true, 0.05f), 83.0f, 20.0f));
        return image;
    }

    juce::Image bypass (bool on)
    {
        Image image (Image::ARGB, 66, 27, true);
        Graphics g (image);

        const auto box = Rectangle<float> (1.0f, 1.0f, 64.0f, 25.0f);
        g.setGradientFill (on ? ColourGradient (Colour (0xff7a141b), 0.0f, box.getY(), Colour (0xff3e0a0e), 0.0f, box.getBottom(), false)
                              : ColourGradient (Colour (0xff1e2434), 0.0f, box.getY(), Colour (0xff10141f), 0.0f, box.getBottom(), false));
        g.fillRoundedRectangle (box, 5.0f);
        g.setColour (on ? Colour (0xffff6060) : Colour (0xff3c455c));
        g.drawRoundedRectangle (box.reduced (0.5f), 5.0f, 1.0f);

        const auto led = Rectangle<float> (7.0f, 7.0f).withCentre ({ 11.5f, 13.5f });
        Path ledShape;
        ledShape.addEllipse (led);

        if (on)
        {
            Look::glow (g, ledShape, Look::alarm, 4);
            g.setGradientFill (ColourGradient (Colours::white, led.getCentreX() - 1.0f, led.getCentreY() - 1.0f,
                                               Look::alarm, led.getRight(), led.getBottom(), true));
            g.fillPath (ledShape);
        }
        else
        {
            g.setColour (Colour (0xff2b303c));
            g.fillPath (ledShape);
            g.setColour (Colours::black.withAlpha (0.6f));
            g.strokePath (ledShape, PathStrokeType (1.0f));
        }

        const auto text = Look::textPath ("BYPASS", Look::font (10.5f, true, 0.04f), 39.0f, 13.5f);

        if (on)
            Look::glow (g, text, Look::alarm.withAlpha (0.8f), 3);

        g.setColour (on ? Colour (0xffffeaea) : Colour (0xff687188));
        g.fillPath (text);
        return image;
    }

    juce::Image arrow (bool next)
    {
        Image image (Image::ARGB, 20, 20, true);
        Graphics g (image);
        roundButtonBase (g);

        Path triangle;
        triangle.addTriangle (8.0f, 6.0f, 14.0f, 10.0f, 8.0f, 14.0f);

        if (! next)
            triangle.applyTransform (AffineTransform::scale (-1.0f, 1.0f, 10.0f, 10.0f).translated (0.5f, 0.0f));
        else
            triangle.applyTransform (AffineTransform::translation (0.5f, 0.0f));

        g.setColour (Look::cyan);
        g.fillPath (triangle);
        return image;
    }

    juce::Image infoButton()
    {
        Image image (Image::ARGB, 20, 20, true);
        Graphics g (image);
        roundButtonBase (g);

        g.setColour (Look::cyan);
        g.fillEllipse (Rectangle<float> (2.6f, 2.6f).withCentre ({ 10.0f, 6.0f }));
        g.fillRoundedRectangle (8.9f, 8.3f, 2.2f, 6.7f, 0.8f);
        return image;
    }

    juce::Image siteLogo()
    {
        Image image (Image::ARGB, 100, 30, true);
        Graphics g (image);

        // The window clips the first columns and the first two rows, and "BPM:" starts right
        // after the last ten columns: keep the mark within x 3..85, y 4..26.
        const Point<float> planet (15.0f, 15.0f);
        const auto tilt = AffineTransform::rotation (-0.35f, planet.x, planet.y);

        Path ringBack, ringFront;
        ringBack.addCentredArc (planet.x, planet.y, 10.5f, 3.2f, 0.0f, -MathConstants<float>::halfPi, MathConstants<float>::halfPi, true);
        ringFront.addCentredArc (planet.x, planet.y, 10.5f, 3.2f, 0.0f, MathConstants<float>::halfPi, MathConstants<float>::pi * 1.5f, true);

        g.setColour (Colour (0xffa0a0a0));
        g.strokePath (ringBack, PathStrokeType (1.3f), tilt);
        g.setGradientFill (ColourGradient (Colours::white, planet.x - 3.0f, planet.y - 4.0f, Colour (0xff707070), planet.x + 5.0f, planet.y + 6.0f, true));
        g.fillEllipse (Rectangle<float> (12.0f, 12.0f).withCentre (planet));
        g.setColour (Colours::white);
        g.strokePath (ringFront, PathStrokeType (1.3f), tilt);

        g.setColour (Colours::white);
        g.fillPath (fitted (Look::textPath ("ZURIZAZ", Look::font (15.0f, true, 0.04f), 0.0f, 0.0f),
                            { 28.0f, 8.0f, 57.0f, 14.0f }));
        return image;
    }

    juce::Image videoLogo()
    {
        Image image (Image::ARGB, 48, 20, true);
        Graphics g (image);

        g.setColour (Colours::white.withAlpha (0.85f));
        g.drawRoundedRectangle (Rectangle<float> (1.0f, 2.5f, 46.0f, 15.0f), 3.5f, 1.0f);

        Path play;
        play.addTriangle (5.0f, 6.0f, 5.0f, 14.0f, 11.5f, 10.0f);
        g.setColour (Colours::white);
        g.fillPath (play);

        g.fillPath (fitted (Look::textPath ("VIDEO", Look::font (9.0f, true, 0.05f), 0.0f, 0.0f),
                            { 14.0f, 5.0f, 30.0f, 10.0f }));
        return image;
    }
}
