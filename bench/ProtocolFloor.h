#pragma once
// The least wall time of a search, from the waits it must keep and the line time of its exchanges.

constexpr double charMs = 1.04;   // one character at 9600 baud
constexpr double latencyMs = 3.0; // the simulated sensor's answer latency

// Mandated waits of one opened port whose adaptor stays silent: wake-up, reply delay, time-out.
constexpr double silentPortMs = 1500 + 110 + 150;
// A port with adaptor and sensor: the above, two 10 ms gaps, the sensor check's delay, its
// exchange ("$0,0" CR in, echo, latency, "1" CR out) and the pause that ends it.
constexpr double sensorExchangeMs = 5 * charMs + latencyMs + 2 * charMs;
constexpr double sensorPortMs = silentPortMs + 10 + 110 + sensorExchangeMs + 25 + 10;
