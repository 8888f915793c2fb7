#include "MessageTable.h"

#include <cstring>

const char *MessageTableFind(const MessagePair *table, uint32_t id) {
  for (const MessagePair *pair = table;; ++pair) {
    if (pair->id == id) return pair->text;
    if (pair->id == 0) return nullptr;
  }
}

void CopyTextCapped(char *out, size_t capacity, const char *text) {
  if (capacity == 0) return;
  size_t length = text ? strnlen(text, capacity - 1) : 0;
  memcpy(out, text ? text : "", length);
  out[length] = '\0';
}
