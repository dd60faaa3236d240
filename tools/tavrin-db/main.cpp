// tavrin-db: dispatches the command line to the tool's commands.
#include <cstdio>
#include <cstring>

#include "item_csv.h"
#include "tool.h"

namespace {

int Usage() {
    std::fputs(
        "usage:\n"
        "  tavrin-db create FILE NAME:TYPE[:SIZE] ...   (TYPE 1-12; SIZE for text, type 10)\n"
        "  tavrin-db info FILE\n"
        "  tavrin-db dump FILE                          (CSV on standard output)\n"
        "  tavrin-db append FILE NAME=VALUE ...         (dates YYYY-MM-DD[ HH:MM:SS])\n"
        "  tavrin-db pack FILE\n"
        "  tavrin-db check FILE\n"
        "  tavrin-db export FILE                        (an item file as CSV on standard output)\n"
        "  tavrin-db import FILE CSV [--skip-bad]       (CSV rows into an item file)\n",
        stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace tavrin::dbtool;
    if (argc < 3) return Usage();
    const std::string command = argv[1];
    const std::string file = argv[2];
    std::vector<std::string> rest(argv + 3, argv + argc);
    if (command == "create") return rest.empty() ? Usage() : Create(file, rest);
    if (command == "append") return Append(file, rest);
    if (command == "import" && (rest.size() == 1 || (rest.size() == 2 && rest[1] == "--skip-bad")))
        return ImportItems(file, rest[0], rest.size() == 2);
    if (!rest.empty()) return Usage();
    if (command == "info") return Info(file);
    if (command == "dump") return Dump(file);
    if (command == "pack") return Pack(file);
    if (command == "check") return Check(file);
    if (command == "export") return ExportItems(file);
    return Usage();
}
