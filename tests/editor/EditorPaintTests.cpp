#include "EditorFixture.h"
#include "HalfSizePicture.h"

#include <set>

using namespace EditorImages;

using EditorPaint = EditorFixture;

TEST_F (EditorPaint, ModeAndSpeedLabelsNameTheModesAndFallBackOutsideTheirRanges)
{
    open();
    showPanel();

    for (auto [mode, name] : { std::pair { 1, "GLIMMER" }, { 2, "DISTORT" }, { 3, "SILENCE" }, { 4, "QUAKE" }, { 5, "DESTROY" }, { 0, "FX" }, { 6, "FX" }, { -1, "FX" } })
    {
        processor.fxMode = mode;
        paintOnce();
        EXPECT_EQ (editor->fxLabel.getText(), juce::String (name)) << mode;
        EXPECT_TRUE (editor->fxLabel.isVisible());
    }

    for (auto [speed, name] : { std::pair { 1, "SUBSONIC" }, { 2, "SUPERSONIC" }, { 3, "HYPERSONIC" }, { 0, "SUPERSONIC" }, { 4, "SUPERSONIC" } })
    {
        processor.speedMode = speed;
        paintOnce();
        EXPECT_EQ (editor->speedLabel.getText(), juce::String (name)) << speed;
        EXPECT_TRUE (editor->speedLabel.isVisible());
    }
}

TEST_F (EditorPaint, ReadoutsShowTheDisplayedIntegersInPlainDecimal)
{
    processor.fxMode = 1;
    processor.impactDisplay = 7;
    processor.depthDisplay = 0;
    processor.rateDisplay = 100;
    processor.feedbackDisplay = -3;
    processor.phaseDisplay = 50;
    processor.biteDisplay = 24;

    open();
    showPanel();

    EXPECT_EQ (editor->impactLabel.getText(), "IMPACT: 7");
    EXPECT_EQ (editor->depthLabel.getText(), "DEPTH: 0");
    EXPECT_EQ (editor->rateLabel.getText(), "RATE: 100");
    EXPECT_EQ (editor->feedbackLabel.getText(), "FEEDBACK: -3");
    EXPECT_EQ (editor->phaseLabel.getText(), "PHASE: 50");
    EXPECT_EQ (editor->biteLabel.getText(), "BITE: 24") << "only DESTROY turns bite into a bit depth";
}

TEST_F (EditorPaint, DestroyShowsBiteAsTheCrushersBitDepth)
{
    processor.fxMode = 5;
    open();
    showPanel();

    for (auto [bite, depth] : { std::pair { 32, 8 }, { 25, 8 }, { 24, 4 }, { 23, 6 }, { 16, 6 }, { 13, 6 }, { 12, 4 }, { 2, 4 }, { -5, 4 } })
    {
        processor.biteDisplay = bite;
        paintOnce();
        EXPECT_EQ (editor->biteLabel.getText(), "BITE: " + juce::String (depth)) << bite;
    }
}

TEST_F (EditorPaint, CoversAndReadoutsFollowTheModeWithThePanelOpenOrClosed)
{
    using namespace ParameterIds;
    struct Case
    {
        int mode;
        std::set<juce::String> covered, shownReadouts;
    };

    const std::set<juce::String> all { impact, bite, depth, rate, feedback, phaserX };

    const std::vector<Case> cases {
        { 1, {}, all },
        { 4, {}, all },
        { 2, { bite, depth, rate, feedback, phaserX }, { impact } },
        { 3, all, {} },
        { 5, { depth, rate, feedback, phaserX }, { impact, bite } },
        { 0, all, all },
        { 7, all, all },
    };

    open();
    const std::vector<juce::String> names { impact, bite, depth, rate, feedback, phaserX };

    for (const auto panelOpen : { true, false })
    {
        if (panelOpen)
            showPanel();

        for (const auto& c : cases)
        {
            SCOPED_TRACE ("mode " + std::to_string (c.mode) + (panelOpen ? ", panel open" : ", panel closed"));
            processor.fxMode = c.mode;
            paintOnce();

            for (size_t i = 0; i < names.size(); ++i)
            {
                const auto covered = panelOpen && c.covered.count (names[i]) > 0;
                EXPECT_EQ (covers()[i]->isVisible(), covered) << names[i];
                EXPECT_EQ (readouts()[i]->isVisible(), c.shownReadouts.count (names[i]) > 0) << names[i];

                if (! panelOpen)
                {
                    EXPECT_TRUE (readouts()[i]->getText().isEmpty());
                }
            }

            for (auto* knob : knobs())
                EXPECT_EQ (knob->isVisible(), panelOpen);

            EXPECT_EQ (editor->leftKnobPanel.isVisible(), panelOpen);
            EXPECT_EQ (editor->rightKnobPanel.isVisible(), panelOpen);
            EXPECT_TRUE (editor->fxLabel.isVisible());
            EXPECT_TRUE (editor->speedLabel.isVisible());
        }

        processor.knobsShowing = false;
        paintOnce();
    }
}

