#pragma once
#include "SimPorts.h"
#include "StatusRecorder.h"

#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QTest>
#include <QVariant>

// Replaces the text of a box, or of a list's edit part, as a user would: select all, delete, type.
inline void typeText(Setup &window, Control entry, const QString &text)
{
    auto *list = qobject_cast<QComboBox *>(window.control(entry));
    QLineEdit *edit = list ? list->lineEdit() : qobject_cast<QLineEdit *>(window.control(entry));
    QVERIFY(edit);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

// A simulated sensor of this level; a type answer, when given, replaces that of the 4-20 mA type.
inline SimConfig sensorAt(int level, const QByteArray &typeAnswer = {}, const QString &serial = "DV12345678")
{
    SimConfig config;
    config.level = level;
    config.typeAnswer = typeAnswer;
    config.serial = serial;
    return config;
}

// The commands with which a sensor of level `n` is identified.
inline QString identification(int n) { return n == 12 ? "$1,25\r$1,12\r$1,1\r" : "$1,25\r$1,5\r$1,3\r"; }

// What a user sets, by control: a box's text, or a list's row.
using Entries = QMap<Control, QVariant>;
inline bool isList(Control c) { return c >= Control::cboutputunit; }

// Unlike every value the simulated sensor starts with; litres, so that one sensor unit is one litre a second.
inline const Entries usualEntries = {{Control::txtFactor, "100"}, {Control::txtpipeid, "150"},
    {Control::txt4ma, "-2.5"}, {Control::txt20ma, "7.25"}, {Control::txtlowflowcutoff, "0.125"},
    {Control::cboutputunit, 3}, {Control::cbtimeunit, 0}, {Control::cbpipeidunit, 0},
    {Control::cb_k_units, 1}, {Control::cbAverging, 4}, {Control::cbSensitivity, 2},
    {Control::cbRejection, 0}};

// What the window shows, from the first entry box up to `last`.
inline QMap<Control, QString> shownTexts(const Setup &window, Control last = Control::lbunit3)
{
    QMap<Control, QString> shown;
    for (Control c : allControls())
        if (c <= last)
            shown[c] = window.text(c);
    return shown;
}

// A window on a simulated sensor at COM1, the usual entries set, connected as a search leaves it.
struct WindowRig
{
    explicit WindowRig(const SimConfig &config, bool connected = true)
        : sim(ports.add(1, config)), window(ports.devicePaths())
    {
        enter();
        if (connected && window.link().openPort(1) == PortOpening::Opened)
            window.state().linkState = LinkState::Connected;
        status.clear();
    }
    explicit WindowRig(int level = 20, bool connected = true) : WindowRig(sensorAt(level), connected) {}

    // Every byte the tool sent, in order, and the least time it takes: echoes at 1.04 ms a character,
    // answers of two characters or more after 3 ms, and 25 ms after each command.
    QString traffic() const { return QString::fromLatin1(sim.received()); }
    qint64 leastLineTime() const { return qint64(1.04 * traffic().size()) + 30 * traffic().count('\r'); }
    void click(Control button) { QTest::mouseClick(window.control(button), Qt::LeftButton); }

    // The usual entries but for `changes`; decimals as the locale writes them.
    void enter(const Entries &changes = {})
    {
        Entries all = usualEntries;
        all.insert(changes);
        for (auto [c, value] : all.asKeyValueRange())
            isList(c) ? window.setCurrentIndex(c, value.toInt())
                      : typeText(window, c, value.toString().replace('.', QLocale().decimalPoint()));
    }

    SimPorts ports;
    SimulatedPort &sim;
    Setup window;
    StatusRecorder status{window};
};
