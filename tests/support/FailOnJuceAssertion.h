#pragma once

#include <atomic>
#include <chrono>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>

#include <unistd.h>

#include <gtest/gtest.h>

#include <juce_core/juce_core.h>

/** Debug builds log every jassert ("JUCE Assertion failure in <file>:<line>"; the build sets
    JUCE_LOG_ASSERTIONS so that it goes through juce::Logger). The test that is running when one
    fires fails, whatever thread it fires on; one that fires outside any test (start-up, shutdown)
    fails the run through main's result.

    A few framework assertions are allowed, each with the reason it is not ours. They are printed
    in other words, so that the test's output does not match CTest's failure pattern either.
*/
namespace JuceAssertions
{
    /** More than 0 while a test feeds values that are not finite on purpose (see NonFiniteOnPurpose). */
    inline std::atomic<int>& nonFiniteOnPurpose()
    {
        static std::atomic<int> count { 0 };
        return count;
    }

    /** Where the output passes through a reader (FailOnJuceAssertionInOutput): how many sync lines
        were written, and how many it has read. */
    inline std::atomic<bool>& outputIsRead()
    {
        static std::atomic<bool> read { false };
        return read;
    }
    inline std::atomic<int>& syncLinesWritten()
    {
        static std::atomic<int> n { 0 };
        return n;
    }
    inline std::atomic<int>& syncLinesRead()
    {
        static std::atomic<int> n { 0 };
        return n;
    }
    inline const std::string& syncLine()
    {
        static const std::string line ("<zurizaz output sync>");
        return line;
    }

    /** Returns once everything written to stderr so far has been judged (at most after 10 s). */
    inline void waitUntilOutputIsRead()
    {
        if (! outputIsRead().load())
            return;

        const auto target = ++syncLinesWritten();
        std::cerr << syncLine() << std::endl;

        for (int i = 0; i < 10000 && syncLinesRead().load() < target; ++i)
            std::this_thread::sleep_for (std::chrono::milliseconds (1));
    }

    /** The framework's assertions that these tests may reach, and why they are not ours. */
    inline const char* whyAllowed (const std::string& message)
    {
        struct Allowed
        {
            const char* site;
            const char* reason;
        };
        static const Allowed allowed[] = {
            // JUCE's XML reader takes tag and attribute names by a looser rule (letters, digits,
            // '-' and '.' anywhere) than the XmlElement constructors it calls then assert. Only a
            // damaged saved state has such names; the restore drops the tree that holds them.
            { "juce_XmlElement.cpp:72", "the XML reader made an attribute name it deems invalid" },
            { "juce_XmlElement.cpp:103", "the XML reader made a tag name it deems invalid" },
            // JUCE's Linux plug-in clients (VST3, LV2) run their message loop on a thread of their
            // own once a window has been open, while a host creates and destroys instances on its
            // own thread (JUCE's LV2 host even re-instantiates in prepareToPlay). The tree state's
            // Timer, which its destructor does not stop, then goes with the instance off the
            // client's message thread.
            { "juce_Timer.cpp:327", "a host destroyed a plug-in off the client's own message thread" },
        };

        for (const auto& a : allowed)
            if (message.find (std::string ("JUCE Assertion failure in ") + a.site) != std::string::npos)
                return a.reason;

        // Where a test feeds the plug-in NaN or an infinity on purpose, the framework's own checks
        // of its input say so first: a normalised value outside 0..1, an LV2 block with NaNs.
        if (nonFiniteOnPurpose().load() > 0)
            for (const auto* site : { "juce_NormalisableRange.h:253", "juce_LV2_Client.cpp:557" })
                if (message.find (std::string ("JUCE Assertion failure in ") + site) != std::string::npos)
                    return "the test feeds a value that is not finite on purpose";

        return nullptr;
    }

    inline std::atomic<bool>& firedOutsideATest()
    {
        static std::atomic<bool> fired { false };
        return fired;
    }

