// The two ways a polled key acts: once per press (with a latch) or on every pass while held.
#pragma once

// Once per press: true on the first pass that finds the key down with its latch armed and the
// condition met, disarming the latch. Any pass that finds the key up re-arms it; a failed
// condition leaves the latch as it is, so the key acts as soon as the condition holds.
bool pressed(int key, int* latch, bool condition = true);

// Repeat: true on every pass while the key is down and the condition holds.
bool held(int key, bool condition = true);
