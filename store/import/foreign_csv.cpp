#include "store/import/foreign_csv.h"

#include <algorithm>
#include <array>

namespace ardeko {

namespace {

class CsvReader {
public:
    CsvReader(std::string_view text, char delimiter) : text_(text), delimiter_(delimiter) {}

    std::optional<ImportProblem> ReadAll(std::vector<CsvRecord>& out) {
        while (pos_ < text_.size()) {
            CsvRecord record;
            record.line = line_;
            if (AtLineEnd()) { // a line with nothing on it
                SkipLineEnd();
                continue;
            }
            if (auto problem = ReadRecord(record.fields)) return problem;
            out.push_back(std::move(record));
        }
        return std::nullopt;
    }

private:
    bool AtLineEnd() const { return text_[pos_] == '\n' || text_[pos_] == '\r'; }
    // LF, CR LF or a lone CR.
    void SkipLineEnd() {
        pos_ += text_.substr(pos_, 2) == "\r\n" ? 2 : 1;
        ++line_;
    }

    std::optional<ImportProblem> ReadRecord(std::vector<std::string>& fields) {
        for (;;) {
            std::string field;
            if (auto problem = ReadField(field, fields.size() + 1)) return problem;
            fields.push_back(std::move(field));
            if (pos_ == text_.size()) return std::nullopt;
            if (text_[pos_] == delimiter_) {
                ++pos_;
                if (pos_ == text_.size()) fields.emplace_back(); // a trailing delimiter
                continue;
            }
            SkipLineEnd(); // ReadField stops only at a delimiter or a line end
            return std::nullopt;
        }
    }

    std::optional<ImportProblem> ReadField(std::string& field, std::size_t number) {
        if (pos_ < text_.size() && text_[pos_] == '"') return ReadQuoted(field, number);
        // Unquoted: everything up to the delimiter or line end, quotes included
        // (some programs write a stray quote inside a field).
        const std::size_t start = pos_;
        while (pos_ < text_.size() && text_[pos_] != delimiter_ && !AtLineEnd())
            ++pos_;
        field.assign(text_.substr(start, pos_ - start));
        return std::nullopt;
    }

    std::optional<ImportProblem> ReadQuoted(std::string& field, std::size_t number) {
        const std::size_t openedOn = line_;
        ++pos_;
        for (;;) {
            const std::size_t quote = text_.find('"', pos_);
            if (quote == std::string_view::npos)
                return ImportProblem{ImportMsg::QuoteNotClosed, openedOn, {std::to_string(number)}};
            CountLines(pos_, quote);
            field.append(text_.substr(pos_, quote - pos_));
            pos_ = quote + 1;
            if (pos_ < text_.size() && text_[pos_] == '"') { // a doubled quote
                field += '"';
                ++pos_;
                continue;
            }
            break;
        }
        if (pos_ < text_.size() && text_[pos_] != delimiter_ && !AtLineEnd())
            return ImportProblem{ImportMsg::TextAfterQuote, line_, {std::to_string(number)}};
        // Quoted line breaks come back as LF, whatever the file used.
        std::string::size_type cr;
        while ((cr = field.find("\r\n")) != std::string::npos)
            field.erase(cr, 1);
        std::replace(field.begin(), field.end(), '\r', '\n');
        return std::nullopt;
    }

    void CountLines(std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i)
            if (text_[i] == '\n' || (text_[i] == '\r' && text_.substr(i + 1, 1) != "\n")) ++line_;
    }

    std::string_view text_;
    char delimiter_;
    std::size_t pos_ = 0;
    std::size_t line_ = 1;
};

} // namespace

std::optional<ImportProblem> ReadCsv(std::string_view text, char delimiter,
                                     std::vector<CsvRecord>& out) {
    out.clear();
    return CsvReader(text, delimiter).ReadAll(out);
}

char GuessCsvDelimiter(std::string_view text) {
    constexpr std::array<char, 3> kCandidates = {',', ';', '\t'};
    std::array<std::size_t, 3> counts{};
    bool quoted = false;
    for (char c : text) {
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        if (c == '\n' || c == '\r') break;
        for (std::size_t i = 0; i < kCandidates.size(); ++i)
            if (c == kCandidates[i]) ++counts[i];
    }
    std::size_t best = 0;
    for (std::size_t i = 1; i < counts.size(); ++i)
        if (counts[i] > counts[best]) best = i;
    return kCandidates[best];
}

} // namespace ardeko
