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
        showStatus(view, QStringLiteral("Read Cancelled"), state.busyColor);
        return;
    }
    showStatus(view, QStringLiteral("The File Name Is:"), state.normalColor);
    showStatus(view, QDir::toNativeSeparators(*path), state.normalColor);
    if (!hasSettingsExtension(*path)) {
        showStatus(view, QStringLiteral("Sorry, Wrong type of file, please select again !"), state.errorColor);
        return;
    }
    switch (readSettingsFile(*path, state.settings)) {
    case FileResult::OpenFailed:
        showStatus(view, QStringLiteral("Sorry, Could Not Open File"), state.errorColor);
        return;
    case FileResult::TransferFailed:
        showStatus(view, QStringLiteral("Sorry, Could Not Read File, please manually enter settings"),
                   state.errorColor);
        return;
    case FileResult::Ok:
        break;
    }
    if (showReadSettings(state, view))
        showStatus(view, QStringLiteral("Settings Read From File"), state.goodColor);
    else
        showStatus(view, QStringLiteral("Some Settings Were Not Read Correctly - Recheck All Settings"),
                   state.errorColor);
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
        markFields(view, state, unusable);
        showStatus(view, QStringLiteral("Some Settings Are Out Of Range - Please Check"), state.errorColor);
        return;
    }
    if (!convertToSensorUnits(ctx))
        return;
    const std::optional<QString> path = ctx.dialogs.saveSettingsFile();
    if (!path) {
        showStatus(view, QStringLiteral("Save Cancelled"), state.busyColor);
        return;
    }
    if (!hasSettingsExtension(*path)) {
        showStatus(view, QStringLiteral("Sorry, Extension must be .bdf, please save again ! ") + QDir::toNativeSeparators(*path),
                   state.errorColor);
        return;
    }
    switch (writeSettingsFile(*path, state.settings)) {
    case FileResult::OpenFailed:
        showStatus(view, QStringLiteral("Sorry, Could Not Open File, try again with at writable location"),
                   state.errorColor);
        return;
    case FileResult::TransferFailed:
        showStatus(view, QStringLiteral("Sorry, could Not Write File, try a different folder"), state.errorColor);
        return;
    case FileResult::Ok:
        showStatus(view, QStringLiteral("Settings Saved To File") + QDir::toNativeSeparators(*path), state.goodColor);
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
