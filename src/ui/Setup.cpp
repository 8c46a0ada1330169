#include "ui/Setup.h"

#include "core/AppSettingChanges.h"
#include "core/InitialState.h"
#include "core/Workflows.h"
#include "ui/Accessibility.h"
#include "ui/Artwork.h"
#include "ui/EntryBox.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollArea>
#include <QScrollBar>

#include <utility>

namespace {

// The file dialog answered in advance: this file to open, nothing to save.
struct GivenFile : FileDialogs
{
    explicit GivenFile(const QString &path) : path(path) {}
    std::optional<QString> openSettingsFile() override { return path; }
    std::optional<QString> saveSettingsFile() override { return std::nullopt; }
    QString path;
};

} // namespace

Setup::Setup(const QStringList &comPortPaths, QWidget *parent) : Setup(fixedPorts(comPortPaths), parent) {}

Setup::Setup(PortList ports, QWidget *parent)
    : QWidget(parent),
      m_port(std::move(ports)),
      m_link(m_port, m_waits),
      m_platformDialogs(this),
      m_context{m_state, *this, m_link, m_dialogs}
{
    m_dialogs.chosen = &m_platformDialogs;
    installAccessibleRoles();
    // The system's colour for entry backgrounds as the window opens: an unmarked field's, a notice's.
    m_windowColour = QColor(QApplication::palette().color(QPalette::Active, QPalette::Base).rgb());
    setObjectName(QStringLiteral("Setup"));
    setWindowTitle(QStringLiteral("7_6610 DravoMeter Set Up Program"));
    setWindowIcon(windowIconArt());
    buildForm();
    connectHandlers();
    initialiseState(m_state, *this);
    fitUnitLabels();
}

void Setup::connectHandlers()
{
    // activated, not currentIndexChanged: it is the user's choice, re-choosing the same entry included.
    for (Control unitList : {Control::cboutputunit, Control::cbtimeunit, Control::cbpipeidunit})
        connect(list(unitList), &QComboBox::activated, this,
                [this, unitList] { runListHandler(unitList, ChangedBy::User); });
    // textEdited, not textChanged: the program showing a record changes nothing the user must check.
    connect(static_cast<QLineEdit *>(control(Control::txtpipeid)), &QLineEdit::textEdited, this,
            [this] { pipeIdEdited(*this); });
    connect(static_cast<QLineEdit *>(control(Control::txtFactor)), &QLineEdit::textEdited, this,
            [this] { kFactorEdited(*this); });

    const std::pair<Control, void (*)(SetupContext &)> actions[] = {
        {Control::cmdReadSensor, readSensorSettings}, {Control::default_, restoreFactorySettings},
        {Control::cmdSaveSensor, writeSensorSettings}, {Control::Read_file, loadSettingsFromFile},
        {Control::Save_settings, saveSettingsToFile},
    };
    for (const auto &[button, handler] : actions)
        connect(static_cast<QAbstractButton *>(control(button)), &QAbstractButton::clicked, this,
                [this, handler = handler] { dispatch(handler); });
    connect(static_cast<QAbstractButton *>(control(Control::cmdok)), &QAbstractButton::clicked, this,
            &Setup::exitProgram);
}

void Setup::runListHandler(Control unitList, ChangedBy by)
{
    switch (unitList) {
    case Control::cboutputunit: outputUnitChosen(m_state, *this, by); break;
    case Control::cbtimeunit: timeUnitChosen(m_state, *this, by); break;
    case Control::cbpipeidunit:
        if (by == ChangedBy::User)
            pipeUnitChosen(*this);
        break;
    default: break; // the other lists have no change handler
    }
}

void Setup::dispatch(void (*handler)(SetupContext &))
{
    // After Exit, events still queued (a second click) must not start anything.
    if (m_ended)
        return;
    try {
        handler(m_context);
    } catch (const ProgramEnded &) {
        // Exit was clicked while the handler waited: at once, or when the write it let finish was done.
        endProgram();
    }
}

void Setup::loadSettingsFile(const QString &path)
{
    GivenFile given(path);
    FileDialogs *chosen = std::exchange(m_dialogs.chosen, &given);
    dispatch(loadSettingsFromFile);
    m_dialogs.chosen = chosen;
}

