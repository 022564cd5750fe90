#include "PluginProcessor.h"

#include <climits>
#include <cmath>

#include "dsp/EffectModes.h"
#include "dsp/ModulatedDelay.h"
#include "dsp/StepGate.h"

namespace
{
    /** (int) v, made safe for any parameter a host may push through: NaN gives 0, and values beyond
        an int saturate.
    */
    int truncated (float v) noexcept
    {
        if (std::isnan (v))
            return 0;

        if (v >= 2147483648.0f)
            return INT_MAX;

        if (v <= -2147483648.0f)
            return INT_MIN;

        return (int) v;
    }
}

void ZurizazAudioProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    juce::ScopedNoDenormals noDenormals;

    const auto numIn = getTotalNumInputChannels();
    const auto numOut = juce::jmin (getTotalNumOutputChannels(), buffer.getNumChannels());
    const auto numSamples = buffer.getNumSamples();

    readTempo();

    for (auto channel = numIn; channel < numOut; ++channel)
        buffer.clear (channel, 0, numSamples);

    // The plug-in's own bypass: the input passes untouched, and the gate and the delay stand still.
    if (bypassOn.load (std::memory_order_relaxed))
        return;

    const auto bite = knobValue (Knob::bite).load();
    publishModesAndDisplays (bite);

    // One pass per input channel, each counted into the step clock in channel-samples.
    const auto numChannels = juce::jmin (numIn, buffer.getNumChannels());

    for (int channel = 0; channel < numChannels; ++channel)
    {
        StepGate::countChannelSamples (chunkCounter, stepClock, chunkSize, numSamples);
        runEffectPass (buffer, channel, numChannels, bite);
    }

    runStepGate (buffer);
}

//==============================================================================
Dsp::LiveParameter ZurizazAudioProcessor::liveParameter (const char* id) const
{
    // The default as the tree state takes it: its start value, and what a restore gives a
    // parameter whose saved value is missing or not a number.
    auto* parameter = treeState.getParameter (id);
    return { *treeState.getRawParameterValue (id), parameter->convertFrom0to1 (parameter->getDefaultValue()) };
}

void ZurizazAudioProcessor::readTempo()
{
    playHead = getPlayHead();
    Tempo::refreshPosition (playHead, positionInfo);

    const auto bpm = positionInfo.bpm;
    bpmText.publish (Tempo::wholeBeatsPerMinute (bpm));

    samplesPerBar = barLength.update (bpm, getSampleRate());
}

namespace
{
    // Indexed by Knob.
    constexpr std::array<std::atomic<int> ZurizazAudioProcessor::*, Knobs::count> readoutMembers {
        &ZurizazAudioProcessor::speedMode, &ZurizazAudioProcessor::fxMode, &ZurizazAudioProcessor::impactDisplay,
        &ZurizazAudioProcessor::depthDisplay, &ZurizazAudioProcessor::rateDisplay, &ZurizazAudioProcessor::feedbackDisplay,
        &ZurizazAudioProcessor::phaseDisplay, &ZurizazAudioProcessor::biteDisplay
    };
}

std::atomic<int>& ZurizazAudioProcessor::knobReadout (Knob knob) noexcept
{
    return this->*readoutMembers[Knobs::index (knob)];
}

void ZurizazAudioProcessor::publishModesAndDisplays (float bite)
{
    for (auto knob : Knobs::inHostOrder)
    {
        // Bite as the block's passes take it, so its readout shows what is played.
        const auto value = knob == Knob::bite ? bite : knobValue (knob).load();
        knobReadout (knob).store (truncated (value * Parameters::knobParameter (knob).readoutScale), std::memory_order_relaxed);
    }
}

void ZurizazAudioProcessor::runEffectPass (juce::AudioBuffer<float>& buffer, int channel, int numChannels, float bite)
{
    const auto numSamples = buffer.getNumSamples();
    using EffectModes::EffectMode;
    const auto mode = EffectModes::toEffectMode (fxMode.load (std::memory_order_relaxed));

    if (mode == EffectMode::none || mode == EffectMode::silence)
        return;

    auto* samples = buffer.getWritePointer (channel);
    auto* left = buffer.getWritePointer (0);

    // A one-channel block has no right channel: the stereo stages then act on channel 0 alone.
    auto* right = numChannels > 1 ? buffer.getWritePointer (1) : nullptr;

    switch (mode)
    {
        case EffectMode::distort:
            EffectModes::distortPass (samples, numSamples, knobValue (Knob::impact));
            break;

        case EffectMode::destroy:
            EffectModes::destroyPass (samples, left, right, numSamples, bite, knobValue (Knob::impact));
            break;

        case EffectMode::glimmer:
        case EffectMode::quake:
        {
            ModulatedDelay::DelayLines lines { delayBufferLeft, delayBufferRight, delayBufferLength,
                                               writeIndex, lfoPhase, feedbackLeft, feedbackRight };
            const ModulatedDelay::Controls controls { knobValue (Knob::impact), knobValue (Knob::depth), knobValue (Knob::rate),
                                                      knobValue (Knob::feedback), knobValue (Knob::phaserX), knobValue (Knob::bite) };

            ModulatedDelay::process (lines, controls,
                                     mode == EffectMode::glimmer ? ModulatedDelay::glimmerSweep : ModulatedDelay::quakeSweep,
                                     getSampleRate(), samples, left, right, numSamples);
            break;
        }

        case EffectMode::none:
        case EffectMode::silence:
            break;
    }
}

void ZurizazAudioProcessor::runStepGate (juce::AudioBuffer<float>& buffer)
{
    StepGate::advance (stepClock, currentStep,
                       StepGate::stepLength (samplesPerBar, speedMode.load (std::memory_order_relaxed)));

    const auto gain = stepGain[(size_t) (currentStep - 1)].load (std::memory_order_relaxed);
    StepGate::showStep (stepLight, currentStep);
    StepGate::applyGain (buffer, previousGain, gain);
}
