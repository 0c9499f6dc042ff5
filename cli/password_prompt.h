// Reading the file password: from the terminal without echo, or as the first
// line of standard input for scripts. Never from the command line, where other
// users could see it.
#pragma once

#include <string>

namespace qvs {

struct PasswordRequest {
    bool fromStdin = false; // first line of standard input instead of the terminal
    bool confirm = false;   // on the terminal, ask twice (a new file's password)
};

// Fills password, or error with why there is none.
bool ReadPassword(const PasswordRequest& request, std::string& password, std::string& error);

} // namespace qvs
