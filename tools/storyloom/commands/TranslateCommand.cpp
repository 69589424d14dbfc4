// "storyloom translate": converts a dictionary between the forms translators' tools read,
// brings a translated file up to a newer source, makes a pseudo-translation, translates a
// text with it or finds the placeholders of texts that have no entry. Nothing an input holds
// is dropped, and nothing is written that will not read back, without a line saying so.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "CommandSupport.h"
#include "Commands.h"
#include "JsonText.h"
#include "OutputFile.h"
#include "PseudoLocale.h"
#include "QuotedText.h"
#include "SourceHash.h"
#include "TranslationCheck.h"
#include "TranslationGuard.h"
#include "TranslationMerge.h"

namespace {
using TranslationCheck::Unfinished;

struct TranslateArguments {
    std::string dictionary;
    std::string from, to, output, language;
    std::vector<std::string> update;  // the translated file, then the newer source
    std::string apply;
    bool hasApply = false;
    bool pseudo = false;
    double widen = 30;  // percent
    std::string unfinished = "source";
    bool acceptLoss = false;
    std::vector<std::string> check;
    std::uint64_t maxText = TranslationGuard::DefaultMaxText;  // --apply is refused when its text would grow past it
};

// A line on standard error that does not end the command, after what was printed before it.
void Notice(const std::string& line) {
    std::fflush(stdout);
    std::fprintf(stderr, "storyloom: %s\n", line.c_str());
}

std::string Entries(std::size_t count) { return std::to_string(count) + (count == 1 ? " entry" : " entries"); }

// Lines that stop the command unless --accept-loss lets it go on: printed, with the failure
// line in `error` (the loss itself when there is one, else `count` of them); or told as notices.
bool StopsAt(const std::vector<std::string>& lines, const std::string& path, const std::string& count,
             const char* goOn, const TranslateArguments& args, FILE* out, std::string& error) {
    if (args.acceptLoss || lines.size() > 1)
        for (const std::string& line : lines) {
            if (args.acceptLoss) Notice(path + ": " + line);
            else std::fprintf(out, "%s: %s\n", path.c_str(), line.c_str());
        }
    if (lines.empty() || args.acceptLoss) return false;
    error = path + ": " + (lines.size() == 1 ? lines[0] : count) + " (--accept-loss " + goOn + ")";
    return true;
}

// Reads a translators' file in the form `from` names, or its name or text tells.
ExitStatus::Code ReadInput(const std::string& path, const std::string& from, const TranslateArguments& args,
                           TranslationFile& file, const TranslationForm*& form, FILE* out, std::string& error) {
    std::string text;
    if (!JsonText::ReadFile(path, text, error)) return ExitStatus::UsageError;
    form =
        from.empty() ? TranslationForms::Of(path, text) : TranslationForms::Named(from);
    if (!form) {
        error = path + ": its form cannot be told; name it with --from (" + TranslationForms::Names() + ")";
        return ExitStatus::UsageError;
    }
    ReadReport report;
    form->read(text, file, report);
    if (!report.error.empty()) {
        error = path + ": " + report.error;
        return ExitStatus::Failed;
    }
    for (const std::string& warning : report.warnings) Notice(path + ": " + warning);
    if (StopsAt(report.losses, path, std::to_string(report.losses.size()) + " entries are not read",
                "reads the rest", args, out, error))
        return ExitStatus::Failed;
    if (file.entries.empty()) {
        const TranslationForm* looks = TranslationForms::Detect(text);
        error = path + ": no entry read as " + form->name +
                (looks && looks != form ? std::string(" (it looks like ") + looks->name + ": try --from " + looks->name + ")"
                                        : std::string());
        return ExitStatus::Failed;
    }
    return ExitStatus::Success;
}

ExitStatus::Code Update(const TranslateArguments& args, TranslationFile& file, FILE* out, std::string& error) {
    TranslationFile source;
    const TranslationForm* form = nullptr;
    if (ExitStatus::Code status = ReadInput(args.update[1], "", args, source, form, out, error); status != ExitStatus::Success)
        return status;
    MergeReport report;
    file = MergeWithSource(file, source, report);
    for (const std::string& key : report.removedKeys)
        Notice(args.update[0] + ": entry " + QuotedText::ForMessage(key) + " is not in " + args.update[1] + " any more");
    Notice(args.update[0] + ": " + std::to_string(report.kept) + " kept, " + std::to_string(report.changed) +
           " changed (fuzzy), " + std::to_string(report.added) + " new, " + std::to_string(report.removedKeys.size()) +
           " removed");
    return ExitStatus::Success;
}

// Where a dictionary takes the entries: the choice of --unfinished applied.
bool Finish(TranslationFile& file, Unfinished unfinished, const std::string& path,
            FILE* out, std::string& error) {
    std::vector<std::string> refused;
    const std::string warning = TranslationCheck::ResolveUnfinished(file, unfinished, refused);
    if (!warning.empty()) Notice(path + ": " + warning);
    for (const std::string& line : refused) std::fprintf(out, "%s: %s\n", path.c_str(), line.c_str());
    if (!refused.empty()) error = path + ": " + Entries(refused.size()) + " not finished (--unfinished refuse)";
    return refused.empty();
}

ExitStatus::Code Convert(const TranslateArguments& args, TranslationFile file, const TranslationForm& from,
                         Unfinished unfinished, const std::string& path, FILE* out, std::string& error) {
    const TranslationForm* to = !args.to.empty()       ? TranslationForms::Named(args.to)
                                : !args.output.empty() ? TranslationForms::ForOutput(args.output)
                                                       : &from;
    if (!to) {
        error = "name the form to write with --to (" + TranslationForms::Names() + ")";
        return ExitStatus::UsageError;
    }
    if (!args.language.empty()) file.targetLanguage = args.language;
    if (to->holdsState) TranslationCheck::FillSourceHashes(file);
    else if (!Finish(file, unfinished, path, out, error)) return ExitStatus::Failed;
    std::string written;
    to->write(file, written);
    const std::vector<std::string> losses = TranslationCheck::WriteLosses(*to, file, written);
    if (StopsAt(losses, path, Entries(losses.size()) + " cannot be written in the " + to->name + " form",
                "writes what reads back", args, out, error))
        return ExitStatus::Failed;
    if (args.output.empty()) {
        PrintText(out, written);
        return ExitStatus::Success;
    }
    OutputFile output(args.output);
    return output.Write(written, error) && output.Commit(error) ? ExitStatus::Success : ExitStatus::Failed;
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

ExitStatus::Code ApplyAndCheck(const TranslateArguments& args, TranslationFile file, Unfinished unfinished,
                               const std::string& path, FILE* out, std::string& error) {
    if (!Finish(file, unfinished, path, out, error)) return ExitStatus::Failed;
    LanguageDictionary dictionary("[[", "]]");
    for (TranslationEntry& entry : file.entries)
        dictionary.AddItem(std::move(entry.key), std::move(entry.translated), std::move(entry.source));
    if (args.hasApply) {
        const TranslationGuard::SizeEstimate size = TranslationGuard::EstimateTranslation(dictionary, args.apply, args.maxText);
        if (size.overLimit) {
            error = "the translated text would grow past " + std::to_string(args.maxText) +
                    " bytes (--max-text raises the limit)";
            return ExitStatus::Failed;
        }
        // The dictionary leaves such a placeholder without a word; the user hears of it.
        if (!size.selfReference.empty()) Notice(size.selfReference + " is left as written inside its own expansion");
        std::string translated = args.apply;
        dictionary.Translate(translated);
        PrintText(out, translated + "\n");
    }
    size_t missing = 0;
    for (const std::string& checked : args.check) {
        std::string text;
        if (!JsonText::ReadFile(checked, text, error)) return ExitStatus::UsageError;
        missing += ReportMissing(dictionary, checked, text, out);
    }
    if (missing > 0) {
        error = std::to_string(missing) + " placeholder" + (missing == 1 ? " has" : "s have") + " no entry in " + path;
        return ExitStatus::Failed;
    }
    return ExitStatus::Success;
}

// Prints to `out`; the reason of a failure in `error`.
ExitStatus::Code Translate(const TranslateArguments& args, FILE* out, std::string& error) {
    const bool convert = !args.to.empty() || !args.output.empty() || !args.update.empty() || args.pseudo;
    if (!convert && !args.hasApply && args.check.empty()) {
        error = "translate needs --to/-o, --update, --pseudo, --apply or --check (see storyloom translate --help)";
        return ExitStatus::UsageError;
    }
    if (args.dictionary.empty() == args.update.empty()) {
        error = "translate reads one DICTIONARY, or the two files --update names";
        return ExitStatus::UsageError;
    }
    Unfinished unfinished;
    if (!TranslationCheck::UnfinishedFromName(args.unfinished, unfinished) ||
        (!args.to.empty() && !TranslationForms::Named(args.to)) ||
        (!args.from.empty() && !TranslationForms::Named(args.from)) || args.widen < 0) {
        error = "--from and --to take " + TranslationForms::Names() +
                "; --unfinished takes source, keep or refuse; --widen a percentage";
        return ExitStatus::UsageError;
    }
    const std::string path = args.update.empty() ? args.dictionary : args.update[0];
    TranslationFile file;
    const TranslationForm* form = nullptr;
    if (ExitStatus::Code status = ReadInput(path, args.from, args, file, form, out, error); status != ExitStatus::Success)
        return status;
    if (!args.update.empty())
        if (ExitStatus::Code status = Update(args, file, out, error); status != ExitStatus::Success) return status;
    if (args.pseudo) {
        for (TranslationEntry& entry : file.entries)
            entry = {entry.key, entry.source, PseudoTranslation(entry.source, args.widen / 100), EntryState::Translated,
                     SourceHash(entry.source), ""};
    }
    if (convert)
        if (ExitStatus::Code status = Convert(args, file, *form, unfinished, path, out, error); status != ExitStatus::Success)
            return status;
    if (!args.hasApply && args.check.empty()) return ExitStatus::Success;
    return ApplyAndCheck(args, std::move(file), unfinished, path, out, error);
}
}  // namespace

CLI::App* SetUpTranslate(CLI::App& app, ExitStatus::Code& status) {
    auto args = std::make_shared<TranslateArguments>();
    CLI::App* translate = app.add_subcommand(
        "translate", "Convert a dictionary between XML, plain lines, CSV, PO and XLIFF 2.0 and 1.2, bring a "
                     "translation up to a newer source, pseudo-translate, translate a text, or find placeholders "
                     "without an entry");
    translate->add_option("DICTIONARY", args->dictionary, "dictionary or translators' file");
    translate->add_option("--from", args->from,
                          "its form (of OLD with --update): " + TranslationForms::Names() +
                              " (default: from its name or text)");
    translate->add_option("--to", args->to, "the form to write, as --from (default: from -o, else the input's)");
    translate->add_option("-o,--output", args->output, "file to write (default: standard output)");
    translate->add_option("--update", args->update, "merge the translated file OLD with the newer source NEW")
        ->expected(2)
        ->type_name("OLD NEW");
    translate->add_flag("--pseudo", args->pseudo, "write a pseudo-translation of the originals");
    translate->add_option("--widen", args->widen, "how much longer --pseudo makes each text, in percent")
        ->capture_default_str();
    translate->add_option("--unfinished", args->unfinished,
                          "untranslated and fuzzy entries in XML, plain, --apply, --check: source, keep or refuse")
        ->capture_default_str();
    translate->add_flag("--accept-loss", args->acceptLoss, "write even when entries are not read or will not read back");
    translate->add_option("--language", args->language, "the translation's language, written to PO and XLIFF");
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
