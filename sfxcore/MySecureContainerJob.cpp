#include "MySecureContainerJob.h"

CMySecureContainerJob::CMySecureContainerJob(HINSTANCE instance, HWND owner, int mode)
    : instance(instance), owner(owner), mode(mode) {}

CMySecureContainerJob::~CMySecureContainerJob() {
  if (container) std::fclose(container);
}
