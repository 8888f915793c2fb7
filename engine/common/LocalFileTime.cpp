#include "LocalFileTime.h"

bool LocalTimeOfFileTime(const FILETIME &utc, SYSTEMTIME *local) {
  SYSTEMTIME universal;
  return FileTimeToSystemTime(&utc, &universal) && SystemTimeToTzSpecificLocalTime(nullptr, &universal, local);
}

bool LocalFileTimeOfFileTime(const FILETIME &utc, FILETIME *local) {
  SYSTEMTIME parts;
  return LocalTimeOfFileTime(utc, &parts) && SystemTimeToFileTime(&parts, local);
}

bool FileTimeOfLocalFileTime(const FILETIME &local, FILETIME *utc) {
  SYSTEMTIME parts, universal;
  return FileTimeToSystemTime(&local, &parts) && TzSpecificLocalTimeToSystemTime(nullptr, &parts, &universal) &&
         SystemTimeToFileTime(&universal, utc);
}
