#pragma once
#include <cstdint>

// What the last port search found; the workflows search again whenever it is below Connected.
enum class LinkState : std::int16_t {
    NoAdaptor = 0,  // no port answered "Hello"
    NoSensor = 1,   // an adaptor answered, no sensor behind it
    Connected = 2,  // adaptor and sensor answered; the port stays open
};
