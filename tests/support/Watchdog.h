#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>

#include "FailOnJuceAssertion.h"

/** Ends the test run with a failure when the message thread does not come back in time.

    A hang of the message thread (a plug-in's window that never lets it go) would otherwise hold
    CI until CTest's own timeout. While a step is watched, a thread of its own waits for it; if
    the step has not ended by its deadline, it says which step hung and ends the process.
*/
class Watchdog
{
public:
    Watchdog()
        : thread ([this]
                  { watch(); })
    {
    }

    ~Watchdog()
    {
        {
            const std::lock_guard<std::mutex> lock (mutex);
            finished = true;
        }

        changed.notify_all();
        thread.join();
    }

    /** Watches one step: it must come back within the time given. */
    class Step
    {
    public:
        Step (Watchdog& w, std::string description, std::chrono::seconds limit) : watchdog (w)
        {
            watchdog.start (std::move (description), limit);
        }

        ~Step() { watchdog.stop(); }

    private:
        Watchdog& watchdog;
    };

private:
    void start (std::string description, std::chrono::seconds limit)
    {
        {
            const std::lock_guard<std::mutex> lock (mutex);
            step = std::move (description);
            deadline = std::chrono::steady_clock::now() + limit;
            watching = true;
        }

        changed.notify_all();
    }

    void stop()
    {
        const std::lock_guard<std::mutex> lock (mutex);
        watching = false;
    }

    void watch()
    {
        std::unique_lock<std::mutex> lock (mutex);

        while (! finished)
        {
            if (! watching)
            {
                changed.wait (lock);
                continue;
            }

            if (changed.wait_until (lock, deadline) == std::cv_status::timeout && watching && ! finished
                && std::chrono::steady_clock::now() >= deadline)
            {
                std::cerr << "Watchdog: the message thread never came back from: " << step << std::endl;
                JuceAssertions::waitUntilOutputIsRead();
                std::_Exit (EXIT_FAILURE);
            }
        }
    }

    std::mutex mutex;
    std::condition_variable changed;
    std::string step;
    std::chrono::steady_clock::time_point deadline;
    bool watching = false, finished = false;
    std::thread thread;
};
