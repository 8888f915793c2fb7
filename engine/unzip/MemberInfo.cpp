#include "MemberInfo.h"

#include <cstdio>
#include <cstring>
#include "../common/EncryptionKind.h"
#include "DosTime.h"
#include "PathNames.h"

enum : uint32_t { kExternalLowBits = 0x7FFF };

uint32_t MemberAttributeWord(const CurrentMember *member) {
  uint32_t word = ReadLe32(member->central + kChExternalAttr) & kExternalLowBits;
  if (ReadLe16(member->central + kChFlags) & kZipFlagEncrypted) word |= kMemberAttrEncrypted;
  if (PathIsLongName(member->name)) word |= kMemberAttrLongName;
  return word;
}

static DosDateTimeParts MemberTime(const CurrentMember *member) {
  return DosDateTimeUnpack(ReadLe16(member->central + kChDate), ReadLe16(member->central + kChTime));
}

static uint32_t Saturated32(uint64_t value) { return value > 0xFFFFFFFF ? 0xFFFFFFFF : static_cast<uint32_t>(value); }

static uint16_t HasSlash(const CurrentMember *member) { return strchr(member->name, '/') != nullptr; }

void MemberInfoFill(const CurrentMember *member, UnzipMemberInfo *info) {
  memset(info, 0, sizeof *info);
  DosDateTimeParts time = MemberTime(member);
  info->number = static_cast<uint16_t>(member->index);
  info->uncompressedSize = Saturated32(member->values.uncompressedSize);
  info->compressedSize = Saturated32(member->values.compressedSize);
  info->method = member->method;
  info->flags = ReadLe16(member->central + kChFlags);
  info->hasSlash = HasSlash(member);
  info->crc32 = ReadLe32(member->central + kChCrc);
  snprintf(info->dateTime, sizeof info->dateTime, "%02u/%02u/%02u  %02u:%02u", time.month, time.day,
           time.year % 100, time.hour, time.minute);
  lstrcpynA(info->name, member->name, sizeof info->name);
  info->attributes = MemberAttributeWord(member);
  info->seconds = static_cast<uint32_t>(time.second);
}

static uint16_t EncryptionKindOf(const CurrentMember *member) {
  MemberCryptFacts facts = {};
  facts.centralFlags = ReadLe16(member->central + kChFlags);
  facts.crc32 = ReadLe32(member->central + kChCrc);
  facts.uncompressedSize = member->values.uncompressedSize;
  if (member->extras.aesLength) {
    facts.aesExtra = member->extras.aes;
    facts.aesExtraLength = member->extras.aesLength;
  }
  if (member->extras.strongLength) {
    facts.strongExtra = member->extras.strong;
    facts.strongExtraLength = member->extras.strongLength;
  }
  return MemberEncryptionKind(&facts);
}

void MemberInfoExFill(const CurrentMember *member, UnzipMemberInfoEx *info) {
  uint32_t notWritten = info->notWritten;
  memset(info, 0, sizeof *info);
  info->notWritten = notWritten;
  DosDateTimeParts time = MemberTime(member);
  info->index = static_cast<uint32_t>(member->index);
  info->uncompressedSize = member->values.uncompressedSize;
  info->compressedSize = member->values.compressedSize;
  info->attributes = MemberAttributeWord(member);
  info->crc32 = ReadLe32(member->central + kChCrc);
  info->method = member->method;
  info->flags = ReadLe16(member->central + kChFlags);
  info->hasSlash = HasSlash(member);
  snprintf(info->dateTime, sizeof info->dateTime, "%02u/%02u/%04u  %02u:%02u:%02u", time.month, time.day,
           time.year, time.hour, time.minute, time.second);
  lstrcpynA(info->name, member->name, sizeof info->name);
  info->seconds = static_cast<uint32_t>(time.second);
  info->versions = ReadLe16(member->central + kChMadeBy) | static_cast<uint32_t>(ReadLe16(member->central + kChNeeded)) << 16;
  info->encryptionKind = EncryptionKindOf(member);
}

void MemberInfoToOld(const UnzipMemberInfo *info, UnzipMemberInfoOld *old) {
  old->number = info->number;
  old->uncompressedSize = info->uncompressedSize;
  old->compressedSize = info->compressedSize;
  old->method = info->method;
  old->hasSlash = info->hasSlash;
  old->crc32 = info->crc32;
  memcpy(old->dateTime, info->dateTime, sizeof old->dateTime);
  lstrcpynA(old->name, info->name, sizeof old->name);
  old->attributes = info->attributes;
}

bool MemberInfoRecordGiven(const UNZIPCMDSTRUCT *command) {
  return (command->zInfo != nullptr) != (command->pZipInfoEx != nullptr);
}

void MemberInfoDeliver(UnzipState *state) {
  const CurrentMember *member = &state->directory.member;
  if (state->command.pZipInfoEx) {
    MemberInfoExFill(member, static_cast<UnzipMemberInfoEx *>(state->command.pZipInfoEx));
  } else if (state->command.zInfo) {
    MemberInfoFill(member, static_cast<UnzipMemberInfo *>(state->command.zInfo));
  }
}
