// qvs-cli export: the entries as QVS's export writes them, to standard output.
#include "cli/commands.h"
#include "store/export/export_fields.h"
#include "store/export/export_writer.h"
#include "store/pw.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace qvs {

namespace {

struct Format {
    const char* name;
    int mode;
    const char* title; // the format's name in the document
};

constexpr Format kFormats[] = {
    {"csv", ardeko::kModeCsv, "Delimited text (CSV)"},
    {"html", ardeko::kModeHtml, "HTML page"},
    {"txt", ardeko::kModeLabelled, "Text, one line per field"},
    {"columns", ardeko::kModeColumns, "Text in columns"},
};

class StdoutSink : public ardeko::FormatSink {
public:
    using FormatSink::FormatSink;
    bool Failed() const override { return failed_; }

private:
    void Write(const std::string& text) override {
        failed_ = failed_ || std::fwrite(text.data(), 1, text.size(), stdout) != text.size();
    }
    bool failed_ = false;
};

// The fields named in a comma-separated list; why one is unknown otherwise.
std::optional<std::string> ReadFields(const std::string& list, std::vector<std::string>& fields) {
    const auto& known = ardeko::FieldCaptions();
    std::istringstream in(list);
    for (std::string name; std::getline(in, name, ',');) {
        const auto it = std::find_if(known.begin(), known.end(), [&](const std::string& k) {
            return std::equal(k.begin(), k.end(), name.begin(), name.end(),
                              [](char a, char b) { return std::tolower(a) == std::tolower(b); });
        });
        if (it == known.end()) {
            std::string all;
            for (const std::string& k : known)
                all += (all.empty() ? "" : ", ") + k;
            return "--fields: unknown field \"" + name + "\" (" + all + ")";
        }
        fields.push_back(*it);
    }
    return std::nullopt;
}

} // namespace

int RunExport(const Options& options) {
    const auto format = std::find_if(std::begin(kFormats), std::end(kFormats),
                                     [&](const Format& f) { return options.format == f.name; });
    if (format == std::end(kFormats)) return UsageFail("--format needs csv, html, txt or columns");
    ardeko::ExportRequest request;
    request.mode = format->mode;
    if (options.Has("--fields")) {
        if (auto err = ReadFields(options.Value("--fields"), request.fields))
            return UsageFail(*err);
    } else {
        request.fields = ardeko::FieldCaptions();
        std::erase(request.fields, "TOTP"); // a secret: only when named
    }
    request.notes = options.Has("--notes");
    request.history = options.Has("--history");
    request.header = !options.Has("--no-header");
    request.csvSafe = !options.Has("--no-neutralise");
    if (options.Has("--delimiter")) {
        request.delimiter = options.Value("--delimiter");
        if (request.delimiter == "tab") request.delimiter = "\t";
        if (request.delimiter.empty() ||
            request.delimiter.find_first_of("\"\r\n") != std::string::npos)
            return UsageFail("--delimiter needs one or more characters, no quote or line end");
    }
    ardeko::clsPW store;
    if (auto code = OpenStore(options, store)) return *code;
    const ardeko::ExportPlan plan = ardeko::MakePlan(store, request);
    const ardeko::DocumentInfo info = ardeko::MakeDocumentInfo(QVS_VERSION, format->title);
    StdoutSink sink(ardeko::MakeFileFormat(request, plan, info));
    if (!ardeko::Generate(plan, false, sink) || std::fflush(stdout) != 0)
        return Fail("cannot write to standard output");
    return kExitOk;
}

} // namespace qvs
