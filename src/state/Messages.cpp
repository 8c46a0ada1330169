#include "state/Messages.h"

#include <QtGlobal>

#include <iterator>

namespace {

struct CatalogueEntry
{
    Message message;
    MessageKind kind;
    const char *text; // the source text, as a translation would look it up
};

// In the order of the enum. The texts are the program's own, odd spelling and trailing blanks included.
constexpr CatalogueEntry catalogue[] = {
    {Message::LookingForSensor, MessageKind::Busy, QT_TRANSLATE_NOOP("Message", "Looking For A Sensor")},
    {Message::ReadingSettings, MessageKind::Busy,
     QT_TRANSLATE_NOOP("Message", "Reading The Sensor Settings")},
    {Message::WritingSettings, MessageKind::Busy, QT_TRANSLATE_NOOP("Message", "Writing Settings To Sensor")},
    {Message::CheckingWrite, MessageKind::Busy,
     QT_TRANSLATE_NOOP("Message", "Checking The Written Settings")},
    {Message::FinishingWrite, MessageKind::Busy,
     QT_TRANSLATE_NOOP("Message", "Finishing The Write - Please Wait")},
    {Message::NoAdaptor, MessageKind::Error,
     QT_TRANSLATE_NOOP("Message", "Could Not Find A 7-0410 R2W Adaptor")},
    {Message::PortInUse, MessageKind::SkippedPort, QT_TRANSLATE_NOOP("Message", "in use by another program")},
    {Message::PortNotPermitted, MessageKind::SkippedPort,
     QT_TRANSLATE_NOOP("Message", "permission denied - add your user to the '%1' group, then log in again")},
    {Message::NoSensor, MessageKind::Error,
     QT_TRANSLATE_NOOP("Message", "Could Not Talk To Sensor - Check Sensor Type, Power and Wiring")},
    {Message::ReadIncomplete, MessageKind::Error,
     QT_TRANSLATE_NOOP("Message", "Could Not Read All Of The Settings - Check Wiring")},
    {Message::SettingsRead, MessageKind::Good, QT_TRANSLATE_NOOP("Message", "Sensor Settings Read ")},
    {Message::SettingsReadCheckApplication, MessageKind::Good,
     QT_TRANSLATE_NOOP("Message", "Sensor Settings Read - Make Sure The Application Settings Match "
                                  "The Installation")},
    {Message::ReadUnshowable, MessageKind::Error,
     QT_TRANSLATE_NOOP("Message", "Some Settings Are Incorrect - Try Agian or Manually Edit")},
    {Message::ReadUnshowableLevel12, MessageKind::Error,
     QT_TRANSLATE_NOOP("Message", "Some Settings Could Not Be Read Properly - Try Agian")},
    {Message::SettingsLimited, MessageKind::Error,
     QT_TRANSLATE_NOOP("Message", "Some settings were out of range - Please Re-Check")},
    {Message::SettingsWritten, MessageKind::Good, QT_TRANSLATE_NOOP("Message", "Sensor Settings Written")},
    {Message::WriteIncomplete, MessageKind::Error,
     QT_TRANSLATE_NOOP("Message", "Could Not Write All Of The Settings - Check Power and Wiring")},
    {Message::WriteNotKept, MessageKind::Error,
     QT_TRANSLATE_NOOP("Message", "Sensor Did Not Keep All Of The Settings - Write Again")},
    {Message::KFactorInvalid, MessageKind::Error,
     QT_TRANSLATE_NOOP("Message", "Please Enter A Valid Number For The K Factor")},
    {Message::PipeIdInvalid, MessageKind::Error,
     QT_TRANSLATE_NOOP("Message", "Please Enter A Valid Number For The PipeID")},
    {Message::OutputUnitMissing, MessageKind::Error,
     QT_TRANSLATE_NOOP("Message", "Please Select An Output Unit")},
    {Message::TimeUnitMissing, MessageKind::Error, QT_TRANSLATE_NOOP("Message", "Please Select A Timebase")},
    {Message::PipeIdUnitMissing, MessageKind::Error,
     QT_TRANSLATE_NOOP("Message", "Please Select A Pipe ID Unit")},
    {Message::KFactorUnitMissing, MessageKind::Error,
     QT_TRANSLATE_NOOP("Message", "Please Select A K Factor Unit")},
    {Message::CutoffInvalid, MessageKind::Error,
     QT_TRANSLATE_NOOP("Message", "Please Enter A Valid Number For The Low Flow Cutoff")},
    {Message::AveragingMissing, MessageKind::Error,
     QT_TRANSLATE_NOOP("Message", "Please Select An Averaging Value")},
    {Message::SensitivityMissing, MessageKind::Error,
     QT_TRANSLATE_NOOP("Message", "Please Select A Sensitivity Value")},
    {Message::RejectionMissing, MessageKind::Error,
     QT_TRANSLATE_NOOP("Message", "Please Select A Noise Rejection Value")},
    {Message::Setpoint20mAInvalid, MessageKind::Error,
     QT_TRANSLATE_NOOP("Message", "Please Enter A Valid Number For The 20mA Setting")},
    {Message::Setpoint4mAInvalid, MessageKind::Error,
     QT_TRANSLATE_NOOP("Message", "Please Enter A Valid Number For The 4mA Setting")},
    {Message::ApplicationSettingsChanged, MessageKind::Normal,
     QT_TRANSLATE_NOOP("Message", "Application Settings Changed - Check Setpoints and Low Flow Cutoff")},
    {Message::DefaultsShown, MessageKind::Normal,
     QT_TRANSLATE_NOOP("Message", "Defaults Shown - Click 'Write Settings To Sensor' To Save")},
    {Message::FileNameIs, MessageKind::Normal, QT_TRANSLATE_NOOP("Message", "The File Name Is:")},
    {Message::ChosenFile, MessageKind::Normal, QT_TRANSLATE_NOOP("Message", "%1")},
    {Message::WrongFileType, MessageKind::Error,
     QT_TRANSLATE_NOOP("Message", "Sorry, Wrong type of file, please select again !")},
    {Message::FileNotOpened, MessageKind::Error, QT_TRANSLATE_NOOP("Message", "Sorry, Could Not Open File")},
    {Message::FileTooShort, MessageKind::Error,
     QT_TRANSLATE_NOOP("Message", "Sorry, Could Not Read File, please manually enter settings")},
    {Message::FileRead, MessageKind::Good, QT_TRANSLATE_NOOP("Message", "Settings Read From File")},
    {Message::FileUnshowable, MessageKind::Error,
     QT_TRANSLATE_NOOP("Message", "Some Settings Were Not Read Correctly - Recheck All Settings")},
    {Message::LoadCancelled, MessageKind::Busy, QT_TRANSLATE_NOOP("Message", "Read Cancelled")},
    {Message::SaveUnusable, MessageKind::Error,
     QT_TRANSLATE_NOOP("Message", "Some Settings Are Out Of Range - Please Check")},
    {Message::WrongSaveExtension, MessageKind::Error,
     QT_TRANSLATE_NOOP("Message", "Sorry, Extension must be .bdf, please save again ! %1")},
    {Message::SaveFolderUnwritable, MessageKind::Error,
     QT_TRANSLATE_NOOP("Message", "Sorry, Could Not Open File, try again with at writable location")},
    {Message::FileNotWritten, MessageKind::Error,
     QT_TRANSLATE_NOOP("Message", "Sorry, could Not Write File, try a different folder")},
    {Message::FileSaved, MessageKind::Good, QT_TRANSLATE_NOOP("Message", "Settings Saved To File%1")},
    {Message::SaveCancelled, MessageKind::Busy, QT_TRANSLATE_NOOP("Message", "Save Cancelled")},
};

constexpr bool inEnumOrder()
{
    for (int i = 0; i < int(std::size(catalogue)); ++i)
        if (catalogue[i].message != Message(i))
            return false;
    return true;
}
static_assert(inEnumOrder() && catalogue[std::size(catalogue) - 1].message == Message::SaveCancelled,
              "one entry per message, in the order of the enum");

const CatalogueEntry &entryOf(Message message) { return catalogue[static_cast<int>(message)]; }

} // namespace

QString messageText(Message message, const QString &detail)
{
    // The one place a translation goes: QCoreApplication::translate("Message", entryOf(message).text).
    const QString text = QString::fromLatin1(entryOf(message).text);
    return text.contains(QLatin1String("%1")) ? text.arg(detail) : text;
}

MessageKind messageKind(Message message) { return entryOf(message).kind; }

QList<Message> allMessages()
{
    QList<Message> messages;
    for (const CatalogueEntry &entry : catalogue)
        messages << entry.message;
    return messages;
}
