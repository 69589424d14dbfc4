// "storyloom translate DICTIONARY": converts a dictionary between its forms, translates a text
// with it or finds the placeholders of texts that have no entry.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "CommandSupport.h"
#include "Commands.h"
#include "JsonText.h"
#include "OutputFile.h"
#include "TranslationGuard.h"
#include "TranslationFormats.h"

namespace {
using TranslationFormats::Format;

struct TranslateArguments {
    std::string dictionary;
    std::string from, to, output;
    std::string apply;
    bool hasApply = false;
    std::vector<std::string> check;
    std::uint64_t maxText = TranslationGuard::DefaultMaxText;  // --apply is refused when its text would grow past it
};

// A line on standard error that does not end the command, after what was printed before it.
void TranslationNotice(const std::string& line) {
    std::fflush(stdout);
    std::fprintf(stderr, "storyloom: %s\n", line.c_str());
}

// The dictionary's own reports (a repeated key, a missing one) reach the user.
class PrintingLogger : public VirtualLogger {
public:
    void Log(const std::string& message, int) override { TranslationNotice("dictionary: " + message); }
};

Format FormatOf(const std::string& name, const std::string& path) {
    return name.empty() ? TranslationFormats::FromPath(path) : TranslationFormats::FromName(name);
}

// Prints "FILE:LINE: [[KEY]] has no entry" for each placeholder without one; their count.
size_t ReportMissing(const LanguageDictionary& dictionary, const std::string& path, const std::string& text, FILE* out) {
    const std::string& prefix = dictionary.GetKeyPrefix();
    const std::string& suffix = dictionary.GetKeySuffix();
    size_t missing = 0, line = 1, counted = 0;
    for (size_t at = text.find(prefix); at != std::string::npos; at = text.find(prefix, at + prefix.size())) {
        size_t end = text.find(suffix, at + prefix.size());
        if (end == std::string::npos) break;
        for (; counted < at; ++counted) line += text[counted] == '\n';
        const std::string key = text.substr(at + prefix.size(), end - at - prefix.size());
        if (key.find('\n') != std::string::npos || dictionary.FindItem(key)) continue;
        PrintText(out, path + ":" + std::to_string(line) + ": " + prefix + key + suffix + " has no entry\n");
        ++missing;
    }
    return missing;
}

// Prints to `out`; the reason of a failure in `error`.
ExitStatus::Code Translate(const TranslateArguments& args, FILE* out, std::string& error) {
    const bool convert = !args.to.empty() || !args.output.empty();
    if (!convert && !args.hasApply && args.check.empty()) {
        error = "translate needs --to/-o, --apply or --check (see storyloom translate --help)";
        return ExitStatus::UsageError;
    }
    Format from = FormatOf(args.from, args.dictionary);
    Format to = FormatOf(args.to, args.output);
    if (from == Format::Unknown || (convert && to == Format::Unknown)) {
        error = "name the dictionary forms with --from/--to: xml, csv, po or plain";
        return ExitStatus::UsageError;
    }
    std::string text;
    if (!JsonText::ReadFile(args.dictionary, text, error)) return ExitStatus::UsageError;
    PrintingLogger logger;
    LanguageDictionary dictionary("[[", "]]", &logger);
    if (!TranslationFormats::Read(from, text, dictionary, error)) {
        error = args.dictionary + ": " + error;
        return ExitStatus::Failed;
    }
    if (convert && to == Format::Xml) {
        const std::vector<std::string> lost = TranslationGuard::EntriesLostInXml(dictionary);
        for (const std::string& line : lost) std::fprintf(out, "%s: %s\n", args.dictionary.c_str(), line.c_str());
        if (!lost.empty()) {
            error = args.dictionary + ": " + std::to_string(lost.size()) + (lost.size() == 1 ? " entry" : " entries") +
                    " cannot be written in the XML form";
            return ExitStatus::Failed;
        }
    }
    if (convert) {
        std::string written;
        if (!TranslationFormats::Write(to, dictionary, written, error)) {
            error = args.dictionary + ": " + error;
            return ExitStatus::Failed;
        }
        if (args.output.empty()) {
            PrintText(out, written);
        } else {
            OutputFile file(args.output);
            if (!file.Write(written, error) || !file.Commit(error)) return ExitStatus::Failed;
        }
    }
    if (args.hasApply) {
        const TranslationGuard::SizeEstimate size = TranslationGuard::EstimateTranslation(dictionary, args.apply, args.maxText);
        if (size.overLimit) {
            error = "the translated text would grow past " + std::to_string(args.maxText) +
                    " bytes (--max-text raises the limit)";
            return ExitStatus::Failed;
        }
        // The dictionary leaves such a placeholder without a word; the user hears of it.
        if (!size.selfReference.empty())
            TranslationNotice(size.selfReference + " is left as written inside its own expansion");
        std::string translated = args.apply;
        dictionary.Translate(translated);
        PrintText(out, translated + "\n");
    }
    size_t missing = 0;
    for (const std::string& path : args.check) {
        if (!JsonText::ReadFile(path, text, error)) return ExitStatus::UsageError;
        missing += ReportMissing(dictionary, path, text, out);
    }
    if (missing > 0) {
        error = std::to_string(missing) + " placeholder" + (missing == 1 ? " has" : "s have") + " no entry in " +
                args.dictionary;
        return ExitStatus::Failed;
    }
    return ExitStatus::Success;
}
}  // namespace

CLI::App* SetUpTranslate(CLI::App& app, ExitStatus::Code& status) {
    auto args = std::make_shared<TranslateArguments>();
    CLI::App* translate = app.add_subcommand("translate", "Convert a dictionary between XML, CSV, PO and plain text, "
                                                          "translate a text, or find placeholders without an entry");
    translate->add_option("DICTIONARY", args->dictionary, "dictionary file")->required();
    translate->add_option("--from", args->from, "its form: xml, csv, po or plain (default: from its name)");
    translate->add_option("--to", args->to, "the form to write: xml, csv, po or plain (default: from -o)");
    translate->add_option("-o,--output", args->output, "file to write (default: standard output)");
    translate->add_option("--apply", args->apply, "translate this text's [[KEY]] placeholders and print it")
        ->each([args](const std::string&) { args->hasApply = true; });
    translate->add_option("--max-text", args->maxText, "refuse an --apply text that would grow past BYTES")
        ->capture_default_str();
    translate->add_option("--check", args->check, "texts whose placeholders must all have an entry; exit 1 if not");
    translate->callback([args, &status] {
        std::string error;
        status = Translate(*args, stdout, error);
        if (status != ExitStatus::Success) status = Fail(status, error);
    });
    return translate;
}
