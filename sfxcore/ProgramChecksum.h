// The integrity line of a self-extracting program: the last settings record
// holds the SHA-1 of every byte in front of it (stub image, container, offset
// word, marker and the settings records before it). A stub that does not know
// the line skips it; one that does refuses a program whose bytes differ.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "Sha1.h"

constexpr char kChecksumKey[] = "CHECKSUM SHA1 = ";
constexpr size_t kChecksumKeyLength = sizeof kChecksumKey - 1;
constexpr size_t kChecksumTextLength = 40;  // upper-case hexadecimal

// The SHA-1 of the first length bytes of file, as the line writes it; empty
// when they cannot all be read. The file position is left anywhere.
std::string ChecksumOfFilePrefix(FILE* file, uint64_t length);

// Finishes context and gives its SHA-1 as the line writes it.
std::string FinalChecksumText(Sha1Context* context);

// True for exactly kChecksumTextLength upper-case hexadecimal digits.
bool IsChecksumText(const std::string& text);
