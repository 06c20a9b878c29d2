#include "app/CApp.h"

START_JUCE_APPLICATION(CApp)
