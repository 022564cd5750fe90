#pragma once

#include <array>
#include <atomic>
#include <utility>
#include <vector>

#include <juce_audio_processors/juce_audio_processors.h>

#include "dsp/TempoText.h"
#include "dsp/LiveParameter.h"
#include "dsp/StepGate.h"
#include "dsp/Tempo.h"
#include "state/ParameterLayout.h"

/** The Zurizaz processor: one per plug-in instance.

    It owns the 19 parameters (in treeState) and, as public members, everything the editor and the
    audio thread share: bypass, panel visibility, the preset and the step gains and heights, which
    follow their parameters; and what the audio thread publishes: the effect and speed modes, six
    readouts, the step lights and the tempo. Each shared value is an atomic of its own width, read
    and written whole without a lock. The members that only the audio thread touches are plain.

    The parameters "bypassOn", "knobsShowing", "presets" and "babyRadod1".."babyRadod8" are where
    those editor values live: a change from the host, a restored session or the editor sets the
    parameter, and the member follows it at once, on whatever thread the change came.
*/
class ZurizazAudioProcessor : public juce::AudioProcessor,
                              private juce::AudioProcessorParameter::Listener
{
public:
    ZurizazAudioProcessor();
    ~ZurizazAudioProcessor() override;

    //==============================================================================
    const juce::String getName() const override;

    void prepareToPlay (double sampleRate, int maximumExpectedSamplesPerBlock) override;
    void releaseResources() override;

    /** Runs one block: tempo, bypass, the effect mode sample by sample, then the step gate. */
    void processBlock (juce::AudioBuffer<float>&, juce::MidiBuffer&) override;
    using juce::AudioProcessor::processBlock;

    double getTailLengthSeconds() const override;
    bool acceptsMidi() const override;
    bool producesMidi() const override;
    bool isMidiEffect() const override;

    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override;

    //==============================================================================
    int getNumPrograms() override;
    int getCurrentProgram() override;
    void setCurrentProgram (int index) override;
    const juce::String getProgramName (int index) override;
    void changeProgramName (int index, const juce::String& newName) override;

    //==============================================================================
    void getStateInformation (juce::MemoryBlock& destData) override;
    void setStateInformation (const void* data, int sizeInBytes) override;

    /** Mono in with mono out, or stereo in with stereo out; buses beyond the first are ignored. */
    bool isBusesLayoutSupported (const BusesLayout& layouts) const override;

    //==============================================================================
    /** Changes made in the editor. Each sets its parameter as one complete change gesture, so the
        host records it and knows the session has changed, and the member follows the parameter.
        Message thread.
    */
    void setBypassFromEditor (bool shouldBeOn);
    void setKnobsShowingFromEditor (bool shouldShow);

    /** presetId is 1..12, or 0 for none. */
    void setPresetFromEditor (int presetId);

    /** The handle of step index + 1 (index 0..7) with its top edge at y (editor pixels, 4..400);
        the step's gain follows the height. A height the handle already has tells the host nothing. */
    void setHandleHeightFromEditor (int index, int y);

    /** A drag of a step handle is one gesture on its parameter: begun when the drag takes the
        handle, then the heights it moves to (set as setHandleHeightFromEditor sets them, but inside
        the gesture), ended at the release. Each begin is followed by one end. Message thread.
    */
    void beginHandleGesture (int index);
    void setHandleHeightInGesture (int index, int y);
    void endHandleGesture (int index);

    /** A knob value of a preset: the knob and its parameter's plain value. */
    struct KnobSetting
    {
        Knob knob;
        double value;
    };

    /** Sets all that a preset holds as one group of gestures: each parameter begins its gesture,
        then all take their values (knobs in the given order, handles 1 to 8, the preset), then the
        gestures end. A knob or handle that holds its value already is left out. All of it happens
        in this call, so whatever the host does next sees the whole preset. handleHeights are
        editor pixels (82..350), presetId 1..12. Message thread.
    */
    void applyPresetFromEditor (const std::array<KnobSetting, Knobs::count>& knobs,
                                const std::array<int, StepGate::numSteps>& handleHeights,
                                int presetId);

    //==============================================================================
    static constexpr int numSteps = StepGate::numSteps;
    static_assert (std::size (ParameterIds::handleHeights) == (size_t) numSteps, "one height parameter per step");

    juce::AudioProcessorValueTreeState treeState;

    // Follow their parameters; read by the audio thread and the editor.
    std::atomic<bool> bypassOn { false };
    std::atomic<bool> knobsShowing { false };
    std::atomic<int> currentPreset { 1 };   // 1..12, or 0 when no preset is selected
    std::atomic<bool> presetChangeArmed { true };

    // Published by the audio thread for the editor.
    Tempo::Text bpmText;
    std::atomic<int> fxMode { 1 };
    std::atomic<int> speedMode { 2 };
    std::atomic<int> impactDisplay { 100 };
    std::atomic<int> depthDisplay { 19 };
    std::atomic<int> rateDisplay { 17 };
    std::atomic<int> biteDisplay { 32 };
    std::atomic<int> feedbackDisplay { 29 };
    std::atomic<int> phaseDisplay { 0 };

    /** The int the audio thread publishes for a knob's readout: fxMode, speedMode or the knob's
        display. */
    std::atomic<int>& knobReadout (Knob) noexcept;

    // Step gate.
    float previousGain = 1.0f;
    int samplesPerBar = 0;
    int stepClock = 0;
    int currentStep = 1;
    std::array<std::atomic<float>, numSteps> stepGain;       // follows the handle heights
    std::array<std::atomic<bool>, numSteps + 1> stepLight;   // 0..7 the handles, 8 the last-step indicator
    std::array<std::atomic<float>, numSteps> handleHeight;   // top edge of each step handle, in editor pixels

    // Transport.
    juce::AudioPlayHead* playHead = nullptr;
    juce::AudioPlayHead::CurrentPositionInfo positionInfo;

    // Step clock, counted in channel-samples.
    int chunkCounter = 0;
    const int chunkSize = 256;

    // Modulated delay of GLIMMER and QUAKE.
    float lfoPhase = 0.0f;
    float feedbackLeft = 0.0f;
    float feedbackRight = 0.0f;
    int writeIndex = 0;
    int delayBufferLength = 0;
    std::vector<float> delayBufferLeft;
    std::vector<float> delayBufferRight;

private:
    // The knob parameters block processing reads, indexed by Knob and looked up once: the audio
    // thread only loads them, and reads a value that is not finite as the default.
    const std::array<Dsp::LiveParameter, Knobs::count> knobValues = liveKnobParameters (std::make_index_sequence<Knobs::count>());

    // The parameters the editor's values live in, looked up once.
    juce::RangedAudioParameter* const bypassParameter = treeState.getParameter (ParameterIds::bypassOn);
    juce::RangedAudioParameter* const knobsShowingParameter = treeState.getParameter (ParameterIds::knobsShowing);
    juce::RangedAudioParameter* const presetParameter = treeState.getParameter (ParameterIds::presets);
    std::array<juce::RangedAudioParameter*, numSteps> handleParameters;

    // The bar of the last usable host tempo (120 bpm until the host sends one).
    Tempo::BarLength barLength;

    Dsp::LiveParameter liveParameter (const char* id) const;

    template <size_t... knob>
    std::array<Dsp::LiveParameter, Knobs::count> liveKnobParameters (std::index_sequence<knob...>) const
    {
        return { { liveParameter (Parameters::knobParameters[knob].id)... } };
    }

    const Dsp::LiveParameter& knobValue (Knob knob) const noexcept { return knobValues[Knobs::index (knob)]; }

    void readTempo();
    void publishModesAndDisplays (float bite);
    void runEffectPass (juce::AudioBuffer<float>&, int channel, int numChannels, float bite);
    void runStepGate (juce::AudioBuffer<float>&);

    /** Sets the member that mirrors the changed parameter. Called by the parameter, on the thread
        of the change: the audio thread for host automation, so it neither locks nor allocates. */
    void parameterValueChanged (int parameterIndex, float newValue) override;
    void parameterGestureChanged (int, bool) override {}

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ZurizazAudioProcessor)
};

// What the audio thread and the editor share is read and written whole, without a lock: each
// shared member is a lock-free atomic of its value's own width.
static_assert (decltype (ZurizazAudioProcessor::bypassOn)::is_always_lock_free && sizeof (ZurizazAudioProcessor::bypassOn) == sizeof (bool));
static_assert (decltype (ZurizazAudioProcessor::currentPreset)::is_always_lock_free && sizeof (ZurizazAudioProcessor::currentPreset) == sizeof (int));
static_assert (decltype (ZurizazAudioProcessor::fxMode)::is_always_lock_free && sizeof (ZurizazAudioProcessor::fxMode) == sizeof (int));
static_assert (decltype (ZurizazAudioProcessor::stepGain)::value_type::is_always_lock_free
               && sizeof (decltype (ZurizazAudioProcessor::stepGain)::value_type) == sizeof (float));
