#include <gtest/gtest.h>

#include "editor/EditorImages.h"

#if JUCE_LINUX
TEST (EditorText, ArialIsSetInLiberationSansBoldWhereArialIsMissing)
{
    const juce::File liberationBold ("/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf");

    if (! juce::Font::findAllTypefaceStyles ("Arial").isEmpty() || ! liberationBold.existsAsFile())
        GTEST_SKIP() << "Arial itself is installed, or Liberation Sans is not";

    juce::MemoryBlock data;
    ASSERT_TRUE (liberationBold.loadFileAsData (data));
    const auto reference = juce::Typeface::createSystemTypefaceFor (data.getData(), data.getSize());
    ASSERT_EQ (reference->getName(), "Liberation Sans");
    ASSERT_EQ (reference->getStyle(), "Bold");

    const auto font = EditorImages::textFont();
    EXPECT_EQ (font.getHeight(), 11.0f);
    EXPECT_TRUE (font.isBold());

    const auto typeface = font.getTypefacePtr();
    EXPECT_EQ (typeface->getName(), "Liberation Sans");

    // Same advances as the Bold face read straight from its file: the face really was found.
    const juce::String sample ("BPM: 120  V1.0  FEEDBACK: 29  HYPERSONIC");
    EXPECT_GT (typeface->getStringWidth (sample), 0.0f);
    EXPECT_FLOAT_EQ (typeface->getStringWidth (sample), reference->getStringWidth (sample));
}
#endif
