#pragma once
// Hands the UI manager the creators of the module panels and the venue-area panels, which
// live in this layer: the main window calls Install before it lays out its columns.

class CPanelCreators
{
public:
    static void Install();
};
