#pragma once

#include "processor/PluginProcessor.h"

/** Sets a parameter to a plain value in its range as one complete change gesture, the way a
    host's automation or the editor's controls set it.
*/
inline void setPlain (ZurizazAudioProcessor& processor, const char* id, float plainValue)
{
    auto* parameter = processor.treeState.getParameter (id);
    parameter->beginChangeGesture();
    parameter->setValueNotifyingHost (parameter->convertTo0to1 (plainValue));
    parameter->endChangeGesture();
}
