// The image a build writes first: the stub's own, or a copy of it wearing
// the icon the project chose.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "ProjectSettings.h"
#include "SelfExtractorWriter.h"

// Fills image; empty text, or what is wrong with the chosen icon.
std::string MakeProgramImage(const ProjectSettings& settings, const StubImage& stub, std::vector<uint8_t>* image);
