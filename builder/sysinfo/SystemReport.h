// The plain-text report of the System Information dialog: computer, operating
// system, browser, processor and clock, screen.
#pragma once
#include <string>

std::string BuildSystemReport();
