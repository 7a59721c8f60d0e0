// A moment of the local clock, read once, so that its date and its time
// always belong together.
#pragma once

namespace greetcard {

struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// The local clock now (one reading).
LocalTime localNow();

}  // namespace greetcard
