#include <benchmark/benchmark.h>

#include "EditorImages.h"
#include "PluginEditor.h"

// What one frame of the editor costs on the message thread, painted by the software renderer into
// an image the size of the window, as the Linux window peer does.
namespace
{
    struct OpenEditor
    {
        OpenEditor()
        {
            // The busiest state: panel open in DESTROY (covers and readouts both showing), a lit step.
            processor.fxMode = 5;
            processor.knobsShowing = true;
            processor.stepLight[3] = true;
            processor.bpmText.publish (120);
            editor.setVisible (true);

            juce::Graphics g (image);
            editor.paintEntireComponent (g, false);
            editor.paintEntireComponent (g, false);
        }

        juce::ScopedJuceInitialiser_GUI gui;
        ZurizazAudioProcessor processor;
        ZurizazAudioProcessorEditor editor { processor };
        juce::Image image { juce::Image::ARGB, 800, 477, true };
    };
}

static void EditorFullPaint (benchmark::State& state)
{
    OpenEditor open;

    for (auto _ : state)
    {
        juce::Graphics g (open.image);
        open.editor.paintEntireComponent (g, false);
        benchmark::ClobberMemory();
    }
}
BENCHMARK (EditorFullPaint)->Unit (benchmark::kMillisecond);

// The steady frame while the window is idle: only the areas paint itself marked (the eight step
// handles and the bypass button) are drawn again.
static void EditorIdleFrame (benchmark::State& state)
{
    OpenEditor open;
    auto& e = open.editor;

    juce::RectangleList<int> marked (e.bypassButton.getBounds().getIntersection (e.getLocalBounds()));
    for (auto& handle : e.babyRadodButtons)
        marked.add (handle.getBounds());

    for (auto _ : state)
    {
        juce::Graphics g (open.image);
        g.reduceClipRegion (marked);
        e.paintEntireComponent (g, false);
        benchmark::ClobberMemory();
    }
}
BENCHMARK (EditorIdleFrame)->Unit (benchmark::kMillisecond);

// The background alone: the 1600 x 954 picture drawn at half size over the window.
static void EditorBackgroundOnly (benchmark::State& state)
{
    OpenEditor open;
    const auto background = EditorImages::backgroundPicture();

    for (auto _ : state)
    {
        juce::Graphics g (open.image);
        g.drawImage (background, open.editor.getLocalBounds().toFloat(), juce::RectanglePlacement::stretchToFit);
        benchmark::ClobberMemory();
    }
}
BENCHMARK (EditorBackgroundOnly)->Unit (benchmark::kMillisecond);
