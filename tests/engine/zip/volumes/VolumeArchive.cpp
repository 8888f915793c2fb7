#include "VolumeArchive.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "../../../../engine/common/Crc32.h"
#include "../../../../engine/unzip/UnzipApi.h"
#include "volumes/ZipVolumeRoom.h"
#include "writer/ZipCentralDirectory.h"
#include "writer/ZipMemberCompressor.h"
#include "writer/ZipOutput.h"
#include "writer/ZipRecordWriter.h"
#include "ZipEntry.h"

namespace {

const uint32_t kDosTime = 0x5B8A6000;  // 2025-12-10 12:00:00
const size_t kPiece = 8192;            // the member compressor's read size

ZipEntry StoredEntry(const Member &m) {
  ZipEntry e = {};
  e.versionMadeBy = 20;
  e.versionNeeded = 10;
  e.dosDateTime = kDosTime;
  e.crc = Crc32Continue(0, m.data.data(), m.data.size());
  e.compressedSize = e.uncompressedSize = m.data.size();
  e.nameLength = uint32_t(m.name.size());
  e.name = const_cast<char *>(m.name.c_str());
  e.externalAttributes = FILE_ATTRIBUTE_ARCHIVE;
  e.comment = const_cast<char *>(m.comment.c_str());
  e.commentLength = uint32_t(m.comment.size());
  return e;
}

int WriteStoredMember(ZipState *state, const Member &m, ZipEntry *e, HANDLE *output) {
  e->localHeaderOffset = ZipVolumePosition(state, *output);
  e->diskStart = uint16_t(state->writer.currentDisk);
  uint32_t disk = state->writer.currentDisk;
  int result = ZipWriteLocalHeader(state, e, output);
  if (result) return result;
  // The header itself started a new volume.
  if (state->writer.currentDisk != disk) {
    e->localHeaderOffset = 0;
    e->diskStart = uint16_t(state->writer.currentDisk);
  }
  for (size_t at = 0; at < m.data.size(); at += kPiece) {
    size_t piece = std::min(kPiece, m.data.size() - at);
    if (ZipWriteOutput(state, m.data.data() + at, piece, output) != piece) return state->cancel ? 9 : 14;
  }
  return 0;
}

std::vector<Member> MembersOf(const std::vector<size_t> &sizes, uint32_t seed, uint8_t mask) {
  std::vector<Member> members;
  for (size_t i = 0; i < sizes.size(); ++i) {
    Member m{"dir/member" + std::to_string(i) + ".bin", Bytes(sizes[i]), ""};
    for (uint8_t &b : m.data) {
      seed = seed * 1103515245u + 12345u;
      b = uint8_t('a' + ((seed >> 16) & mask));
    }
    members.push_back(m);
  }
  return members;
}

// The central directory and end records of the entries written so far,
// through the main loop's writer; the entries stay the test's own.
int WriteDirectory(ZipState *state, std::vector<ZipEntry> &entries, HANDLE *output) {
  for (size_t i = 0; i + 1 < entries.size(); ++i) entries[i].next = &entries[i + 1];
  state->entries = entries.empty() ? nullptr : &entries[0];
  state->entryCount = uint32_t(entries.size());
  state->writer.outputOffset = ZipVolumePosition(state, *output);
  int result = ZipWriteCentralDirectory(state, output, 0);
  state->entries = nullptr;
  state->entryCount = 0;
  return result;
}

}  // namespace

std::vector<Member> RandomMembers(const std::vector<size_t> &sizes, uint32_t seed) {
  std::vector<Member> members = MembersOf(sizes, seed, 0xFF);
  for (Member &m : members)
    for (uint8_t &b : m.data) b = uint8_t(b - 'a');
  return members;
}

std::vector<Member> TextMembers(const std::vector<size_t> &sizes, uint32_t seed) {
  return MembersOf(sizes, seed, 0x0F);
}

void StartVolumeBookkeeping(ZipState *state) {
  ZipWriterState &w = state->writer;
  w.currentDisk = 0;
  w.centralStartDisk = ZIP_DISK_NOT_RECORDED;
  w.lastCentralDisk = 0;
  w.centralCountOnDisk = 0;
  w.volumeBytes = 0;
  w.outputOffset = 0;
  w.volumeFree = 0x200000;
}

