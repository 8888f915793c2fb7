#include "JobResultText.h"

namespace {

struct CodeText {
  int code;
  const char* text;
};

const CodeText kTexts[] = {
    {0, "Success"},
    {2, "Unexpected end of zip file"},
    {3, "Zip file structure invalid"},
    {4, "Out of memory"},
    {5, "Out of memory"},
    {9, "File not found"},
    {11, "No files to test, extract, etc."},
    {12, "The same disk volume can not be used as both the source and destination"},
    {22, "Decryption process could not complete"},
    {25, "Index out of bounds"},
    {28, "Error creating output file"},
    {29, "Error opening archive"},
    {39, "Bad CRC"},
    {40, "Application cancelled operation"},
    {41, "File skipped, encrypted"},
    {42, "File skipped, unknown compression method"},
    {44, "Bad or missing decrypt code"},
    {45, "Busy, can't enter now"},
    {46, "Can't extract a Volume ID item"},
    {47, "Command syntax error"},
    {48, "Operation cancelled"},
    {49, "Operation skipped"},
    {50, "Disk full"},
};

}  // namespace

const char* JobResultText(int code) {
  // The absolute value of INT_MIN does not exist; it has no text either.
  if (code < -kHighestResultCode) return "";
  const int magnitude = code < 0 ? -code : code;
  for (const CodeText& entry : kTexts)
    if (entry.code == magnitude) return entry.text;
  return "";
}

const char* BuildFailureText(int code) {
  return code > kHighestResultCode ? "Undefined/Unexpected Error Code -1!" : JobResultText(code);
}
