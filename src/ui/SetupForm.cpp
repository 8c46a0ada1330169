// Builds the controls of the window: six framed groups under a header, in layouts so that no
// caption is clipped whatever the font or scale.
#include "ui/Setup.h"

#include "convert/ListRows.h"
#include "convert/Units.h"
#include "ui/Artwork.h"
#include "ui/EntryBox.h"
#include "ui/GroupFrame.h"
#include "ui/ProgressBarStyle.h"
#include "ui/TextFit.h"
#include "ui/WrapButton.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollArea>
#include <QVBoxLayout>

#include <iterator>
#include <tuple>

namespace {

QLabel *makeLabel(const QString &name, const QString &caption, QWidget *parent,
                  const QString &tip = QString())
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setToolTip(tip);
    return label;
}

// A centred caption broken onto two lines, as narrow as the words allow.
QLabel *makeTwoLineLabel(const QString &name, const QString &caption, QWidget *parent)
{
    QLabel *label = makeLabel(name, caption, parent);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    label->setMinimumWidth(twoLineWidth(label->fontMetrics(), caption));
    // Layouts do not always ask a wrapping label for its height; two lines must never be cut.
    label->setMinimumHeight(2 * label->fontMetrics().lineSpacing());
    return label;
}

} // namespace

QWidget *Setup::add(Control control, QWidget *widget, const QString &tip)
{
    widget->setObjectName(controlName(control));
    widget->setToolTip(tip);
    m_controls[static_cast<int>(control)] = widget;
    return widget;
}

QComboBox *Setup::addList(Control list, const QString &tip)
{
    auto *box = new QComboBox(this);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(listRows(list));
    box->setCurrentIndex(-1);
    box->setEditText(QString());
    add(list, box, tip);
    return box;
}

void Setup::buildForm()
{
    auto *column = new QVBoxLayout(this);
    column->setSpacing(10);
    column->addLayout(buildHeader());
    column->addWidget(buildApplicationGroup());
    column->addWidget(buildLoopGroup());
    column->addWidget(buildPerformanceGroup());
    auto *infoRow = new QHBoxLayout;
    infoRow->addWidget(buildSensorGroup());
    infoRow->addWidget(buildMessageGroup(), 1);
    column->addLayout(infoRow);
    column->addWidget(buildControlGroup());
    setTabOrder();
    nameForAssistiveTechnology();
}

QLayout *Setup::buildHeader()
{
    const QSize logoSize(138, 64);
    auto *logo = makeLabel(QStringLiteral("Image1"), QString(), this,
                           QStringLiteral("Tarsel Dravometer Flow Sensors"));
    logo->setPixmap(logoPixmap(logoSize, qApp->devicePixelRatio()));
    logo->setFixedSize(logoSize);
    logo->setScaledContents(true);

    QLabel *title = makeLabel(QStringLiteral("Label3"), QStringLiteral("Tarsel Dravometer Setup Tool"),
                              this, QStringLiteral("This Program Is Compatable With The 7-6610/7-6620"));
    QFont titleFont(QStringLiteral("Arial"), 18);
    titleFont.setStyleHint(QFont::SansSerif);
    title->setFont(titleFont);
    title->setAlignment(Qt::AlignCenter);

    QLabel *version = makeLabel(QStringLiteral("Version"), QStringLiteral("Version " APP_VERSION), this);
    version->setAlignment(Qt::AlignRight | Qt::AlignBottom);

    auto *row = new QHBoxLayout;
    row->addWidget(logo);
    auto *titleColumn = new QVBoxLayout;
    titleColumn->addWidget(title, 1);
    titleColumn->addWidget(version);
    row->addLayout(titleColumn, 1);
    return row;
}

