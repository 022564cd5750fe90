#include "PluginProcessor.h"

#include <cmath>
#include <cstring>

#include "state/ParameterLayout.h"
#include "editor/PluginEditor.h"
#include "StepLevels.h"

ZurizazAudioProcessor::ZurizazAudioProcessor()
    : AudioProcessor (BusesProperties()
                          .withInput ("Input", juce::AudioChannelSet::stereo(), true)
                          .withOutput ("Output", juce::AudioChannelSet::stereo(), true)),
      treeState (*this, nullptr, "Zurizaz", Parameters::createLayout())
{
    for (auto& gain : stepGain)
        gain.store (1.0f);

    for (auto& light : stepLight)
        light.store (false);

    // The parameters' defaults are these starting values, so members and parameters start in step.
    for (auto& height : handleHeight)
        height.store ((float) StepLevels::lowestY);

    for (int k = 0; k < numSteps; ++k)
        handleParameters[(size_t) k] = treeState.getParameter (ParameterIds::handleHeights[k]);

    bypassParameter->addListener (this);
    knobsShowingParameter->addListener (this);
    presetParameter->addListener (this);

    for (auto* parameter : handleParameters)
        parameter->addListener (this);
}

ZurizazAudioProcessor::~ZurizazAudioProcessor()
{
    for (auto* parameter : handleParameters)
        parameter->removeListener (this);

    presetParameter->removeListener (this);
    knobsShowingParameter->removeListener (this);
    bypassParameter->removeListener (this);
}

//==============================================================================
const juce::String ZurizazAudioProcessor::getName() const { return "Zurizaz"; }

double ZurizazAudioProcessor::getTailLengthSeconds() const { return 0.0; }
bool ZurizazAudioProcessor::acceptsMidi() const { return false; }
bool ZurizazAudioProcessor::producesMidi() const { return false; }
bool ZurizazAudioProcessor::isMidiEffect() const { return false; }

juce::AudioProcessorEditor* ZurizazAudioProcessor::createEditor() { return new ZurizazAudioProcessorEditor (*this); }
bool ZurizazAudioProcessor::hasEditor() const { return true; }

// JUCE's LV2 wrapper lists every program as a host preset that only selects it. The one program
// has no name and selects nothing, so the LV2 gets none rather than a nameless preset.
int ZurizazAudioProcessor::getNumPrograms() { return wrapperType == wrapperType_LV2 ? 0 : 1; }
int ZurizazAudioProcessor::getCurrentProgram() { return 0; }
void ZurizazAudioProcessor::setCurrentProgram (int) {}
const juce::String ZurizazAudioProcessor::getProgramName (int) { return {}; }
void ZurizazAudioProcessor::changeProgramName (int, const juce::String&) {}

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

    // Bypass, the panel, the preset and the handles already follow their parameters at every
    // change, so there is nothing to take from them here: a re-prepare keeps what the user set.
}

void ZurizazAudioProcessor::releaseResources()
{
    // The delay lines stay until the next prepareToPlay re-sizes them.
}

//==============================================================================
namespace
{
    /** Sets a parameter to a plain value as one complete change gesture, so the host records it. */
    void setAsGesture (juce::RangedAudioParameter& parameter, float plainValue)
    {
        parameter.beginChangeGesture();
        parameter.setValueNotifyingHost (parameter.convertTo0to1 (plainValue));
        parameter.endChangeGesture();
    }

    /** The preset as its parameter holds it: the id + 1, so that "no preset" has a value of its own. */
    float storedPreset (int presetId) { return (float) (presetId + 1); }

    /** A handle's top edge (editor pixels) as its parameter holds it. */
    float storedHeight (int y) { return (float) y / (float) StepLevels::heightScale; }
}

void ZurizazAudioProcessor::setBypassFromEditor (bool shouldBeOn)
{
    setAsGesture (*bypassParameter, shouldBeOn ? 1.0f : 0.0f);
}

void ZurizazAudioProcessor::setKnobsShowingFromEditor (bool shouldShow)
{
    setAsGesture (*knobsShowingParameter, shouldShow ? 1.0f : 0.0f);
}

void ZurizazAudioProcessor::setPresetFromEditor (int presetId)
{
    setAsGesture (*presetParameter, storedPreset (presetId));
}

void ZurizazAudioProcessor::setHandleHeightFromEditor (int index, int y)
{
    if (handleHeight[(size_t) index] == (float) y)
        return;

    setAsGesture (*handleParameters[(size_t) index], storedHeight (y));
}

void ZurizazAudioProcessor::beginHandleGesture (int index)
{
    handleParameters[(size_t) index]->beginChangeGesture();
}

