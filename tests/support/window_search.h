// Finds windows in a window tree, this program's or another's, by what a
// test knows of them: text, id, class.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

// The first window below root, at any depth, that match accepts; null when none does.
HWND FindDescendant(HWND root, const std::function<bool(HWND)>& match);
// Whether window's class is className, compared as the system compares class names.
bool HasClass(HWND window, const char* className);
// The window's text: a caption, a control's label.
std::string WindowText(HWND window);
