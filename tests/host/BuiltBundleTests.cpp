#include <filesystem>

#include <link.h>

#include "HostedPluginTest.h"

namespace
{
    std::string canonicalPath (const std::string& path)
    {
        std::error_code error;
        const auto canonical = std::filesystem::canonical (path, error);
        return error ? path : canonical.string();
    }

    // Every shared object in this process whose file is called fileName, by its resolved path.
    std::vector<std::string> loadedObjectsNamed (const std::string& fileName)
    {
        struct Search
        {
            std::string fileName;
            std::vector<std::string> found;
        } search { fileName, {} };

        dl_iterate_phdr (
            [] (dl_phdr_info* info, size_t, void* data)
            {
                auto& s = *static_cast<Search*> (data);
                const std::string path = info->dlpi_name != nullptr ? info->dlpi_name : "";

                if (std::filesystem::path (path).filename() == s.fileName)
                    s.found.push_back (canonicalPath (path));

                return 0;
            },
            &search);

        return search.found;
    }
}

class BuiltBundles : public HostedPluginTest
{};

// A copy of the plug-in installed where hosts look (~/.vst3, ~/.lv2) must not stand in for the
// bundle this build made: the code running is the build's binary and no other copy of it.
TEST_P (BuiltBundles, RunsTheBinaryOfTheBuildsOwnBundleAndNoOtherCopy)
{
    const auto binaries = PluginHost::builtBundle (formatName()).findChildFiles (juce::File::findFiles, true, "*.so");
    ASSERT_EQ (binaries.size(), 1) << "the bundle should hold one binary";

    const auto& binary = binaries.getReference (0);
    const std::vector<std::string> expected { canonicalPath (binary.getFullPathName().toStdString()) };
    EXPECT_EQ (loadedObjectsNamed (binary.getFileName().toStdString()), expected);
}

ZURIZAZ_INSTANTIATE_FOR_EACH_FORMAT (BuiltBundles);
