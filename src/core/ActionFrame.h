#pragma once
#include "core/SetupContext.h"

#include <functional>

// The buttons stay off through this last pause of an action, so that a second click
// cannot start another action on the heels of the first.
constexpr int endPauseMs = 250;

// Whether an action ends with that last pause (the sensor's actions and the factory defaults) or
// unlocks at once (the file actions).
enum class EndPause { Wait, None };

// Every action but Exit runs in this frame: busy, buttons and entries locked, the field marks
// cleared; then `body`; then the last pause if any and everything unlocked. A ProgramEnded thrown
// from the body or the pause passes through as it is: the window closes with the buttons off.
void runAction(SetupContext &ctx, EndPause end, const std::function<void()> &body);
