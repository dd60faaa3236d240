// --version and --help, and the refusal of anything else: read before the window system starts, so
// that they answer on a terminal without a display.
#include "command_line.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace tavrin::app {

namespace {

#ifndef TAVRIN_VERSION
#define TAVRIN_VERSION "0"
#endif

// The data files live beside the program, which enters its directory at start.
std::string ProgramDirectoryText() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string(".") : self.parent_path().string();
}

// An option as the person typed it ("-v", "--foo"), found by the name the parser gives.
QString AsTyped(const QStringList& arguments, const QString& name) {
    for (qsizetype i = 1; i < arguments.size() && arguments[i] != QLatin1String("--"); ++i) {
        const QString& argument = arguments[i];
        QString typed = argument.section(QLatin1Char('='), 0, 0);
        if (typed.size() > 1 && typed.startsWith(QLatin1Char('-')) &&
            QStringView(typed).mid(typed.startsWith(QLatin1String("--")) ? 2 : 1) == name)
            return typed;
    }
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

// One line on standard error, then the program ends with status 2.
bool Refuse(const QString& what, int* status) {
    std::fprintf(stderr, "tavrin: %s; see tavrin --help\n", what.toLocal8Bit().constData());
    *status = 2;
    return true;
}

}  // namespace

bool AnswerCommandLine(int argc, char** argv, int* status) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
    // Single-dash words are options too, so that "-platform" is refused as itself.
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    parser.addOption(version);
    parser.addOption(help);

    // A mistyped option must not open the window as if nothing were asked.
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty())
            return Refuse(QStringLiteral("unknown option ") + AsTyped(arguments, unknown.front()),
                          status);
        QString why = parser.errorText();
        if (why.endsWith(QLatin1Char('.'))) why.chop(1);
        return Refuse(why.left(1).toLower() + why.mid(1), status);
    }
    const QStringList asked = parser.optionNames();
    const QStringList extra = parser.positionalArguments();
    if (asked.isEmpty() && extra.isEmpty()) return false;
    if (asked.isEmpty())
        return Refuse(QStringLiteral("unexpected argument ") + extra.front(), status);
    if (asked.size() > 1 || !extra.isEmpty()) {
        const QString got = asked.size() > 1 ? AsTyped(arguments, asked[1]) : extra.front();
        return Refuse(QStringLiteral("%1 takes no argument (got %2)")
                          .arg(AsTyped(arguments, asked.front()), got),
                      status);
    }
    if (parser.isSet(version)) {
        std::printf("Tavrin %s\n", TAVRIN_VERSION);
    } else {
        std::printf(
            "Tavrin %s: household finance (income, expenses, monthly and yearly views)\n"
            "Tavrin 记账：记录收入和支出，按年、按月统计并画图\n"
            "\n"
            "usage: tavrin [--help | --version]\n"
            "  without options  opens the main window\n"
            "  --version        prints the version and ends\n"
            "  --help           prints this text and ends\n"
            "\n"
            "Data files (财务收入.edb, 财务支出.edb, 收入类型.edb, 支出类型.edb) live in the\n"
            "program's directory: %s\n"
            "tavrin-db there inspects them and exports or imports items as CSV.\n",
            TAVRIN_VERSION, ProgramDirectoryText().c_str());
    }
    *status = 0;
    return true;
}

}  // namespace tavrin::app
