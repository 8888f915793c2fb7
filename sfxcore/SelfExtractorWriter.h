// The three writing steps of a self-extracting program, run in order after
// the secure container has been written to a temporary file: the stub's
// image, then the container and its start offset, then the marker and the
// settings records (layout in SelfExtractorFormat.h). Each returns 1 on
// success and 0 on failure; a failed step leaves the output as far as it
// was written.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "BuildReporter.h"
#include "ProjectSettings.h"

// The stub's program image as the builder carries it.
struct StubImage {
  const void* bytes = nullptr;
  size_t size = 0;
};
constexpr int kStubImageResourceId = 197;
constexpr char kStubImageResourceType[] = "SFX_STUB_ENGINE";

// Resource 197 of type "SFX_STUB_ENGINE" of |module|; empty when missing.
StubImage LoadStubImage(HMODULE module);

// Creates the output (settings.outputName) and writes the whole image.
int WriteStub(const ProjectSettings* settings, const StubImage& image, BuildReporter* reporter);
// Appends the container file (settings.temporaryContainer) and, behind it,
// the output's length before the container as a u32.
int AppendArchive(const ProjectSettings* settings, BuildReporter* reporter);
// Appends the marker and the settings records (which always fit in the
// stub's search window: their lines are cut to their longest).
int AppendSettingsBlock(const ProjectSettings* settings, BuildReporter* reporter);

// Copies source to the end of destination in 16,384-byte chunks, reporting
// the percent copied of |total| and pumping messages once per chunk. 0 when
// a file is missing, a read fails or a write is short. With closeFiles both
// files are closed at the end.
int CopyFileWithProgress(BuildReporter* reporter, FILE* destination, FILE* source, uint64_t total, int closeFiles);
