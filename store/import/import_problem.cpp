#include "store/import/import_problem.h"

#include <array>

namespace ardeko {

namespace {

constexpr std::array<const char*, static_cast<std::size_t>(ImportMsg::Count)> kTemplates = {
    "The file is larger than %1 MB, the most an import reads: it is not an export of passwords.",
    "The file is empty.",
    "The file ends in the middle of a UTF-16 character.",
    "The file holds a broken UTF-16 character.",
    "The file has no UTF-16 byte-order mark: it is not UTF-16 text that can be read.",
    "The text is not valid UTF-8.",
    "a byte here is not UTF-8, while the rest of the file is UTF-8 text. Choose the encoding "
    "the file was written in (UTF-8 or Windows-1252) rather than have every accented character "
    "guessed.",
    "The file holds binary data (a NUL character): it is not a text file.",
    "field %1 opens a quotation mark that is never closed.",
    "field %1 has text after its closing quotation mark.",
    "the column \"%1\" is missing: this is not a %2 file.",
    "%1 fields, where the first line has %2.",
    "The column mapped to %1 does not exist.",
    "the first line does not name the columns of any export this program knows; to read it "
    "anyway, choose a generic CSV file and say which column holds which field.",
    "the file is not valid JSON (column %1).",
    "The JSON export is encrypted; export it again unencrypted to import it.",
    "The JSON is not a Bitwarden export: %1 does not have the expected shape.",
    "The JSON could not be read.",
    "--map: \"%1\" is not FIELD=COLUMN with FIELD one of title, user, password, url, notes, "
    "email, group, favourite.",
    "--map: the file has no column \"%1\" (give its caption or its number, 1 to %2).",
    "The file would then hold %1 entries; a file of the older format holds at most %2.",
};

} // namespace

const char* ImportMsgTemplate(ImportMsg m) {
    return kTemplates[static_cast<std::size_t>(m)];
}

std::string ImportProblemText(const ImportProblem& p) {
    std::string text = ImportMsgTemplate(p.what);
    for (std::size_t i = p.args.size(); i-- > 0;) { // %12 before %1
        const std::string mark = "%" + std::to_string(i + 1);
        for (std::size_t at = text.find(mark); at != std::string::npos;
             at = text.find(mark, at + p.args[i].size()))
            text.replace(at, mark.size(), p.args[i]);
    }
    return p.line ? "Line " + std::to_string(p.line) + ": " + text : text;
}

} // namespace ardeko
