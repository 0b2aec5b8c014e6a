// The page's import of a save pair: the two chosen files checked with the game's own readers
// before anything of the stored save is touched.
#include <emscripten.h>

#include <string>

#include "core/savefile.hpp"
#include "ui/sjis.hpp"

extern "C" {

// The most bytes a chosen file may hold; the page refuses a larger one before reading it.
EMSCRIPTEN_KEEPALIVE int lushera_chosen_file_limit() { return static_cast<int>(kMaxChosenSaveBytes); }

// Which of the two files is the save: "0" or "1", or "-" followed by what is wrong (UTF-8). The
// text stays valid until the next call.
EMSCRIPTEN_KEEPALIVE const char* lushera_check_pair(const char* name_a, const char* a, int a_size,
                                                    const char* name_b, const char* b, int b_size) {
  static const Sjis sjis;
  static std::string answer;
  const ChosenFile files[2] = {{name_a, std::string(a, static_cast<size_t>(a_size))},
                               {name_b, std::string(b, static_cast<size_t>(b_size))}};
  const PairCheck check = check_save_pair(sjis, files);
  answer = check.save >= 0 ? std::to_string(check.save) : "-" + check.problem;
  return answer.c_str();
}
}