void Setup::exitProgram()
{
    dispatch(requestExit);
    if (m_waits.programEnded())
        endProgram();
}

void Setup::endProgram()
{
    if (m_ended)
        return;
    m_ended = true;
    m_link.closePort();
    close();
    QCoreApplication::exit(0);
}

void Setup::closeEvent(QCloseEvent *event)
{
    // The close box ends the program like Exit, but leaves the field marks as they are.
    if (!m_ended && !requestEnd(m_context)) {
        event->ignore(); // a write finishes first, then closes the window
        return;
    }
    endProgram();
    event->accept();
}

QComboBox *Setup::list(Control list) const { return qobject_cast<QComboBox *>(control(list)); }

QString Setup::text(Control control) const
{
    QWidget *widget = this->control(control);
    if (auto *box = qobject_cast<QLineEdit *>(widget))
        return box->text();
    if (auto *list = qobject_cast<QComboBox *>(widget))
        return list->currentText();
    if (auto *area = qobject_cast<QPlainTextEdit *>(widget))
        return area->toPlainText();
    if (auto *label = qobject_cast<QLabel *>(widget))
        return label->text();
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        return button->text();
    return {};
}

void Setup::setText(Control control, const QString &text)
{
    QWidget *widget = this->control(control);
    if (auto *entry = qobject_cast<EntryBox *>(widget))
        entry->showText(text);
    else if (auto *box = qobject_cast<QLineEdit *>(widget))
        box->setText(text);
    else if (auto *list = qobject_cast<QComboBox *>(widget))
        list->setEditText(text);
    else if (auto *area = qobject_cast<QPlainTextEdit *>(widget))
        area->setPlainText(text);
    else if (auto *label = qobject_cast<QLabel *>(widget))
        label->setText(text);
    else if (auto *button = qobject_cast<QAbstractButton *>(widget))
        button->setText(text);
    if (control == Control::txtmsg)
        announceStatus();
    for (auto [field, unit] : unitLabelOf)
        if (control == unit)
            describeField(field);
}

