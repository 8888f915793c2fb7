#include "MemberExtraction.h"

#include "../common/UnzipMessages.h"
#include "UnzipReport.h"

// Extraction is not part of this engine yet: the commands that need it are
// refused as unsupported.
int ExtractMember(UnzipState *state) { return UnzipFail(state, 47, kUmsgUnknownFunction); }

int ExtractStreamMember(UnzipState *state) { return UnzipFail(state, 47, kUmsgUnknownFunction); }
