#pragma once
#include <QList>
#include <QMetaType>
#include <QString>

// What a simulated sensor does wrong for one command.
enum class SimFault {
    None,
    Refuse,    // answers "ERR"
    Silent,    // neither echo nor answer
    NoAnswer,  // echoes the command, answers nothing
    Garbage,   // answers noise instead of the value
    Truncated, // the answer loses its last character and its carriage return
    Extra,     // further characters follow the answer's carriage return
    Late,      // the answer comes lateMs after the command
    HangUp,    // the line goes away right after the echo
    NotKept,   // a write answered as accepted, its value not stored
    KeptUnanswered, // a write stored, echoed, never answered
};

// A fault bound to the commands with this op code and parameter ("$1,9" is op 1, parameter 9;
// "$0,0" and the closing "$3,0,..." use parameter 0).
struct CommandFault
{
    int op = 1;
    int param = 0;
    SimFault fault = SimFault::None;
};

// One simulated port: the adaptor on it, the sensor behind it, their timing and their faults.
struct SimConfig
{
    bool adaptor = true;             // false: the port is silent
    bool helloWithCr = false;        // the adaptor answers "Hello" and a carriage return
    bool sensor = true;              // false: an adaptor with nothing behind it
    int level = 20;                  // command-set level, 12 or 20
    bool loopOutput = true;          // 4-20 mA type; false: R2W
    QByteArray typeAnswer;           // answer to the type query instead of loopOutput's, when set
    QString serial = QStringLiteral("DV12345678"); // as the tool shows it; sent reversed
    bool answersZero = false;        // "$0,0" answered "0"
    bool silentAfterIdentification = false; // mute from the answer to the serial number on
    int latencyMs = 3;               // from a command's carriage return to its answer
    int helloLatencyMs = 3;          // from "Hello" to the adaptor's own answer
    int lateMs = 300;                // answer time of a Late fault
    double charMs = 1.04;            // line time of one character at 9600 baud
    QList<CommandFault> faults;

    SimConfig &withFault(int op, int param, SimFault fault)
    {
        faults.append({op, param, fault});
        return *this;
    }
    SimFault faultFor(int op, int param) const
    {
        for (const CommandFault &f : faults)
            if (f.op == op && f.param == param)
                return f.fault;
        return SimFault::None;
    }
};

Q_DECLARE_METATYPE(SimConfig)

inline SimConfig silentPort()
{
    SimConfig config;
    config.adaptor = false;
    return config;
}

inline SimConfig adaptorOnly()
{
    SimConfig config;
    config.sensor = false;
    return config;
}
