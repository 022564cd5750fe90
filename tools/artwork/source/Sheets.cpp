#include "Artwork.h"

using namespace juce;

namespace
{

    void checkerboard (Graphics& g, Rectangle<int> area)
    {
        for (int y = area.getY(); y < area.getBottom(); y += 8)
            for (int x = area.getX(); x < area.getRight(); x += 8)
            {
                g.setColour (((x + y) / 8) % 2 == 0 ? Colour (0xff3a3a3a) : Colour (0xff2a2a2a));
                g.fillRect (Rectangle<int> (x, y, 8, 8).getIntersection (area));
            }
    }

    // An image button's picture: natural size, centred in its box (integer offsets), clipped to it.
    void buttonPicture (Graphics& g, const Image& picture, Rectangle<int> box)
    {
        Graphics::ScopedSaveState state (g);
        g.reduceClipRegion (box);
        g.drawImageAt (picture, box.getX() + (box.getWidth() - picture.getWidth()) / 2,
                       box.getY() + (box.getHeight() - picture.getHeight()) / 2);
    }

    void knob (Graphics& g, const Image& strip, int frame, int x, int y)
    {
        g.drawImage (strip, x, y, 64, 64, 0, frame * 64, 64, 64);
    }

    void label (Graphics& g, const String& text, int x, int y)
    {
        g.setColour (Colours::wheat);
        g.setFont (Look::font (11.0f));
        g.drawText (text, Rectangle<int> (x, y, 70, 20), Justification::centred, false);
    }
}

namespace Sheets
{
    juce::Image contactSheet (const juce::StringArray& names, const juce::Array<juce::Image>& images)
    {
        Image sheet (Image::RGB, 2040, 1800, true);
        Graphics g (sheet);
        g.fillAll (Colour (0xff202020));

        int x = 20, y = 20, rowHeight = 0;

        auto place = [&] (int index, float scale)
        {
            const auto& image = images.getReference (index);
            const auto w = roundToInt ((float) image.getWidth() * scale);
            const auto h = roundToInt ((float) image.getHeight() * scale);

            if (x + w > sheet.getWidth() - 20)
            {
                x = 20;
                y += rowHeight + 30;
                rowHeight = 0;
            }

            checkerboard (g, { x, y, w, h });
            g.drawImage (image, x, y, w, h, 0, 0, image.getWidth(), image.getHeight());
            g.setColour (Colours::white);
            g.setFont (Look::font (13.0f, false));
            g.drawText (names[index] + (scale != 1.0f ? " (x" + String (scale, 1) + ")" : String()),
                        x, y + h + 4, jmax (w, 200), 16, Justification::left, false);
            x += jmax (w, 160) + 20;
            rowHeight = jmax (rowHeight, h);
        };

        auto strip = [&] (int index)
        {
            // A 64 x 1984 strip shown as one row of its 31 frames.
            const auto& image = images.getReference (index);
            x = 20;
            y += rowHeight + 30;
            checkerboard (g, { x, y, 31 * 64, 64 });

            for (int f = 0; f < Artwork::knobFrames; ++f)
                g.drawImage (image, x + f * 64, y, 64, 64, 0, f * 64, 64, 64);

            g.setColour (Colours::white);
            g.setFont (Look::font (13.0f, false));
            g.drawText (names[index] + " (frames 0..30)", x, y + 68, 400, 16, Justification::left, false);
            rowHeight = 64;
        };

        for (int i = 0; i < names.size(); ++i)
            if (images[i].getWidth() >= 800)
                place (i, images[i].getWidth() > 800 ? 0.5f : 1.0f);

        for (int i = 0; i < names.size(); ++i)
            if (images[i].getHeight() == 64 * Artwork::knobFrames)
                strip (i);

        x = 20;
        y += rowHeight + 30;
        rowHeight = 0;

        for (int i = 0; i < names.size(); ++i)
            if (images[i].getWidth() < 800 && images[i].getHeight() != 64 * Artwork::knobFrames)
                place (i, images[i].getWidth() <= 66 ? 4.0f : 2.0f);

        return sheet;
    }

    juce::Image mockWindow (bool withOverlay)
    {
        Image window (Image::RGB, 800, 477, true);
        Graphics g (window);

        g.drawImage (Artwork::background(), 0, 0, 800, 477, 0, 0, 1600, 954);

        g.setColour (Colours::white);
        g.setFont (Look::font (11.0f));
        g.drawText ("BPM: 120", Rectangle<float> (92.0f, 0.0f, 70.0f, 30.0f), Justification::left, true);
        g.drawText ("V1.0", Rectangle<float> (682.0f, 0.0f, 70.0f, 30.0f), Justification::left, true);

        // Stand-in for the framework's preset menu.
        g.setColour (Colour (0xff263238));
        g.fillRoundedRectangle (300.0f, 3.0f, 200.0f, 21.0f, 3.0f);
        g.setColour (Colours::white);
        g.drawText ("Intergalactic", Rectangle<float> (306.0f, 3.0f, 180.0f, 21.0f), Justification::centredLeft, true);

        buttonPicture (g, Artwork::siteLogo(), { -8, -2, 110, 30 });
        buttonPicture (g, Artwork::arrow (false), { 270, -1, 30, 30 });
        buttonPicture (g, Artwork::arrow (true), { 500, -1, 30, 30 });
        buttonPicture (g, Artwork::infoButton(), { 767, -1, 30, 30 });
        buttonPicture (g, Artwork::bypass (false), { 703, -1, 70, 30 });

        const int xs[] = { 12, 79, 150, 220, 513, 584, 652, 720 };
        const int heights[] = { 320, 250, 151, 83, 290, 186, 221, 350 };
        const auto unlit = Artwork::stepHandle (false);
        const auto lit = Artwork::stepHandle (true);

        for (int i = 0; i < 8; ++i)
            buttonPicture (g, i == 7 ? lit : unlit, { xs[i], heights[i], 68, i == 0 ? 125 : 120 });

        buttonPicture (g, Artwork::lastStep(), { 334, 196, 132, 40 });

        // Knobs panel open in DESTROY: impact and bite turn, the other four lie under covers.
        const auto leftStrip = Artwork::knobStrip (Look::cyan);
        const auto rightStrip = Artwork::knobStrip (Look::ember);
        const auto leftCover = Artwork::coverStrip (Look::cyan);
        const auto rightCover = Artwork::coverStrip (Look::ember);

        buttonPicture (g, Artwork::knobPanel (Look::cyan), { 45, 130, 208, 196 });
        buttonPicture (g, Artwork::knobPanel (Look::ember), { 548, 130, 208, 196 });
        knob (g, leftStrip, 15, 70, 150);     // impact
        knob (g, leftStrip, 30, 160, 150);    // fx: DESTROY
        knob (g, rightStrip, 15, 575, 150);   // speed: SUPERSONIC
        knob (g, rightStrip, 6, 665, 150);    // bite
        buttonPicture (g, leftCover, { 70, 243, 64, 64 });
        buttonPicture (g, leftCover, { 160, 243, 64, 64 });
        buttonPicture (g, rightCover, { 575, 243, 64, 64 });
        buttonPicture (g, rightCover, { 665, 243, 64, 64 });

        label (g, "IMPACT: 55", 67, 214);
        label (g, "DESTROY", 157, 214);
        label (g, "SUPERSONIC", 572, 214);
        label (g, "BITE: 4", 662, 214);

        if (withOverlay)
            buttonPicture (g, Artwork::infoOverlay(), { 0, 77, 800, 405 });

        return window;
    }
}
