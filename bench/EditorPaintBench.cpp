#include <benchmark/benchmark.h>

#include <cstdio>

#include "BenchmarkSummary.h"
#include "editor/EditorImages.h"
#include "editor/PluginEditor.h"

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

    state.SetItemsProcessed (state.iterations());
}
BENCHMARK (EditorFullPaint)->Unit (benchmark::kMillisecond);

// The same frame on a display scaled by 2, as a HiDPI desktop or a host's scale gives it: four
// times the pixels, the background copied one to one from a copy kept at that size.
static void EditorFullPaintAtScaleTwo (benchmark::State& state)
{
    OpenEditor open;
    juce::Image image (juce::Image::ARGB, 1600, 954, true);

    for (auto _ : state)
    {
        juce::Graphics g (image);
        g.addTransform (juce::AffineTransform::scale (2.0f));
        open.editor.paintEntireComponent (g, false);
        benchmark::ClobberMemory();
    }

    state.SetItemsProcessed (state.iterations());
}
BENCHMARK (EditorFullPaintAtScaleTwo)->Unit (benchmark::kMillisecond);

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

    state.SetItemsProcessed (state.iterations());
}
BENCHMARK (EditorIdleFrame)->Unit (benchmark::kMillisecond);

// The background alone, stretched afresh: the 1600 x 954 picture resampled to half size over the window.
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

    state.SetItemsProcessed (state.iterations());
}
BENCHMARK (EditorBackgroundOnly)->Unit (benchmark::kMillisecond);

// What paint draws for the background: the once-stretched copy, at the window's size.
static void EditorBackgroundCopy (benchmark::State& state)
{
    OpenEditor open;
    juce::Image copy (juce::Image::RGB, 800, 477, true);
    {
        juce::Graphics g (copy);
        g.drawImage (EditorImages::backgroundPicture(), copy.getBounds().toFloat(), juce::RectanglePlacement::stretchToFit);
    }

    for (auto _ : state)
    {
        juce::Graphics g (open.image);
        g.drawImageAt (copy, 0, 0);
        benchmark::ClobberMemory();
    }

    state.SetItemsProcessed (state.iterations());
}
BENCHMARK (EditorBackgroundCopy)->Unit (benchmark::kMillisecond);

static const bool editorPaintSummary = BenchmarkSummary::add ([] (const BenchmarkSummary::NanosecondsPerItem& results)
                                                              {
    const auto ms = [&results] (const char* name) { const auto r = results.find (name); return r == results.end() ? -1.0 : r->second * 1.0e-6; };

    constexpr double budgetMs = 2.0;
    const auto full = ms ("EditorFullPaint");

    if (full >= 0.0)
        std::printf ("\nEditor paint: full window %.2f ms, budget %.1f ms: %s\n", full, budgetMs,
                     full <= budgetMs ? "ok" : "OVER BUDGET");

    std::printf ("  idle frame %.2f ms; background alone %.2f ms as copied, %.2f ms if stretched at every paint\n",
                 ms ("EditorIdleFrame"), ms ("EditorBackgroundCopy"), ms ("EditorBackgroundOnly")); });
