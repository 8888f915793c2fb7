#include "PasswordCheck.h"

PasswordProblem FindPasswordProblem(bool masked, const std::string& password, const std::string& verification) {
  if (masked || (password.empty() && verification.empty()))
    return password.empty() ? PasswordProblem::kEmpty : PasswordProblem::kNone;
  return password == verification ? PasswordProblem::kNone : PasswordProblem::kMismatch;
}
