// Open and Save As of ".ssf" project files. Neither runs before start-up has
// set the main window.
#pragma once
#include "classlib/cstring.h"

class CWnd;

// 1 with the chosen file in path, 0 on cancel or without a main window.
int PromptOpenProject(CString* path);
// 1 with the chosen file in buffer (at most 259 characters and a NUL), 0 on
// cancel, an empty name or without a main window.
int PromptSaveProjectAs(CWnd* owner, char buffer[260]);
