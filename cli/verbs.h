// The tool's verbs: what each is called, runs, takes and says about itself.
// Adding a verb is one line in the table (verbs.cpp).
#pragma once

#include "cli/commands.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qvs {

struct Verb {
    std::string_view name;
    int (*run)(const Options&);
    // The words after the verb's name, in order ("FILE SERVICE").
    std::string_view args;
    // The options it takes: "--flag", "--name=" (takes the next argument),
    // "--name?" (takes the next argument when it is a number).
    std::string_view options;
    // Its synopsis and what it does, as --help shows them.
    std::string_view help;
};

std::span<const Verb> Verbs();
const Verb* FindVerb(std::string_view name);

// Fills options from the arguments after the verb's name; returns why they
// are unusable, if they are.
std::optional<std::string>
ParseArguments(const Verb& verb, const std::vector<std::string_view>& args, Options& options);

} // namespace qvs
