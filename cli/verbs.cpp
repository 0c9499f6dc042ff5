#include "cli/verbs.h"

#include "cli/import_command.h"

#include <algorithm>
#include <array>

namespace qvs {

namespace {

constexpr std::array kVerbs = {
    Verb{"ls", RunList, "FILE", "--password-stdin",
         "qvs-cli ls FILE [--password-stdin]\n"
         "    Lists the category tree with its entries, one per line (no passwords).\n"},
    Verb{"show", RunShow, "FILE SERVICE", "--field= --password-stdin",
         "qvs-cli show FILE SERVICE [--field user|password|url|notes|code|NAME] [--password-stdin]\n"
         "    Prints the fields of the entry SERVICE but its password and protected fields, or\n"
         "    only the field asked for: the password only so, code the current one-time code,\n"
         "    NAME the entry's extra field of that name (a protected one only so).\n"},
    Verb{"search", RunSearch, "FILE TEXT", "--password-stdin",
         "qvs-cli search FILE TEXT [--password-stdin]\n"
         "    Lists the entries whose name, user, e-mail, addresses or notes hold TEXT, letter\n"
         "    case and accents aside (as QVS searches); passwords are never searched.\n"},
    Verb{"expiring", RunExpiring, "FILE", "--password-stdin",
         "qvs-cli expiring FILE [--password-stdin]\n"
         "    Lists the entries whose expiry or change date has come or is near:\n"
         "    name, reason and date, separated by tabs.\n"},
    Verb{"add", RunAdd, "FILE SERVICE",
         "--category= --subcategory= --user= --email= --url= --notes-stdin --generate? "
         "--password-prompt --password-stdin",
         "qvs-cli add FILE SERVICE --category C [--subcategory S] [--user U] [--email E]\n"
         "        [--url URL] [--notes-stdin] [--generate [LENGTH] | --password-prompt]\n"
         "        [--password-stdin]\n"
         "    Adds the entry SERVICE. Its password is asked for twice with --password-prompt\n"
         "    (with --password-stdin: the next line of standard input), or made with\n"
         "    --generate; never given as an argument. --notes-stdin: the rest of standard\n"
         "    input becomes its notes.\n"},
    Verb{"edit", RunEdit, "FILE SERVICE",
         "--rename= --category= --subcategory= --user= --email= --url= --notes-stdin "
         "--generate? --password-prompt --password-stdin",
         "qvs-cli edit FILE SERVICE [--rename NEW] [--category C] [--subcategory S] [--user U]\n"
         "        [--email E] [--url URL] [--notes-stdin] [--generate [LENGTH] |\n"
         "        --password-prompt] [--password-stdin]\n"
         "    Changes the fields given of the entry SERVICE. A changed password joins the\n"
         "    entry's earlier passwords, as in QVS. --subcategory \"\" takes it out of its\n"
         "    subcategory.\n"},
    Verb{"rm", RunRemove, "FILE SERVICE", "--password-stdin",
         "qvs-cli rm FILE SERVICE [--password-stdin]\n"
         "    Deletes the entry SERVICE.\n"},
    Verb{"mv", RunMove, "FILE SERVICE", "--category= --subcategory= --password-stdin",
         "qvs-cli mv FILE SERVICE --category C [--subcategory S] [--password-stdin]\n"
         "    Files the entry SERVICE under category C (and subcategory S).\n"},
    Verb{"mkcat", RunMakeCategory, "FILE CATEGORY", "--password-stdin",
         "qvs-cli mkcat FILE CATEGORY [--password-stdin]\n"
         "    Adds the category CATEGORY.\n"},
    Verb{"rmcat", RunRemoveCategory, "FILE CATEGORY", "--with-entries --password-stdin",
         "qvs-cli rmcat FILE CATEGORY [--with-entries] [--password-stdin]\n"
         "    Deletes the category CATEGORY with its subcategories; refused while it holds\n"
         "    entries, unless --with-entries deletes them too.\n"},
    Verb{"mksub", RunMakeSubCategory, "FILE CATEGORY SUBCATEGORY", "--password-stdin",
         "qvs-cli mksub FILE CATEGORY SUBCATEGORY [--password-stdin]\n"
         "    Adds the subcategory SUBCATEGORY to the category CATEGORY.\n"},
    Verb{"rmsub", RunRemoveSubCategory, "FILE CATEGORY SUBCATEGORY",
         "--with-entries --password-stdin",
         "qvs-cli rmsub FILE CATEGORY SUBCATEGORY [--with-entries] [--password-stdin]\n"
         "    Deletes a subcategory; refused while it holds entries, unless --with-entries\n"
         "    deletes them too.\n"},
    Verb{"passwd", RunPasswd, "FILE", "--kdf-ms= --no-password --password-stdin",
         "qvs-cli passwd FILE [--kdf-ms N] [--no-password] [--password-stdin]\n"
         "    Changes the file password: the current one, then the new one (asked twice; with\n"
         "    --password-stdin, the first and second lines of standard input). For a file of\n"
         "    format 2, --kdf-ms N makes opening it take about N milliseconds here (at least\n"
         "    what it takes now).\n"},
    Verb{"generate", RunGenerate, "", "--length= --words= --classes=",
         "qvs-cli generate [--length N] [--words N] [--classes upper,lower,digits,symbols,\n"
         "        no-look-alikes]\n"
         "    Prints a new password of N characters (default 20) holding every class chosen\n"
         "    (default all four), or with --words a passphrase of N words, made as QVS makes\n"
         "    them, from the system's random source.\n"},
    Verb{"clip", RunClip, "FILE SERVICE", "--field= --seconds= --password-stdin",
         "qvs-cli clip FILE SERVICE [--field password|user|url|code|NAME] [--seconds N]\n"
         "        [--password-stdin]\n"
         "    Puts the entry's password (or the field named, also an extra field) on the\n"
         "    desktop clipboard, marked for clipboard managers as a password, and clears it\n"
         "    after N seconds (default 30) unless something else was copied meanwhile.\n"},
    Verb{
        "export", RunExport, "FILE",
        "--format= --fields= --notes --history --no-header --delimiter= --no-neutralise "
        "--password-stdin",
        "qvs-cli export FILE --format csv|html|txt [--fields F1,F2,...] [--notes] [--history]\n"
        "        [--no-header] [--delimiter C] [--no-neutralise] [--password-stdin]\n"
        "    Writes the entries to standard output as QVS exports them, in clear text. The\n"
        "    fields (default: all but the one-time-code secret) are named as in the export\n"
        "    window: \"User Name\", \"Password\", \"Exp. Date\"... CSV values a spreadsheet would\n"
        "    run as formulas get a leading ' unless --no-neutralise.\n"},
    Verb{"dump", RunDump, "FILE", "--with-history --password-stdin",
         "qvs-cli dump FILE [--with-history] [--password-stdin]\n"
         "    Writes every record of the data file FILE to standard output as one JSON object;\n"
         "    the entries' earlier passwords only with --with-history.\n"},
    Verb{"create", RunCreate, "FILE", "--from= --format= --force --no-password --password-stdin",
         "qvs-cli create FILE --from JSON|- [--format legacy|2] [--force] [--no-password]\n"
         "        [--password-stdin]\n"
         "    Writes a new data file FILE from the records in the file JSON (- : standard\n"
         "    input, after the password line), which has the shape dump writes, in format 2\n"
         "    (default) or the legacy format. An existing FILE is replaced only with --force,\n"
         "    keeping it as a backup copy. An empty password needs --no-password.\n"},
    Verb{"merge", RunMerge, "FILE OTHER", "--base= --dry-run --password-stdin",
         "qvs-cli merge FILE OTHER [--base BASE] [--dry-run] [--password-stdin]\n"
         "    Merges OTHER, another version of FILE, into FILE (backed up as on every save)\n"
         "    and lists what came from where; with BASE, the version both started\n"
         "    from, deletions are merged too. A file with another password asks for it next.\n"},
    Verb{"import", RunImport, "FILE", kImportOptions,
         "qvs-cli import FILE --from SOURCE [--format FORMAT] [--dry-run] [--password-stdin]\n"
         "        [--encoding auto|utf-8|utf-16|cp1252] [--map FIELD=COLUMN,...] [--delimiter C]\n"
         "        [--no-captions]\n"
         "    Adds the entries another password program exported to SOURCE to the data file\n"
         "    FILE, in one save that keeps a backup copy; prints what it imports. FORMAT: auto,\n"
         "    chrome, firefox, keepass-csv, bitwarden-csv, bitwarden-json, lastpass or csv;\n"
         "    for csv, --map says which column (caption or number) holds which field (title,\n"
         "    user, password, url, notes, email, group, favourite). --dry-run writes nothing.\n"},
    Verb{"convert", RunConvert, "FILE", "--format= --password-stdin",
         "qvs-cli convert FILE [--format legacy|2] [--password-stdin]\n"
         "    Writes FILE again in format 2 (default) or the legacy format; the file as it\n"
         "    was is kept as a backup copy.\n"},
    Verb{"conflicts", RunConflicts, "FILE", "",
         "qvs-cli conflicts FILE\n"
         "    Lists the copies of FILE a file-sync tool left beside it (no password needed).\n"},
    Verb{"info", RunInfo, "FILE", "",
         "qvs-cli info FILE\n"
         "    Prints the file's format and key-derivation parameters (no password needed).\n"},
};

// The option as the verb lists it ("--name", "--name=" or "--name?"), if it does.
std::optional<std::string_view> Declared(std::string_view options, std::string_view name) {
    while (!options.empty()) {
        const std::size_t end = std::min(options.find(' '), options.size());
        const std::string_view spec = options.substr(0, end);
        options.remove_prefix(std::min(end + 1, options.size()));
        const std::string_view bare = spec.substr(0, spec.find_first_of("=?"));
        if (bare == name) return spec;
    }
    return std::nullopt;
}

std::size_t WordCount(std::string_view words) {
    return words.empty() ? 0 : std::size_t(std::count(words.begin(), words.end(), ' ')) + 1;
}

bool IsNumber(std::string_view s) {
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The named fields older commands read.
void FillNamedFields(const Verb& verb, Options& o) {
    o.command = verb.name;
    o.passwordStdin = o.Has("--password-stdin");
    o.jsonFile = o.Value("--from");
    o.format = o.Value("--format");
    o.base = o.Value("--base");
    o.dryRun = o.Has("--dry-run");
    o.withHistory = o.Has("--with-history");
    o.field = o.Value("--field");
    if (!o.args.empty()) o.file = o.args[0];
    if (o.args.size() > 1) (verb.name == "merge" ? o.other : o.service) = o.args[1];
    if (verb.name == "import")
        for (const char* name : {"--map", "--encoding", "--delimiter", "--no-captions"})
            if (o.Has(name)) o.importOptions.emplace_back(name, o.Value(name));
}

} // namespace

std::span<const Verb> Verbs() {
    return kVerbs;
}

const Verb* FindVerb(std::string_view name) {
    const auto it =
        std::find_if(kVerbs.begin(), kVerbs.end(), [&](const Verb& v) { return v.name == name; });
    return it == kVerbs.end() ? nullptr : &*it;
}

std::optional<std::string>
ParseArguments(const Verb& verb, const std::vector<std::string_view>& args, Options& options) {
    const std::string name(verb.name);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view a = args[i];
        if (!a.starts_with("-") || a == "-") {
            options.args.emplace_back(a);
            continue;
        }
        // Without any "=value": it could be a password typed in the wrong place.
        const std::string bare(a.substr(0, a.find('=')));
        const auto spec = Declared(verb.options, a);
        if (!spec) return name + " takes no option " + bare;
        std::string value;
        if (spec->ends_with('=')) {
            if (++i == args.size()) return bare + " needs a value";
            value = args[i];
        } else if (spec->ends_with('?') && i + 1 < args.size() && IsNumber(args[i + 1])) {
            value = args[++i];
        }
        options.given[bare] = value;
    }
    if (options.args.size() != WordCount(verb.args))
        return name + (verb.args.empty() ? " takes no other arguments"
                                         : " needs " + std::string(verb.args));
    FillNamedFields(verb, options);
    return std::nullopt;
}

} // namespace qvs
