#pragma once
#include "link/AdaptorLink.h"
#include "link/Waits.h"
#include "protocol/Identify.h"
#include "protocol/ParameterTable.h"

#include <cstdint>
#include <optional>
#include <vector>

// Identifies the sensor, writes its level's parameters with the user key and sends the closing
// command. The caller takes `values` before any wait, so that edits made while the write lets the
// window run do not mix into it. False when identification fails or any command is refused or
// goes unanswered; the writes sent before it stay sent. Exit after the first value has gone out lets
// the write finish, or fail, before the program ends; given `heldOn`, the end waits until the caller
// lets that go (after checking the write). `identified` hears the identity, `progress` of each
// parameter before it is written.
bool writeSettings(AdaptorLink &link, const QString &decimalSep, const SensorValues &values,
                   const StepProgress &progress = {}, const IdentityTaken &identified = {},
                   std::optional<Waits::EndDeferral> *heldOn = nullptr);

// What reading a write back found.
struct WriteCheck
{
    bool readAll = false;               // every parameter answered with a value
    std::vector<Parameter> differing;   // those whose value is not the one sent
};

// After an accepted write: reads back every parameter the sensor can report at the level the
// write identified and compares each with what the write sent. An accepted write proves nothing
// by itself; only the values the sensor gives back do.
WriteCheck checkWrittenSettings(AdaptorLink &link, const QString &decimalSep, std::int16_t sensorLevel,
                                const SensorValues &sent, const StepProgress &progress = {});
