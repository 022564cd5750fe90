#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include "BinaryData.h"

/** The editor's pictures, fetched from the compiled-in PNGs through the image cache: the first
    fetch decodes, later ones are look-ups that return the same image. */
namespace EditorImages
{
#define ZURIZAZ_IMAGE(name) \
    inline juce::Image name() { return juce::ImageCache::getFromMemory (BinaryData::name##_png, BinaryData::name##_pngSize); }

    ZURIZAZ_IMAGE (stepEightImage)
    ZURIZAZ_IMAGE (previousArrowImage)
    ZURIZAZ_IMAGE (nextArrowImage)
    ZURIZAZ_IMAGE (radodImage)
    ZURIZAZ_IMAGE (radodLitImage)
    ZURIZAZ_IMAGE (backgroundPicture)
    ZURIZAZ_IMAGE (bypassOnImage)
    ZURIZAZ_IMAGE (bypassOffImage)
    ZURIZAZ_IMAGE (leftCoverImage)
    ZURIZAZ_IMAGE (rightCoverImage)
    ZURIZAZ_IMAGE (infoImage)
    ZURIZAZ_IMAGE (infoButtonImage)
    ZURIZAZ_IMAGE (leftPanelImage)
    ZURIZAZ_IMAGE (leftKnobStrip)
    ZURIZAZ_IMAGE (rightPanelImage)
    ZURIZAZ_IMAGE (rightKnobStrip)
    ZURIZAZ_IMAGE (siteLogoImage)
    ZURIZAZ_IMAGE (videoLogoImage)

#undef ZURIZAZ_IMAGE

    /** Gives an image button its picture: drawn at its own size, centred in the button's bounds,
        the same in every state, with the whole bounds taking clicks. */
    inline void setPicture (juce::ImageButton& button, const juce::Image& picture)
    {
        button.setImages (false, false, true,
                          picture, 1.0f, juce::Colours::transparentBlack,
                          juce::Image(), 1.0f, juce::Colours::transparentBlack,
                          juce::Image(), 1.0f, juce::Colours::transparentBlack,
                          0.0f);
    }

    /** The editor's text style: Arial, 11, bold.

        On Linux JUCE matches a typeface only by its exact family name among the installed font
        files, and a missing Arial would fall back to the default sans face in its regular weight.
        Liberation Sans has Arial's metrics, so it stands in where Arial itself is not installed.
    */
    inline juce::Font textFont()
    {
        juce::String typeface ("Arial");

#if JUCE_LINUX || JUCE_BSD
        if (juce::Font::findAllTypefaceStyles (typeface).isEmpty()
            && ! juce::Font::findAllTypefaceStyles ("Liberation Sans").isEmpty())
            typeface = "Liberation Sans";
#endif

        return juce::Font (typeface, 11.0f, juce::Font::bold);
    }
}
