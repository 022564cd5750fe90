#include <gtest/gtest.h>

#include "PluginHost.h"

// Hosts find an LV2 plug-in by the URI in its manifest; a relative URI would resolve against
// wherever the bundle happens to be installed.
TEST (BuiltLv2Manifest, NamesThePluginByItsConfiguredAbsoluteUri)
{
    const auto bundle = PluginHost::builtBundle ("LV2");
    const auto uri = PluginHost::builtLv2Uri();
    ASSERT_TRUE (uri.startsWith ("http")) << uri;

    const auto manifest = bundle.getChildFile ("manifest.ttl").loadFileAsString();
    const auto dsp = bundle.getChildFile ("dsp.ttl").loadFileAsString();
    ASSERT_TRUE (manifest.isNotEmpty());
    ASSERT_TRUE (dsp.isNotEmpty());

    const auto subject = "<" + uri + ">";
    EXPECT_TRUE (manifest.contains (subject + "\n\ta lv2:Plugin")) << manifest;
    EXPECT_TRUE (dsp.contains (subject)) << "dsp.ttl never names " << subject;
    EXPECT_FALSE (manifest.contains ("<Zurizaz>")) << manifest;
}

// JUCE's LV2 client writes each program as a preset. A nameless one that does nothing is what a
// host would list, so the bundle declares no preset at all.
TEST (BuiltLv2Manifest, DeclaresNoPreset)
{
    const auto manifest = PluginHost::builtBundle ("LV2").getChildFile ("manifest.ttl").loadFileAsString();
    ASSERT_TRUE (manifest.isNotEmpty());

    EXPECT_FALSE (manifest.contains ("a pset:Preset")) << manifest;
    EXPECT_FALSE (manifest.contains ("rdfs:label \"\"")) << manifest;
}

// foaf:mbox takes a URI; an empty or bare address would resolve against the bundle's own file.
TEST (BuiltLv2Manifest, GivesTheMakersConfiguredEMailAsAMailtoUri)
{
    const auto dsp = PluginHost::builtBundle ("LV2").getChildFile ("dsp.ttl").loadFileAsString();
    const auto mbox = dsp.fromFirstOccurrenceOf ("foaf:mbox <", false, false).upToFirstOccurrenceOf (">", false, false);

    EXPECT_EQ (mbox, juce::String ("mailto:") + ZURIZAZ_EMAIL) << dsp;
}
