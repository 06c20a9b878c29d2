#pragma once
// The panel of venue area 2, the stage: its name, its front point and its end point X.
// Owned by the UI manager; GUI message thread only.

#include "ui/CKWEMJuceFloor.h"

class CKWEMJuceFloorStage : public CKWEMJuceFloor
{
public:
    static constexpr int kWidth = 90;

    CKWEMJuceFloorStage();

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(CKWEMJuceFloorStage)
};
