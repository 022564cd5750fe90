#include "PluginProcessor.h"

#include "ParameterLayout.h"
#include "PluginEditor.h"
#include "StepLevels.h"

ZurizazAudioProcessor::ZurizazAudioProcessor()
    : AudioProcessor (BusesProperties()
                          .withInput ("Input", juce::AudioChannelSet::stereo(), true)
                          .withOutput ("Output", juce::AudioChannelSet::stereo(), true)),
      treeState (*this, nullptr, "Zurizaz", createParameterLayout())
{
    for (auto& gain : stepGain)
        gain.store (1.0f);

    for (auto& light : stepLight)
        light.store (false);

    for (auto& height : handleHeight)
        height.store (350.0f);
}

ZurizazAudioProcessor::~ZurizazAudioProcessor() = default;

//==============================================================================
const juce::String ZurizazAudioProcessor::getName() const   { return "Zurizaz"; }

double ZurizazAudioProcessor::getTailLengthSeconds() const  { return 0.0; }
bool ZurizazAudioProcessor::acceptsMidi() const             { return false; }
bool ZurizazAudioProcessor::producesMidi() const            { return false; }
bool ZurizazAudioProcessor::isMidiEffect() const            { return false; }

juce::AudioProcessorEditor* ZurizazAudioProcessor::createEditor()   { return new ZurizazAudioProcessorEditor (*this); }
bool ZurizazAudioProcessor::hasEditor() const                       { return true; }

int ZurizazAudioProcessor::getNumPrograms()                                       { return 1; }
int ZurizazAudioProcessor::getCurrentProgram()                                    { return 0; }
void ZurizazAudioProcessor::setCurrentProgram (int)                               {}
const juce::String ZurizazAudioProcessor::getProgramName (int)                    { return {}; }
void ZurizazAudioProcessor::changeProgramName (int, const juce::String&)          {}

bool ZurizazAudioProcessor::isBusesLayoutSupported (const BusesLayout& layouts) const
{
    const auto output = layouts.outputBuses.isEmpty() ? juce::AudioChannelSet() : layouts.getMainOutputChannelSet();

    if (output != juce::AudioChannelSet::mono() && output != juce::AudioChannelSet::stereo())
        return false;

    const auto input = layouts.inputBuses.isEmpty() ? juce::AudioChannelSet() : layouts.getMainInputChannelSet();
    return input == output;
}

//==============================================================================
void ZurizazAudioProcessor::prepareToPlay (double sampleRate, int)
{
    previousGain = 1.0f;
    // Two seconds of audio. A rate no audio interface runs at (not a number, not above 0, or over
    // 1 MHz) gets no lines at all: GLIMMER and QUAKE then leave the audio as it is until a
    // preparation at a real rate.
    constexpr auto highestUsableRate = 1.0e6;
    const auto rateIsUsable = sampleRate > 0.0 && sampleRate <= highestUsableRate;
    delayBufferLength = rateIsUsable ? (int) (2.0 * sampleRate) : 0;
    lfoPhase = 0.0f;

    delayBufferLeft.assign ((size_t) delayBufferLength, 0.0f);
    delayBufferLeft.shrink_to_fit();
    delayBufferRight.assign ((size_t) delayBufferLength, 0.0f);
    delayBufferRight.shrink_to_fit();

    writeIndex = 0;

    auto raw = [this] (const char* id) { return treeState.getRawParameterValue (id)->load(); };

    bypassOn = raw (ParameterIds::bypassOn) != 0.0f;
    knobsShowing = raw (ParameterIds::knobsShowing) != 0.0f;
    currentPreset = (int) (raw (ParameterIds::presets) - 1.0f);

    // Heights are saved on a one-pixel grid; rounding brings back the whole pixel the float
    // product may miss by a few millionths.
    for (int k = 0; k < numSteps; ++k)
        handleHeight[(size_t) k] = (float) juce::roundToInt (raw (ParameterIds::handleHeights[k]) * 400.0f);

    // The step gains are not saved: a restored handle pattern gives them back, as a drag would.
    for (int k = 0; k < numSteps; ++k)
    {
        const auto height = handleHeight[(size_t) k].load();

        if (height >= (float) highestHandleY && height <= (float) lowestHandleY)
            stepGain[(size_t) k] = levelForHeight ((int) height);
    }
}

void ZurizazAudioProcessor::releaseResources()
{
    // The delay lines stay until the next prepareToPlay re-sizes them.
}

//==============================================================================
// This creates new instances of the plug-in.
juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new ZurizazAudioProcessor();
}
