// --version and --help, and the refusal of anything else: read before the window system starts, so
// that they answer on a terminal without a display.
#include "command_line.h"

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

}  // namespace

bool AnswerCommandLine(int argc, char** argv, int* status) {
    if (argc < 2) return false;
    const std::string option = argv[1];
    const bool known =
        option == "--version" || option == "-v" || option == "--help" || option == "-h";
    // A mistyped option must not open the window as if nothing were asked.
    if (!known || argc > 2) {
        if (known)
            std::fprintf(stderr, "tavrin: %s takes no argument (got %s); see tavrin --help\n",
                         option.c_str(), argv[2]);
        else
            std::fprintf(stderr, "tavrin: unknown option %s; see tavrin --help\n", option.c_str());
        *status = 2;
        return true;
    }
    if (option == "--version" || option == "-v") {
        std::printf("Tavrin %s\n", TAVRIN_VERSION);
        *status = 0;
        return true;
    }
    if (option == "--help" || option == "-h") {
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
        *status = 0;
        return true;
    }
    return false;
}

}  // namespace tavrin::app
