// The password health verbs: analyze reports a data file's weak, shared,
// due, old and breached passwords; estimate measures one password. Each
// reads its own arguments (args[0] is the verb) and answers --help.
#pragma once

#include <string_view>
#include <vector>

namespace qvs {

int RunAnalyze(const std::vector<std::string_view>& args);
int RunEstimate(const std::vector<std::string_view>& args);

} // namespace qvs
