#include "MessageText.h"

#include <cstdio>
#include <memory>

namespace {

struct FileCloser {
  void operator()(FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<FILE, FileCloser>;

}  // namespace

bool IsRtfText(const std::string& text) {
  return text.find("{\\rtf\\ansi\\") != std::string::npos || text.find("{\\rtf1\\ansi\\") != std::string::npos;
}

bool NamesRtfFile(const std::string& path) { return path.find(".rtf") != std::string::npos; }

TextFileRead ReadTextFile(const std::string& path, std::string* text) {
  FileHandle file(std::fopen(path.c_str(), "rb"));
  if (!file) return TextFileRead::kUnreadable;
  // One byte past the limit tells a text that is too large.
  std::string contents(kMaxMessageTextBytes + 1, '\0');
  const size_t read = std::fread(&contents[0], 1, contents.size(), file.get());
  if (std::ferror(file.get())) return TextFileRead::kUnreadable;
  if (read > kMaxMessageTextBytes) return TextFileRead::kTooLarge;
  if (read == 0) return TextFileRead::kEmpty;
  contents.resize(read);
  *text = std::move(contents);
  return TextFileRead::kLoaded;
}

bool WriteTextFile(const std::string& path, const std::string& text) {
  FileHandle file(std::fopen(path.c_str(), "wb"));
  if (!file) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
  return std::fclose(file.release()) == 0 && written;
}

void MessageText::TakeFromRecord(const std::string& text, bool reset) {
  shown_ = text;
  if (text.empty()) {
    rtfSource_.clear();
    kind_ = reset ? MessageKind::kUnknown : MessageKind::kPlain;
    return;
  }
  kind_ = IsRtfText(text) ? MessageKind::kRtf : MessageKind::kPlain;
  rtfSource_ = IsRtf() ? text : std::string();
}

void MessageText::TakeFromFile(const std::string& path, const std::string& contents) {
  kind_ = NamesRtfFile(path) ? MessageKind::kRtf : MessageKind::kPlain;
  shown_ = contents;
  rtfSource_ = IsRtf() ? contents : std::string();
}

void MessageText::TakeFromEdit(const std::string& shown) {
  shown_ = shown;
  if (shown.empty() && IsRtf()) {
    rtfSource_.clear();
    kind_ = MessageKind::kPlain;
  }
}
