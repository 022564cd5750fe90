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
