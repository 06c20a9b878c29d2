#include "ui/CKWEMJuceFloorStage.h"

CKWEMJuceFloorStage::CKWEMJuceFloorStage()
{
    setSize(kWidth, kHeight);
    HideEndZ();
    HideAngleAndLength();
}
