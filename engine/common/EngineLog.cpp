#include "EngineLog.h"

#include <cstdio>
#include <cstring>

void LogFilePath(const char *name, char *out, size_t capacity) {
  if (capacity == 0) return;
  out[0] = '\0';
  if (!name) return;
  if ((name[0] && name[1] == ':') || (name[0] == '\\' && name[1] == '\\')) {
    snprintf(out, capacity, "%s", name);
    return;
  }
  char windows[MAX_PATH + 1] = "";
  UINT length = GetWindowsDirectoryA(windows, sizeof windows);
  if (length == 0 || length >= sizeof windows) windows[0] = '\0';
  bool needsSeparator = name[0] != '\\' && !(length && windows[length - 1] == '\\');
  snprintf(out, capacity, "%s%s%s", windows, needsSeparator ? "\\" : "", name);
}

HANDLE LogFileOpen(const char *name) {
  char path[2 * MAX_PATH + 2];
  LogFilePath(name, path, sizeof path);
  if (!path[0]) return INVALID_HANDLE_VALUE;
  HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) SetFilePointer(file, 0, nullptr, FILE_END);
  return file;
}

void LogFileWrite(HANDLE file, const char *text, size_t length) {
  if (file == INVALID_HANDLE_VALUE || !text) return;
  DWORD written = 0;
  WriteFile(file, text, static_cast<DWORD>(length), &written, nullptr);
}

void LogFileWriteText(HANDLE file, const char *text) { LogFileWrite(file, text, text ? strlen(text) : 0); }

void DiagLogWriteText(HANDLE file, const char *text, int length) {
  if (length < 0) return;
  if (!text || (length > 0 && IsBadStringPtrA(text, static_cast<UINT_PTR>(length)))) {
    LogFileWriteText(file, "???\r\n");
    return;
  }
  LogFileWrite(file, text, strnlen(text, static_cast<size_t>(length)));
  LogFileWriteText(file, "\r\n");
}

void FormatVersionText(char *out, size_t capacity, const char *format) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char date[16], time[16];
  snprintf(date, sizeof date, "%02u/%02u/%02u", now.wMonth, now.wDay, now.wYear % 100u);
  snprintf(time, sizeof time, "%02u:%02u:%02u", now.wHour, now.wMinute, now.wSecond);
  snprintf(out, capacity, format ? format : "", date, time);
}

void FormatHexLine(char *out, size_t capacity, const char *format, uint64_t value) {
  char widened[512];
  const char *conversion = format ? strstr(format, "lx") : nullptr;
  if (!conversion || strlen(format) + 2 > sizeof widened) {
    snprintf(out, capacity, "%s", format ? format : "");
    return;
  }
  size_t head = static_cast<size_t>(conversion - format);
  snprintf(widened, sizeof widened, "%.*sllx%s", static_cast<int>(head), format, conversion + 2);
  snprintf(out, capacity, widened, static_cast<unsigned long long>(value));
}
