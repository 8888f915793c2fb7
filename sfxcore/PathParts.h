// A path split into drive ("C:"), folder (through its last slash or
// backslash), name and extension (from the name's last dot), each part cut
// to fit 260 bytes.
#pragma once

struct PathParts {
  char drive[260];
  char folder[260];
  char name[260];
  char extension[260];

  explicit PathParts(const char* path);
};

bool HasWildcard(const char* text);