void Setup::announceStatus()
{
    QWidget *status = control(Control::txtmsg);
    const QString message = text(Control::txtmsg);
    QString meaning;
    if (m_statusKind == MessageKind::Error)
        meaning = QStringLiteral("Error: ");
    else if (m_statusKind == MessageKind::Good)
        meaning = QStringLiteral("Success: ");
    else if (m_statusKind == MessageKind::Busy)
        meaning = QStringLiteral("Notice: ");
    status->setAccessibleDescription(message.isEmpty() ? status->toolTip() : meaning + message);
    if (m_statusKind == MessageKind::Error && !message.isEmpty()) {
        for (Control field : std::as_const(m_unexplainedMarks)) {
            m_markReasons[static_cast<int>(field)] = message;
            describeField(field);
        }
        m_unexplainedMarks.clear();
    }
    // Qt 6.4 has no announcement event: a notification that shows is what screen readers speak.
    QAccessibleEvent shown(status, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

void Setup::noteMark(Control field, bool marked)
{
    QString &reason = m_markReasons[static_cast<int>(field)];
    m_unexplainedMarks.removeAll(field);
    // Marks come before their message; one set after a red message is already shown takes that one.
    reason = marked && m_statusKind == MessageKind::Error ? text(Control::txtmsg) : QString();
    if (marked)
        m_unexplainedMarks << field;
    describeField(field);
}

void Setup::describeField(Control field)
{
    QWidget *widget = control(field);
    const QString &caption = m_captions[static_cast<int>(field)];
    if (caption.isEmpty())
        return; // not a field
    QString name = caption;
    for (auto [box, unit] : unitLabelOf)
        if (field == box && !text(unit).isEmpty())
            name += QStringLiteral(", ") + text(unit);
    const QString &reason = m_markReasons[static_cast<int>(field)];
    widget->setAccessibleName(name);
    widget->setAccessibleDescription(reason.isEmpty() ? widget->toolTip()
                                                      : reason + QStringLiteral(" - ") + widget->toolTip());
}

int Setup::currentIndex(Control list) const
{
    // The shown text decides: Qt keeps the old row while the user's typed text is shown. Blanks at
    // either end do not count, neither typed nor in the entries (" 1/4   second ").
    const QComboBox *box = this->list(list);
    const QString shown = box->currentText().trimmed();
    for (int row = 0; row < box->count() && !shown.isEmpty(); ++row)
        if (box->itemText(row).trimmed() == shown)
            return row;
    return -1;
}

void Setup::setCurrentIndex(Control list, int row)
{
    QComboBox *box = this->list(list);
    if (row >= 0 && row < box->count()) {
        box->setCurrentIndex(row);
        box->setEditText(box->itemText(row));
    } else {
        box->setCurrentIndex(-1);
        box->setEditText(QString());
    }
    runListHandler(list, ChangedBy::Program);
}

int Setup::count(Control list) const { return this->list(list)->count(); }

QColor Setup::colourOf(MessageKind kind) const
{
    switch (kind) {
    case MessageKind::Busy: return QColor(255, 255, 0);
    case MessageKind::Good: return QColor(0, 240, 15);
    case MessageKind::Error: return QColor(255, 0, 0);
    case MessageKind::Normal:
    case MessageKind::SkippedPort: break; // never on the status line
    }
    return m_windowColour;
}

void Setup::paintBackground(Control control, MessageKind kind)
{
    QWidget *widget = this->control(control);
    QPalette palette = widget->palette();
    const QColor colour = colourOf(kind);
    // Already this colour in every state the widget may take: nothing to repaint, and setting it
    // again would still make Qt work out the inherited palette.
    bool alreadySet = true;
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        alreadySet = alreadySet && palette.isBrushSet(group, QPalette::Base)
                  && palette.color(group, QPalette::Base) == colour;
    if (alreadySet)
        return;
    palette.setColor(QPalette::Base, colour);
    widget->setPalette(palette);
}

void Setup::showStatus(MessageKind kind, const QString &text)
{
    m_statusKind = kind;
    paintBackground(Control::txtmsg, kind);
    setText(Control::txtmsg, text);
}

void Setup::setMarked(Control field, bool marked)
{
    paintBackground(field, marked ? MessageKind::Error : MessageKind::Normal);
    if (field != Control::txtmsg)
        noteMark(field, marked);
}

QColor Setup::background(Control control) const
{
    return QColor(this->control(control)->palette().color(QPalette::Base).rgb());
}

void Setup::setEnabled(Control control, bool enabled) { this->control(control)->setEnabled(enabled); }

bool Setup::isEnabled(Control control) const { return this->control(control)->isEnabled(); }

void Setup::setBusy(bool busy)
{
    QWidget *status = control(Control::txtmsg);
    if (busy) {
        setCursor(Qt::BusyCursor);
        // Before the buttons lock, or Qt hands focus on to the next enabled control, Exit, where a
        // second Space would end the program. The read-only status box takes no key that acts.
        if (!m_actionStarter && focusWidget() != status)
            m_actionStarter = focusWidget();
        status->setFocus(Qt::OtherFocusReason);
    } else {
        unsetCursor();
        if (m_actionStarter && m_actionStarter->isEnabled() && focusWidget() == status)
            m_actionStarter->setFocus(Qt::OtherFocusReason);
        m_actionStarter = nullptr;
    }
}

void Setup::showProgress(int step, int total, const QString &text)
{
    m_progress->setFormat(text);
    m_progress->setAccessibleName(text); // read out, not only the number
    m_progress->setRange(0, total);
    m_progress->setValue(step);
    m_progress->show();
}

void Setup::hideProgress()
{
    m_progress->hide();
    m_progress->setAccessibleName(QStringLiteral("Progress"));
    m_progress->reset(); // the next action starts from nothing done
}

void Setup::showSkippedPorts(const QStringList &lines)
{
    m_skippedPorts->setText(lines.join(QLatin1Char('\n')));
    // A scroll area does not ask a wrapping label for its height; every line must show whole, also
    // beside the scroll bar that more than two lines bring.
    const int width = m_skippedArea->width() - m_skippedArea->verticalScrollBar()->sizeHint().width();
    m_skippedPorts->setMinimumHeight(qMax(0, m_skippedPorts->heightForWidth(width)));
    m_skippedArea->setVisible(!lines.isEmpty());
}
