#include "SelfExtractorFormat.h"

namespace {

std::string Line(const char* key, const std::string& value, size_t maxLength) {
  std::string line = std::string(key) + value;
  if (line.size() > maxLength) line.resize(maxLength);
  return line;
}

std::string Flag(const char* key, int value) { return Line(key, std::to_string(value), kSettingsOptionLineMax); }

}  // namespace

std::vector<std::string> StubSettingsLines(const ProjectSettings& settings) {
  const std::string& folder = settings.unzipToFolder.empty() ? kDefaultUnzipFolder : settings.unzipToFolder;
  std::vector<std::string> lines = {
      Line("PATH = ", folder, kSettingsOptionLineMax),
      Flag("FOLDERS = ", settings.recreateFolders),
      Flag("AUTO RUN = ", settings.autoUnzip),
      Flag("OVERWRITE = ", settings.overwrite),
      Line("EXECUTE FILE = ", settings.launchCommand, kSettingsOptionLineMax),
  };
  if (!settings.aboutText.empty())
    lines.push_back(Line(kAboutTextKey, settings.aboutText, kSettingsTextLineMax));
  if (!settings.customMessage.empty())
    lines.push_back(Line(kCustomMessageKey, settings.customMessage, kSettingsTextLineMax));
  return lines;
}
