#include "files/FileActions.h"

#include "convert/FlowScaling.h"
#include "convert/ShowSettings.h"
#include "convert/Validation.h"
#include "files/SettingsFile.h"
#include "platform/FileDialogs.h"
#include "state/Buttons.h"
#include "state/Status.h"

#include <QDir>

namespace {

void loadFile(SetupContext &ctx)
{
    SetupState &state = ctx.state;
    SetupView &view = ctx.view;
    const std::optional<QString> path = ctx.dialogs.openSettingsFile();
    if (!path) {
        ShowStatus(view, QStringLiteral("Read Cancelled"), state.busyColor);
        return;
    }
    ShowStatus(view, QStringLiteral("The File Name Is:"), state.normalColor);
    ShowStatus(view, QDir::toNativeSeparators(*path), state.normalColor);
    if (!HasSettingsExtension(*path)) {
        ShowStatus(view, QStringLiteral("Sorry, Wrong type of file, please select again !"), state.errorColor);
        return;
    }
    switch (LoadSettingsFile(*path, state.settings)) {
    case FileResult::OpenFailed:
        ShowStatus(view, QStringLiteral("Sorry, Could Not Open File"), state.errorColor);
        return;
    case FileResult::TransferFailed:
        ShowStatus(view, QStringLiteral("Sorry, Could Not Read File, please manually enter settings"),
                   state.errorColor);
        return;
    case FileResult::Ok:
        break;
    }
    if (ShowReadSettings(state, view))
        ShowStatus(view, QStringLiteral("Settings Read From File"), state.goodColor);
    else
        ShowStatus(view, QStringLiteral("Some Settings Were Not Read Correctly - Recheck All Settings"),
                   state.errorColor);
}

void saveFile(SetupContext &ctx)
{
    SetupState &state = ctx.state;
    SetupView &view = ctx.view;
    const ValidationMode mode = state.hasLoopOutput ? ValidationMode::WithLoop : ValidationMode::NoLoop;
    if (!ValidateEntries(state, view, mode))
        return;
    // Showing rounds the numbers; a K-factor or pipe ID rounded onto its bound would make a file
    // that loads as not read.
    const bool shown = ShowSettings(state, view, true);
    const QList<Control> unusable = UnusableEntries(state.settings);
    if (!shown || !unusable.isEmpty()) {
        MarkFields(view, state, unusable);
        ShowStatus(view, QStringLiteral("Some Settings Are Out Of Range - Please Check"), state.errorColor);
        return;
    }
    const QList<Control> clamped = ToSensorUnits(state);
    MarkFields(view, state, clamped);
    if (!clamped.isEmpty()) {
        ShowStatus(view, QStringLiteral("Some settings were out of range - Please Re-Check"), state.errorColor);
        ToDisplayUnits(state);
        ShowSettings(state, view, false);
        return;
    }
    const std::optional<QString> path = ctx.dialogs.saveSettingsFile();
    if (!path) {
        ShowStatus(view, QStringLiteral("Save Cancelled"), state.busyColor);
        return;
    }
    if (!HasSettingsExtension(*path)) {
        ShowStatus(view, QStringLiteral("Sorry, Extension must be .bdf, please save again ! ") + QDir::toNativeSeparators(*path),
                   state.errorColor);
        return;
    }
    switch (SaveSettingsFile(*path, state.settings)) {
    case FileResult::OpenFailed:
        ShowStatus(view, QStringLiteral("Sorry, Could Not Open File, try again with at writable location"),
                   state.errorColor);
        return;
    case FileResult::TransferFailed:
        ShowStatus(view, QStringLiteral("Sorry, could Not Write File, try a different folder"), state.errorColor);
        return;
    case FileResult::Ok:
        ShowStatus(view, QStringLiteral("Settings Saved To File") + QDir::toNativeSeparators(*path), state.goodColor);
        return;
    }
}

} // namespace

void Read_file_Click(SetupContext &ctx)
{
    DisableButtons(ctx.view);
    ClearFieldMarks(ctx.view, ctx.state);
    loadFile(ctx);
    EnableButtons(ctx.view);
}

void Save_settings_Click(SetupContext &ctx)
{
    DisableButtons(ctx.view);
    ClearFieldMarks(ctx.view, ctx.state);
    saveFile(ctx);
    EnableButtons(ctx.view);
}
