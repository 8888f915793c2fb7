// The ".ssf" project file: a record file with its GUID-derived header and
// one line per setting, a key, " = " and the value, starting with the tag
// line. Multi-line texts are stored with each CR LF written as ";;".
#pragma once
#include "ProjectSettings.h"

// Builder string ids of the messages the caller shows for a file that cannot
// be loaded.
enum ProjectFileMessage {
  kProjectFileReadable = 0,
  kProjectFormatNotRecognized = 25,  // "File project format not recognized!"
  kProjectCheckFailed = 26,          // the same with the CRC error line
};

// 1 when every line was written, 0 when the file cannot be created or a
// write fails.
int SaveProjectFile(const ProjectSettings& settings, const char* path);

// 0 when read (a file without records included), 1 when not a project file
// or when a record after the tag cannot be read (cut short, or a length no
// record has): the record is then left at its defaults, never half loaded.
// messageId, when given, receives the message the caller should show.
int LoadProjectFile(ProjectSettings& settings, const char* path, int* messageId = nullptr);