    /** Prints the message to the stream and, for an assertion not allowed, fails the test. */
    inline void handle (const std::string& message, std::ostream& out)
    {
        const auto at = message.find ("JUCE Assertion failure in ");

        // Writes from two threads or two copies of JUCE can share a line: judge each on its own.
        if (at != std::string::npos)
        {
            const auto next = message.find ("JUCE Assertion failure in ", at + 1);

            if (next != std::string::npos)
            {
                handle (message.substr (0, next), out);
                handle (message.substr (next), out);
                return;
            }
        }

        if (at == std::string::npos)
        {
            out << message << std::endl;
            return;
        }

        if (const auto* reason = whyAllowed (message))
        {
            out << "(allowed framework assertion at " << message.substr (at + 26) << ": " << reason << ")" << std::endl;
            return;
        }

        out << message << std::endl;

        if (::testing::UnitTest::GetInstance()->current_test_info() != nullptr)
            ADD_FAILURE() << message;
        else
            firedOutsideATest() = true;
    }
}

/** While it lives, the framework's assertions on values that are not finite are allowed: the
    test is feeding such values on purpose, to show what the plug-in makes of them.
*/
struct NonFiniteOnPurpose
{
    NonFiniteOnPurpose() { ++JuceAssertions::nonFiniteOnPurpose(); }
    ~NonFiniteOnPurpose()
    {
        JuceAssertions::waitUntilOutputIsRead();
        --JuceAssertions::nonFiniteOnPurpose();
    }
};

/** Catches the assertions of the JUCE code in this executable through juce::Logger. Install it
    before JUCE starts and keep it until JUCE has shut down.
*/
class FailOnJuceAssertion final : public juce::Logger
{
public:
    FailOnJuceAssertion() { juce::Logger::setCurrentLogger (this); }
    ~FailOnJuceAssertion() override { juce::Logger::setCurrentLogger (nullptr); }

    bool firedOutsideATest() const noexcept { return JuceAssertions::firedOutsideATest().load(); }

    void logMessage (const juce::String& message) override
    {
        JuceAssertions::handle (message.toStdString(), std::cerr);
    }
};

// The sanitizers' runtime, when linked in: where their reports go.
extern "C" void __sanitizer_set_report_fd (void* fd) __attribute__ ((weak));

/** Catches the assertions of every JUCE copy in the process, those in loaded plug-in bundles
    included, which have no logger of ours and write them to stderr: stderr goes through a pipe
    that a thread reads, passing everything on to the real stderr. Sanitizer reports go straight
    to the real stderr, so that a report just before the process ends is never lost in the pipe.
*/
class FailOnJuceAssertionInOutput
{
public:
    FailOnJuceAssertionInOutput()
    {
        int ends[2];

        if (::pipe (ends) != 0)
            return;

        std::cerr.flush();
        realStderr = ::dup (STDERR_FILENO);
        ::dup2 (ends[1], STDERR_FILENO);
        ::close (ends[1]);
        readEnd = ends[0];

        if (__sanitizer_set_report_fd != nullptr)
            __sanitizer_set_report_fd (reinterpret_cast<void*> ((juce::pointer_sized_int) realStderr));

        JuceAssertions::outputIsRead() = true;

        reader = std::thread ([this]
                              {
            std::string line;
            char bytes[4096];

            for (;;)
            {
                const auto numRead = ::read (readEnd, bytes, sizeof (bytes));

                if (numRead <= 0)
                    break;

                for (ssize_t i = 0; i < numRead; ++i)
                {
                    if (bytes[i] != '\n')
                    {
                        line += bytes[i];
                        continue;
                    }

                    forward (line);
                    line.clear();
                }
            }

            if (! line.empty())
                forward (line); });
    }

    ~FailOnJuceAssertionInOutput()
    {
        if (readEnd < 0)
            return;

        std::cerr.flush();
        JuceAssertions::outputIsRead() = false;
        ::dup2 (realStderr, STDERR_FILENO);   // closes the pipe's last write end: the reader ends
        reader.join();

        if (__sanitizer_set_report_fd != nullptr)
            __sanitizer_set_report_fd (reinterpret_cast<void*> ((juce::pointer_sized_int) STDERR_FILENO));

        ::close (readEnd);
        ::close (realStderr);
    }

    bool firedOutsideATest() const noexcept { return JuceAssertions::firedOutsideATest().load(); }

private:
    void forward (const std::string& line)
    {
        if (line == JuceAssertions::syncLine())
        {
            ++JuceAssertions::syncLinesRead();
            return;
        }

        std::ostringstream out;
        JuceAssertions::handle (line, out);
        const auto text = out.str();
        juce::ignoreUnused (::write (realStderr, text.data(), text.size()));
    }

    int realStderr = -1, readEnd = -1;
    std::thread reader;
};
