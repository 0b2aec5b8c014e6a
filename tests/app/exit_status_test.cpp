// The program as a launcher or a script starts it: its exit status, and the save it leaves.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <set>
#include <sstream>

#include "storage/storage.hpp"
#include "support/test_game.hpp"

namespace fs = std::filesystem;

namespace {

struct Outcome {
  int status = -1;
  std::string output;  // standard output and error together
};

// Runs a shell command line and waits for it to end.
Outcome run(const std::string& command) {
  Outcome out;
  FILE* p = popen((command + " 2>&1").c_str(), "r");
  if (!p) return out;
  char buf[4096];
  for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.output.append(buf, n);
  const int st = pclose(p);
  out.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return out;
}

std::string quoted(const fs::path& p) { return "'" + p.string() + "'"; }
const fs::path kProgram = fs::path(LUSHERA_BUILD_DIR) / "lushera";

// Plays `script` headless on the data folder, as `as` when given (a prefix such as setpriv's), and
// waits for the program to end. A program that hangs is killed, so the case fails instead.
Outcome play(const ScratchData& data, const std::string& script, const std::string& as = "") {
  const fs::path file = data.dir() / "play.script";
  data.write(file, script);
  return run("SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout -s KILL 30 " + as + quoted(kProgram) +
             " --headless --seed 1 --data " + quoted(data.dir()) + " --script " + quoted(file));
}

// The most memory any program this process has waited for has held at once, in MB.
long peak_of_children_mb() {
  rusage use {};
  getrusage(RUSAGE_CHILDREN, &use);
  return use.ru_maxrss / 1024;
}

// A run-length coded picture that says it is 8192 x 8192 in 1,080 bytes: its headers, a palette
// and the end mark, nothing else.
std::string picture_bomb() {
  std::string b(1080, '\0');
  const auto put = [&b](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>(v >> (8 * i));
  };
  b[0] = 'B', b[1] = 'M';
  put(2, 1080);
  put(10, 1078);  // the pixels, after 256 palette entries
  put(14, 40);
  put(18, 8192);
  put(22, 8192);
  b[26] = 1;   // planes
  b[28] = 8;   // bits a pixel
  put(30, 1);  // run-length coded
  b[1079] = 1;  // 0, 1: the end of the picture
  return b;
}

// The program is run as nobody when we are root, whom no folder's mode keeps out; as anyone else
// the folder's own mode applies.
std::string another_user() {
  if (geteuid() != 0) return "";
  constexpr uid_t kNobody = 65534;
  return "setpriv --reuid=" + std::to_string(kNobody) + " --regid=" + std::to_string(kNobody) +
         " --clear-groups ";
}

// A process that takes the lock on the folder and is then killed, holding it.
void killed_while_holding_the_lock(const fs::path& folder) {
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {  // only system calls here: the test process has other threads
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0 || flock(fd, LOCK_EX | LOCK_NB) != 0) _exit(1);
    kill(getpid(), SIGKILL);
    _exit(2);
  }
  int st = 0;
  ASSERT_EQ(waitpid(child, &st, 0), child);
  ASSERT_TRUE(WIFSIGNALED(st) && WTERMSIG(st) == SIGKILL) << "the child could not take the lock";
}

