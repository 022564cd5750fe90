// Draws the plug-in's eighteen pictures and writes them as PNG files.
//
//   ZurizazArtwork <resources folder> [--sheet <file.png>] [--mock <file.png>] [--mock-info <file.png>]
//
// The same build always writes the same bytes, so a regenerated picture only shows up in
// version control when its drawing changed.

#include "Artwork.h"
#include "PngFile.h"

#include <functional>
#include <iostream>

namespace
{
    struct Picture
    {
        const char* name;
        int width, height;
        PngLayout layout;
        std::function<juce::Image()> draw;
    };

    const Picture pictures[] = {
        { "stepEightImage", 132, 40, PngLayout::rgba, []
          { return Artwork::lastStep(); } },
        { "previousArrowImage", 20, 20, PngLayout::rgba, []
          { return Artwork::arrow (false); } },
        { "nextArrowImage", 20, 20, PngLayout::rgba, []
          { return Artwork::arrow (true); } },
        { "radodImage", 68, 125, PngLayout::rgba, []
          { return Artwork::stepHandle (false); } },
        { "radodLitImage", 68, 125, PngLayout::rgba, []
          { return Artwork::stepHandle (true); } },
        { "backgroundPicture", 1600, 954, PngLayout::rgb, []
          { return Artwork::background(); } },
        { "bypassOnImage", 66, 27, PngLayout::rgba, []
          { return Artwork::bypass (true); } },
        { "bypassOffImage", 66, 27, PngLayout::rgba, []
          { return Artwork::bypass (false); } },
        { "leftCoverImage", 64, 1984, PngLayout::rgba, []
          { return Artwork::coverStrip (Look::cyan); } },
        { "rightCoverImage", 64, 1984, PngLayout::rgba, []
          { return Artwork::coverStrip (Look::ember); } },
        { "infoImage", 800, 405, PngLayout::rgba, []
          { return Artwork::infoOverlay(); } },
        { "infoButtonImage", 20, 20, PngLayout::rgba, []
          { return Artwork::infoButton(); } },
        { "leftPanelImage", 208, 196, PngLayout::rgba, []
          { return Artwork::knobPanel (Look::cyan); } },
        { "leftKnobStrip", 64, 1984, PngLayout::rgba, []
          { return Artwork::knobStrip (Look::cyan); } },
        { "rightPanelImage", 208, 196, PngLayout::rgba, []
          { return Artwork::knobPanel (Look::ember); } },
        { "rightKnobStrip", 64, 1984, PngLayout::rgba, []
          { return Artwork::knobStrip (Look::ember); } },
        { "siteLogoImage", 100, 30, PngLayout::greyAlpha, []
          { return Artwork::siteLogo(); } },
        { "videoLogoImage", 48, 20, PngLayout::greyAlpha, []
          { return Artwork::videoLogo(); } },
    };

    int fail (const juce::String& message)
    {
        std::cerr << message << std::endl;
        return 1;
    }

    bool writeSheet (const juce::Image& image, const juce::String& path)
    {
        return writePng (image, PngLayout::rgb, juce::File::getCurrentWorkingDirectory().getChildFile (path));
    }
}

int main (int argc, char* argv[])
{
    juce::ScopedJuceInitialiser_GUI juceSetUp;

    juce::StringArray args;
    for (int i = 1; i < argc; ++i)
        args.add (argv[i]);

    if (args.isEmpty() || args[0].startsWith ("-"))
        return fail ("usage: ZurizazArtwork <resources folder> [--sheet <file.png>] [--mock <file.png>] [--mock-info <file.png>]");

    // Another face would change every picture: refuse rather than draw something different.
    const auto face = Look::font (12.0f).getTypefacePtr()->getName();
    if (face != "Liberation Sans")
        return fail ("Liberation Sans not found (got \"" + face + "\"): install fonts-liberation");

    const auto folder = juce::File::getCurrentWorkingDirectory().getChildFile (args[0]);
    if (! folder.isDirectory())
        return fail ("no such folder: " + folder.getFullPathName());

    juce::StringArray names;
    juce::Array<juce::Image> images;

    for (const auto& picture : pictures)
    {
        const auto image = picture.draw();

        if (image.getWidth() != picture.width || image.getHeight() != picture.height)
            return fail (juce::String (picture.name) + " came out at the wrong size");

        const auto file = folder.getChildFile (juce::String (picture.name) + ".png");

        if (! writePng (image, picture.layout, file))
            return fail ("could not write " + file.getFullPathName());

        std::cout << file.getFileName() << "  " << file.getSize() << " bytes" << std::endl;
        names.add (picture.name);
        images.add (image);
    }

    for (int i = 1; i + 1 < args.size(); i += 2)
    {
        const auto& option = args[i];
        const auto& path = args[i + 1];
        bool written = false;

        if (option == "--sheet")
            written = writeSheet (Sheets::contactSheet (names, images), path);
        else if (option == "--mock")
            written = writeSheet (Sheets::mockWindow (false), path);
        else if (option == "--mock-info")
            written = writeSheet (Sheets::mockWindow (true), path);
        else
            return fail ("unknown option " + option);

        if (! written)
            return fail ("could not write " + path);
    }

    return 0;
}