QWidget *Setup::buildApplicationGroup()
{
    auto *group = new GroupFrame(
        QStringLiteral("Shape5"), QStringLiteral("Label26"), QStringLiteral(" Application Settings"),
        QStringLiteral("Set These Values First Then Click 'Read Sensor Settings' "
                       "or 'Restore Factory Settings' "),
        this);
    auto *grid = new QGridLayout;
    grid->setVerticalSpacing(2);
    int column = 0;
    const auto addField = [&](QLabel *label, QWidget *field) {
        label->setParent(group);
        field->setParent(group);
        grid->addWidget(label, 0, column, Qt::AlignLeft | Qt::AlignBottom);
        grid->addWidget(field, 1, column);
        ++column;
    };
    addField(makeLabel(QStringLiteral("Label19"), QStringLiteral("Flow/Velocity Units"), group),
             addList(Control::cboutputunit, QStringLiteral("Select Flow/Velocity Unit Of Measure")));
    grid->addWidget(makeLabel(QStringLiteral("Label9"), QStringLiteral(" / "), group), 1, column++);
    addField(makeLabel(QStringLiteral("Label20"), QStringLiteral("Time Base"), group),
             addList(Control::cbtimeunit,
                     QStringLiteral("Select Unit Of Time For The Flow/Velocity Measurement")));
    grid->addItem(new QSpacerItem(12, 0), 1, column++);
    addField(makeLabel(QStringLiteral("Label17"), QStringLiteral("Pipe ID"), group),
             add(Control::txtpipeid, new EntryBox(6, group),
                 QStringLiteral("Enter The Pipe Inner Diameter")));
    addField(makeLabel(QStringLiteral("Label24"), QStringLiteral("ID Units"), group),
             addList(Control::cbpipeidunit,
                     QStringLiteral("Select Pipe Inner Diameter Units in Inches or mm")));
    grid->addItem(new QSpacerItem(12, 0), 1, column++);
    addField(makeLabel(QStringLiteral("Label21"), QStringLiteral("K Factor"), group,
                       QStringLiteral("Look up table from manual")),
             add(Control::txtFactor, new EntryBox(7, group),
                 QStringLiteral("Look Up K factor From Sensor Manual  "
                                "Using The Pipe Inner Diameter and Fitting Type ")));
    addField(makeLabel(QStringLiteral("Label15"), QStringLiteral("K Factor Units"), group),
             addList(Control::cb_k_units, QStringLiteral("Enter The Units From The Table Used")));
    grid->setColumnStretch(column, 1);
    group->setContent(grid);
    return group;
}

QWidget *Setup::buildLoopGroup()
{
    auto *group = new GroupFrame(
        QStringLiteral("Shape8"), QStringLiteral("Label14"),
        QStringLiteral(" Loop Settings (4-20mA Sensors Only) "),
        QStringLiteral("Set These For 4-20mA Sensors (Ignored by R2W/Freq Sensors) "), this);
    auto *row = new QHBoxLayout;
    const auto addSetPoint = [&](const QString &labelName, const QString &caption, Control box,
                                 const QString &tip, Control unit) {
        row->addWidget(makeLabel(labelName, caption, group));
        row->addWidget(add(box, new EntryBox(8, group), tip));
        row->addWidget(add(unit, new QLabel(QStringLiteral("User Selected Unit"), group), QString()));
        row->addStretch(1);
    };
    addSetPoint(QStringLiteral("Label16"), QStringLiteral("4mA set point "), Control::txt4ma,
                QStringLiteral("Enter The Desired Flow Rate/Velocity At 4mA, "
                               "Can Be Negative and/or Higher Than The 20mA Setting "),
                Control::lbunit1);
    addSetPoint(QStringLiteral("Label25"), QStringLiteral("20mA set point "), Control::txt20ma,
                QStringLiteral("Enter The Desired Flow Rate/Velocity At 20 mA, "
                               "Can Be Negative and/or Lower Than The 4mA Setting"),
                Control::lbunit2);
    group->setContent(row);
    return group;
}

