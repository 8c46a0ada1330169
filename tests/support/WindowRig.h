#pragma once
#include "SimPorts.h"
#include "StatusRecorder.h"
#include "WindowInput.h"

#include <QLocale>
#include <QTest>
#include <QVariant>

// What a user sets, by control: a box's text, or a list's row.
using Entries = QMap<Control, QVariant>;
inline bool isList(Control c) { return c >= Control::cboutputunit; }

// Unlike every value the simulated sensor starts with; litres, so that one sensor unit is one litre a second.
inline const Entries usualEntries = {{Control::txtFactor, "100"}, {Control::txtpipeid, "150"},
    {Control::txt4ma, "-2.5"}, {Control::txt20ma, "7.25"}, {Control::txtlowflowcutoff, "0.125"},
    {Control::cboutputunit, 3}, {Control::cbtimeunit, 0}, {Control::cbpipeidunit, 0}, {Control::cb_k_units, 1},
    {Control::cbAverging, 4}, {Control::cbSensitivity, 2}, {Control::cbRejection, 0}};

// What the window shows, from the first entry box up to `last`.
inline QMap<Control, QString> shownTexts(const Setup &window, Control last = Control::lbunit3)
{
    QMap<Control, QString> shown;
    for (int c = 0; c <= int(last); ++c)
        shown[Control(c)] = window.text(Control(c));
    return shown;
}

// A window on a simulated sensor at COM1, the usual entries set, connected as a search leaves it; its status since.
struct WindowRig
{
    explicit WindowRig(int level = 20, bool connected = true)
        : sim(ports.add(1, [level] { SimConfig c; c.level = level; return c; }())), window(ports.devicePaths())
    {
        enter();
        if (connected && window.link().OpenPort(1) == 1)
            window.state().linkState = LinkState::Connected;
        status.clear();
    }

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
