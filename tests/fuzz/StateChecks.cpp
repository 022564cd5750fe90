#include "StateChecks.h"

#include <climits>
#include <cmath>

#include "processor/PluginProcessor.h"

namespace
{
    constexpr double sampleRate = 8000.0;   // a valid rate with short delay lines, so the fuzzer runs fast
    constexpr int blockSize = 64;

    std::string checkParameterValues (ZurizazAudioProcessor& processor)
    {
        for (auto* parameter : processor.getParameters())
        {
            auto* withId = dynamic_cast<juce::RangedAudioParameter*> (parameter);
            const auto id = withId->getParameterID();
            const auto normalised = parameter->getValue();
            const auto plain = processor.treeState.getRawParameterValue (id)->load();
            const auto& range = withId->getNormalisableRange();

            if (! (normalised >= 0.0f && normalised <= 1.0f))
                return id.toStdString() + " holds the normalised value " + std::to_string (normalised);

            if (! (plain >= range.start && plain <= range.end))
                return id.toStdString() + " holds the plain value " + std::to_string (plain);
        }

        return {};
    }

    std::string checkBlobFraming (const juce::MemoryBlock& blob)
    {
        if (blob.getSize() < 9)
            return "the save wrote only " + std::to_string (blob.getSize()) + " bytes";

        const auto* bytes = static_cast<const juce::uint8*> (blob.getData());

        if (juce::ByteOrder::littleEndianInt (bytes) != 0x21324356)
            return "the save does not begin with VC2!";

        const auto textLength = (size_t) juce::ByteOrder::littleEndianInt (bytes + 4);

        if (textLength + 9 != blob.getSize() || bytes[blob.getSize() - 1] != 0)
            return "the save's length field does not match its size";

        return {};
    }

    std::string checkPlaysFinite (ZurizazAudioProcessor& processor)
    {
        processor.setRateAndBufferSizeDetails (sampleRate, blockSize);
        processor.prepareToPlay (sampleRate, blockSize);

        juce::AudioBuffer<float> buffer (2, blockSize);
        juce::MidiBuffer midi;

        for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
            for (int i = 0; i < blockSize; ++i)
                buffer.setSample (ch, i, 0.8f * std::sin (0.3f * (float) i));

        processor.processBlock (buffer, midi);

        for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
            for (int i = 0; i < blockSize; ++i)
                if (! std::isfinite (buffer.getSample (ch, i)))
                    return "the restored processor played a non-finite sample";

        return {};
    }
}

//==============================================================================
struct StateChecker::Processors
{
    Processors()
    {
        // The tree a fresh processor's save holds, members included.
        juce::MemoryBlock startState;
        restored.getStateInformation (startState);
        startTree = juce::ValueTree::fromXml (*juce::AudioProcessor::getXmlFromBinary (startState.getData(), (int) startState.getSize()));
    }

    /** Back to the start state: every parameter as the start tree has it (what restoring its blob
        would do, without reading it again), and the members and the delay lines that
        prepareToPlay derives from them. */
    void reset()
    {
        restored.treeState.replaceState (startTree.createCopy());
        restored.setRateAndBufferSizeDetails (sampleRate, blockSize);
        restored.prepareToPlay (sampleRate, blockSize);
        copy.treeState.replaceState (startTree.createCopy());
    }

    ZurizazAudioProcessor restored, copy;
    juce::ValueTree startTree;
    juce::MemoryBlock saved;
    std::vector<float> restoredValues;
};

StateChecker::StateChecker() : processors (std::make_unique<Processors>()) {}
StateChecker::~StateChecker() = default;

const std::vector<float>& StateChecker::lastRestoredValues() const noexcept { return processors->restoredValues; }

std::string StateChecker::check (const void* data, size_t sizeInBytes)
{
    processors->reset();
    processors->restoredValues.clear();
    auto& restored = processors->restored;
    auto& copy = processors->copy;
    auto& saved = processors->saved;

    restored.setStateInformation (data, (int) std::min (sizeInBytes, (size_t) INT_MAX));

    if (auto failure = checkParameterValues (restored); ! failure.empty())
        return "after the restore, " + failure;

    saved.reset();
    restored.getStateInformation (saved);

    if (auto failure = checkBlobFraming (saved); ! failure.empty())
        return failure;

    copy.setStateInformation (saved.getData(), (int) saved.getSize());

    for (auto* parameter : copy.getParameters())
        processors->restoredValues.push_back (parameter->getValue());

    const auto& restoredParameters = restored.getParameters();
    const auto& copiedParameters = copy.getParameters();

    for (int i = 0; i < restoredParameters.size(); ++i)
    {
        if (copiedParameters[i]->getValue() != restoredParameters[i]->getValue())
            return "parameter " + std::to_string (i) + " differs after saving and restoring again: "
                   + std::to_string (restoredParameters[i]->getValue()) + " became "
                   + std::to_string (copiedParameters[i]->getValue());
    }

    return checkPlaysFinite (restored);
}
