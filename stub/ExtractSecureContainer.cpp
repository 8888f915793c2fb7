#include "ExtractCallback.h"

// The container reader is not part of this build yet: the stub reports a
// failed extraction, so its user sees an error and nothing is written.
int ExtractSecureContainer(const ExtractRequest& request) {
    if (request.callback != nullptr)
        request.callback(kReportFinished, nullptr, nullptr, kExtractFailed, 0, 0, 0, request.owner);
    return kExtractFailed;
}
