// The default key poll.
#include "input/KeyPoll.h"

#include <FL/Fl.H>

KeyPoll keyPoll = Fl::get_key;
