#pragma once
#include "core/SetupView.h"

// The most characters each entry box holds. The box cuts a longer text short, also one set by the
// program, so whatever fills a box in code must fit first. 0 for controls that are no entry box.
constexpr int maxEntryLength(Control box)
{
    switch (box) {
    case Control::txtpipeid:
        return 6;
    case Control::txtFactor:
    case Control::txtlowflowcutoff:
        return 7;
    case Control::txt4ma:
    case Control::txt20ma:
        return 8;
    default:
        return 0;
    }
}
