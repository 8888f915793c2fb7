// The device names table (tests/fixtures/device_names.txt): every name
// Windows opens as a device in every folder, in every form that still names
// it. Include from a test program, which knows BRENNICOR_TEST_DATA.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "test_files.h"

// Every form of every device name, as stored names.
inline std::vector<std::string> DeviceNameForms() {
  std::istringstream table(ReadFileContent(BRENNICOR_TEST_DATA "/device_names.txt"));
  std::vector<std::string> devices, forms, names;
  for (std::string line; std::getline(table, line);) {
    std::istringstream fields(line);
    std::string key, word;
    std::getline(fields, key, ' ');
    if (key == "devices")
      while (fields >> word) devices.push_back(word);
    if (key == "forms")
      while (std::getline(fields, word, '|')) forms.push_back(word);
  }
  for (const std::string& device : devices) {
    for (size_t index = 0; index < forms.size(); ++index) {
      std::string shown = device;
      if (index % 2)
        for (char& c : shown) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
      std::string name = forms[index];
      name.replace(name.find('*'), 1, shown);
      names.push_back(name);
    }
  }
  return names;
}

// True for the forms Windows would also shorten (a trailing dot or blank).
inline bool EndsInDotOrBlank(const std::string& name) {
  return !name.empty() && (name.back() == '.' || name.back() == ' ');
}
