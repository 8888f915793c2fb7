// What the Build page's logic asks of the window that shows it: its controls
// by id, the boxes and prompts it shows, and the program it launches. The
// page answers with real controls; tests answer with a recorder.
#pragma once
#include <string>

class BuildPageHost {
 public:
  virtual ~BuildPageHost() = default;
  virtual void SetText(int control, const std::string& text) = 0;
  virtual std::string Text(int control) = 0;
  virtual void Enable(int control, bool enabled) = 0;
  virtual void Show(int control, bool shown) = 0;
  virtual void SetRange(int progressBar, int highest) = 0;
  virtual void SetPosition(int progressBar, int position) = 0;
  virtual void UseBoldFont(int control) = 0;
  virtual void ShowIconsInColour() = 0;
  // Builder string |id| as stored, placeholders and all.
  virtual std::string LoadText(int id) = 0;
  // The warning box of a failed build, with the error text in its message.
  virtual void ShowFailureBox(const std::string& errorText) = 0;
  // A message box of builder string |id| with the error icon.
  virtual void ShowError(int stringId) = 0;
  // The source archive's password prompt: true with what was typed on OK.
  virtual bool PromptSourcePassword(std::string* password) = 0;
  // The warning that encrypted entries may be skipped: true for Yes (ask again).
  virtual bool AskAgainForPassword() = 0;
  virtual void ShowSuccessBalloon() = 0;
  // Lets waiting window messages run while a build works.
  virtual void PumpMessages() = 0;
  virtual bool FileExists(const std::string& path) = 0;
  virtual void Launch(const std::string& path) = 0;
  // The box saying the program has not been created yet.
  virtual void ShowNotCreatedBox() = 0;
};
