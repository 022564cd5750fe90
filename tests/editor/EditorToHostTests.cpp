#include <functional>

#include <gtest/gtest.h>

#include "EditorSession.h"
#include "HostRecorder.h"
#include "HandleInput.h"

using namespace HandleInput;

TEST (EditorToHost, EachEditorChangeReachesTheHostAsOneGesture)
{
    struct Case
    {
        const char* change;
        std::function<void (EditorSession&)> prepare, make;
        juce::StringArray heard;
    };

    const auto none = [] (EditorSession&) {};
    const auto press = [] (EditorSession& s, int x, int y)
    { s.ui().mouseDown (mouseAt (s.ui(), x, y)); };
    const auto release = [] (EditorSession& s, int x, int y)
    { s.ui().mouseUp (mouseAt (s.ui(), x, y)); };

    // On the depth knob (0.2): a full turn takes 250 pixels, each 10 pixels up adds 0.04.
    const auto turnDepthKnob = [] (EditorSession& s)
    {
        auto& knob = s.ui().depthKnob;
        knob.mouseDown (mouseAt (knob, 32, 32));
        knob.mouseDrag (mouseAt (knob, 32, 22));
        knob.mouseDrag (mouseAt (knob, 32, 22));
        knob.mouseDrag (mouseAt (knob, 32, 12));
    };

    const Case cases[] = {
        { "bypass", none, [] (EditorSession& s)
          { s.click (s.ui().bypassButton); },
          { "begin BypassOn", "bypassOn=1", "end BypassOn" } },
        { "panel", none, [=] (EditorSession& s)
          { press (s, 400, 420); release (s, 400, 420); },
          { "begin KnobsShowing", "knobsShowing=1", "end KnobsShowing" } },
        // Handle 4 to 100 pixels, 0.25 of 400; the press in its column takes it, the release lets go.
        { "handle drag", none, [=] (EditorSession& s)
          { press (s, 250, 400); drag (s.ui(), 250, 100); drag (s.ui(), 250, 100); release (s, 250, 100); },
          { "begin BabyRadod4", "babyRadod4=0.25", "end BabyRadod4" } },
        { "press and release in a column", none, [=] (EditorSession& s)
          { press (s, 250, 200); release (s, 250, 200); },
          { "begin BabyRadod4", "end BabyRadod4" } },
        { "sideways sweep", none, [=] (EditorSession& s)
          {
              press (s, 30, 400);
              drag (s.ui(), 30, 100);    // handle 1
              drag (s.ui(), 100, 120);   // handle 2
              drag (s.ui(), 400, 130);   // no column
              drag (s.ui(), 600, 300);   // handle 6
              drag (s.ui(), 610, 300);   // handle 6 at the same height
              release (s, 610, 300);
          },
          { "begin BabyRadod1", "babyRadod1=0.25", "begin BabyRadod2", "babyRadod2=0.3", "begin BabyRadod6", "babyRadod6=0.75", "end BabyRadod1", "end BabyRadod2", "end BabyRadod6" } },
        { "handle drag, window closed before the release", none, [=] (EditorSession& s)
          { press (s, 250, 400); drag (s.ui(), 250, 100); s.close(); },
          { "begin BabyRadod4", "babyRadod4=0.25", "end BabyRadod4" } },
        { "handle click", [=] (EditorSession& s)
          { press (s, 250, 400); drag (s.ui(), 250, 100); release (s, 250, 100); },
          [] (EditorSession& s)
          { s.click (s.ui().babyRadodButtons[3]); },
          { "begin BabyRadod4", "babyRadod4=0.875", "end BabyRadod4" } },
        { "knob drag", none, [=] (EditorSession& s)
          { turnDepthKnob (s); s.ui().depthKnob.mouseUp (mouseAt (s.ui().depthKnob, 32, 12)); },
          { "begin Depth", "depth=0.24", "depth=0.28", "end Depth" } },
        { "knob drag, window closed before the release", none, [=] (EditorSession& s)
          { turnDepthKnob (s); s.close(); },
          { "begin Depth", "depth=0.24", "depth=0.28", "end Depth" } },
        { "knob double-click", [] (EditorSession& s)
          { s.setParameter (ParameterIds::depth, 0.5f); },
          [] (EditorSession& s)
          { s.ui().depthKnob.mouseDoubleClick (mouseAt (s.ui().depthKnob, 32, 32)); },
          { "begin Depth", "depth=0.2", "end Depth" } },
        // "Radod Sex Fiend" (9, stored as 10): of the knobs fx, speed, depth, rate and feedback
        // change, the handles go to 200 and 82. All values come inside one group of gestures.
        { "preset pick", none, [] (EditorSession& s)
          { s.ui().comboBoxChanged (&s.ui().presetBox); },
          { "begin Fx", "begin Speed", "begin Depth", "begin Rate", "begin Feedback", "begin BabyRadod1", "begin BabyRadod2", "begin BabyRadod3", "begin BabyRadod4", "begin BabyRadod5", "begin BabyRadod6", "begin BabyRadod7", "begin BabyRadod8", "begin Presets", "fx=3", "speed=1", "depth=0.7", "rate=7.5", "feedback=0.5", "babyRadod1=0.5", "babyRadod2=0.205", "babyRadod3=0.205", "babyRadod4=0.5", "babyRadod5=0.5", "babyRadod6=0.205", "babyRadod7=0.205", "babyRadod8=0.5", "presets=10", "end Fx", "end Speed", "end Depth", "end Rate", "end Feedback", "end BabyRadod1", "end BabyRadod2", "end BabyRadod3", "end BabyRadod4", "end BabyRadod5", "end BabyRadod6", "end BabyRadod7", "end BabyRadod8", "end Presets" } },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.change);
        EditorSession session;
        session.open();
        session.ui().presetBox.setSelectedId (9, juce::dontSendNotification);
        c.prepare (session);

        HostRecorder host (session.processor);
        c.make (session);

        EXPECT_EQ (host.events.joinIntoString (" "), c.heard.joinIntoString (" "));
    }
}

