// Decimal numbers as every command line of the system writes them: a run of
// the digits 0 to 9, no sign, no spaces, no other base.
#pragma once

#include <cstdint>
#include <string_view>

namespace tintwalk {

enum class DigitRun {
    kNone,      // no digit at the front
    kNumber,    // the digits spell a number up to the limit
    kTooLarge,  // they spell a larger one
};

// Reads the run of digits at the front of `text` and drops it from `text`.
// `value` gets the number the digits spell, modulo 2^64 (no number of digits
// can overflow the reading); 0 when there are none.
DigitRun ReadDigits(std::string_view& text, uint64_t limit, uint64_t& value);

// A whole text of digits only, at most `limit`; `value` is left alone
// otherwise.
bool ParseDecimal(std::string_view text, uint64_t limit, uint64_t& value);

// Whether `text` is one or more digits and nothing else, however large.
bool IsDigits(std::string_view text);

}  // namespace tintwalk
