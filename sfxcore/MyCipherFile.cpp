#include "MyCipherFile.h"

#include <objbase.h>

#include <cstring>
#include <vector>

#include "BoundedText.h"
#include "LittleEndian.h"
#include "MyFileUtility.h"

static const int kKeyBytes = 16;

// The header keeps only the GUID bytes that the key, the IV and the check
// are made from (plus two that take no part).
static void FormTexts(uint32_t data1, uint16_t data3, uint8_t data4_1, uint8_t data4_4, char keyText[260],
                      char ivText[260]) {
  std::memset(keyText, 0, 260);
  std::memset(ivText, 0, 260);
  std::snprintf(keyText, 9, "%08lx", static_cast<unsigned long>(data1));
  std::snprintf(ivText, 9, "%02x%04x%02x", data4_1, data3, data4_4);
}

static uint16_t HeaderCheck(const char* ivText) {
  CMyFileUtility utility(1);
  uint16_t check = 0;
  utility.Crc32Low16(ivText, 8, &check);
  return check;
}

CMyCipherFile::~CMyCipherFile() {
  if (ownsFile_) CloseLineFile();
}

int CMyCipherFile::MakeCipherKey() {
  return cipher_.MakeKey(kKeyBytes, kKeyBytes, reinterpret_cast<const uint8_t*>(ivText_),
                         reinterpret_cast<const uint8_t*>(keyText_))
             ? kKeyFailed
             : kDone;
}

int CMyCipherFile::ReadHeader() {
  uint8_t header[kHeaderBytes];
  if (std::fread(header, 1, sizeof header, file_) != sizeof header) return kFailed;
  uint32_t packed = LoadLe32(header + 6);
  FormTexts(LoadLe32(header + 2), uint16_t(packed >> 16), header[10], header[11], keyText_, ivText_);
  uint16_t stored = uint16_t(header[0] | header[1] << 8);
  return HeaderCheck(ivText_) == stored ? kDone : kCheckMismatch;
}

int CMyCipherFile::WriteHeader() {
  if (CoCreateGuid(&guid_) != S_OK) return kFailed;
  FormTexts(guid_.Data1, guid_.Data3, guid_.Data4[1], guid_.Data4[4], keyText_, ivText_);
  uint16_t check = HeaderCheck(ivText_);
  uint8_t header[kHeaderBytes];
  header[0] = uint8_t(check);
  header[1] = uint8_t(check >> 8);
  StoreLe32(guid_.Data1, header + 2);
  StoreLe32(uint32_t(guid_.Data3) << 16 | uint32_t(guid_.Data4[2]) << 8 | guid_.Data4[7], header + 6);
  header[10] = guid_.Data4[1];
  header[11] = guid_.Data4[4];
  return std::fwrite(header, 1, sizeof header, file_) == sizeof header ? kDone : kFailed;
}

int CMyCipherFile::Open(const char* path, int forRead) {
  CloseLineFile();
  if (path == nullptr || path[0] == '\0') return kFailed;
  file_ = std::fopen(path, forRead ? "rb" : "wb+");
  if (file_ == nullptr) return kFailed;
  open_ = 1;
  ownsFile_ = true;
  int result = forRead ? ReadHeader() : WriteHeader();
  if (result == kDone) result = MakeCipherKey();
  if (result != kDone) CloseLineFile();
  return result;
}

void CMyCipherFile::Attach(FILE* file) {
  file_ = file;
  open_ = file != nullptr;
  ownsFile_ = false;
}

int CMyCipherFile::SetKeys(const char* keyText, const char* ivText) {
  if (keyText == nullptr || ivText == nullptr) return kKeyFailed;
  std::memset(keyText_, 0, sizeof keyText_);
  std::memset(ivText_, 0, sizeof ivText_);
  CopyBounded(keyText_, kKeyBytes + 1, keyText);
  CopyBounded(ivText_, kKeyBytes + 1, ivText);
  return MakeCipherKey();
}

int CMyCipherFile::WriteRecord(const char* text) {
  if (!open_) return kNotOpen;
  if (text == nullptr) return kNoText;
  size_t length = std::strlen(text);
  if (length > kMaxTextLength) return kTextTooLong;
  const size_t recordLength = (length + 15) & ~size_t(15);
  std::vector<uint8_t> plain(recordLength, 0), cipherText(recordLength);
  std::memcpy(plain.data(), text, length);
  if (recordLength && cipher_.EncryptBuffer(cipherText.data(), plain.data(), recordLength, CAesBlockCipher::kModeCbc))
    return kKeyFailed;
  uint8_t lengthWord[4];
  StoreLe32(static_cast<uint32_t>(recordLength), lengthWord);
  if (std::fwrite(lengthWord, 1, 4, file_) != 4) return kFailed;
  if (std::fwrite(cipherText.data(), 1, recordLength, file_) != recordLength) return kFailed;
  return kDone;
}

int CMyCipherFile::ReadRecord(char* buffer, size_t capacity) {
  if (!open_) return kNotOpen;
  if (buffer == nullptr || capacity == 0) return kNoBuffer;
  uint8_t lengthWord[4];
  const size_t lengthBytes = std::fread(lengthWord, 1, 4, file_);
  if (lengthBytes == 0 && std::feof(file_)) return kEndOfFile;
  if (lengthBytes != 4) return kShortRead;
  const uint32_t recordLength = LoadLe32(lengthWord);
  if (recordLength > kMaxRecordLength || recordLength % kKeyBytes != 0 || recordLength >= capacity) return kFailed;
  std::vector<uint8_t> cipherText(recordLength);
  if (std::fread(cipherText.data(), 1, recordLength, file_) != recordLength) return kShortRead;
  uint8_t* out = reinterpret_cast<uint8_t*>(buffer);
  if (recordLength && cipher_.DecryptBuffer(out, cipherText.data(), recordLength, CAesBlockCipher::kModeCbc))
    return kKeyFailed;
  buffer[recordLength] = '\0';
  return kDone;
}

void CMyCipherFile::CloseLineFile() { Close(); }

bool CMyCipherFile::Close() {
  const bool flushed = file_ == nullptr || std::fclose(file_) == 0;
  file_ = nullptr;
  open_ = 0;
  ownsFile_ = false;
  return flushed;
}