void ZurizazAudioProcessor::setHandleHeightInGesture (int index, int y)
{
    // A drag sends an event for every move of the pointer, many of them at the same height.
    if (handleHeight[(size_t) index] == (float) y)
        return;

    auto& parameter = *handleParameters[(size_t) index];
    parameter.setValueNotifyingHost (parameter.convertTo0to1 (storedHeight (y)));
}

void ZurizazAudioProcessor::endHandleGesture (int index)
{
    handleParameters[(size_t) index]->endChangeGesture();
}

void ZurizazAudioProcessor::applyPresetFromEditor (const std::array<KnobSetting, Knobs::count>& knobs,
                                                   const std::array<int, StepGate::numSteps>& handleHeights,
                                                   int presetId)
{
    struct Change
    {
        juce::RangedAudioParameter* parameter;
        float normalisedValue;
    };

    // Eight knobs, eight handles and the preset.
    std::array<Change, Knobs::count + StepGate::numSteps + 1> changes {};
    size_t numChanges = 0;

    const auto add = [&] (juce::RangedAudioParameter* parameter, float plainValue, bool evenIfHeld)
    {
        // Both sides are snapped to the parameter's grid, so a value it holds compares equal.
        const auto normalised = parameter->convertTo0to1 (plainValue);

        if (evenIfHeld || parameter->getValue() != normalised)
            changes[numChanges++] = { parameter, normalised };
    };

    for (const auto& knob : knobs)
        add (treeState.getParameter (Parameters::knobParameter (knob.knob).id), (float) knob.value, false);

    for (size_t k = 0; k < handleParameters.size(); ++k)
        add (handleParameters[k], storedHeight (handleHeights[k]), false);

    // The pick itself is always told, as a choice of the menu always was.
    add (presetParameter, storedPreset (presetId), true);

    for (size_t i = 0; i < numChanges; ++i)
        changes[i].parameter->beginChangeGesture();

    for (size_t i = 0; i < numChanges; ++i)
        changes[i].parameter->setValueNotifyingHost (changes[i].normalisedValue);

    for (size_t i = 0; i < numChanges; ++i)
        changes[i].parameter->endChangeGesture();
}

namespace
{
    /** Stores the plain value a parameter holds, and stores again whenever the parameter has moved
        on by the time the store is done.

        Two threads may set one parameter at the same moment (host automation on the audio thread,
        the window on the message thread), and their notifications can arrive in either order. Working
        from what the parameter holds rather than from the notified value, and checking it once more
        after the store, means the last write wins in the member as it does in the parameter. A held
        value that is not finite reads as the parameter's default, as the audio thread reads the
        other parameters.
    */
    template <typename Store>
    void followHeldValue (const juce::RangedAudioParameter& parameter, Store&& store)
    {
        // Compared by their bits, so that a held NaN counts as the same value.
        const auto bitsOf = [] (float v)
        {
            juce::uint32 bits;
            std::memcpy (&bits, &v, sizeof (bits));
            return bits;
        };

        for (auto held = parameter.getValue();;)
        {
            store (parameter.convertFrom0to1 (std::isfinite (held) ? held : parameter.getDefaultValue()));

            const auto now = parameter.getValue();

            if (bitsOf (now) == bitsOf (held))
                return;

            held = now;
        }
    }
}

void ZurizazAudioProcessor::parameterValueChanged (int parameterIndex, float)
{
    if (parameterIndex == bypassParameter->getParameterIndex())
    {
        followHeldValue (*bypassParameter, [this] (float plain)
                         { bypassOn = plain != 0.0f; });
    }
    else if (parameterIndex == knobsShowingParameter->getParameterIndex())
    {
        followHeldValue (*knobsShowingParameter, [this] (float plain)
                         { knobsShowing = plain != 0.0f; });
    }
    else if (parameterIndex == presetParameter->getParameterIndex())
    {
        followHeldValue (*presetParameter, [this] (float plain)
                         { currentPreset = (int) plain - 1; });
    }
    else
    {
        for (size_t k = 0; k < handleParameters.size(); ++k)
        {
            if (parameterIndex == handleParameters[k]->getParameterIndex())
            {
                followHeldValue (*handleParameters[k], [this, k] (float plain)
                                 {
                    // The grid has a point for every whole pixel; rounding takes back the pixel that
                    // the float product may miss by a few millionths. The gain follows as a drag
                    // sets it (full level outside the handles' range).
                    const auto height = juce::roundToInt (plain * (float) StepLevels::heightScale);
                    handleHeight[k] = (float) height;
                    stepGain[k] = StepLevels::levelForHeight (height); });
                break;
            }
        }
    }
}

//==============================================================================
// This creates new instances of the plug-in.
juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new ZurizazAudioProcessor();
}
