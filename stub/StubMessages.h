// Message boxes whose caption and text come from the stub's string table.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

// String id of instance's string table; empty when missing.
std::string LoadStubString(HINSTANCE instance, UINT id);

int ShowMessageById(HWND owner, HINSTANCE instance, UINT captionId, UINT textId, UINT style);

// The text is string formatId with its "%s" replaced by argument.
int ShowFormattedMessage(HWND owner, HINSTANCE instance, const char* argument, UINT captionId,
                         UINT formatId, UINT style);

// format with its first "%s" replaced by argument; the rest stays as written.
std::string FillTextArgument(const std::string& format, const char* argument);
// format with its "%s" replaced by the arguments in turn; a "%s" inside an
// argument stays as it is.
std::string FillTextArguments(const std::string& format, std::initializer_list<const char*> arguments);
