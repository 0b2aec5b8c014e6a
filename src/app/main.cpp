// ルシェラ２: parses the options, picks the host and runs the game.
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>
#include <utility>

#include "core/data_places.hpp"
#include "core/game.hpp"
#include "core/operations.hpp"
#include "platform/headless/headless_host.hpp"
#include "platform/headless/script_driver.hpp"
#include "platform/sdl/window_zoom.hpp"  // no SDL in it: --scale's range is checked headless too
#include "platform/system_storage.hpp"
#ifdef _WIN32
#include <vector>

#include "platform/windows/console.hpp"
#endif
#ifdef LUSHERA_WINDOW
#include "platform/sdl/sdl_host.hpp"
#endif

namespace {

// Where the player's own files go, as each system's conventions have it.
#ifdef _WIN32
#define ZOOM_FILE "%APPDATA%\\lushera\\window.ini"
constexpr const char* kUserSaves =
    "  A game under Program Files, or one whose data folder cannot be written, keeps its save\n"
    "  in %APPDATA%\\lushera, copied from the data on the first start; with --data DIR\n"
    "  everything is in DIR.\n";
#else
#define ZOOM_FILE "$XDG_CONFIG_HOME/lushera/window.ini, default ~/.config/lushera/"
constexpr const char* kUserSaves =
    "  An installed game, or one whose data folder cannot be written, keeps its save in\n"
    "  $XDG_DATA_HOME/lushera (default ~/.local/share/lushera), copied from the data\n"
    "  on the first start; with --data DIR everything is in DIR.\n";
#endif

constexpr const char* kUsage =
    "usage: lushera [options]\n"
    "  --data DIR     play on the data in DIR (its dat/ and cg/ folders), the save included;\n"
    "                 default: the game's own data (see below)\n"
    "  --scale N      zoom the window by 1 to 8, as far as it fits on the screen; default:\n"
    "                 the zoom last chosen with Ctrl+plus or Ctrl+minus, else the largest\n"
    "                 whose window takes at most 85 % of the screen each way\n"
    "  --dev          open the window at its full design height, with the developer buttons\n"
    "  --seed N       start the random numbers from N instead of the clock\n"
    "  --headless     run without a window, on a virtual clock (needs --script)\n"
    "  --script FILE  with --headless: play the commands of FILE ('-' for standard input)\n"
    "                 and write the transcript to standard output\n"
    "  --record FILE  in the window: write what the player does to FILE, as a script that\n"
    "                 --headless --script replays on a copy of the data and save as they were\n"
    "  --version      show the version\n"
    "  --help         show this text\n"
    "keys in the window:\n"
    "  Tab, Shift+Tab        move the focus over the buttons and the text-speed slider\n"
    "  Space, Enter          press the focused button\n"
    "  arrows, Page Up/Down, Home, End\n"
    "                        move the focused slider, or else the item list's selection\n"
    "  F11, Alt+Enter        full screen on and off\n"
    "  Ctrl+plus, Ctrl+minus zoom the window in and out (kept for the next start in\n"
    "                        " ZOOM_FILE ")\n"
    "  Y, N, Escape          answer the question box (Escape: no)\n"
    "exit status: 0 played and saved; 1 a data file could not be read, or the save written\n"
    "  or locked; 2 wrong options; 3 another game is running on the same data\n";

#ifdef __EMSCRIPTEN__
// The scripted driver built for node: the program running is node itself, beside none of our
// data, so the data is always named with --data.
constexpr bool kDataBesideProgram = false;
#else
constexpr bool kDataBesideProgram = true;
#endif

struct Options {
  std::string data_dir;
  int scale = 0;
  bool dev = false;
  bool headless = false;
  std::string script;
  std::string record;
  std::optional<uint64_t> seed;
  bool help = false;
};

bool parse_number(const char* s, long long lo, long long hi, long long& out) {
  const char* e = s + std::strlen(s);
  return std::from_chars(s, e, out).ptr == e && *s && out >= lo && out <= hi;
}

// Returns 0 when the game should run, else the exit code.
int parse(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&]() -> const char* {
      if (i + 1 >= argc) {
        std::cerr << "lushera: " << a << " needs a value\n" << kUsage;
        return nullptr;
      }
      return argv[++i];
    };
    long long n = 0;
    if (a == "--help" || a == "-h") {
      o.help = true;
      return -1;
    } else if (a == "--version") {
      std::cout << "lushera " LUSHERA_VERSION "\n";
      return -1;
    } else if (a == "--data") {
      const char* v = value();
      if (!v) return 2;
      o.data_dir = v;
    } else if (a == "--scale") {
      const char* v = value();
      if (!v) return 2;
      if (!parse_number(v, 1, kMaxZoom, n)) {
        std::cerr << "lushera: --scale takes a whole number from 1 to " << kMaxZoom << "\n";
        return 2;
      }
      o.scale = static_cast<int>(n);
    } else if (a == "--seed") {
      const char* v = value();
      if (!v) return 2;
      if (!parse_number(v, 0, INT64_MAX, n)) {
        std::cerr << "lushera: --seed takes a whole number from 0\n";
        return 2;
      }
      o.seed = static_cast<uint64_t>(n);
    } else if (a == "--script") {
      const char* v = value();
      if (!v) return 2;
      o.script = v;
    } else if (a == "--record") {
      const char* v = value();
      if (!v) return 2;
      o.record = v;
    } else if (a == "--dev") {
      o.dev = true;
    } else if (a == "--headless") {
      o.headless = true;
    } else {
      std::cerr << "lushera: unknown option " << a << "\n" << kUsage;
      return 2;
    }
  }
  if (!kDataBesideProgram && o.data_dir.empty()) {
    std::cerr << "lushera: this build finds no data of its own: name it with --data DIR\n";
    return 2;
  }
  if (o.headless != !o.script.empty()) {
    std::cerr << "lushera: --headless and --script go together\n";
    return 2;
  }
  if (o.headless && !o.record.empty()) {
    std::cerr << "lushera: --record is for the window; a headless game already plays a script\n";
    return 2;
  }
  return 0;
}