QWidget *Setup::buildPerformanceGroup()
{
    auto *group = new GroupFrame(
        QStringLiteral("Shape2"), QStringLiteral("Label27"), QStringLiteral(" Performance Settings"),
        QStringLiteral("These Settings Are Valid For For R2W, Frequency and 4-20mA Loop Type Sensors"), this);
    auto *grid = new QGridLayout;
    grid->setVerticalSpacing(2);
    grid->setHorizontalSpacing(16);

    grid->addWidget(makeLabel(QStringLiteral("Label2"), QStringLiteral("Averaging Time"), group), 0, 0,
                    Qt::AlignHCenter | Qt::AlignBottom);
    grid->addWidget(addList(Control::cbAverging,
                            QStringLiteral("Select The Sensor Averaging Time In Seconds")),
                    1, 0);
    grid->addWidget(makeTwoLineLabel(QStringLiteral("Label7"), QStringLiteral("Quick Response Sensitivity"),
                                     group),
                    0, 1);
    grid->addWidget(addList(Control::cbSensitivity,
                            QStringLiteral("Select The Desired Percent Of Full Scale Step Change Required To "
                                           "Force The Output To Respond Immediately "
                                           "and Jump To The New Value")),
                    1, 1);
    grid->addWidget(makeTwoLineLabel(QStringLiteral("Label10"), QStringLiteral("Noise Rejection Frequency"),
                                     group),
                    0, 2);
    grid->addWidget(addList(Control::cbRejection,
                            QStringLiteral("Select The Power Line Frequency For Noise Rejection")),
                    1, 2);
    grid->addWidget(makeLabel(QStringLiteral("Label1"), QStringLiteral(" Low Flow Cut Off"), group), 0, 3,
                    Qt::AlignLeft | Qt::AlignBottom);
    auto *cutoff = new QHBoxLayout;
    cutoff->setSpacing(8);
    cutoff->addWidget(add(Control::txtlowflowcutoff, new EntryBox(7, group),
                          QStringLiteral("Select The Minimum Desired Flow/Velocity Reading, "
                                         "Lower Values Will Be Shown As Zero, "
                                         "Use Higher Values For Noisy Pipe Conditions")));
    cutoff->addWidget(
        add(Control::lbunit3, new QLabel(QStringLiteral("User selected Unit"), group), QString()));
    grid->addLayout(cutoff, 1, 3);
    grid->setColumnStretch(4, 1);
    for (Control list : {Control::cbAverging, Control::cbSensitivity, Control::cbRejection})
        control(list)->setParent(group);
    group->setContent(grid);
    return group;
}

QWidget *Setup::buildSensorGroup()
{
    auto *group = new GroupFrame(QStringLiteral("Shape4"), QStringLiteral("Label8"),
                                 QStringLiteral(" Sensor Information"),
                                 QStringLiteral("Information Only, Valid If Sensor Settings Are Read"), this);
    const auto makeIdentityBox = [group] {
        auto *box = new QLineEdit(QStringLiteral("Not Read"), group);
        box->setReadOnly(true);
        box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("Not Read 000")));
        return box;
    };
    auto *grid = new QGridLayout;
    grid->setVerticalSpacing(2);
    grid->addWidget(makeLabel(QStringLiteral("Label6"), QStringLiteral("Serial Number"), group), 0, 0, 1, 2);
    grid->addWidget(makeLabel(QStringLiteral("Label4"), QStringLiteral("6"), group), 1, 0);
    grid->addWidget(add(Control::txtserialnum, makeIdentityBox(),
                        QStringLiteral("Indicates The Sensor Serial Number, "
                                       "Click Read Sensor Settings First")),
                    1, 1);
    grid->addWidget(makeLabel(QStringLiteral("Label18"), QStringLiteral("SensorType"), group), 0, 2);
    grid->addWidget(add(Control::txttype, makeIdentityBox(),
                        QStringLiteral("Indicates The Type Of Sensor Connected R2W or 4-20mA Current Loop, "
                                       "Click Read Sensor Settings First")),
                    1, 2);
    grid->setRowStretch(2, 1);
    group->setContent(grid);
    return group;
}

