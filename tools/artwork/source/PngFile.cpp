#include "PngFile.h"

#include <png.h>

#include <cstdio>
#include <vector>

namespace
{
    int channelsOf (PngLayout layout)
    {
        switch (layout)
        {
            case PngLayout::rgb: return 3;
            case PngLayout::greyAlpha: return 2;
            case PngLayout::rgba: return 4;
        }

        return 4;
    }

    int pngColourTypeOf (PngLayout layout)
    {
        switch (layout)
        {
            case PngLayout::rgb: return PNG_COLOR_TYPE_RGB;
            case PngLayout::greyAlpha: return PNG_COLOR_TYPE_GRAY_ALPHA;
            case PngLayout::rgba: return PNG_COLOR_TYPE_RGB_ALPHA;
        }

        return PNG_COLOR_TYPE_RGB_ALPHA;
    }

    std::vector<png_byte> rowsOf (const juce::Image& image, PngLayout layout)
    {
        const auto channels = channelsOf (layout);
        const auto w = image.getWidth();
        const auto h = image.getHeight();
        std::vector<png_byte> bytes ((size_t) (w * h * channels));

        const juce::Image::BitmapData data (image, juce::Image::BitmapData::readOnly);
        auto* out = bytes.data();

        for (int y = 0; y < h; ++y)
        {
            for (int x = 0; x < w; ++x)
            {
                const auto c = data.getPixelColour (x, y);   // unpremultiplied

                if (layout == PngLayout::greyAlpha)
                {
                    const auto luma = 0.299f * c.getRed() + 0.587f * c.getGreen() + 0.114f * c.getBlue();
                    *out++ = (png_byte) juce::jlimit (0, 255, juce::roundToInt (luma));
                    *out++ = c.getAlpha();
                }
                else
                {
                    *out++ = c.getRed();
                    *out++ = c.getGreen();
                    *out++ = c.getBlue();

                    if (layout == PngLayout::rgba)
                        *out++ = c.getAlpha();
                }
            }
        }

        return bytes;
    }
}

bool writePng (const juce::Image& image, PngLayout layout, const juce::File& file)
{
    auto bytes = rowsOf (image, layout);
    const auto stride = (size_t) (image.getWidth() * channelsOf (layout));

    std::vector<png_bytep> rows ((size_t) image.getHeight());

    for (size_t y = 0; y < rows.size(); ++y)
        rows[y] = bytes.data() + y * stride;

    auto* fp = std::fopen (file.getFullPathName().toRawUTF8(), "wb");

    if (fp == nullptr)
        return false;

    auto png = png_create_write_struct (PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    auto info = png != nullptr ? png_create_info_struct (png) : nullptr;

    if (info == nullptr || setjmp (png_jmpbuf (png)))
    {
        png_destroy_write_struct (&png, &info);
        std::fclose (fp);
        return false;
    }

    png_init_io (png, fp);
    png_set_IHDR (png, info, (png_uint_32) image.getWidth(), (png_uint_32) image.getHeight(), 8,
                  pngColourTypeOf (layout), PNG_INTERLACE_NONE,
                  PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);

    // Fixed settings: the bytes depend on the pixels only.
    png_set_compression_level (png, 9);
    png_set_compression_strategy (png, 0);
    png_set_filter (png, PNG_FILTER_TYPE_BASE, PNG_ALL_FILTERS);

    png_write_info (png, info);
    png_write_image (png, rows.data());
    png_write_end (png, nullptr);
    png_destroy_write_struct (&png, &info);

    return std::fclose (fp) == 0;
}
