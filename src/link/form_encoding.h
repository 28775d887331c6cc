#pragma once

#include <string>
#include <string_view>

// A form field value as a form post sends it: letters and digits unchanged,
// a blank as "+", every other byte as "%" and two uppercase hex digits.
std::string FormEncodeValue(std::string_view value);
