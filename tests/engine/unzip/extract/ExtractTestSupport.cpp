#include "ExtractTestSupport.h"

#include <gtest/gtest.h>
#include <cstring>
#include <deque>
#include <fstream>

namespace {

void PutLe16(Bytes &b, size_t at, uint16_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void PutLe32(Bytes &b, size_t at, uint32_t v) {
  PutLe16(b, at, static_cast<uint16_t>(v));
  PutLe16(b, at + 2, static_cast<uint16_t>(v >> 16));
}
}  // namespace

std::vector<Message> &Messages() {
  static std::vector<Message> messages;
  return messages;
}

int gQuestionAnswer = IDCANCEL;

int CALLBACK RecordMessage(int type, int style, int first, int second, char *text, char *title, void *data) {
  if (type == 13) return -1;
  Messages().push_back({type, first, text ? text : ""});
  if (type == 15) return 0;  // split parts: the engine finds them by name
  if (type == 8 || type == 9) return gQuestionAnswer;
  return (style & 15) == MB_OK ? IDOK : IDCANCEL;
}

bool MessageNames(const std::string &text) {
  for (const Message &m : Messages())
    if (m.text.find(text) != std::string::npos) return true;
  return false;
}

const char *Kept(const std::string &text) {
  static std::deque<std::string> texts;
  texts.push_back(text);
  return texts.back().c_str();
}

UNZIPCMDSTRUCT Command(int function, const std::string &archive) {
  UNZIPCMDSTRUCT command = {};
  command.structSize = sizeof command;
  command.Function = function;
  command.lpszZIPFile = Kept(archive);
  command.index = -1;
  command.lpMessageDisplay = RecordMessage;
  return command;
}

std::string Work(const std::string &relative) { return std::string(BRENNICOR_TEST_WORK) + "/extract/" + relative; }

void WriteFileBytes(const std::string &path, const Bytes &data) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char *>(data.data()), static_cast<std::streamsize>(data.size()));
}

bool Exists(const std::string &path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring WideOf(const std::string &text, UINT codePage) {
  std::wstring out(text.size() + 1, L'\0');
  out.resize(MultiByteToWideChar(codePage, 0, text.c_str(), -1, &out[0], static_cast<int>(out.size())) - 1);
  return out;
}

static std::string Utf8(const std::wstring &text) {
  std::string out(text.size() * 4 + 1, '\0');
  out.resize(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], static_cast<int>(out.size()), nullptr,
                                 nullptr) - 1);
  return out;
}

// Wide, so names outside the code page are found and removed too.
static void Walk(const std::wstring &folder, const std::wstring &prefix, std::vector<std::string> *files,
                 const std::function<void(const std::wstring &, bool)> &visit) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (isFolder) Walk(folder + L"\\" + name, prefix + name + L"/", files, visit);
    if (files && !isFolder) files->push_back(Utf8(prefix + name));
    visit(folder + L"\\" + name, isFolder);
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

void RemoveTree(const std::string &path) {
  Walk(WideOf(path, CP_ACP), L"", nullptr, [](const std::wstring &p, bool isFolder) {
    SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (isFolder) RemoveDirectoryW(p.c_str());
    else DeleteFileW(p.c_str());
  });
  RemoveDirectoryA(path.c_str());
}

std::vector<std::string> FilesBelow(const std::string &folder) {
  std::vector<std::string> files;
  Walk(WideOf(folder, CP_ACP), L"", &files, [](const std::wstring &, bool) {});
  std::sort(files.begin(), files.end());
  return files;
}

void CALLBACK StreamIo(int operation, unsigned char *buffer, uint32_t *length, uint32_t inLow, uint32_t inHigh,
                       uint32_t outLow, uint32_t outHigh, void *data, int *status) {
  auto *partner = static_cast<StreamPartner *>(data);
  uint64_t position = static_cast<uint64_t>(inHigh) << 32 | inLow;
  if (operation == 0) {
    partner->reads++;
    if (partner->cancelAt >= 0 && position >= static_cast<uint64_t>(partner->cancelAt)) {
      *length = 0;
      *status = 2;
      return;
    }
    uint64_t end = partner->record.size();
    if (partner->lastAt >= 0 && static_cast<uint64_t>(partner->lastAt) < end) end = partner->lastAt;
    uint64_t left = position < end ? end - position : 0;
    uint32_t take = *length < partner->chunk ? *length : partner->chunk;
    if (take >= left) {
      take = static_cast<uint32_t>(left);
      *status = 0;
    }
    memcpy(buffer, partner->record.data() + position, take);
    *length = take;
  } else if (operation == 1) {
    partner->output.insert(partner->output.end(), buffer, buffer + *length);
    *status = partner->writeStatus;
  }
}

int RunStream(StreamPartner &partner, const char *password) {
  CALLBACKSTRUCT callbacks = {};
  callbacks.size = sizeof callbacks;
  callbacks.memoryIo = StreamIo;
  callbacks.memoryIoData = &partner;
  UNZIPCMDSTRUCT command = Command(UNZIP_STREAM_ENTRY, "");
  command.lpszZIPFile = nullptr;
  command.quietFlag = 1;
  command.lpCallbackStruct = &callbacks;
  if (password) {
    command.decryptFlag = 1;
    command.lpszDecryptCode = password;
  }
  return UnzipExecute(&command);
}

Bytes StreamRecord(uint16_t flags, uint16_t method, const std::string &name, const Bytes &extra, const Bytes &data) {
  Bytes record(46);
  PutLe32(record, 0, 0x02014b50);
  PutLe16(record, 4, 20);
  PutLe16(record, 6, 20);
  PutLe16(record, 8, flags);
  PutLe16(record, 10, method);
  PutLe16(record, 12, 0x6000);  // DOS time; with flag bit 0 its high byte checks the password
  PutLe16(record, 14, 0x5621);
  PutLe32(record, 16, 0x60000000);
  PutLe32(record, 20, 0xFFFFFFFF);
  PutLe16(record, 28, static_cast<uint16_t>(name.size()));
  PutLe16(record, 30, static_cast<uint16_t>(extra.size()));
  record.insert(record.end(), name.begin(), name.end());
  record.insert(record.end(), extra.begin(), extra.end());
  record.insert(record.end(), data.begin(), data.end());
  return record;
}
