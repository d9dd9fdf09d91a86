#pragma once

namespace corvane {

// Waits the given number of milliseconds precisely: sleeps of 20 ms while more than 40 ms remain,
// yields while more than 20 ms remain, and spins for the rest. Zero or less returns at once.
void preciseDelay(double milliseconds);

} // namespace corvane
