// tavrin-db: the command-line tool for people who keep record files. Texts on
// the command line and on output are UTF-8; inside the files they are GBK.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "recordstore/internal/record_file.h"

namespace tavrin::dbtool {

// Each returns the exit status (0 or 1) and prints errors to standard error.
int Create(const std::string& file, const std::vector<std::string>& definitions);
int Info(const std::string& file);
int Dump(const std::string& file);
int Append(const std::string& file, const std::vector<std::string>& assignments);
int Pack(const std::string& file);
int Check(const std::string& file);
// Gives blocks that no chain and no free list reaches back to the free list.
int Reclaim(const std::string& file);

// Field values as the tool prints them (UTF-8): numbers as ToText writes them,
// date-times "YYYY-MM-DD HH:MM:SS", logicals 1/0, byte-sets hex, texts as text.
std::string FieldText(const rs::FieldDescriptor& field, const uint8_t* bytes,
                      const std::string& chain);
std::string DateTimeText(double days);
// "YYYY-MM-DD[ HH:MM:SS]" as a date-time; nullopt when malformed.
std::optional<double> ParseDateTime(const std::string& text);
std::optional<std::string> ParseHex(const std::string& text);
// One CSV cell (RFC 4180): quoted when it holds a comma, quote or line break.
std::string CsvCell(const std::string& text);
const char* TypeName(int32_t type);

}  // namespace tavrin::dbtool
