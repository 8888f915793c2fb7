// Turning a stored member name into a path below the destination folder.
// Portable: pure text work, tested and fuzzed natively.
#pragma once
#include <cstddef>

enum MemberPathVerdict : int {
  kMemberPathSafe = 0,
  kMemberPathParent,       // a ".." component
  kMemberPathStream,       // a ':' left after the drive prefix (alternate data stream)
  kMemberPathTrailing,     // a component ending in a dot or a blank, which Windows drops
  kMemberPathDevice,       // a component naming a device (CON, NUL, COM1, ...)
  kMemberPathControl,      // a control character
  kMemberPathTooLong,      // the result does not fit
};

// Makes the stored name (slashes or backslashes) relative: drive letters, UNC
// prefixes and leading separators are dropped, empty and "." components
// removed, separators become backslashes. A trailing separator (a folder
// member) is kept. The refusals above leave out empty. out holds capacity
// bytes with the terminator.
MemberPathVerdict MemberPathMakeRelative(const char *stored, char *out, size_t capacity);

// True when Windows opens the component (length bytes, no separator) as a
// device in any folder: a device name, alone or before an extension, with or
// without blanks before the extension and trailing dots or blanks.
bool MemberPathNamesDevice(const char *component, size_t length);
