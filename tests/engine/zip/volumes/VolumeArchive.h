// What the multi-volume tests share: stored-member archives written through
// the record writer and the output path, member by member as the main loop
// does, so that the volume layer cuts them into parts or disks; files; and
// extraction through our own unzip side.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ZipState.h"

typedef std::vector<uint8_t> Bytes;

struct Member {
  std::string name;
  Bytes data;
  std::string comment;  // of its central header
};

// Members of pseudo-random (incompressible) bytes, or of bytes from a
// sixteen-letter alphabet, which Deflate halves.
std::vector<Member> RandomMembers(const std::vector<size_t> &sizes, uint32_t seed);
std::vector<Member> TextMembers(const std::vector<size_t> &sizes, uint32_t seed);

// The span marker, every member's local header and data, the central
// directory and the end records, each write through *output (the split part
// or the disk file, which a volume change replaces). 0 or a zip result code.
int WriteVolumeArchive(ZipState *state, const std::vector<Member> &members, HANDLE *output);
// The same with every member compressed (and enciphered, when the state has
// a password) by the member compressor from a source file in the folder.
int WriteCompressedVolumeArchive(ZipState *state, const std::vector<Member> &members, const std::string &sources,
                                 HANDLE *output);

// The multi-volume bookkeeping of a new archive, as the update reader sets it.
void StartVolumeBookkeeping(ZipState *state);

std::string VolumesWork(const std::string &relative);  // under BRENNICOR_TEST_WORK/volumes
std::string FreshFolder(const std::string &relative);  // emptied and created
Bytes ReadBytes(const std::string &path);
void WriteBytes(const std::string &path, const Bytes &data);
bool Exists(const std::string &path);
uint64_t SizeOf(const std::string &path);

// Extracts every member of the archive (with its parts beside it) into the
// folder with our unzip side; its result code.
int ExtractAll(const std::string &archive, const std::string &destination, const char *password = nullptr);
// Extracts the archive and compares every member's bytes.
void ExpectReadsBack(const std::string &archive, const std::vector<Member> &members, const std::string &destination,
                     const char *password = nullptr);
