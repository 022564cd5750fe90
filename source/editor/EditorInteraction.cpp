#include "PluginEditor.h"

#include "EditorLayout.h"
#include "LinkAddresses.h"
#include "Presets.h"
#include "processor/StepLevels.h"

namespace
{
    /** The index of the handle whose drag column holds pointer x, or -1 for none. */
    int handleIndexForPointerX (int x)
    {
        for (int i = 0; i < ZurizazAudioProcessor::numSteps; ++i)
            if (x >= EditorLayout::handles[i].firstPointerX && x <= EditorLayout::handles[i].lastPointerX)
                return i;

        return -1;
    }
}

//==============================================================================
void ZurizazAudioProcessorEditor::mouseDown (const juce::MouseEvent& e)
{
    // A press in a handle's column takes that handle, as a press on a knob takes the knob: its
    // gesture begins here, before the drag moves it, and ends at the release.
    const auto index = handleIndexForPointerX (e.x);

    if (index >= 0)
    {
        beginHandleGesture (index);
        return;
    }

    if (e.x < EditorLayout::centreColumnFirstX || e.x > EditorLayout::centreColumnLastX)
        return;

    // The left panel's visibility is the panel's open state; everything else follows it.
    const auto open = ! leftKnobPanel.isVisible();

    leftKnobPanel.setVisible (open);
    rightKnobPanel.setVisible (open);

    for (auto& slot : knobSlots)
    {
        slot.knob.setVisible (open);

        if (slot.cover != nullptr)
            slot.cover->setVisible (open);
    }

    audioProcessor.setKnobsShowingFromEditor (open);
}

void ZurizazAudioProcessorEditor::mouseDrag (const juce::MouseEvent& e)
{
    setMouseCursor (juce::MouseCursor::DraggingHandCursor);

    // Every drag event moves the handle of the column the pointer is in now, so a sideways sweep
    // sets each column it passes through. A single row between the bands plays at full level, the
    // top of the column (82) among them, so a drag goes one pixel down into the band below.
    auto y = juce::jlimit (StepLevels::highestY, StepLevels::lowestY, e.y);

    if (StepLevels::isSingleRow (y))
        ++y;

    const auto index = handleIndexForPointerX (e.x);

    if (index >= 0)
        placeBabyRadod (index, y);
}

void ZurizazAudioProcessorEditor::mouseUp (const juce::MouseEvent&)
{
    setMouseCursor (juce::MouseCursor());
    endHandleGestures();
}

void ZurizazAudioProcessorEditor::placeBabyRadod (int index, int y)
{
    placeHandleBox (index, y);

    // Events that leave the height as it is tell the host nothing; the first that moves a handle
    // a sideways sweep has reached begins that handle's gesture.
    if (audioProcessor.handleHeight[(size_t) index] == (float) y)
        return;

    beginHandleGesture (index);
    storeStepHandle (index, y);
}

void ZurizazAudioProcessorEditor::placeHandleBox (int index, int y)
{
    const auto i = (size_t) index;
    babyRadodButtons[i].setBounds (EditorLayout::handles[i].placedX, y, EditorLayout::handleWidth, EditorLayout::handleBoxHeight (index));
}

void ZurizazAudioProcessorEditor::storeStepHandle (int index, int y)
{
    // The step's gain and stored height follow the parameter.
    if (handleGestureOpen[(size_t) index])
        audioProcessor.setHandleHeightInGesture (index, y);
    else
        audioProcessor.setHandleHeightFromEditor (index, y);
}

void ZurizazAudioProcessorEditor::beginHandleGesture (int index)
{
    auto& open = handleGestureOpen[(size_t) index];

    if (! open)
    {
        open = true;
        audioProcessor.beginHandleGesture (index);
    }
}

void ZurizazAudioProcessorEditor::endHandleGestures()
{
    for (int i = 0; i < ZurizazAudioProcessor::numSteps; ++i)
    {
        auto& open = handleGestureOpen[(size_t) i];

        if (open)
        {
            open = false;
            audioProcessor.endHandleGesture (i);
        }
    }
}

//==============================================================================
void ZurizazAudioProcessorEditor::buttonClicked (juce::Button* button)
{
    if (button == &bypassButton)
    {
        // The picture follows at the next paint.
        audioProcessor.setBypassFromEditor (! audioProcessor.bypassOn.load());
        return;
    }

    // A browser that can't be opened isn't worth telling the user about.
    if (button == &siteLinkButton)
    {
        [[maybe_unused]] const auto opened = juce::URL (LinkAddresses::site).launchInDefaultBrowser();
        return;
    }

    if (button == &videoLinkButton)
    {
        [[maybe_unused]] const auto opened = juce::URL (LinkAddresses::video).launchInDefaultBrowser();
        return;
    }

    // Both preset buttons apply their preset in this call, not from a change message of the box,
    // which would arrive after whatever the host does next (a restore, say) and undo it.
    if (button == &previousPresetButton)
    {
        // From the first preset, or from nothing, previous wraps to the last.
        const auto index = presetBox.getSelectedItemIndex();
        const auto target = index > 0 ? index - 1 : (int) Presets::table.size() - 1;
        choosePreset (presetBox.getItemId (target));
        return;
    }

    if (button == &nextPresetButton)
    {
        // Past the last preset there is no item: id 0 clears the selection.
        const auto index = presetBox.getSelectedItemIndex();
        choosePreset (presetBox.getItemId (index + 1));
        return;
    }

    if (button == &infoButton || button == &infoOverlay)
    {
        infoOverlay.setVisible (! infoOverlay.isVisible());
        return;
    }

    // A click on a handle resets its step: the handle drops to the bottom of its column, at the
    // layout's x, and the step plays and stores what a drag to the bottom would give.
    for (int i = 0; i < ZurizazAudioProcessor::numSteps; ++i)
    {
        if (button == &babyRadodButtons[(size_t) i])
        {
            button->setBounds (EditorLayout::handles[i].layoutX, StepLevels::lowestY,
                               EditorLayout::handleWidth, EditorLayout::handleBoxHeight (i));
            storeStepHandle (i, StepLevels::lowestY);
            return;
        }
    }
}
