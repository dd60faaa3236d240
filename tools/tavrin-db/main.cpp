// tavrin-db: reads the command line and hands it to the tool's commands.
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "backup_commands.h"
#include "item_csv.h"
#include "recordstore/database_manager.h"
#include "runtime/gbk.h"
#include "tool.h"

namespace {

// The usage, on standard error for a mistake (status 2) or on standard output
// when asked for with --help (status 0).
int Usage(FILE* to = stderr) {
    std::fputs(
        "usage: tavrin-db [--wait MS] COMMAND FILE ...\n"
        "  --wait MS: how long to wait for a file another process holds (default 5000)\n"
        "  tavrin-db create FILE NAME:TYPE[:SIZE] ...   (TYPE 1-12; SIZE for text, type 10)\n"
        "  tavrin-db info FILE\n"
        "  tavrin-db dump FILE                          (CSV on standard output)\n"
        "  tavrin-db append FILE [--round] NAME=VALUE ... (dates YYYY-MM-DD[ HH:MM:SS])\n"
        "  tavrin-db append FILE [--round] -            (rows of a CSV as dump prints it)\n"
        "    --round: store a number the field cannot hold as written as its nearest value\n"
        "  tavrin-db pack FILE [--drop-trailing]        (--drop-trailing: also drop bytes past\n"
        "                                               the last record)\n"
        "  tavrin-db check FILE\n"
        "  tavrin-db export FILE                        (an item file as CSV on standard output)\n"
        "  tavrin-db import FILE CSV [--skip-bad] [--round]  (CSV rows into an item file)\n"
        "  tavrin-db reclaim FILE                       (give unreachable blocks back)\n"
        "  tavrin-db backups DIR                        (the program's backup pairs in DIR)\n"
        "  tavrin-db restore DIR STAMP                  (put a backup pair back as the item "
        "files)\n",
        to);
    return to == stderr ? 2 : 0;
}

// An argument as the parser reads it. The bytes of one that is no UTF-8 (a
// file name in GBK copied from elsewhere) are kept: each byte above 0x7F as a
// lone low surrogate, U+DC80 to U+DCFF, which no decoded text holds alone.
QString ArgumentText(const char* argument) {
    const QByteArray bytes(argument);
    QString text = QString::fromLocal8Bit(bytes);
    if (text.toLocal8Bit() == bytes) return text;
    text.clear();
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text += QChar(char16_t(byte < 0x80 ? byte : 0xDC00 + byte));
    }
    return text;
}

// The bytes the person gave for an argument that ArgumentText read.
std::string ArgumentBytes(const QString& text) {
    auto kept = [](QChar c) { return c.unicode() >= 0xDC80 && c.unicode() <= 0xDCFF; };
    const bool byByte = std::any_of(text.begin(), text.end(), kept) &&
                        std::all_of(text.begin(), text.end(),
                                    [&](QChar c) { return c.unicode() < 0x80 || kept(c); });
    if (!byByte) return text.toLocal8Bit().toStdString();
    std::string bytes;
    for (const QChar c : text) bytes += char(kept(c) ? c.unicode() - 0xDC00 : c.unicode());
    return bytes;
}

// What the parser found wrong, then the usage.
int Refuse(const QString& why) {
    std::fprintf(stderr, "%s\n", ArgumentBytes(why).c_str());
    return Usage();
}

// The commands, how many arguments each takes (the file or directory first)
// and the flags it knows.
struct Command {
    const char* name;
    size_t least, most;
    std::vector<const char*> flags;
};
constexpr size_t kAny = SIZE_MAX;
const Command kCommands[] = {
    {"create", 2, kAny, {}},
    {"info", 1, 1, {}},
    {"dump", 1, 1, {}},
    {"append", 1, kAny, {"round"}},
    {"pack", 1, 1, {"drop-trailing"}},
    {"check", 1, 1, {}},
    {"export", 1, 1, {}},
    {"import", 2, 2, {"skip-bad", "round"}},
    {"reclaim", 1, 1, {}},
    {"backups", 1, 1, {}},
    {"restore", 2, 2, {}},
};

}  // namespace

