// Counts the registry values the test program reads through
// RegQueryValueExA while a counter lives, by taking that function's place in
// the program's own import table: a bound on the work a load does, which a
// loaded machine cannot upset as it can a bound on its time. A read past the
// limit ends the program at once with a message, so that reading without
// end fails in moments instead of running on until the test's time is up.
#pragma once

#include <windows.h>

class RegistryReadCounter {
 public:
  explicit RegistryReadCounter(long limit);
  ~RegistryReadCounter();
  RegistryReadCounter(const RegistryReadCounter&) = delete;
  RegistryReadCounter& operator=(const RegistryReadCounter&) = delete;

  // False when the program imports no RegQueryValueExA to count.
  bool Counting() const { return m_slot != nullptr; }
  long Reads() const;

 private:
  void** m_slot;
};