int WriteVolumeArchive(ZipState *state, const std::vector<Member> &members, HANDLE *output) {
  int result = ZipWriteSpanMarker(state, output);
  std::vector<ZipEntry> entries;
  for (const Member &m : members) entries.push_back(StoredEntry(m));
  for (size_t i = 0; i < members.size() && !result; ++i)
    result = WriteStoredMember(state, members[i], &entries[i], output);
  return result ? result : WriteDirectory(state, entries, output);
}

int WriteCompressedVolumeArchive(ZipState *state, const std::vector<Member> &members, const std::string &sources,
                                 HANDLE *output) {
  int result = ZipWriteSpanMarker(state, output);
  state->writer.outputOffset = 4;
  std::vector<std::string> paths;
  std::vector<ZipEntry> entries(members.size());
  for (size_t i = 0; i < members.size(); ++i) {
    paths.push_back(sources + "\\source" + std::to_string(i) + ".bin");
    WriteBytes(paths[i], members[i].data);
  }
  for (size_t i = 0; i < members.size() && !result; ++i) {
    ZipEntry &e = entries[i];
    e.name = static_cast<char *>(malloc(members[i].name.size() + 1));
    strcpy(e.name, members[i].name.c_str());
    e.nameLength = uint32_t(members[i].name.size());
    e.path = const_cast<char *>(paths[i].c_str());
    e.internalAttributes = ZIP_ATTRIBUTES_UNKNOWN;
    result = ZipCompressMember(state, &e, output);
  }
  if (!result) result = WriteDirectory(state, entries, output);
  for (ZipEntry &e : entries) free(e.name);
  return result;
}

std::string VolumesWork(const std::string &relative) {
  return std::string(BRENNICOR_TEST_WORK) + "\\volumes\\" + relative;
}

std::string FreshFolder(const std::string &relative) {
  std::string folder = VolumesWork(relative);
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  std::filesystem::create_directories(folder, ignored);
  return folder;
}

Bytes ReadBytes(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string &path, const Bytes &data) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char *>(data.data()), std::streamsize(data.size()));
}

bool Exists(const std::string &path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

uint64_t SizeOf(const std::string &path) {
  WIN32_FILE_ATTRIBUTE_DATA facts;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &facts)) return 0;
  return (uint64_t)facts.nFileSizeHigh << 32 | facts.nFileSizeLow;
}

namespace {

// Split parts are found by name; no other box is ever answered but Cancel.
int CALLBACK QuietUnzipMessages(int type, int style, int, int, char *, char *, void *) {
  if (type == 13) return -1;
  if (type == 15) return 0;
  return (style & 15) == MB_OK ? IDOK : IDCANCEL;
}

}  // namespace

int ExtractAll(const std::string &archive, const std::string &destination, const char *password) {
  if (UnzipThreadInit(GetModuleHandleA(nullptr)) != 1 || UnzipThreadAttach() != 1) return -1;
  UNZIPCMDSTRUCT command = {};
  command.structSize = sizeof command;
  command.Function = kUnzipExtract;
  command.lpszZIPFile = archive.c_str();
  command.lpszFilespec = "*.*";
  command.index = -1;
  command.recurseFlag = 1;
  command.quietFlag = 1;
  command.lpszDestination = destination.c_str();
  command.lpMessageDisplay = QuietUnzipMessages;
  command.decryptFlag = password != nullptr;
  command.lpszDecryptCode = password;
  int result = UnzipExecute(&command);
  UnzipThreadStateRelease();
  UnzipThreadTerm();
  return result;
}

void ExpectReadsBack(const std::string &archive, const std::vector<Member> &members, const std::string &destination,
                     const char *password) {
  ASSERT_EQ(ExtractAll(archive, destination, password), 0) << archive;
  for (const Member &m : members) {
    std::string path = destination + "\\" + m.name;
    for (char &c : path)
      if (c == '/') c = '\\';
    EXPECT_TRUE(ReadBytes(path) == m.data) << m.name;
  }
}
