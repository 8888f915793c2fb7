// Texts for unzip result codes, shown when a build step fails. The stub
// shows the same texts in its retry question.
#pragma once

constexpr int kHighestResultCode = 50;

// The text of |code| (looked up by its absolute value); empty for codes
// without a text and for codes above 50.
const char* JobResultText(int code);

// The text a failed build shows for |code|: JobResultText, or
// "Undefined/Unexpected Error Code -1!" for a code above 50.
const char* BuildFailureText(int code);
