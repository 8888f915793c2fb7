// Runs tests at another text size (DPI), as a user who chose 125 % or 150 %
// sees the programs. Wine takes its DPI from the profile's "LogPixels" when a
// process starts, so the test program sets it, runs a copy of itself for the
// tests of that size, and puts the value back: programs started later see the
// size they saw before. Programs that use it run alone (RUN_SERIAL).
#pragma once

#include <string>

// The DPI this copy was started for by RunTestsAtDpi; 0 in a copy started otherwise.
int RequestedTestDpi();
// The DPI this process draws at.
int DrawingDpi();
// Runs the tests of this program that filter names (a gtest filter) in a
// copy of it at dpi; true when they all passed. Their output joins this one's.
bool RunTestsAtDpi(int dpi, const std::string& filter);
