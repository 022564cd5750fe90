#include <gtest/gtest.h>

#include <juce_graphics/juce_graphics.h>

#include "BinaryData.h"

namespace
{
    enum PngColourType
    {
        rgb = 2,
        greyAlpha = 4,
        rgba = 6
    };

    struct Embedded
    {
        const char* name;
        const char* data;
        int size;
    };

#define ZURIZAZ_EMBEDDED(name) \
    Embedded { #name, BinaryData::name##_png, BinaryData::name##_pngSize }

    juce::uint32 bigEndian32 (const char* p)
    {
        const auto* b = reinterpret_cast<const unsigned char*> (p);
        return ((juce::uint32) b[0] << 24) | ((juce::uint32) b[1] << 16) | ((juce::uint32) b[2] << 8) | (juce::uint32) b[3];
    }

    juce::Image decode (const Embedded& e)
    {
        return juce::ImageFileFormat::loadFrom (e.data, (size_t) e.size);
    }

    constexpr int frames = 31;
    constexpr int frameSize = 64;

    juce::Image frameOf (const juce::Image& strip, int k)
    {
        return strip.getClippedImage ({ 0, k * frameSize, frameSize, frameSize });
    }

    bool sameFrame (const juce::Image& a, const juce::Image& b)
    {
        for (int y = 0; y < frameSize; ++y)
            for (int x = 0; x < frameSize; ++x)
                if (a.getPixelAt (x, y) != b.getPixelAt (x, y))
                    return false;

        return true;
    }

    // Light falling inside the knob's body (radius 5 to 17 around the frame's centre) on the left
    // or right half of its lower part: where the pointer stands at the ends of its travel.
    float pointerLight (const juce::Image& frame, bool rightSide)
    {
        float sum = 0.0f;

        for (int y = 32; y < frameSize; ++y)
            for (int x = rightSide ? 32 : 0; x < (rightSide ? frameSize : 32); ++x)
            {
                const auto r = std::hypot ((float) x + 0.5f - 32.0f, (float) y + 0.5f - 32.0f);

                if (r >= 5.0f && r <= 17.0f)
                {
                    const auto c = frame.getPixelAt (x, y);
                    sum += c.getPerceivedBrightness() * c.getFloatAlpha();
                }
            }

        return sum;
    }

    // Pixels in a bright, saturated colour, like a knob's lit accent.
    int vividPixels (const juce::Image& image)
    {
        int count = 0;

        for (int y = 0; y < image.getHeight(); ++y)
            for (int x = 0; x < image.getWidth(); ++x)
            {
                const auto c = image.getPixelAt (x, y);
                count += (c.getAlpha() > 128 && c.getSaturation() > 0.4f && c.getBrightness() > 0.5f) ? 1 : 0;
            }

        return count;
    }

    float meanBrightness (const juce::Image& image)
    {
        float sum = 0.0f;

        for (int y = 0; y < image.getHeight(); ++y)
            for (int x = 0; x < image.getWidth(); ++x)
            {
                const auto c = image.getPixelAt (x, y);
                sum += c.getPerceivedBrightness() * c.getFloatAlpha();
            }

        return sum / (float) (image.getWidth() * image.getHeight());
    }
}

TEST (Artwork, EveryEmbeddedPictureHasItsSizeAndPixelLayout)
{
    struct Case
    {
        Embedded picture;
        juce::uint32 width, height;
        int colourType;
    };

    const Case cases[] = {
        { ZURIZAZ_EMBEDDED (stepEightImage), 132, 40, rgba },
        { ZURIZAZ_EMBEDDED (previousArrowImage), 20, 20, rgba },
        { ZURIZAZ_EMBEDDED (nextArrowImage), 20, 20, rgba },
        { ZURIZAZ_EMBEDDED (radodImage), 68, 125, rgba },
        { ZURIZAZ_EMBEDDED (radodLitImage), 68, 125, rgba },
        { ZURIZAZ_EMBEDDED (backgroundPicture), 1600, 954, rgb },
        { ZURIZAZ_EMBEDDED (bypassOnImage), 66, 27, rgba },
        { ZURIZAZ_EMBEDDED (bypassOffImage), 66, 27, rgba },
        { ZURIZAZ_EMBEDDED (leftCoverImage), 64, 1984, rgba },
        { ZURIZAZ_EMBEDDED (rightCoverImage), 64, 1984, rgba },
        { ZURIZAZ_EMBEDDED (infoImage), 800, 405, rgba },
        { ZURIZAZ_EMBEDDED (infoButtonImage), 20, 20, rgba },
        { ZURIZAZ_EMBEDDED (leftPanelImage), 208, 196, rgba },
        { ZURIZAZ_EMBEDDED (leftKnobStrip), 64, 1984, rgba },
        { ZURIZAZ_EMBEDDED (rightPanelImage), 208, 196, rgba },
        { ZURIZAZ_EMBEDDED (rightKnobStrip), 64, 1984, rgba },
        { ZURIZAZ_EMBEDDED (siteLogoImage), 100, 30, greyAlpha },
        { ZURIZAZ_EMBEDDED (videoLogoImage), 48, 20, greyAlpha },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.picture.name);
        const auto* d = c.picture.data;
        ASSERT_GT (c.picture.size, 8 + 25 + 12);

        // Signature, then IHDR as the first chunk: length 13, width, height, bit depth, colour
        // type, compression, filter, interlace.
        EXPECT_EQ (juce::String::fromUTF8 (d + 1, 3), "PNG");
        EXPECT_EQ ((unsigned char) d[0], 0x89);
        EXPECT_EQ (bigEndian32 (d + 8), 13u);
        EXPECT_EQ (juce::String::fromUTF8 (d + 12, 4), "IHDR");
        EXPECT_EQ (bigEndian32 (d + 16), c.width);
        EXPECT_EQ (bigEndian32 (d + 20), c.height);
        EXPECT_EQ ((int) d[24], 8) << "bit depth";
        EXPECT_EQ ((int) d[25], c.colourType) << "colour type";
        EXPECT_EQ ((int) d[28], 0) << "interlace";

        // The whole file is there: it ends with the IEND chunk.
        EXPECT_EQ (juce::String::fromUTF8 (d + c.picture.size - 8, 4), "IEND");

        const auto image = decode (c.picture);
        ASSERT_TRUE (image.isValid());
        EXPECT_EQ (image.getWidth(), (int) c.width);
        EXPECT_EQ (image.getHeight(), (int) c.height);
    }
}

