#pragma once
// The threads of the running test program, read from /proc. A fixture checks
// that the threads its test started have ended when it tears down, and the
// program checks once more when main has returned.
#include <map>
#include <string>

namespace TestThreads
{

// Every thread of the process but the calling one: id and name.
std::map<int, std::string> others();

// Waits until no thread is left but the caller and those in `kept`, or until
// `timeoutMs` have gone; returns the others still running then, as " id:name"
// each. A joined thread stays listed for a moment while the kernel finishes it.
std::string waitForOthersToEnd(const std::map<int, std::string>& kept, int timeoutMs);

} // namespace TestThreads
