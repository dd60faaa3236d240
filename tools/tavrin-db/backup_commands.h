// tavrin-db backups / restore: the program's backup pairs of the item files,
// listed and put back from a terminal.
#pragma once

#include <string>

namespace tavrin::dbtool {

// Lists the backup pairs of the program directory, newest first.
int ListBackups(const std::string& dir);
// Puts the pair named by its stamp (as ListBackups prints it) back as the item files.
int RestoreBackup(const std::string& dir, const std::string& stamp);

}  // namespace tavrin::dbtool
