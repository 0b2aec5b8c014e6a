// The machine's own clock for the window's loop.
#include "platform/sdl/host_clock.hpp"

#include <thread>

#include "platform/sdl/event_wait.hpp"

HostClock::Duration SystemClock::now() { return std::chrono::steady_clock::now().time_since_epoch(); }

void SystemClock::sleep(Duration d) { std::this_thread::sleep_for(d); }

bool SystemClock::wait(const EventWait& events, int ms) { return events.wait(ms); }
