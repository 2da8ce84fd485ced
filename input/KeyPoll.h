// The key poll: whether a key is held down now. The event handler asks it for every key on
// every event; tests replace it to hold keys without a keyboard.
#pragma once

// key: a toolkit key code (upper-case letters name the letter key, FL_F + n, FL_Up, ...).
// Returns non-zero while the key is down.
using KeyPoll = int (*)(int key);
extern KeyPoll keyPoll;  // default: Fl::get_key, the physical key state
