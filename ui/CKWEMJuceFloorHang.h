#pragma once
// The panel of venue area 1, the hang point: only its name and its front point. Owned by
// the UI manager; GUI message thread only.

#include "ui/CKWEMJuceFloor.h"

class CKWEMJuceFloorHang : public CKWEMJuceFloor
{
public:
    static constexpr int kWidth = 90;

    CKWEMJuceFloorHang();

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(CKWEMJuceFloorHang)
};
