// Builder strings carry printf-style placeholders ("%s", "%d"), but what
// goes into them are paths and names: each placeholder in turn takes the
// next argument as plain text, so a "%" in a file name stays as it is.
#pragma once
#include <initializer_list>
#include <string>

std::string FillPlaceholders(std::string text, std::initializer_list<std::string> arguments);
