// When a password typed on the Password page may protect a program: masked,
// it needs only to be there; shown, the verification must repeat it byte
// for byte. Two empty texts are an empty password, not a mismatch.
#pragma once
#include <cstddef>
#include <string>

// A password this long or longer is kept at this length, with a warning.
constexpr size_t kPasswordKeptChars = 254;

enum class PasswordProblem { kNone, kMismatch, kEmpty };

PasswordProblem FindPasswordProblem(bool masked, const std::string& password, const std::string& verification);
