#include "core/mWorkingData.h"

NavigationStateRecord DefaultNavigationState() {
    NavigationStateRecord s;
    s.Speed = 15.0f;
    s.Temp = 10.0f;
    s.Pressure = 1010.0f;
    s.hEye = 15.0f;
    return s;
}
