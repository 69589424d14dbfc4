#include "TranslateCommand.h"

#include "GraphProgram.h"
#include "JsonText.h"
#include "OutputFile.h"
#include "TranslationGuard.h"
#include "TranslationFormats.h"

namespace TranslateCommand {
namespace {
using TranslationFormats::Format;

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
}  // namespace

int Run(const TranslateArguments& args, FILE* out, std::string& error) {
    const bool convert = !args.to.empty() || !args.output.empty();
    if (!convert && !args.hasApply && args.check.empty()) {
        error = "translate needs --to/-o, --apply or --check (see storyloom translate --help)";
        return GraphProgram::UsageError;
    }
    Format from = FormatOf(args.from, args.dictionary);
    Format to = FormatOf(args.to, args.output);
    if (from == Format::Unknown || (convert && to == Format::Unknown)) {
        error = "name the dictionary forms with --from/--to: xml, csv, po or plain";
        return GraphProgram::UsageError;
    }
    std::string text;
    if (!JsonText::ReadFile(args.dictionary, text, error)) return GraphProgram::UsageError;
    PrintingLogger logger;
    LanguageDictionary dictionary("[[", "]]", &logger);
    if (!TranslationFormats::Read(from, text, dictionary, error)) {
        error = args.dictionary + ": " + error;
        return GraphProgram::Failed;
    }
    if (convert && to == Format::Xml) {
        const std::vector<std::string> lost = TranslationGuard::EntriesLostInXml(dictionary);
        for (const std::string& line : lost) std::fprintf(out, "%s: %s\n", args.dictionary.c_str(), line.c_str());
        if (!lost.empty()) {
            error = args.dictionary + ": " + std::to_string(lost.size()) + (lost.size() == 1 ? " entry" : " entries") +
                    " cannot be written in the XML form";
            return GraphProgram::Failed;
        }
    }
    if (convert) {
        std::string written;
        if (!TranslationFormats::Write(to, dictionary, written, error)) {
            error = args.dictionary + ": " + error;
            return GraphProgram::Failed;
        }
        if (args.output.empty()) {
            PrintText(out, written);
        } else {
            OutputFile file(args.output);
            if (!file.Write(written, error) || !file.Commit(error)) return GraphProgram::Failed;
        }
    }
    if (args.hasApply) {
        const TranslationGuard::SizeEstimate size = TranslationGuard::EstimateTranslation(dictionary, args.apply, args.maxText);
        if (size.overLimit) {
            error = "the translated text would grow past " + std::to_string(args.maxText) +
                    " bytes (--max-text raises the limit)";
            return GraphProgram::Failed;
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
        if (!JsonText::ReadFile(path, text, error)) return GraphProgram::UsageError;
        missing += ReportMissing(dictionary, path, text, out);
    }
    if (missing > 0) {
        error = std::to_string(missing) + " placeholder" + (missing == 1 ? " has" : "s have") + " no entry in " +
                args.dictionary;
        return GraphProgram::Failed;
    }
    return GraphProgram::Ok;
}

}  // namespace TranslateCommand
