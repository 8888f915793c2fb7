// The zip message table: every text the zip side shows or logs, by id. Each
// lookup passes through the application's MessageDisplayProc (code 13),
// which may rewrite the text in place.
#pragma once

#include "../../common/MessageTable.h"

// Ended by the pair whose id is 0.
extern const MessagePair kZipMessageTable[];

// The text of a zip result code is message code + 256.
enum { ZIP_RESULT_TEXT_BASE = 256 };

// The text of id, copied into one of the three slots (clamped to 0-2) of the
// calling thread's state; empty without a state or for an unknown id. A text
// stays valid until its slot is used again.
char *ZipMessageText(int id, int slot);
