#include "StubMessages.h"

std::string LoadStubString(HINSTANCE instance, UINT id) {
    char buffer[1024] = {};
    const int length = LoadStringA(instance, id, buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? length : 0);
}

int ShowMessageById(HWND owner, HINSTANCE instance, UINT captionId, UINT textId, UINT style) {
    return MessageBoxA(owner, LoadStubString(instance, textId).c_str(),
                       LoadStubString(instance, captionId).c_str(), style);
}

int ShowFormattedMessage(HWND owner, HINSTANCE instance, const char* argument, UINT captionId,
                         UINT formatId, UINT style) {
    const std::string text = FillTextArgument(LoadStubString(instance, formatId), argument);
    return MessageBoxA(owner, text.c_str(), LoadStubString(instance, captionId).c_str(), style);
}

// Filled by hand rather than through printf, so a stray '%' in a translated
// string can never read a missing argument.
std::string FillTextArgument(const std::string& format, const char* argument) {
    return FillTextArguments(format, {argument});
}

std::string FillTextArguments(const std::string& format, std::initializer_list<const char*> arguments) {
    std::string text;
    size_t from = 0;
    for (const char* argument : arguments) {
        const size_t at = format.find("%s", from);
        if (at == std::string::npos)
            break;
        text += format.substr(from, at - from);
        text += argument ? argument : "";
        from = at + 2;
    }
    return text + format.substr(from);
}
