#include "ReaderCheck.h"

#include <climits>
#include <cmath>

#include "state/SavedState.h"

namespace
{
    /** The blob the processor's save writes for a tree. */
    juce::MemoryBlock blobOf (const juce::ValueTree& tree)
    {
        juce::MemoryBlock blob;
        juce::AudioProcessor::copyXmlToBinary (*tree.createXml(), blob);
        return blob;
    }
}

std::string checkReader (const void* data, size_t sizeInBytes)
{
    const juce::Identifier type ("Zurizaz");
    const auto tree = SavedState::readTree (data, (int) std::min (sizeInBytes, (size_t) INT_MAX), type);

    if (! tree.has_value())
        return {};

    if (! tree->getType().toString().equalsIgnoreCase (type.toString()))
        return "the reader took a root named " + tree->getType().toString().toStdString();

    // The parameters read the values of the root's children; one that is not a number would
    // reach the audio.
    for (const auto& child : *tree)
        if (child.hasProperty ("value") && std::isnan ((double) child["value"]))
            return "the reader left the value " + child["value"].toString().toStdString() + ", not a number";

    const auto saved = blobOf (*tree);
    const auto reread = SavedState::readTree (saved.getData(), (int) saved.getSize(), type);

    if (! reread.has_value())
        return "the reader refuses the save of a tree it read";

    if (blobOf (*reread) != saved)
        return "the save of a tree the reader read reads back as another tree";

    // The same text can still mean another value: a double the reader set is compared with the
    // text written for it.
    for (int i = 0; i < tree->getNumChildren(); ++i)
    {
        const auto before = tree->getChild (i), after = reread->getChild (i);

        if (before.hasProperty ("value") && (double) before["value"] != (double) after["value"])
            return "child " + std::to_string (i) + "'s value " + before["value"].toString().toStdString()
                   + " reads back as " + after["value"].toString().toStdString();
    }

    return {};
}
