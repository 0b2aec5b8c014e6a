// ルシェラ２: parses the options, picks the host and runs the game.
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "core/game.hpp"
#include "core/operations.hpp"
#include "platform/headless/headless_host.hpp"
#include "platform/headless/script_driver.hpp"
#ifdef LUSHERA_WINDOW
#include "platform/sdl/sdl_host.hpp"
#endif

namespace {

constexpr const char* kUsage =
    "usage: lushera [options]\n"
    "  --data DIR     play on the data in DIR (its dat/ and cg/ folders);\n"
    "                 default: the folder of the program\n"
    "  --scale N      zoom the window by 1 to 4 (default: the display's scale), as far as\n"
    "                 it fits on the screen\n"
    "  --dev          open the window at its full design height, with the developer buttons\n"
    "  --seed N       start the random numbers from N instead of the clock\n"
    "  --headless     run without a window, on a virtual clock (needs --script)\n"
    "  --script FILE  with --headless: play the commands of FILE ('-' for standard input)\n"
    "                 and write the transcript to standard output\n"
    "  --help         show this text\n"
    "exit status: 0 played and saved; 1 a data file could not be read or the save written;\n"
    "  2 wrong options; 3 another game is running on the same data\n";

struct Options {
  std::string data_dir;
  int scale = 0;
  bool dev = false;
  bool headless = false;
  std::string script;
  std::optional<uint64_t> seed;
};

std::string program_folder(const char* argv0) {
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) exe = std::filesystem::absolute(argv0, ec);
  return exe.parent_path().string();
}

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
      std::cout << kUsage;
      return -1;
    } else if (a == "--data") {
      const char* v = value();
      if (!v) return 2;
      o.data_dir = v;
    } else if (a == "--scale") {
      const char* v = value();
      if (!v) return 2;
      if (!parse_number(v, 1, 4, n)) {
        std::cerr << "lushera: --scale takes 1, 2, 3 or 4\n";
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
    } else if (a == "--dev") {
      o.dev = true;
    } else if (a == "--headless") {
      o.headless = true;
    } else {
      std::cerr << "lushera: unknown option " << a << "\n" << kUsage;
      return 2;
    }
  }
  if (o.headless != !o.script.empty()) {
    std::cerr << "lushera: --headless and --script go together\n";
    return 2;
  }
  return 0;
}

// What the process tells whoever started it: 0 when the game ran and saved, 1 when a data file
// could not be read or the save could not be written, 3 when another game runs on the same save.
int exit_status(const Game& g) {
  if (g.locked_out) return 3;
  return g.io_failed ? 1 : 0;
}

int run_headless(const Options& o) {
  HeadlessHost host;
  Game g(host, o.data_dir, o.dev);
  g.fixed_seed = o.seed;
  std::ifstream file;
  std::istream* script = &std::cin;
  if (o.script != "-") {
    file.open(o.script);
    if (!file) {
      std::cerr << "lushera: cannot read the script " << o.script << "\n";
      return 1;
    }
    script = &file;
  }
  host.keep_transcript = false;
  host.on_line = [](const std::string& l) { std::cout << l << '\n'; };
  create_window(g);
  if (!g.locked_out) run_script(g, host, *script, std::cout);
  return exit_status(g);
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (int rc = parse(argc, argv, o)) return rc < 0 ? 0 : rc;
  if (o.data_dir.empty()) o.data_dir = program_folder(argv[0]);
  if (o.headless) return run_headless(o);
#ifdef LUSHERA_WINDOW
  SdlHost host(o.scale, o.dev);
  Game g(host, o.data_dir, o.dev);
  g.fixed_seed = o.seed;
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
