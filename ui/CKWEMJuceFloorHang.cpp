#include "ui/CKWEMJuceFloorHang.h"

CKWEMJuceFloorHang::CKWEMJuceFloorHang()
{
    setSize(kWidth, kHeight);
    HideEndX();
    HideEndZ();
    HideAngleAndLength();
}
