// Placeholder bodies until the workflows are built; the workflow work replaces this file.
#include "core/Workflows.h"

#include "core/Status.h"
#include "link/AdaptorLink.h"
#include "link/Waits.h"

void DisableButtons(SetupView &) {}
void EnableButtons(SetupView &) {}
void cmdReadSensor_Click(SetupContext &) {}
void cmdSaveSensor_Click(SetupContext &) {}
void default_Click(SetupContext &) {}
void Read_file_Click(SetupContext &) {}
void Save_settings_Click(SetupContext &) {}
void cmdok_Click(SetupContext &ctx)
{
    ClearFieldMarks(ctx.view, ctx.state);
    ctx.link.ClosePort();
    ctx.link.waits().EndProgram();
}
