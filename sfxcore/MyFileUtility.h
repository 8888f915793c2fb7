// The helper object most builder and stub classes hold by value: path
// splitting and joining, file tests, temporaries deleted with the owner,
// CRC-32, hexadecimal text, shell opening and help.
//
// Functions returning const char* hand out a static buffer of that function
// (260 bytes, 520 for GetFileNamePart and GetFolderOfPath), overwritten by its
// next call: copy what you keep. A null argument gives an empty text or 0.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "MyCleanupList.h"

class CMyFileUtility {
 public:
  enum PathKind { kPathIsFolder = 16, kPathIsFile = 17, kPathIsNothing = 18 };

  CMyFileUtility();
  // Temporaries go to the given list instead of the object's own.
  explicit CMyFileUtility(CMyCleanupList* attachedList);
  // A non-zero argument builds the CRC table at once.
  explicit CMyFileUtility(int buildCrcTable);
  CMyFileUtility(const CMyFileUtility&) = delete;
  CMyFileUtility& operator=(const CMyFileUtility&) = delete;
  ~CMyFileUtility();

  // Paths and files.
  static const char* MakeExeName(const char* path, int keepFolder);
  static int EndsWithChar(const char* text, char c);
  static uint32_t GetFileSizeByPath(const char* path);
  static const char* AbbreviatePath(const char* path, int maxChars, int withBackslash);
  static int FileExists(const char* path);
  static const char* GetFileNamePart(const char* path, int withExtension);
  static const char* GetExtensionOfPath(const char* path);
  static const char* GetDriveOfPath(const char* path);
  static int IsExtensionInList(const char* path, const char* list);
  // The chosen folder, or null when the user cancels.
  static const char* BrowseForFolder(HINSTANCE instance, UINT titleId, UINT displayId, HWND owner,
                                     const char* initialFolder);
  static const char* GetFolderOfPath(const char* path, int withDrive);
  static int StripWildcardName(const char* path, char output[260]);
  static const char* Unquote(const char* text);
  static const char* Quote(const char* text);
  // path is the caller's buffer of at least 260 bytes.
  static int ReplaceExtension(char* path, const char* newExtension);
  static int GetPathKind(const char* path);
  static const char* PathBesideProgram(HINSTANCE module, const char* fileName);

  // Temporaries. Names are unique even within one clock tick; only what this
  // object creates is registered for deletion. Empty text on failure.
  const char* MakeTempFolder(int create);
  const char* MakeTempFileName(const char* targetFolder, const char* suffix);
  // Deletes the folder's files (and with recurse its subfolders) and then the
  // folder. 1 when the folder could be listed.
  static int DeleteFolderTree(const char* folder, int recurse);

  // CRC-32 (reflected, polynomial 0xEDB88320). All return 0 when the table
  // cannot be allocated.
  uint32_t Crc32Update(const void* data, size_t length, uint32_t* running);
  uint32_t Crc32Low16(const void* data, size_t length, uint16_t* out16);
  uint32_t Crc32Full(const void* data, size_t length, uint32_t* out32);
  static void ByteToHex(uint8_t byte, char output[3]);
  static void BytesToHex(const uint8_t* bytes, size_t count, char* output);

  static HICON CreateGrayIcon(HWND window, HICON icon);

  // Shell and help.
  static const char* ShellErrorText(int shellResult);
  static int ShellExecuteWithErrorBox(const char* verb, const char* file, const char* parameters, int show);
  static int OpenOrExplore(const char* path, int explore);
  static int OpenWithArguments(const char* file, const char* parameters, const char* extraArgument);
  static int OpenHelpOrWebPage(const char* fileName, const char* parameters, const char* extraArgument,
                               const char* webText);
  static int ShowHtmlHelp(const char* helpFile, const char* topic, const char* webText, int allowOnline);

 private:
  const uint32_t* CrcTable();
  CMyCleanupList& Cleanup() { return attachedList_ ? *attachedList_ : ownList_; }

  CMyCleanupList* attachedList_ = nullptr;
  CMyCleanupList ownList_;
  uint32_t* crcTable_ = nullptr;
};