// What the process tells whoever started it: 0 when the game ran and saved, 1 when a data file
// could not be read or the save could not be written or locked, 3 when another game runs on the
// same save.
int exit_status(const Game& g) {
  if (g.io_failed) return 1;
  return g.locked_out ? 3 : 0;
}

// The help's last part: where this program finds its data and keeps its save.
void print_places(const DataPlaces& p) {
  const std::string saves = p.save_folder();
  std::cout << "data: " << p.pack << "/dat and " << p.pack << "/cg\n"
            << "save: " << saves << "/my.dat and " << saves << "/item.dat (the cards made in battle)\n"
            << kUserSaves;
}

void start_game(Game& g, const Options& o, const DataPlaces& places) {
  g.save_dir = places.saves;
  g.fixed_seed = o.seed;
}

int run_headless(const Options& o, const DataPlaces& places) {
  HeadlessHost host;
  Game g(host, places.pack, o.dev);
  start_game(g, o, places);
  std::istringstream file;
  std::istream* script = &std::cin;
  if (o.script != "-") {
    // Through the storage, which takes the name as UTF-8 on every system.
    constexpr size_t kMaxScriptBytes = size_t{1} << 30;
    InputFile read = storage().read_file(o.script, kMaxScriptBytes);
    if (read.fault != InputFile::Fault::none) {
      std::cerr << "lushera: cannot read the script " << o.script << ": " << read_failure(read, kMaxScriptBytes)
                << "\n";
      return 1;
    }
    file.str(std::move(read.bytes));
    script = &file;
  }
  host.keep_transcript = false;
  host.on_line = [](const std::string& l) { std::cout << l << '\n'; };
  create_window(g);
  if (!g.locked_out) run_script(g, host, *script, std::cout);
  return exit_status(g);
}

int run_lushera(int argc, char** argv) {
  use_storage(system_storage());
  Options o;
  const int rc = parse(argc, argv, o);
  const DataPlaces places =
      o.data_dir.empty() ? default_places(storage().program_folder(argv[0])) : places_in(o.data_dir);
  if (o.help) {
    std::cout << kUsage;
    if (kDataBesideProgram || !o.data_dir.empty()) print_places(places);
  }
  if (rc) return rc < 0 ? 0 : rc;
  if (o.headless) return run_headless(o, places);
#ifdef LUSHERA_WINDOW
  SdlOptions window{o.scale, o.dev};
  window.record = o.record;
  window.zoom_file = zoom_settings_path();
  window.record_header = "lushera " LUSHERA_VERSION ", a session in the window.\n"
                         "Replay it on a copy of the data as it was when the session began: the pack\n"
                         "(" + places.pack + ") with my.dat and item.dat of the save (" + places.save_folder() + "):\n"
                         "  lushera --headless --data COPY" + (o.dev ? " --dev" : "") + " --script FILE";
  SdlHost host(std::move(window));
  Game g(host, places.pack, o.dev);
  start_game(g, o, places);
  const int run = host.run(g);
  const int status = run ? run : exit_status(g);
  // Everything the game keeps is written, flushed and closed by now (the save, its lock). What
  // is left is tearing down the sound output, which waits for SDL's audio thread to finish its
  // period (some 60 ms after the window has gone); the system reclaims all of it at exit.
  std::cout.flush();
  std::cerr.flush();
  std::_Exit(status);
#else
  std::cerr << "lushera: this program has no window; run it with --headless --script FILE\n";
  return 2;
#endif
}

}  // namespace

#ifdef _WIN32
// Windows hands a program its arguments in UTF-16 (the narrow ones are in the old code page,
// which cannot hold every name of a folder).
int wmain(int argc, wchar_t** wide) {
  use_parent_console();
  std::vector<std::string> args = utf8_arguments(argc, wide);
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  return run_lushera(argc, argv.data());
}
#else
int main(int argc, char** argv) { return run_lushera(argc, argv); }
#endif
