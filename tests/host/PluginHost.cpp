#include "PluginHost.h"

#include "MessageLoop.h"

namespace
{
    // Set while this host asks the LV2 format to search a folder of its choice.
    bool searchingChosenLv2Folders = false;
}

// JUCE's LV2 format loads every bundle in ~/.lv2, /usr/lib/lv2 and /usr/local/lib/lv2 when it is
// made, and lilv keeps the first bundle it finds for a URI: an installed Zurizaz would be hosted
// in place of the one under test. The link (see CMakeLists.txt) sends JUCE's calls of
// lilv_world_load_all here, so that the world holds only the folders this host searches.
extern "C"
{
    struct LilvWorldImpl;
    void __real_lilv_world_load_all (LilvWorldImpl* world);

    void __wrap_lilv_world_load_all (LilvWorldImpl* world)
    {
        if (searchingChosenLv2Folders)
            __real_lilv_world_load_all (world);
    }
}

namespace
{
    // One manager for the whole run: an LV2 instance shares the lilv world of the format that
    // found it, and the VST3 format caches the modules it has opened.
    class HostFormats : private juce::DeletedAtShutdown
    {
    public:
        HostFormats()
        {
            formats.addFormat (new juce::VST3PluginFormat());
            formats.addFormat (new juce::LV2PluginFormat());
        }

        ~HostFormats() override
        {
            clearSingletonInstance();
        }

        juce::AudioPluginFormat* find (const juce::String& name) const
        {
            for (auto* format : formats.getFormats())
                if (format->getName() == name)
                    return format;

            return nullptr;
        }

        // Adds a folder to the LV2 search; searching one again would only reload its bundles.
        void searchForLv2Bundles (juce::AudioPluginFormat& lv2, const juce::File& folder)
        {
            if (searchedLv2Folders.contains (folder))
                return;

            const juce::ScopedValueSetter<bool> chosen (searchingChosenLv2Folders, true);
            lv2.searchPathsForPlugins (juce::FileSearchPath (folder.getFullPathName()), false);
            searchedLv2Folders.add (folder);
        }

        JUCE_DECLARE_SINGLETON_SINGLETHREADED_MINIMAL (HostFormats)

    private:
        juce::AudioPluginFormatManager formats;
        juce::Array<juce::File> searchedLv2Folders;

        JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HostFormats)
    };

    JUCE_IMPLEMENT_SINGLETON (HostFormats)

    juce::String identifierFor (juce::AudioPluginFormat& format,
                                const juce::File& bundle,
                                const juce::String& lv2Uri)
    {
        if (format.getName() != juce::LV2PluginFormat::getFormatName())
            return bundle.getFullPathName();

        HostFormats::getInstance()->searchForLv2Bundles (format, bundle.getParentDirectory());
        return lv2Uri;
    }
}

namespace PluginHost
{
    std::unique_ptr<juce::AudioPluginInstance> load (const juce::String& formatName,
                                                     const juce::File& bundle,
                                                     const juce::String& lv2Uri,
                                                     double sampleRate,
                                                     int blockSize,
                                                     juce::String& errorMessage)
    {
        JUCE_ASSERT_MESSAGE_THREAD

        auto* format = HostFormats::getInstance()->find (formatName);

        if (format == nullptr)
        {
            errorMessage = "No hosting for the format " + formatName;
            return {};
        }

        if (! bundle.exists())
        {
            errorMessage = "No bundle at " + bundle.getFullPathName();
            return {};
        }

        juce::OwnedArray<juce::PluginDescription> descriptions;
        format->findAllTypesForFile (descriptions, identifierFor (*format, bundle, lv2Uri));

        if (descriptions.isEmpty())
        {
            errorMessage = formatName + " hosting finds no plug-in in " + bundle.getFullPathName();
            return {};
        }

        return format->createInstanceFromDescription (*descriptions.getFirst(), sampleRate, blockSize, errorMessage);
    }

    juce::MemoryBlock pluginStateInside (const juce::String& formatName, const juce::MemoryBlock& hostedState)
    {
        juce::MemoryBlock result;

        if (formatName == "VST3")
        {
            const auto xml = juce::AudioProcessor::getXmlFromBinary (hostedState.getData(), (int) hostedState.getSize());
            const auto* component = xml != nullptr ? xml->getChildByName ("IComponent") : nullptr;

            if (component == nullptr || ! result.fromBase64Encoding (component->getAllSubText()))
                return {};

            // The VST3 client appends: int64 0, its private data, int64 size of that data, "JUCEPrivateData".
            const juce::String marker ("JUCEPrivateData");
            const auto markerSize = (size_t) marker.length();
            const auto* bytes = static_cast<const char*> (result.getData());
            auto size = result.getSize();

            if (size >= markerSize + 2 * sizeof (juce::int64)
                && juce::String (bytes + size - markerSize, markerSize) == marker)
            {
                const auto privateSize = (size_t) juce::ByteOrder::littleEndianInt64 (bytes + size - markerSize - sizeof (juce::int64));
                const auto trailerSize = privateSize + markerSize + 2 * sizeof (juce::int64);

                if (trailerSize > size)
                    return {};

                size -= trailerSize;
            }

            result.setSize (size);
            return result;
        }

        if (formatName == "LV2")
        {
            // <uri:StateString> "base64"
            const auto turtle = hostedState.toString();
            const auto afterKey = turtle.fromFirstOccurrenceOf (":StateString>", false, false)
                                      .fromFirstOccurrenceOf ("\"", false, false);

            if (afterKey.isEmpty() || ! result.fromBase64Encoding (afterKey.upToFirstOccurrenceOf ("\"", false, false)))
                return {};

            return result;
        }

        return {};
    }

    //==============================================================================
    juce::File builtBundle (const juce::String& formatName)
    {
        if (formatName == "VST3") return juce::File (ZURIZAZ_VST3_BUNDLE);
        if (formatName == "LV2") return juce::File (ZURIZAZ_LV2_BUNDLE);

        return {};
    }

    juce::String builtLv2Uri()
    {
        return ZURIZAZ_LV2_URI;
    }

    std::unique_ptr<juce::AudioPluginInstance> loadBuiltZurizaz (const juce::String& formatName,
                                                                 juce::String& errorMessage)
    {
        return load (formatName, builtBundle (formatName), builtLv2Uri(), 48000.0, 512, errorMessage);
    }

    void closeWindowBehindPostedCalls (std::unique_ptr<juce::AudioProcessorEditor>& window)
    {
        auto closed = std::make_shared<bool> (false);
        juce::MessageManager::callAsync ([editor = window.release(), closed]
                                         {
                                             delete editor;
                                             *closed = true; });
        runMessagesUntil ([&]
                          { return *closed; },
                          10000);
    }
}