QWidget *Setup::buildMessageGroup()
{
    auto *group = new GroupFrame(QStringLiteral("Shape7"), QStringLiteral("Label13"),
                                 QStringLiteral(" Messages"), QString(), this);
    auto *status = new QPlainTextEdit(group);
    status->setReadOnly(true);
    status->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    status->setTabChangesFocus(true);
    // Three lines: the longest message wraps onto two, a file path may take a third.
    const int lines = 3;
    status->setFixedHeight(lines * status->fontMetrics().lineSpacing() + 2 * status->frameWidth()
                             + 2 * int(status->document()->documentMargin()));
    status->setMinimumWidth(status->fontMetrics().averageCharWidth() * 40);
    auto *box = new QVBoxLayout;
    box->setSpacing(3);
    box->addWidget(add(Control::txtmsg, status,
                       QStringLiteral("Program Status Message Area, A Red Color Means Something Is Wrong ")));

    // Slim, and its room kept while hidden, so the window does not jump when an action starts.
    m_progress = new QProgressBar(group);
    m_progress->setObjectName(QStringLiteral("pbProgress"));
    m_progress->setAccessibleName(QStringLiteral("Progress"));
    m_progress->setFixedHeight(m_progress->fontMetrics().height() + 4);
    m_progress->setTextVisible(true);
    m_progress->setAlignment(Qt::AlignCenter);
    // Opaque, so that a step repaints the bar alone and not the group and window behind it.
    m_progress->setAutoFillBackground(true);
    m_progress->setStyle(new ProgressBarStyle(this));
    QSizePolicy keepRoom = m_progress->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    m_progress->setSizePolicy(keepRoom);
    m_progress->hide();

    // In the bar's place: the two never show at once (the bar only while an action runs). Room for
    // three lines (one port's longest line, wrapped) is kept from the start, and more lines scroll,
    // so that no control moves under the pointer when they appear.
    m_skippedPorts = makeLabel(QStringLiteral("lbSkippedPorts"), QString(), group);
    m_skippedPorts->setWordWrap(true);
    m_skippedPorts->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_skippedPorts->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_skippedArea = new QScrollArea(group);
    m_skippedArea->setWidget(m_skippedPorts);
    m_skippedArea->setWidgetResizable(true);
    m_skippedPorts->setAutoFillBackground(false); // the group's own background, as before
    m_skippedArea->setFrameShape(QFrame::NoFrame);
    m_skippedArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_skippedArea->setFixedHeight(3 * m_skippedPorts->fontMetrics().lineSpacing() + 2);
    QSizePolicy neitherWidenNorGrow(QSizePolicy::Ignored, QSizePolicy::Fixed);
    neitherWidenNorGrow.setRetainSizeWhenHidden(true);
    m_skippedArea->setSizePolicy(neitherWidenNorGrow);
    m_skippedArea->hide();
    auto *below = new QGridLayout;
    below->addWidget(m_progress, 0, 0, Qt::AlignTop);
    below->addWidget(m_skippedArea, 0, 0);
    box->addLayout(below);
    group->setContent(box);
    return group;
}

