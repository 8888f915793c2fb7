// The member information records that functions 2, 4 and 7 fill.
#pragma once
#include "UnzipState.h"

// Low 15 bits of the external attributes, 0x8000 when encrypted, 0x10000 for
// a long name.
uint32_t MemberAttributeWord(const CurrentMember *member);
void MemberInfoFill(const CurrentMember *member, UnzipMemberInfo *info);
void MemberInfoExFill(const CurrentMember *member, UnzipMemberInfoEx *info);
// Field by field into the older record; the name is cut at 127 characters.
void MemberInfoToOld(const UnzipMemberInfo *info, UnzipMemberInfoOld *old);

// Exactly one of zInfo and pZipInfoEx given.
bool MemberInfoRecordGiven(const UNZIPCMDSTRUCT *command);
// Fills whichever record the command gives with the current member.
void MemberInfoDeliver(UnzipState *state);
