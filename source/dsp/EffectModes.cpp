#include "EffectModes.h"

namespace EffectModes
{
    /*  Both passes read "impact" at every sample, but check it, and work out what follows from it,
        only when it differs from the sample before (NaN never equals, so it is checked each time).
        In loops this tight, checking every read slowed the mode measurably; the compare does not.
    */
    void distortPass (float* channel, int numSamples, const Dsp::LiveParameter& impactParameter) noexcept
    {
        const auto impact = impactParameter;
        auto lastStored = std::numeric_limits<float>::quiet_NaN();
        auto impactNow = 0.0f;

        for (int i = 0; i < numSamples; ++i)
        {
            const auto stored = impact.loadAsStored();

            if (stored != lastStored)
            {
                lastStored = stored;
                impactNow = impact.orDefault (stored);
            }

            channel[i] = distortSample (channel[i], impactNow);
        }
    }

    void destroyPass (float* channel, float* left, float* right, int numSamples,
                      float bite, const Dsp::LiveParameter& impactParameter) noexcept
    {
        Quantiser quantiser;
        quantiser.setLevels (std::exp2 ((float) destroyBitDepth (bite)));

        const auto impact = impactParameter;
        auto lastStored = std::numeric_limits<float>::quiet_NaN();
        DestroyLevel level (0.0f);

        for (int i = 0; i < numSamples; ++i)
        {
            channel[i] = quantiser (channel[i]);

            const auto stored = impact.loadAsStored();

            if (stored != lastStored)
            {
                lastStored = stored;
                level = DestroyLevel (impact.orDefault (stored));
            }

            left[i] = level.left (left[i]);

            if (right != nullptr)
                right[i] = level.right (right[i]);
        }
    }
}
