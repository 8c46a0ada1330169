#include "core/FileActions.h"

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
        showStatus(view, Message::LoadCancelled);
        return;
    }
    showStatus(view, Message::FileNameIs);
    showStatus(view, Message::ChosenFile, QDir::toNativeSeparators(*path));
    if (!hasSettingsExtension(*path)) {
        showStatus(view, Message::WrongFileType);
        return;
    }
    switch (readSettingsFile(*path, state.settings)) {
    case FileResult::OpenFailed:
        showStatus(view, Message::FileNotOpened);
        return;
    case FileResult::TransferFailed:
        showStatus(view, Message::FileTooShort);
        return;
    case FileResult::Ok:
        break;
    }
    if (showReadSettings(state, view))
        showStatus(view, Message::FileRead);
    else
        showStatus(view, Message::FileUnshowable);
}

void saveFile(SetupContext &ctx)
{
    SetupState &state = ctx.state;
    SetupView &view = ctx.view;
    const ValidationMode mode = state.hasLoopOutput ? ValidationMode::WithLoop : ValidationMode::NoLoop;
    if (!validateEntries(state, view, mode))
        return;
    // Showing rounds the numbers; a K-factor or pipe ID rounded onto its bound would make a file
    // that loads as not read.
    const bool shown = showSettings(state, view, true);
    const QList<Control> unusable = unusableEntries(state.settings);
    if (!shown || !unusable.isEmpty()) {
        markFields(view, unusable);
        showStatus(view, Message::SaveUnusable);
        return;
    }
    const QList<Control> clamped = toSensorUnits(state);
    markFields(view, clamped);
    if (!clamped.isEmpty()) {
        showStatus(view, Message::SettingsLimited);
        toDisplayUnits(state);
        showSettings(state, view, false);
        return;
    }
    const std::optional<QString> path = ctx.dialogs.saveSettingsFile();
    if (!path) {
        showStatus(view, Message::SaveCancelled);
        return;
    }
    if (!hasSettingsExtension(*path)) {
        showStatus(view, Message::WrongSaveExtension, QDir::toNativeSeparators(*path));
        return;
    }
    switch (writeSettingsFile(*path, state.settings)) {
    case FileResult::OpenFailed:
        showStatus(view, Message::SaveFolderUnwritable);
        return;
    case FileResult::TransferFailed:
        showStatus(view, Message::FileNotWritten);
        return;
    case FileResult::Ok:
        showStatus(view, Message::FileSaved, QDir::toNativeSeparators(*path));
        return;
    }
}

} // namespace

void loadSettingsFromFile(SetupContext &ctx)
{
    disableButtons(ctx.view);
    clearFieldMarks(ctx.view);
    loadFile(ctx);
    enableButtons(ctx.view);
}

void saveSettingsToFile(SetupContext &ctx)
{
    disableButtons(ctx.view);
    clearFieldMarks(ctx.view);
    saveFile(ctx);
    enableButtons(ctx.view);
}
