#pragma once
#include "state/SetupState.h"
#include "state/SetupView.h"

#include <QString>
#include <cstddef>

// The units of the four unit lists: each row's text, the name the unit labels show and the factor
// scaling works with. A unit's index in its table is its row in the window's list, the value the
// sensor and the settings files keep.

constexpr double litresPerCubicMetre = 1000.0;
constexpr double litresPerUsGallon = 3.7854118;

// A velocity becomes a flow through the pipe's cross-section, so only a velocity needs the pipe.
enum class Measure { Velocity, Volume };

struct OutputUnit
{
    const char *row;  // in the Flow/Velocity Units list
    const char *name; // in the unit labels, before "/" and the time unit
    Measure measure;
    double factor; // a volume: litres in one unit; a velocity: units in one metre
};

constexpr OutputUnit outputUnits[] = {
    {"meter", "m", Measure::Velocity, 1.0},
    {"feet", "ft", Measure::Velocity, 3.2808399},
    {"meter^3", "m3", Measure::Volume, litresPerCubicMetre},
    {"liter", "liter", Measure::Volume, 1.0},
    {"feet^3", "ft3", Measure::Volume, 28.316847},
    {"US gal", "US gal", Measure::Volume, litresPerUsGallon},
    {"Imp gal", "Imp gal", Measure::Volume, 4.54596},
    {"acre in", "acre in", Measure::Volume, 102790.1546449748},
};

struct TimeUnit
{
    const char *row; // in the Time Base list and, after "/", in the unit labels
    double perSecond; // one second in this unit
};

constexpr TimeUnit timeUnits[] = {
    {"sec", 1.0}, {"min", 1.0 / 60.0}, {"hour", 1.0 / 3600.0}, {"day", 1.0 / 86400.0},
};

struct PipeIdUnit
{
    const char *row; // in the ID Units list
    double millimetres; // in one unit
};

constexpr PipeIdUnit pipeIdUnits[] = {{"mm", 1.0}, {"inch", 25.4}};

struct KFactorUnit
{
    const char *row; // in the K Factor Units list
    double litres; // the volume the pulses are counted for
};

constexpr KFactorUnit kFactorUnits[] = {{"pulses/gallon", litresPerUsGallon}, {"pulses/liter", 1.0}};

// The one unit label the sensor's manual writes without its blank; the window keeps its spelling.
struct OddUnitName
{
    int outputUnit, timeUnit;
    const char *name;
};
constexpr OddUnitName oddUnitName{7, 2, "acrein/hour"};

// The unit in `row` of its table; none for a row the table does not have (-1: nothing chosen).
template <typename Unit, std::size_t rows>
constexpr const Unit *unitAt(const Unit (&table)[rows], int row)
{
    return row >= 0 && row < int(rows) ? &table[row] : nullptr;
}

// Whether the output unit is a velocity, which needs the pipe's diameter to become a flow.
constexpr bool unitUsesPipe(int outputUnit)
{
    const OutputUnit *unit = unitAt(outputUnits, outputUnit);
    return unit && unit->measure == Measure::Velocity;
}

// "US gal/min"; empty while either row lies outside its table (a list with no selection).
QString unitName(int outputUnit, int timeUnit);

// Shows the record's unit name in the three unit labels, or empties them when there is none.
void updateUnitLabels(SetupView &view, const SetupState &state);
