#pragma once

#include <gtest/gtest.h>

#include "editor/EditorImages.h"
#include "editor/PluginEditor.h"

/** A processor with an editor open on it, painted headless into an image. */
class EditorFixture : public ::testing::Test
{
protected:
    ZurizazAudioProcessor processor;
    std::unique_ptr<ZurizazAudioProcessorEditor> editor;

    ZurizazAudioProcessorEditor& open()
    {
        editor = std::make_unique<ZurizazAudioProcessorEditor> (processor);
        return *editor;
    }

    /** Runs the editor's own paint once, as the framework does before it draws the children. */
    juce::Image paintOnce()
    {
        juce::Image image (juce::Image::ARGB, editor->getWidth(), editor->getHeight(), true);
        juce::Graphics g (image);
        editor->paint (g);
        return image;
    }

    /** Shows the knobs panel: knobsShowing set, one paint opens it, the next fills in the readouts. */
    void showPanel()
    {
        processor.knobsShowing = true;
        paintOnce();
        paintOnce();
    }

    std::vector<juce::Label*> readouts() const
    {
        auto& e = *editor;
        return { &e.impactLabel, &e.biteLabel, &e.depthLabel, &e.rateLabel, &e.feedbackLabel, &e.phaseLabel };
    }

    std::vector<juce::Label*> labels() const
    {
        auto& e = *editor;
        return { &e.fxLabel, &e.speedLabel, &e.impactLabel, &e.depthLabel, &e.rateLabel, &e.feedbackLabel, &e.phaseLabel, &e.biteLabel };
    }

    std::vector<juce::ImageButton*> covers() const
    {
        auto& e = *editor;
        return { &e.impactCover, &e.biteCover, &e.depthCover, &e.rateCover, &e.feedbackCover, &e.phaserXCover };
    }

    std::vector<juce::Component*> knobs() const
    {
        auto& e = *editor;
        return { &e.speedKnob, &e.fxKnob, &e.impactKnob, &e.depthKnob, &e.rateKnob, &e.feedbackKnob, &e.phaserXKnob, &e.biteKnob };
    }
};
