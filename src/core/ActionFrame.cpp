#include "core/ActionFrame.h"

#include "link/AdaptorLink.h"
#include "state/Buttons.h"
#include "state/Status.h"

void runAction(SetupContext &ctx, EndPause end, const std::function<void()> &body)
{
    disableButtons(ctx.view);
    clearFieldMarks(ctx.view);
    body();
    if (end == EndPause::Wait)
        ctx.link.pause(endPauseMs);
    enableButtons(ctx.view);
}
