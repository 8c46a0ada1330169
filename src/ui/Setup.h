#pragma once
#include "core/AppSettingChanges.h"
#include "link/AdaptorLink.h"
#include "link/Waits.h"
#include "platform/FileDialogs.h"
#include "platform/QtFileDialogs.h"
#include "platform/SerialPort.h"
#include "state/SetupContext.h"
#include "state/SetupState.h"
#include "state/SetupView.h"
#include "ui/ControlNames.h"

#include <QColor>
#include <QList>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <array>

class QComboBox;
class QGridLayout;
class QLabel;
class QProgressBar;
class QScrollArea;
class QVBoxLayout;

// The tool's one window. It owns the state, the serial link and the file dialogs for its lifetime,
// shows every control, and hands the controls' events to the handlers of core.
class Setup : public QWidget, public SetupView
{
    Q_OBJECT
public:
    // Each search asks `ports` for the devices of the moment (SerialPort::systemPorts for the real ones).
    explicit Setup(PortList ports, QWidget *parent = nullptr);
    // comPortPaths[n - 1] is the device that port number n (COMn) opens, for good.
    explicit Setup(const QStringList &comPortPaths, QWidget *parent = nullptr);

    SetupState &state() { return m_state; }
    SetupContext &context() { return m_context; }
    AdaptorLink &link() { return m_link; }
    // Lets the handlers ask `dialogs` instead of showing the platform's file dialogs.
    void setFileDialogs(FileDialogs &dialogs) { m_dialogs.chosen = &dialogs; }
    // Loads a settings file as "Load Settings From File" does when the user chooses `path`.
    void loadSettingsFile(const QString &path);

    using QWidget::isEnabled;
    using QWidget::setEnabled;

    QWidget *control(Control control) const { return m_controls[static_cast<int>(control)]; }

    QString text(Control control) const override;
    void setText(Control control, const QString &text) override;
    int currentIndex(Control list) const override;
    void setCurrentIndex(Control list, int row) override;
    int count(Control list) const override;
    void showStatus(MessageKind kind, const QString &text) override;
    void setMarked(Control field, bool marked) override;
    void setEnabled(Control control, bool enabled) override;
    bool isEnabled(Control control) const override;
    void setBusy(bool busy) override;
    void showProgress(int step, int total, const QString &text) override;
    void hideProgress() override;
    void showSkippedPorts(const QStringList &lines) override;

    // The colour each kind shows in: yellow, green or red, else the system's entry background
    // (that of an unmarked field); a marked field shows the colour of an error.
    QColor colourOf(MessageKind kind) const;
    // The colour a control's background shows in.
    QColor background(Control control) const;
    MessageKind statusKind() const { return m_statusKind; }

    QProgressBar *progressBar() const { return m_progress; }
    QLabel *skippedPortsLabel() const { return m_skippedPorts; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // Forwards to whichever dialogs were chosen last; the context keeps a reference to this one.
    struct ChosenDialogs : FileDialogs
    {
        FileDialogs *chosen = nullptr;
        std::optional<QString> openSettingsFile() override { return chosen->openSettingsFile(); }
        std::optional<QString> saveSettingsFile() override { return chosen->saveSettingsFile(); }
    };

    // Building the form (SetupForm.cpp).
    void buildForm();
    QLayout *buildHeader();
    QWidget *buildApplicationGroup();
    QWidget *buildLoopGroup();
    QWidget *buildPerformanceGroup();
    QWidget *buildSensorGroup();
    QWidget *buildMessageGroup();
    QWidget *buildControlGroup();
    void setTabOrder();
    void nameForAssistiveTechnology();
    // A field's spoken name (caption, and unit where it has one) and description (what marked it,
    // then its tooltip).
    void describeField(Control field);
    // Keeps the reason of each mark: the next red message after the field was marked.
    void noteMark(Control field, bool marked);
    void paintBackground(Control control, MessageKind kind);
    // Reads the new message out, with what its colour means, without moving focus.
    void announceStatus();
    void fitUnitLabels();
    QWidget *add(Control control, QWidget *widget, const QString &tip);
    QComboBox *addList(Control list, const QStringList &entries, const QString &tip);

    void connectHandlers();
    void runListHandler(Control list, ChangedBy by);
    void dispatch(void (*handler)(SetupContext &));
    void exitProgram();
    // The end itself, once: the port released, the window closed, the event loop told to stop.
    void endProgram();
    QComboBox *list(Control list) const;

    SetupState m_state;
    Waits m_waits;
    SerialPort m_port;
    AdaptorLink m_link;
    QtFileDialogs m_platformDialogs;
    ChosenDialogs m_dialogs;
    SetupContext m_context;
    std::array<QWidget *, controlCount> m_controls{};
    QProgressBar *m_progress = nullptr;
    QLabel *m_skippedPorts = nullptr;
    QScrollArea *m_skippedArea = nullptr; // holds m_skippedPorts
    bool m_ended = false;
    // Where focus was when the running action started, to return there at its end.
    QPointer<QWidget> m_actionStarter;
    std::array<QString, controlCount> m_captions{};
    std::array<QString, controlCount> m_markReasons{};
    QList<Control> m_unexplainedMarks;
    QColor m_windowColour;
    MessageKind m_statusKind = MessageKind::Normal;
};
