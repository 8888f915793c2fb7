// One of the two texts a built program can show (its about text and the
// message before extraction): plain, or RTF kept byte for byte as it came,
// since the rich edit only shows RTF rendered and could never give it back.
#pragma once
#include <string>

// Larger texts are refused: the built program's settings line must stay small.
constexpr size_t kMaxMessageTextBytes = 65534;

enum class MessageKind { kUnknown = -1, kPlain = 0, kRtf = 1 };

// True when text carries an RTF header the built program renders.
bool IsRtfText(const std::string& text);
// A file is loaded as RTF only when its path says ".rtf", in lower case.
bool NamesRtfFile(const std::string& path);

enum class TextFileRead { kLoaded, kEmpty, kTooLarge, kUnreadable };
// Reads path whole into text; never more than kMaxMessageTextBytes + 1
// bytes are read, however the file grows meanwhile. text is set only for kLoaded.
TextFileRead ReadTextFile(const std::string& path, std::string* text);
// Writes text without terminator; false when the file could not be written whole.
bool WriteTextFile(const std::string& path, const std::string& text);

class MessageText {
 public:
  // The record's text; an empty one forgets any RTF, and after a reset its
  // kind is not known.
  void TakeFromRecord(const std::string& text, bool reset);
  // A file's contents, RTF when its path names one.
  void TakeFromFile(const std::string& path, const std::string& contents);
  // What the edit holds after the user changed it. An emptied RTF text is
  // gone: its source is dropped too, so nothing of it is built in.
  void TakeFromEdit(const std::string& shown);

  // What the edit should be given: the RTF source, which it renders, or the text.
  const std::string& ForEdit() const { return IsRtf() ? rtfSource_ : shown_; }
  // What the record keeps.
  const std::string& ForRecord() const { return ForEdit(); }
  bool IsRtf() const { return kind_ == MessageKind::kRtf; }
  MessageKind Kind() const { return kind_; }
  bool Empty() const { return ForRecord().empty(); }

 private:
  std::string shown_;
  std::string rtfSource_;
  MessageKind kind_ = MessageKind::kPlain;
};
