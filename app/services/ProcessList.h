#pragma once
// Looking up running processes by executable name.

#include <string>

namespace ferrox {

// Pid of the first process whose executable file name is fileName (exact, case-sensitive),
// 0 when there is none. Other users' processes, whose executable cannot be read, are
// matched by their kernel name, which holds only the first 15 characters.
int FindProcessByName(const std::string& fileName);

}  // namespace ferrox