TEST (Artwork, KnobStripsTurnFromLowerLeftToLowerRightOverThirtyOneFrames)
{
    for (const auto& e : { ZURIZAZ_EMBEDDED (leftKnobStrip), ZURIZAZ_EMBEDDED (rightKnobStrip) })
    {
        SCOPED_TRACE (e.name);
        const auto strip = decode (e);
        ASSERT_EQ (strip.getHeight(), frames * frameSize);

        for (int k = 0; k + 1 < frames; ++k)
            EXPECT_FALSE (sameFrame (frameOf (strip, k), frameOf (strip, k + 1))) << "frames " << k << " and " << k + 1;

        // The minimum points down-left (-135 degrees), the maximum down-right (+135 degrees).
        const auto first = frameOf (strip, 0);
        const auto last = frameOf (strip, frames - 1);
        EXPECT_GT (pointerLight (first, false), 2.0f * pointerLight (first, true));
        EXPECT_GT (pointerLight (last, true), 2.0f * pointerLight (last, false));
    }
}

TEST (Artwork, CoverHidesItsGroupsKnobAtEveryFrameAndIsDimmed)
{
    const std::pair<Embedded, Embedded> groups[] = {
        { ZURIZAZ_EMBEDDED (leftCoverImage), ZURIZAZ_EMBEDDED (leftKnobStrip) },
        { ZURIZAZ_EMBEDDED (rightCoverImage), ZURIZAZ_EMBEDDED (rightKnobStrip) },
    };

    for (const auto& [coverData, knobData] : groups)
    {
        SCOPED_TRACE (coverData.name);
        const auto strip = decode (knobData);

        // A cover shows only its middle frame, over a knob that may stand at any frame.
        const auto cover = frameOf (decode (coverData), frames / 2);

        for (int k = 0; k < frames; ++k)
        {
            const auto knob = frameOf (strip, k);

            // How much of the knob's pixel gets through the cover, in 1/255ths: at most a trace.
            for (int y = 0; y < frameSize; ++y)
                for (int x = 0; x < frameSize; ++x)
                    ASSERT_LE (knob.getPixelAt (x, y).getAlpha() * (255 - cover.getPixelAt (x, y).getAlpha()), 2 * 255)
                        << "frame " << k << " at " << x << ", " << y;
        }

        // Dimmed: none of the knob's lit accent colour is left.
        EXPECT_GT (vividPixels (frameOf (strip, frames / 2)), 50);
        EXPECT_EQ (vividPixels (cover), 0);
    }
}

TEST (Artwork, StatePicturesDifferAtAGlance)
{
    const std::pair<Embedded, Embedded> pairs[] = {
        { ZURIZAZ_EMBEDDED (radodLitImage), ZURIZAZ_EMBEDDED (radodImage) },
        { ZURIZAZ_EMBEDDED (bypassOnImage), ZURIZAZ_EMBEDDED (bypassOffImage) },
    };

    for (const auto& [on, off] : pairs)
    {
        SCOPED_TRACE (on.name);
        EXPECT_GT (meanBrightness (decode (on)), 1.3f * meanBrightness (decode (off)));
    }
}
