#pragma once
// Lets the test's windows run: pending messages are dispatched as the
// program's own loop would (dialog keys included), so a test never blocks
// waiting for a message nobody sends.
#include <functional>

namespace vexmar::testing {

// Runs every pending message of this thread.
void PumpMessages();
// Runs messages until `done` is true or `timeoutMs` has passed; the result
// is `done()` at the end.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);

}  // namespace vexmar::testing
