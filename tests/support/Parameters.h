#pragma once

#include "processor/PluginProcessor.h"

/** Sets a parameter to a plain value in its range as one complete change gesture, the way the
    editor's controls set it.
*/
inline void setPlain (ZurizazAudioProcessor& processor, const char* id, float plainValue)
{
    auto* parameter = processor.treeState.getParameter (id);
    parameter->beginChangeGesture();
    parameter->setValueNotifyingHost (parameter->convertTo0to1 (plainValue));
    parameter->endChangeGesture();
}

/** Sets a parameter to a plain value the way a host's automation arrives: the value alone, on
    whatever thread the host runs it, with no gesture (gestures go from the plug-in to the host).
*/
inline void automatePlain (ZurizazAudioProcessor& processor, const char* id, float plainValue)
{
    auto* parameter = processor.treeState.getParameter (id);
    parameter->setValueNotifyingHost (parameter->convertTo0to1 (plainValue));
}
