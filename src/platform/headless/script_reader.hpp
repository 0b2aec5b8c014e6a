// The driver's scripts read into commands, each line checked before anything of it is played.
#pragma once
#include <cstddef>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// No command needs a longer line (the longest, a text set into a field, holds at most a data
// file's 4096 bytes). A longer line ends the script: one without line ends (a device, a binary
// file given by mistake) is read no further, in bounded memory and time.
constexpr size_t kMaxScriptLine = 8192;
// The most timer ticks one command may run, before it or before an answer: 10,000 s of the
// game's time, far past any wait the game has.
constexpr int kMaxScriptTicks = 1'000'000;

// One command, its words read and checked as far as the script alone can tell; whether the
// control named shows or the field exists is for the game to say.
struct ScriptCommand {
  enum class Kind {
    click, hover, select, slider, answer, draws, set, get, tick, caption, visible, screenshot, close
  };
  Kind kind = Kind::close;
  std::string name;   // the control, the field or the screenshot's file
  std::string value;  // set's value
  int number = 0;     // select's entry, slider's position, the ticks of tick and answer, screenshot's zoom
  bool yes = false;   // answer
  std::vector<int> draws;
};

// One line of a script: a command, or what is wrong with it.
struct ScriptLine {
  std::optional<ScriptCommand> command;
  std::string error;
  bool last = false;  // the script stops after this line
};

// The command of one line, its comment and blanks already dropped.
ScriptLine read_script_command(std::string_view line);

// Reads a script a line at a time, as it is played: a script from standard input is played as
// it is typed. '#' starts a comment; blank lines are passed over.
class ScriptReader {
 public:
  explicit ScriptReader(std::istream& in) : in_(in) {}
  // The next line holding a command or an error; nothing at the end of the script.
  std::optional<ScriptLine> next();

 private:
  std::istream& in_;
  std::string line_buffer_ = std::string(kMaxScriptLine + 1, '\0');  // a line, and the zero getline ends it with
  int line_ = 0;
  bool ended_ = false;
};
