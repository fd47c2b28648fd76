#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Test stand-in for the event loop's services while the real headless backend is not in the tree:
// a virtual clock, timers fired in due order, posted calls, the event log.
namespace fakeloop {

void reset(bool headless = true);
// Lets ms of virtual time pass, firing due timers and posted calls on the way.
void runFor(int ms);
std::int64_t now();
const std::vector<std::string>& events();
int raiseRequests();

} // namespace fakeloop
