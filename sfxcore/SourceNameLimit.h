// Entry names longer than the engine extracts, found in the source zip's
// central directory before any work: the engine would fail on such an entry
// only when extracting it, without saying which it was.
#pragma once
#include <string>

// The refusal of the first entry of the zip at path whose stored name is
// longer than kMemberNameMax bytes, naming it and the limit; empty when every
// name fits or the directory cannot be read (the engine then says why).
std::string SourceNameLengthProblem(const std::string& path);
