// tavrin-db: the command-line tool for people who keep record files. Texts on
// the command line and on output are UTF-8; inside the files they are GBK.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "internal/record_file.h"
#include "runtime/value.h"

namespace tavrin::dbtool {

// The engine's message for a failure on standard error; the tool's status 1.
int Fail(rs::Code code);

// Each returns the exit status (0 or 1) and prints errors to standard error.
int Create(const std::string& file, const std::vector<std::string>& definitions);
int Info(const std::string& file);
int Dump(const std::string& file);
// One record from NAME=VALUE arguments, or, with "-" among them, the rows of a
// CSV on standard input whose header names the fields (dump's output; its
// "_tag" column is left to the engine). A number the field's precision cannot
// hold as written is refused unless `--round` is among them.
int Append(const std::string& file, const std::vector<std::string>& arguments);
// Refuses a file with bytes past its last record (a writable open would drop
// them) unless dropTrailing is set.
int Pack(const std::string& file, bool dropTrailing);
// "ok" and the counts on success; damage on standard error and status 1.
int Check(const std::string& file);
// Gives blocks that no chain and no free list reaches back to the free list.
int Reclaim(const std::string& file);

// Opens a record file named on the command line (UTF-8) through the engine,
// saying on standard error what a writable open mended.
rs::Code OpenFile(const std::string& file, bool readOnly, std::unique_ptr<rs::Database>* db,
                  rs::Sharing sharing = rs::Sharing::kDenyNone);
// Says on standard error what the opens since the last call mended.
void PrintOpenRepairs();
// True when the bytes are well-formed UTF-8.
bool IsUtf8(std::string_view text);
// What a CSV that is not UTF-8 is told.
inline constexpr const char* kNotUtf8 = "not UTF-8 (GBK? convert with iconv -f GBK)";

// Field values as the tool prints them (UTF-8): whole numbers in decimal,
// single and double precision as their shortest exact text, date-times
// "YYYY-MM-DD HH:MM:SS", logicals 1/0, byte-sets hex, texts as text.
std::string FieldText(const rs::FieldDescriptor& field, const uint8_t* bytes,
                      const std::string& chain);
std::string DateTimeText(double days);
// The shortest text that reads back to the same value: plain decimal from
// 0.0001 to 10^15 in magnitude, the exponent form beyond.
std::string ShortestText(float v);
std::string ShortestText(double v);
// A decimal text ("12.5", "-3e2", "inf", "nan"; a leading "+" allowed) read to
// the nearest value, correctly rounded; nullopt when it is no number or beyond
// the kind's range.
std::optional<float> ReadFloat(std::string_view text);
std::optional<double> ReadDouble(std::string_view text);
// True when both texts are decimal numbers of the same value ("12.50", "12.5").
bool SameDecimal(std::string_view a, std::string_view b);
// The first character of a UTF-8 text that GBK cannot hold, with its code
// point ("🧧 (U+1F9E7)"); nullopt when GBK holds them all.
std::optional<std::string> NonGbkCharacter(const std::string& utf8);
// The Value of a field written as text; the blocks it points to live in keep.
std::optional<Value> ParseValue(const rs::FieldDescriptor& f, const std::string& text,
                                std::string* keep, std::vector<uint8_t>* keepBytes);

// "YYYY-MM-DD[ HH:MM:SS]" as a date-time; nullopt when malformed.
std::optional<double> ParseDateTime(const std::string& text);
std::optional<std::string> ParseHex(const std::string& text);
// One CSV cell (RFC 4180): quoted when it holds a comma, quote or line break.
std::string CsvCell(const std::string& text);
const char* TypeName(int32_t type);

}  // namespace tavrin::dbtool
