#include "RestoreCheck.h"

#include <climits>
#include <cmath>

#include "processor/PluginProcessor.h"
#include "state/SavedState.h"

namespace
{
    constexpr double sampleRate = 8000.0;   // a valid rate with short delay lines, so the checks run fast
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
struct RestoreChecker::Session
{
    Session()
    {
        // The tree a fresh processor's save holds, members included.
        juce::MemoryBlock startState;
        processor.getStateInformation (startState);
        startTree = juce::ValueTree::fromXml (*juce::AudioProcessor::getXmlFromBinary (startState.getData(), (int) startState.getSize()));
    }

    /** Back to the start state: every parameter as the start tree has it (what restoring its blob
        would do, without reading it again), and the members and the delay lines that
        prepareToPlay derives from them. */
    void reset()
    {
        processor.treeState.replaceState (startTree.createCopy());
        processor.setRateAndBufferSizeDetails (sampleRate, blockSize);
        processor.prepareToPlay (sampleRate, blockSize);
    }

    std::vector<float> normalisedValues() const
    {
        std::vector<float> values;

        for (auto* parameter : processor.getParameters())
            values.push_back (parameter->getValue());

        return values;
    }

    ZurizazAudioProcessor processor;
    juce::ValueTree startTree;
    juce::MemoryBlock saved;
    std::vector<float> restoredValues;
};

RestoreChecker::RestoreChecker() : session (std::make_unique<Session>()) {}
RestoreChecker::~RestoreChecker() = default;

const std::vector<float>& RestoreChecker::lastRestoredValues() const noexcept { return session->restoredValues; }

std::string RestoreChecker::check (const void* data, size_t sizeInBytes)
{
    session->reset();
    session->restoredValues.clear();
    auto& processor = session->processor;
    auto& saved = session->saved;

    processor.setStateInformation (data, (int) std::min (sizeInBytes, (size_t) INT_MAX));

    if (auto failure = checkParameterValues (processor); ! failure.empty())
        return "after the restore, " + failure;

    const auto values = session->normalisedValues();
    saved.reset();
    processor.getStateInformation (saved);

    if (auto failure = checkBlobFraming (saved); ! failure.empty())
        return failure;

    // Restored into the same processor, a save that were refused would leave the values as they
    // are and pass unseen.
    if (! SavedState::readTree (saved.getData(), (int) saved.getSize(), processor.treeState.state.getType()))
        return "the save is not read back";

    processor.setStateInformation (saved.getData(), (int) saved.getSize());
    session->restoredValues = session->normalisedValues();

    for (size_t i = 0; i < values.size(); ++i)
    {
        if (session->restoredValues[i] != values[i])
            return "parameter " + std::to_string (i) + " differs after saving and restoring again: "
                   + std::to_string (values[i]) + " became " + std::to_string (session->restoredValues[i]);
    }

    return checkPlaysFinite (processor);
}
