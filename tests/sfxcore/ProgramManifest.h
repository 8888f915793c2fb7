// Describes a built program for the Python inspector: the files it was made
// from and what its settings and container must hold. One JSON file beside
// each program; paths are relative to the scratch folder, with slashes.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

struct ProgramManifest {
  std::string program;
  std::string image;           // the stub image written in front
  std::string container;       // a container copied as it is, or empty
  std::string source;          // the source zip a built container holds, or empty
  std::string sourcePassword;  // what opens the source's encrypted entries
  std::vector<std::string> lines;  // settings lines, in order
  int entryCount = -1;         // container header count, -1 unchecked
  int records = -1;
  int strength = 0;            // 0 open, else 1-3
  int passwordLength = 0;
  std::string password;        // for 7-Zip's test of the records
  bool deflate64 = false;
};

inline std::string JsonText(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c >= 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

inline void WriteManifest(const ProgramManifest& m) {
  std::string json = "{\"program\": " + JsonText(m.program) + ", \"image\": " + JsonText(m.image) +
                     ", \"container\": " + JsonText(m.container) + ", \"source\": " + JsonText(m.source) +
                     ", \"sourcePassword\": " + JsonText(m.sourcePassword) +
                     ", \"entryCount\": " + std::to_string(m.entryCount) + ", \"records\": " +
                     std::to_string(m.records) + ", \"strength\": " + std::to_string(m.strength) +
                     ", \"passwordLength\": " + std::to_string(m.passwordLength) +
                     ", \"password\": " + JsonText(m.password) + ", \"deflate64\": " +
                     (m.deflate64 ? "true" : "false") + ", \"lines\": [";
  for (size_t i = 0; i < m.lines.size(); ++i) json += (i ? ", " : "") + JsonText(m.lines[i]);
  json += "]}\n";
  FILE* f = std::fopen((std::string(BRENNICOR_TEST_WORK) + "/" + m.program + ".json").c_str(), "wb");
  if (!f) return;
  std::fwrite(json.data(), 1, json.size(), f);
  std::fclose(f);
}
