#pragma once
#include <QList>
#include <QString>

// What a message means to the technician; the window gives each kind its colour.
enum class MessageKind {
    Normal,      // a notice on the window's own background
    Busy,        // an action runs, or was cancelled
    Good,        // an action succeeded
    Error,       // an action failed or was refused
    SkippedPort, // a line below the status line, about a port the search skipped
};

// Every text the status line, or the line of skipped ports, can show. Callers name the message;
// the catalogue holds its text and its kind. "%1" marks a variable part (a path, a group).
enum class Message {
    LookingForSensor, ReadingSettings, WritingSettings, CheckingWrite, FinishingWrite,
    NoAdaptor, PortInUse, PortNotPermitted, NoSensor, ReadIncomplete,
    SettingsRead, SettingsReadCheckApplication, ReadUnshowable, ReadUnshowableLevel12, SettingsLimited,
    SettingsWritten, WriteIncomplete, WriteNotKept,
    KFactorInvalid, PipeIdInvalid, OutputUnitMissing, TimeUnitMissing, PipeIdUnitMissing,
    KFactorUnitMissing, CutoffInvalid, AveragingMissing, SensitivityMissing, RejectionMissing,
    Setpoint20mAInvalid, Setpoint4mAInvalid,
    ApplicationSettingsChanged, DefaultsShown,
    FileNameIs, ChosenFile, WrongFileType, FileNotOpened, FileTooShort, FileRead, FileUnshowable,
    LoadCancelled, SaveUnusable, WrongSaveExtension, SaveFolderUnwritable, FileNotWritten, FileSaved,
    SaveCancelled,
};

// The message's text, with `detail` in place of its "%1" where it has one.
QString messageText(Message message, const QString &detail = QString());
MessageKind messageKind(Message message);
// Every message, in the order of the enum.
QList<Message> allMessages();
