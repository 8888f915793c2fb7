// Engine message tables: constant identifier/text pairs ended by identifier 0.
#pragma once
#include <cstddef>
#include <cstdint>

struct MessagePair {
  uint32_t id;
  const char *text;
};

// Linear search from the first pair; the ending pair (id 0, empty text) is
// found too. Null when the table lacks the identifier.
const char *MessageTableFind(const MessagePair *table, uint32_t id);

// Copies at most capacity - 1 bytes of text into out and terminates it.
void CopyTextCapped(char *out, size_t capacity, const char *text);
