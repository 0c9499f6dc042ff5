// One generation pass: the plan's groups and entries handed, in order, to a
// sink that writes them (files, standard output, or a printed report).
#pragma once

#include "store/export/export_format.h"
#include "store/export/export_plan.h"

#include <functional>
#include <string>

namespace ardeko {

class ExportSink {
public:
    virtual ~ExportSink() = default;
    // Starts a document: the whole export, or one group's file.
    virtual void Begin(const std::string& nameSuffix) = 0;
    virtual void GroupHeading(const std::string& heading) = 0;
    virtual void Entry(const ExportRow& values) = 0;
    virtual void EmptyGroup(const std::string& line) = 0;
    virtual void End() = 0;
    // Once failed, a sink stays failed and the pass stops.
    virtual bool Failed() const = 0;
};

// A sink that hands the text of a format to Write.
class FormatSink : public ExportSink {
public:
    explicit FormatSink(std::unique_ptr<ExportFormat> format) : format_(std::move(format)) {}
    void Begin(const std::string&) override { Write(format_->Header()); }
    void GroupHeading(const std::string& heading) override {
        Write(format_->GroupHeading(heading));
    }
    void Entry(const ExportRow& values) override { Write(format_->Entry(values)); }
    void EmptyGroup(const std::string& line) override { Write(format_->EmptyGroup(line)); }
    void End() override { Write(format_->Footer()); }

protected:
    virtual void Write(const std::string& text) = 0;

private:
    std::unique_ptr<ExportFormat> format_;
};

// Entries written so far, of all.
using ExportProgress = std::function<void(int done, int count)>;

// False when the sink failed; what was written up to then stays.
bool Generate(const ExportPlan& plan, bool split, ExportSink& sink,
              const ExportProgress& progress = {});

// A name part made from user text that stays inside the folder.
std::string SafeNamePart(std::string_view text);

} // namespace ardeko
