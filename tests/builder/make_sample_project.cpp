// Writes a project file naming a zip, the program to build from it and the
// folder it extracts into: the sample scripts/run opens and the screenshot
// script shows.
//   make_sample_project PROJECT ZIP OUTPUT FOLDER
#include <stdio.h>

#include "ProjectFile.h"
#include "ProjectSettings.h"

int main(int argc, char** argv) {
  if (argc != 5) {
    fprintf(stderr, "usage: make_sample_project PROJECT ZIP OUTPUT FOLDER\n");
    return 2;
  }
  ProjectSettings record;
  ResetDefaults(record);
  record.sourceArchive = argv[2];
  record.outputName = argv[3];
  record.unzipToFolder = argv[4];
  record.recreateFolders = 1;
  record.levelListIndex = 1;  // "Normal", level 5
  if (!SaveProjectFile(record, argv[1])) {
    fprintf(stderr, "make_sample_project: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
