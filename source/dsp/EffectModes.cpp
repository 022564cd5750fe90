#include "EffectModes.h"

namespace EffectModes
{
    void distortPass (float* channel, int numSamples, const LiveParameter& impact) noexcept
    {
        for (int i = 0; i < numSamples; ++i)
            channel[i] = distortSample (channel[i], impact.load());
    }

    void destroyPass (float* channel, float* left, float* right, int numSamples,
                      float bite, const LiveParameter& impact) noexcept
    {
        Quantiser quantiser;
        quantiser.setLevels (std::exp2 ((float) destroyBitDepth (bite)));

        for (int i = 0; i < numSamples; ++i)
        {
            channel[i] = quantiser (channel[i]);

            const auto impactNow = impact.load();
            left[i] = destroyLevelLeft (left[i], impactNow);

            if (right != nullptr)
                right[i] = destroyLevelRight (right[i], impactNow);
        }
    }
}
