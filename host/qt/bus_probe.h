// Asks a D-Bus bus whether it answers before handing its address to Qt D-Bus, whose connect
// waits without any bound and, while it waits, serves no other connection of the program.
#pragma once

#include <chrono>
#include <string>

namespace qthost {

// True when the bus at a server address (entries separated by ";", as D-Bus writes them)
// greets a client before the deadline: the first entry that takes the connection accepts the
// authentication, or names the mechanisms it would take, and answers the Hello call. Entries
// of the unix transport (path, abstract, runtime) and of tcp with a numeric host or localhost
// are tried; the others count as absent.
bool busAnswers(const std::string& address, std::chrono::steady_clock::time_point deadline);

}  // namespace qthost