QWidget *Setup::buildControlGroup()
{
    auto *group = new GroupFrame(QStringLiteral("Shape6"), QStringLiteral("Label5"),
                                 QStringLiteral(" Controls"), QString(), this);
    const std::tuple<Control, const char *, const char *> buttons[] = {
        {Control::cmdReadSensor, "Read Sensor Settings", "Find A Sensor, Read and Show It's Settings"},
        {Control::default_, "Restore Factory Settings",
         "Restore Displayed Performance and Loop Settings To Factory Values, "
         "Click 'Write Settings To Sensor' to actually save"},
        {Control::cmdSaveSensor, "Write Settings To Sensor",
         "Saves Currently Displayed Settings To The Sensor"},
        {Control::Read_file, "Load Settings From File", "Loads Settings From A File"},
        {Control::Save_settings, "Save Settings To File", "Saves Settings To A File"},
        {Control::cmdok, "Exit", "Stop The Program"},
    };
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    for (const auto &[button, caption, tip] : buttons) {
        row->addWidget(add(button, new WrapButton(QLatin1String(caption), group), QLatin1String(tip)));
        row->addStretch(1);
    }
    // Exit stays usable while an action runs, so it never shows the window's busy cursor.
    control(Control::cmdok)->setCursor(Qt::ArrowCursor);
    group->setContent(row);
    return group;
}

void Setup::setTabOrder()
{
    static constexpr Control order[] = {
        Control::cboutputunit, Control::cbtimeunit, Control::txtpipeid, Control::cbpipeidunit,
        Control::txtFactor, Control::cb_k_units, Control::txt4ma, Control::txt20ma, Control::cbAverging,
        Control::cbSensitivity, Control::cbRejection, Control::txtlowflowcutoff, Control::txtserialnum,
        Control::txttype, Control::txtmsg, Control::cmdReadSensor, Control::default_, Control::cmdSaveSensor,
        Control::Read_file, Control::Save_settings, Control::cmdok,
    };
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(control(order[i - 1]), control(order[i]));
    control(order[0])->setFocus(Qt::OtherFocusReason); // the window opens on the first box to edit
}

void Setup::nameForAssistiveTechnology()
{
    // Each box and list is announced by its caption and explained by its tooltip; buttons speak
    // their captions themselves, groups their headings.
    const std::pair<const char *, Control> captions[] = {
        {"Label19", Control::cboutputunit}, {"Label20", Control::cbtimeunit}, {"Label17", Control::txtpipeid},
        {"Label24", Control::cbpipeidunit}, {"Label21", Control::txtFactor}, {"Label15", Control::cb_k_units},
        {"Label16", Control::txt4ma}, {"Label25", Control::txt20ma}, {"Label2", Control::cbAverging},
        {"Label7", Control::cbSensitivity}, {"Label10", Control::cbRejection},
        {"Label1", Control::txtlowflowcutoff}, {"Label6", Control::txtserialnum},
        {"Label18", Control::txttype}, {"Label13", Control::txtmsg},
    };
    for (const auto &[labelName, controlId] : captions) {
        auto *label = findChild<QLabel *>(QLatin1String(labelName));
        label->setBuddy(control(controlId));
        m_captions[static_cast<int>(controlId)] = label->text().simplified();
        describeField(controlId);
    }
    // A unit is read with its set point: "20mA set point, US gal/min".
    for (auto [field, unit] : unitLabelOf)
        static_cast<QLabel *>(control(unit))->setBuddy(control(field));
    for (Control button : {Control::cmdReadSensor, Control::default_, Control::cmdSaveSensor,
                           Control::Read_file, Control::Save_settings, Control::cmdok})
        control(button)->setAccessibleDescription(control(button)->toolTip());
    for (GroupFrame *group : findChildren<GroupFrame *>()) {
        group->setAccessibleName(group->heading()->text().simplified());
        group->setAccessibleDescription(group->heading()->toolTip());
    }
}

void Setup::fitUnitLabels()
{
    // Wide enough for every unit name, so a change of unit never clips a label or shifts the row.
    int widest = 0;
    for (int output = 0; output < int(std::size(outputUnits)); ++output)
        for (int time = 0; time < int(std::size(timeUnits)); ++time)
            widest = std::max(widest, fontMetrics().horizontalAdvance(unitName(output, time)));
    for (Control label : {Control::lbunit1, Control::lbunit2, Control::lbunit3})
        control(label)->setMinimumWidth(widest + 4);
}