// Broken and hostile data among them: each ends at once, within a bounded memory, with its own
// message, and nothing read loses the save.
TEST(ExitStatus, TellsWhetherTheGameLoadedAndSaved) {
  // The game plays in some 15 MB; a picture swollen to 8192 x 8192 would take 256 MB for each
  // place it is shown in, a catalogue read from /dev/zero everything there is.
  constexpr long kMostMemoryMb = 100;
  struct Case {
    const char* what;
    std::function<void(const ScratchData&)> prepare;
    int status;
    const char* output;        // part of what the program printed
    bool save_changed;         // closing wrote my.dat
    bool as_another_user = false;
  } cases[] = {
      {"played and saved", [](const ScratchData&) {}, 0, "", true},
      {"a broken save",
       [](const ScratchData& d) { d.write(d.dat("my.dat"), "name\r\nspirit\r\nabc\r\n"); },
       1, "my.dat の 3 行目", false},
      {"a folder in the way of the save's temporary file",
       [](const ScratchData& d) {
         fs::create_directory(d.dat("my.dat.tmp"));
         d.write(d.dat("my.dat.tmp/kept"), "x");
       },
       1, "my.dat.tmp がセーブの一時ファイルの場所をふさいでいます（Directory not empty）", false},
      {"an empty folder in the way goes",
       [](const ScratchData& d) { fs::create_directory(d.dat("item.dat.tmp")); },
       0, "", true},
      {"a lock left by a killed game",
       [](const ScratchData& d) { killed_while_holding_the_lock(d.dir() / "dat"); },
       0, "", true},
      {"a save folder that cannot be read cannot be locked",
       [](const ScratchData& d) { fs::permissions(d.dir() / "dat", fs::perms(0333)); },
       1, "dat/ をロックできません（Permission denied）", false, true},
      {"a FIFO for a catalogue",
       [](const ScratchData& d) {
         fs::remove(d.dat("name.dat"));
         EXPECT_EQ(mkfifo(d.dat("name.dat").c_str(), 0644), 0);
       },
       1, "name.dat はデータファイルではありません（FIFO）", false},
      {"a device for a catalogue",
       [](const ScratchData& d) {
         fs::remove(d.dat("aiko.dat"));
         fs::create_symlink("/dev/zero", d.dat("aiko.dat"));
       },
       1, "aiko.dat はデータファイルではありません（device）", false},
      {"a catalogue of a gigabyte",
       [](const ScratchData& d) {
         fs::resize_file(d.dat("f.dat"), uintmax_t{1} << 30);  // all holes: costs no disk
       },
       1, "f.dat が大きすぎます（1073741824 バイト、16777216 バイトまで）", false},
      {"a picture bomb for the map",
       [](const ScratchData& d) { d.write(d.cg("map.bmp"), picture_bomb()); },
       0, "map.bmp: bitmap: 8192 x 8192 pixels, more than its 2 bytes of run-length data can hold", true},
      {"picture bombs for all the start's pictures",
       [](const ScratchData& d) {
         for (const char* f : {"map.bmp", "unit19.bmp", "f.bmp", "room.bmp", "title.bmp"})
           d.write(d.cg(f), picture_bomb());
       },
       0, "room.bmp: bitmap: 8192 x 8192", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchData data;
    c.prepare(data);
    const std::string before = data.read(data.dat("my.dat"));
    const Outcome run = play(data, "click Button39\nclose\n", c.as_another_user ? another_user() : "");
    EXPECT_EQ(run.status, c.status) << run.output;
    EXPECT_NE(run.output.find(c.output), std::string::npos) << run.output;
    EXPECT_EQ(data.read(data.dat("my.dat")) != before, c.save_changed);
    EXPECT_LT(peak_of_children_mb(), kMostMemoryMb);
  }
}

TEST(ExitStatus, ASecondGameOnTheSameDataSaysSoAndLeavesItAlone) {
  ScratchData data;
  const std::unique_ptr<FolderLock> running = storage().lock_folder(data.dat("").string());
  ASSERT_EQ(running->state(), FolderLock::State::held);
  const std::string save = data.read(data.dat("my.dat"));
  const std::string items = data.read(data.dat("item.dat"));
  const Outcome run = play(data, "click Button39\nset money 5\nclose\n");
  EXPECT_EQ(run.status, 3) << run.output;
  EXPECT_NE(run.output.find("ほかのルシェラ２がすでに動いています"), std::string::npos) << run.output;
  EXPECT_EQ(run.output.find("error: "), std::string::npos) << "the script was not played";
  EXPECT_EQ(data.read(data.dat("my.dat")), save);
  EXPECT_EQ(data.read(data.dat("item.dat")), items);
}

TEST(Options, VersionAndHelpAgreeWithTheReadme) {
  const Outcome version = run(quoted(kProgram) + " --version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.output, "lushera " LUSHERA_VERSION "\n");
  const Outcome help = run(quoted(kProgram) + " --help");
  EXPECT_EQ(help.status, 0);
  // Every option of the README's table is in the help, and every option of the help in the
  // README's table; the help also says where the save is.
  ScratchData files;
  const std::string readme = files.read(fs::path(LUSHERA_SOURCE_DIR) / "README.md");
  std::set<std::string> in_readme, in_help;
  std::istringstream lines(readme);
  for (std::string l; std::getline(lines, l);)
    if (l.starts_with("| `--")) {
      std::istringstream words(l.substr(3, l.find('`', 3) - 3));
      for (std::string w; words >> w;)
        if (w.starts_with("--")) in_readme.insert(w);
    }
  std::istringstream help_lines(help.output);
  for (std::string l; std::getline(help_lines, l);)
    if (l.starts_with("  --")) in_help.insert(l.substr(2, l.find(' ', 2) - 2));
  in_help.erase("--help");
  EXPECT_EQ(in_readme, in_help);
  EXPECT_NE(help.output.find("F11"), std::string::npos) << help.output;
  EXPECT_NE(help.output.find("save: " + (fs::path(LUSHERA_BUILD_DIR) / "dat/my.dat").string()), std::string::npos)
      << help.output;
}

// Where the save goes, by where the program finds its data: the program is copied into each
// layout and plays twice; the second game continues the first one's save.
TEST(Options, TheSaveLivesBesideAWritablePackElseInTheHome) {
  // As root a folder's permissions do not stop writing: the read-only case then plays as nobody.
  const bool root = geteuid() == 0;
  constexpr uid_t kNobody = 65534;
  struct Case {
    const char* what;
    const char* program;   // where the program is copied, within the scratch folder
    const char* pack;      // where the pack is, within the scratch folder
    bool read_only;
    bool with_data;        // started with --data on the pack
    bool saved_in_home;
  } cases[] = {
      {"--data DIR", "bin/lushera", "", false, true, false},
      {"beside the program", "lushera", "", false, false, false},
      {"beside the program, read-only", "lushera", "", true, false, true},
      {"installed", "bin/lushera", "share/lushera", false, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchData data;
    const fs::path pack = data.dir() / c.pack;
    if (*c.pack) {
      fs::create_directories(pack);
      fs::rename(data.dir() / "dat", pack / "dat");
      fs::rename(data.dir() / "cg", pack / "cg");
    }
    const fs::path program = data.dir() / c.program;
    fs::create_directories(program.parent_path());
    fs::copy_file(kProgram, program);
    const fs::path home = data.dir() / "home";
    fs::create_directories(home);
    std::string as = "";
    if (c.read_only) {
      fs::permissions(pack / "dat", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                      fs::perm_options::remove);
      if (root) {
        ASSERT_EQ(chown(home.c_str(), kNobody, kNobody), 0);
        as = "setpriv --reuid=" + std::to_string(kNobody) + " --regid=" + std::to_string(kNobody) +
             " --clear-groups ";
      }
    }
    const std::string pack_save = data.read(pack / "dat/my.dat");
    const fs::path script = data.dir() / "play.script";
    data.write(script, "click Button39\nget money\nclose\n");
    const std::string command = "HOME=" + quoted(data.dir()) + " XDG_DATA_HOME=" + quoted(home) + " " + as +
                                quoted(program) + " --headless --seed 1 --script " + quoted(script) +
                                (c.with_data ? " --data " + quoted(pack) : "");
    const Outcome first = run(command), second = run(command);
    EXPECT_EQ(first.status, 0) << first.output;
    EXPECT_EQ(second.status, 0) << second.output;
    const auto money = [](const std::string& out) {
      const size_t at = out.find("money = ");
      return at == std::string::npos ? -1 : std::stoi(out.substr(at + 8));
    };
    EXPECT_EQ(money(second.output), money(first.output) + 100) << "the second game did not continue the first";
    const fs::path saved = c.saved_in_home ? home / "lushera/my.dat" : pack / "dat/my.dat";
    EXPECT_TRUE(fs::exists(saved)) << saved;
    EXPECT_NE(data.read(saved), pack_save);
    if (c.saved_in_home) {
      EXPECT_EQ(data.read(pack / "dat/my.dat"), pack_save) << "the pack was written";
      EXPECT_TRUE(fs::exists(home / "lushera/item.dat"));
    } else {
      EXPECT_FALSE(fs::exists(home / "lushera")) << "a save in the home beside a writable pack";
    }
  }
}

}  // namespace