TEST (EditorToHost, ADragOfManyMovesIsOneGesturePerHandleItMoves)
{
    EditorSession session;
    session.open();
    auto& editor = session.ui();
    HostRecorder host (session.processor);

    // 36 moves down handle 4's column, from 100 to 240, every one to a new height; then sideways
    // into handle 5's column and 10 moves there, the last 5 of them at one height.
    editor.mouseDown (mouseAt (editor, 250, 60));
    for (int y = 100; y <= 240; y += 4)
        drag (editor, 250, y);
    for (int i = 0; i < 10; ++i)
        drag (editor, 560, 300 + 4 * juce::jmin (i, 4));
    editor.mouseUp (mouseAt (editor, 560, 316));

    for (auto [id, name, values] : { std::tuple { ParameterIds::handleHeights[3], "BabyRadod4", 36 },
                                     std::tuple { ParameterIds::handleHeights[4], "BabyRadod5", 5 } })
    {
        SCOPED_TRACE (name);
        const auto events = host.of (id);
        ASSERT_EQ (events.size(), values + 2) << events.joinIntoString (" ");
        EXPECT_EQ (events[0], "begin " + juce::String (name));
        EXPECT_EQ (events[events.size() - 1], "end " + juce::String (name));

        for (int i = 1; i <= values; ++i)
            EXPECT_TRUE (events[i].startsWith (juce::String (id) + "=")) << events[i];
    }

    EXPECT_EQ (host.of (ParameterIds::handleHeights[3])[36], "babyRadod4=0.6");
    EXPECT_EQ (host.of (ParameterIds::handleHeights[4])[5], "babyRadod5=0.79");

    // Handle 4 was begun at the press, handle 5 when the sweep first moved it; both end at the
    // release, and nothing else was heard.
    EXPECT_EQ (host.events.size(), 36 + 5 + 4);
    EXPECT_EQ (host.events.indexOf ("begin BabyRadod5"), 37);
    EXPECT_EQ (host.events.indexOf ("end BabyRadod4"), 43);
}
