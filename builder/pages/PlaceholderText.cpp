#include "PlaceholderText.h"

namespace {

size_t NextPlaceholder(const std::string& text, size_t from) {
  for (size_t at = text.find('%', from); at != std::string::npos; at = text.find('%', at + 1))
    if (at + 1 < text.size() && (text[at + 1] == 's' || text[at + 1] == 'd')) return at;
  return std::string::npos;
}

}  // namespace

std::string FillPlaceholders(std::string text, std::initializer_list<std::string> arguments) {
  size_t from = 0;
  for (const std::string& argument : arguments) {
    const size_t at = NextPlaceholder(text, from);
    if (at == std::string::npos) break;
    text.replace(at, 2, argument);
    from = at + argument.size();
  }
  return text;
}
