// Access passwords of "WCDB" record files: the digest kept at header offset 28
// and the check made when such a file is opened.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavrin::rs {

// Lower-case hex SHA-256 of the password's GBK bytes (64 characters).
std::string PasswordDigest(std::string_view gbkPassword);
// Checks the given password against the header; "?" asks the user up to three
// times. 0 when the file may be opened, -78 otherwise.
int32_t CheckPassword(const uint8_t* header, std::string_view gbkPassword);

}  // namespace tavrin::rs
