// Environments for the programs the tests start.
#pragma once

#include <string>
#include <vector>

// This process's environment with the changes made: "NAME=VALUE" sets a variable, a bare "NAME"
// removes it.
std::vector<std::string> ChangedEnvironment(const std::vector<std::string>& changes);

// Pointers to the strings, ended by a null pointer, as exec and posix_spawn take them.
std::vector<char*> NullTerminated(std::vector<std::string>& strings);
