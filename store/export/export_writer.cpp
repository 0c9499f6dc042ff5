#include "store/export/export_writer.h"

#include <algorithm>

namespace ardeko {

namespace {

bool WriteGroup(const ExportGroup& group, const std::string& emptyWord, ExportSink& sink, int& done,
                int count, const ExportProgress& progress) {
    if (!group.heading.empty()) sink.GroupHeading(group.heading);
    if (group.rows.empty()) sink.EmptyGroup("No item in this " + emptyWord);
    for (const ExportRow& row : group.rows) {
        if (sink.Failed()) return false;
        sink.Entry(row);
        if (progress) progress(++done, count);
    }
    return !sink.Failed();
}

} // namespace

bool Generate(const ExportPlan& plan, bool split, ExportSink& sink,
              const ExportProgress& progress) {
    int done = 0;
    if (!split) sink.Begin({});
    for (const ExportGroup& group : plan.groups) {
        if (split) sink.Begin(group.nameSuffix);
        if (sink.Failed() ||
            !WriteGroup(group, plan.emptyWord, sink, done, plan.entryCount, progress))
            return false;
        if (split) sink.End();
    }
    if (!split) sink.End();
    return !sink.Failed();
}

std::string SafeNamePart(std::string_view text) {
    std::string part(text);
    std::replace(part.begin(), part.end(), '/', '_');
    std::erase(part, '\0');
    return part;
}

} // namespace ardeko
