// Access passwords of "WCDB" record files: the digest kept at header offset 28
// and the check made when such a file is opened.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "recordstore/error_codes.h"

namespace tavrin::rs {

// Lower-case hex SHA-256 of the password's GBK bytes (64 characters).
std::string PasswordDigest(std::string_view gbkPassword);
// Checks the given password against the header; "?" asks the user up to three
// times. kOk when the file may be opened, kWrongPassword otherwise.
Code CheckPassword(const uint8_t* header, std::string_view gbkPassword);

}  // namespace tavrin::rs