int main(int argc, char** argv) {
    using namespace tavrin::dbtool;
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments.append(ArgumentText(argv[i]));

    // The tool's own options come before the command; everything from the
    // command on is the command's.
    QCommandLineParser tool;
    tool.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    tool.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption wait(QStringLiteral("wait"), QString(), QStringLiteral("MS"));
    const QCommandLineOption help({QStringLiteral("help"), QStringLiteral("h")}, QString());
    tool.addOption(wait);
    tool.addOption(help);
    if (!tool.parse(arguments)) return Refuse(tool.errorText());
    if (tool.isSet(help)) return tool.positionalArguments().isEmpty() ? Usage(stdout) : Usage();
    // A busy file is waited for, as a person at a shell expects.
    int32_t waitMs = 5000;
    if (const QStringList given = tool.values(wait); given.size() > 1) {
        return Refuse(QStringLiteral("--wait given twice"));
    } else if (!given.isEmpty()) {
        const std::string text = ArgumentBytes(given.front());
        char* end = nullptr;
        const long ms = std::strtol(text.c_str(), &end, 10);
        if (text.empty() || *end != 0 || ms < -1 || ms > 0x7FFFFFFF) return Usage();
        waitMs = int32_t(ms);
    }
    tavrin::rs::SetLockWaitTime(waitMs);

    const QStringList words = tool.positionalArguments();
    if (words.isEmpty()) return Usage();
    const std::string name = ArgumentBytes(words.front());
    const Command* command = std::find_if(std::begin(kCommands), std::end(kCommands),
                                          [&](const Command& c) { return name == c.name; });
    if (command == std::end(kCommands)) {
        std::fprintf(stderr, "unknown command %s\n", name.c_str());
        return Usage();
    }
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const char* flag : command->flags) parser.addOption(QCommandLineOption(flag));
    if (!parser.parse(QStringList(QStringLiteral("tavrin-db ") + words.front()) + words.mid(1)))
        return Refuse(parser.errorText());
    // A flag said twice is a slip, but append has always taken --round among
    // its values however often it came.
    const QStringList said = parser.optionNames();
    for (const QString& option : said)
        if (said.count(option) > 1 && name != "append")
            return Refuse(QStringLiteral("--%1 given twice").arg(option));
    std::vector<std::string> rest;
    for (const QString& word : parser.positionalArguments()) rest.push_back(ArgumentBytes(word));
    if (rest.size() < command->least || rest.size() > command->most) return Usage();
    auto flag = [&](const char* option) { return parser.isSet(QString::fromLatin1(option)); };

    const std::string file = rest.front();
    rest.erase(rest.begin());
    // Inside the program names are GBK; a character GBK has no place for would
    // turn into "?" and two different names into one file.
    if (tavrin::GbkToUtf8(tavrin::Utf8ToGbk(file)) != file) {
        std::fprintf(stderr, "\"%s\": the name holds characters the record files cannot name\n%s\n",
                     file.c_str(),
                     tavrin::GbkToUtf8(tavrin::DatabaseError(tavrin::rs::Code::kBadPath)).c_str());
        return 1;
    }
    if (name == "create") return Create(file, rest);
    if (name == "append") {
        if (flag("round")) rest.insert(rest.begin(), "--round");
        return Append(file, rest);
    }
    if (name == "import") return ImportItems(file, rest[0], flag("skip-bad"), flag("round"));
    if (name == "pack") return Pack(file, flag("drop-trailing"));
    if (name == "restore") return RestoreBackup(file, rest[0]);
    if (name == "backups") return ListBackups(file);
    if (name == "info") return Info(file);
    if (name == "dump") return Dump(file);
    if (name == "check") return Check(file);
    if (name == "export") return ExportItems(file);
    return Reclaim(file);
}
