#include "core/FileActions.h"

#include "convert/ShowSettings.h"
#include "core/ActionFrame.h"
#include "core/EntryChecks.h"
#include "files/SettingsFile.h"
#include "platform/FileDialogs.h"
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
    if (!takeValidEntries(ctx, validationModeFor(state)))
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
    if (!convertToSensorUnits(ctx))
        return;
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

// The file actions unlock at once, without the last pause of the other actions.
void loadSettingsFromFile(SetupContext &ctx)
{
    runAction(ctx, EndPause::None, [&ctx] { loadFile(ctx); });
}

void saveSettingsToFile(SetupContext &ctx)
{
    runAction(ctx, EndPause::None, [&ctx] { saveFile(ctx); });
}
