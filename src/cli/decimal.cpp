#include "cli/decimal.h"

namespace tintwalk {

DigitRun ReadDigits(std::string_view& text, uint64_t limit, uint64_t& value) {
    uint64_t number = 0;
    bool within = true;
    size_t length = 0;
    for (; length < text.size() && text[length] >= '0' && text[length] <= '9'; ++length) {
        const uint64_t digit = static_cast<uint64_t>(text[length] - '0');
        // Checked before multiplying, so that the test itself cannot wrap.
        if (digit > limit || number > (limit - digit) / 10)
            within = false;
        number = number * 10 + digit;
    }
    text.remove_prefix(length);
    value = number;
    if (length == 0)
        return DigitRun::kNone;
    return within ? DigitRun::kNumber : DigitRun::kTooLarge;
}

bool ParseDecimal(std::string_view text, uint64_t limit, uint64_t& value) {
    uint64_t number = 0;
    if (ReadDigits(text, limit, number) != DigitRun::kNumber || !text.empty())
        return false;
    value = number;
    return true;
}

bool IsDigits(std::string_view text) {
    uint64_t ignored = 0;
    return ReadDigits(text, UINT64_MAX, ignored) != DigitRun::kNone && text.empty();
}

}  // namespace tintwalk
