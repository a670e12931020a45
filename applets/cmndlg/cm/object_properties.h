#pragma once
// Showing the properties of a change-management object named by its
// selector. Until the property sheets exist, the product's describe tool
// shows them: `stratadescribe "SELECTOR"`, started detached.
#include <string>

namespace plat {
class Window;
}

// The command line that describes the selector (the selector quoted so that
// it stays one argument whatever it holds).
std::string DescribeCommandLine(const std::string& selector);

// Starts the describe tool for the selector; when it cannot be started, says
// so (the command line and the system error) in a stop box over the owner.
// Returns 0 when it started, else the system error number.
int ShowObjectProperties(const std::string& selector, plat::Window* owner);
