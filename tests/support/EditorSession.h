#pragma once

#include <memory>

#include "MessageLoop.h"
#include "Parameters.h"
#include "editor/PluginEditor.h"

// runPendingMessages() delivers the change messages of the preset box, the knobs and the buttons.

/** A processor with an open editor, built the way the host builds them. */
struct EditorSession
{
    /** Opens the editor once the processor has been set up by the caller. */
    void open()
    {
        editor = std::make_unique<ZurizazAudioProcessorEditor> (processor);
        runPendingMessages();
    }

    /** Closes the editor without running the message loop first. */
    void close() { editor.reset(); }

    ZurizazAudioProcessorEditor& ui() { return *editor; }

    /** Clicks a button as a user would: the click arrives from the message loop. */
    void click (juce::Button& button)
    {
        button.triggerClick();
        runPendingMessages();
    }

    /** Chooses a preset from the menu (0 clears the selection). */
    void choose (int presetId)
    {
        editor->presetBox.setSelectedId (presetId, juce::sendNotificationAsync);
        runPendingMessages();
    }

    /** Runs the editor's own paint once, which brings the window in line with the processor. */
    void paintOnce()
    {
        juce::Image canvas (juce::Image::ARGB, editor->getWidth(), editor->getHeight(), true);
        juce::Graphics g (canvas);
        editor->paint (g);
    }

    float parameter (const char* id) { return processor.treeState.getRawParameterValue (id)->load(); }

    void setParameter (const char* id, float plain) { setPlain (processor, id, plain); }

    ~EditorSession()
    {
        editor.reset();
        runPendingMessages();
    }

    ZurizazAudioProcessor processor;
    std::unique_ptr<ZurizazAudioProcessorEditor> editor;
};

/** A mouse event at (x, y) in the component's coordinates, with the main mouse source. */
inline juce::MouseEvent mouseAt (juce::Component& c, int x, int y)
{
    const auto now = juce::Time::getCurrentTime();
    const juce::Point<float> position ((float) x, (float) y);
    return { juce::Desktop::getInstance().getMainMouseSource(), position, {}, juce::MouseInputSource::defaultPressure, 0.0f, 0.0f, 0.0f, 0.0f, &c, &c, now, position, now, 1, false };
}