TEST_F (EditorPaint, EachHandleFollowsItsOwnLightAndTheIndicatorFollowsTheLastFlag)
{
    open();

    for (size_t lit = 0; lit < processor.stepLight.size(); ++lit)
    {
        SCOPED_TRACE (lit);
        for (size_t i = 0; i < processor.stepLight.size(); ++i)
            processor.stepLight[i] = (i == lit);

        paintOnce();

        for (size_t i = 0; i < editor->babyRadodButtons.size(); ++i)
            EXPECT_TRUE (editor->babyRadodButtons[i].getNormalImage() == (i == lit ? radodLitImage() : radodImage())) << i;

        EXPECT_EQ (editor->lastStepIndicator.isVisible(), lit == ZurizazAudioProcessor::numSteps);
    }
}

TEST_F (EditorPaint, BypassPictureFollowsBypass)
{
    open();

    for (const auto bypassed : { true, false, true })
    {
        processor.bypassOn = bypassed;
        paintOnce();
        EXPECT_TRUE (editor->bypassButton.getNormalImage() == (bypassed ? bypassOnImage() : bypassOffImage()));
    }
}

TEST_F (EditorPaint, ThePanelCatchesUpWithKnobsShowingOnePaintLate)
{
    processor.fxMode = 3;
    processor.knobsShowing = true;
    auto& e = open();

    // Opening with the panel remembered as shown: the first paint still sees it closed.
    paintOnce();
    EXPECT_TRUE (e.leftKnobPanel.isVisible());
    EXPECT_TRUE (e.rightKnobPanel.isVisible());
    for (auto* knob : knobs())
        EXPECT_TRUE (knob->isVisible());
    for (auto* cover : covers())
        EXPECT_FALSE (cover->isVisible());
    for (auto* label : labels())
        EXPECT_TRUE (label->getText().isEmpty());

    paintOnce();
    EXPECT_EQ (e.fxLabel.getText(), "SILENCE");
    for (auto* cover : covers())
        EXPECT_TRUE (cover->isVisible());
    for (auto* readout : readouts())
        EXPECT_FALSE (readout->isVisible());

    // Cleared elsewhere (as preparation does): the texts stay for one paint with the panel gone.
    processor.knobsShowing = false;
    paintOnce();
    EXPECT_FALSE (e.leftKnobPanel.isVisible());
    EXPECT_EQ (e.fxLabel.getText(), "SILENCE");

    paintOnce();
    EXPECT_TRUE (e.fxLabel.getText().isEmpty());
}

TEST_F (EditorPaint, BackgroundIsDrawnAtHalfSizeOverTheWholeWindow)
{
    open();
    const auto painted = paintOnce();
    const auto source = backgroundPicture();
    ASSERT_EQ (source.getWidth(), 1600);
    ASSERT_EQ (source.getHeight(), 954);

    // Each window pixel comes from around twice its coordinates in the picture. The top bar holds
    // the texts.
    for (int y = 30; y < 477; y += 13)
    {
        for (int x = 0; x < 800; x += 11)
        {
            for (auto [px, py] : { std::pair { x, y }, { 799, y }, { x, 476 } })
            {
                ASSERT_EQ (painted.getPixelAt (px, py).getAlpha(), 255) << px << "," << py;
                ASSERT_TRUE (showsPictureAtHalfSize (painted, source, px, py));
            }
        }
    }
}

namespace
{
    /** Draws into an image of the window's physical pixels at a desktop scale, the way the
        window's peer sets up its graphics context for a scaled display. */
    template <typename Draw>
    juce::Image drawnAtScale (float scale, Draw&& draw)
    {
        juce::Image image (juce::Image::ARGB, juce::roundToInt (800.0f * scale), juce::roundToInt (477.0f * scale), true);
        juce::Graphics g (image);
        g.addTransform (juce::AffineTransform::scale (scale));
        draw (g);
        return image;
    }

    /** Pixels that differ between two images of the same size, outside the painted texts. */
    int differingOutsideTexts (const juce::Image& a, const juce::Image& b, float scale)
    {
        // A glyph at a text's edge may shade the pixel next to it.
        const juce::Rectangle<float> texts[] = { { 91, 0, 72, 31 }, { 681, 0, 72, 31 } };
        int differing = 0;

        for (int y = 0; y < a.getHeight(); ++y)
            for (int x = 0; x < a.getWidth(); ++x)
                if (! texts[0].contains ((float) x / scale, (float) y / scale) && ! texts[1].contains ((float) x / scale, (float) y / scale))
                    differing += a.getPixelAt (x, y) != b.getPixelAt (x, y) ? 1 : 0;

        return differing;
    }
}

