// Builds a classic in-memory dialog template word by word: for the dialogs a
// test creates and for the exact template expected in the saver's resources.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <vector>

namespace tintwalk::testing {

class DialogTemplate {
  public:
    DialogTemplate& Dword(DWORD value) { return Words({LOWORD(value), HIWORD(value)}); }
    DialogTemplate& Words(std::initializer_list<WORD> words) {
        words_.insert(words_.end(), words);
        return *this;
    }
    DialogTemplate& Text(const char* text) {
        for (; *text != 0; ++text)
            words_.push_back(static_cast<BYTE>(*text));
        return Words({0});
    }
    // Every control starts on a DWORD.
    DialogTemplate& Align() { return words_.size() % 2 != 0 ? Words({0}) : *this; }
    const std::vector<WORD>& words() const { return words_; }

  private:
    std::vector<WORD> words_;
};

}  // namespace tintwalk::testing
