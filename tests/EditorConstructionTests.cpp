#include <gtest/gtest.h>

#include "PluginEditor.h"

TEST (EditorConstruction, OpensAtItsFixedSize)
{
    ZurizazAudioProcessor p;
    std::unique_ptr<juce::AudioProcessorEditor> editor (p.createEditorIfNeeded());
    ASSERT_NE (dynamic_cast<ZurizazAudioProcessorEditor*> (editor.get()), nullptr);
    EXPECT_EQ (editor->getWidth(), 800);
    EXPECT_EQ (editor->getHeight(), 477);
    p.editorBeingDeleted (editor.get());
}