TEST_F (EditorPaint, BackgroundLooksTheSameAsThePictureStretchedOverTheFillAtEveryDisplayScale)
{
    auto& e = open();

    // Common desktop and host scales, in an order that moves the window from one to another and
    // back, as between two screens.
    for (auto scale : { 1.0f, 1.0f, 2.0f, 1.5f, 1.25f, 1.0f, 2.0f })
    {
        SCOPED_TRACE (scale);
        const auto painted = drawnAtScale (scale, [&e] (juce::Graphics& g)
                                           { e.paint (g); });

        const auto direct = drawnAtScale (scale, [&e] (juce::Graphics& g)
                                          {
            g.fillAll (e.getLookAndFeel().findColour (juce::ResizableWindow::backgroundColourId));
            g.drawImage (backgroundPicture(), e.getLocalBounds().toFloat(), juce::RectanglePlacement::stretchToFit); });

        EXPECT_EQ (differingOutsideTexts (painted, direct, scale), 0);
    }
}

TEST_F (EditorPaint, AtScaleTwoEveryWindowPixelIsAPixelOfThePicture)
{
    open();
    drawnAtScale (1.0f, [this] (juce::Graphics& g)
                  { editor->paint (g); });   // a copy at scale 1 exists
    const auto painted = drawnAtScale (2.0f, [this] (juce::Graphics& g)
                                       { editor->paint (g); });

    // The 1600 x 954 picture is exactly the window's physical size: nothing to resample or blur.
    const auto picture = backgroundPicture();
    ASSERT_EQ (painted.getBounds(), picture.getBounds());
    EXPECT_EQ (differingOutsideTexts (painted, picture.convertedToFormat (juce::Image::ARGB), 2.0f), 0);
}

TEST_F (EditorPaint, TempoTextIsDrawnInItsOwnPlace)
{
    open();
    const auto withoutTempo = paintOnce();

    processor.bpmText.publish (128);
    const auto withTempo = paintOnce();

    const juce::Rectangle<int> tempoArea { 92, 0, 70, 30 };
    int changedInside = 0, changedOutside = 0;

    for (int y = 0; y < 477; ++y)
        for (int x = 0; x < 800; ++x)
            if (withoutTempo.getPixelAt (x, y) != withTempo.getPixelAt (x, y))
                ++(tempoArea.contains (x, y) ? changedInside : changedOutside);

    EXPECT_GT (changedInside, 20) << "the digits were drawn";
    EXPECT_EQ (changedOutside, 0);
}

namespace
{
    /** Stands in for the window's repaint machinery: collects every area marked on the editor. */
    struct RepaintRecorder : public juce::CachedComponentImage
    {
        void paint (juce::Graphics&) override {}
        bool invalidateAll() override
        {
            marked.push_back ({ 0, 0, 800, 477 });
            return true;
        }
        bool invalidate (const juce::Rectangle<int>& area) override
        {
            marked.push_back (area);
            return true;
        }
        void releaseResources() override {}

        bool covers (juce::Rectangle<int> area) const
        {
            juce::RectangleList<int> all;
            for (auto& m : marked)
                all.add (m);
            return all.containsRectangle (area);
        }

        std::vector<juce::Rectangle<int>> marked;
    };
}

TEST_F (EditorPaint, EveryPaintMarksTheHandlesAndBypassAndTheTempoTextWhenTheTempoMoved)
{
    auto& e = open();
    e.setVisible (true);
    auto* recorder = new RepaintRecorder();
    e.setCachedComponentImage (recorder);   // the editor owns it from here

    const juce::Rectangle<int> tempoArea { 92, 0, 70, 30 };

    processor.bpmText.publish (120);
    paintOnce();

    for (int frame = 0; frame < 3; ++frame)
    {
        recorder->marked.clear();
        paintOnce();

        // The next frame's paint is already asked for, without a timer.
        EXPECT_TRUE (recorder->covers (e.bypassButton.getBounds().getIntersection (e.getLocalBounds())));
        for (auto& handle : e.babyRadodButtons)
            EXPECT_TRUE (recorder->covers (handle.getBounds()));

        EXPECT_FALSE (recorder->covers (tempoArea)) << "a steady tempo needs no extra repaint";
    }

    processor.bpmText.publish (121);
    recorder->marked.clear();
    paintOnce();
    EXPECT_TRUE (recorder->covers (tempoArea));

    recorder->marked.clear();
    paintOnce();
    EXPECT_FALSE (recorder->covers (tempoArea));
}
