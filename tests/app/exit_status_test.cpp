// The program as a launcher or a script starts it: its exit status, and the save it leaves.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>

#include "core/save_lock.hpp"
#include "support/test_game.hpp"

namespace fs = std::filesystem;

namespace {

struct Outcome {
  int status = -1;
  std::string output;  // standard output and error together
};

// Plays `script` headless on the data folder and waits for the program to end.
Outcome play(const ScratchData& data, const std::string& script) {
  const fs::path file = data.dir() / "play.script";
  data.write(file, script);
  const std::string command = std::string("SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy '") +
                              LUSHERA_BUILD_DIR + "/lushera' --headless --seed 1 --data '" +
                              data.dir().string() + "' --script '" + file.string() + "' 2>&1";
  Outcome run;
  FILE* p = popen(command.c_str(), "r");
  if (!p) return run;
  char buf[4096];
  for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) run.output.append(buf, n);
  const int st = pclose(p);
  run.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return run;
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

TEST(ExitStatus, TellsWhetherTheGameLoadedAndSaved) {
  struct Case {
    const char* what;
    std::function<void(const ScratchData&)> prepare;
    int status;
    const char* output;        // part of what the program printed
    bool save_changed;         // closing wrote my.dat
  } cases[] = {
      {"played and saved", [](const ScratchData&) {}, 0, "", true},
      {"a broken save",
       [](const ScratchData& d) { d.write(d.dat("my.dat"), "name\r\nspirit\r\nabc\r\n"); }, 1,
       "my.dat の 3 行目", false},
      {"a save that cannot be written",
       [](const ScratchData& d) { fs::create_directory(d.dat("my.dat.tmp")); }, 1,
       "my.dat.tmp を作れません", false},
      {"a lock left by a killed game", [](const ScratchData& d) { killed_while_holding_the_lock(d.dir() / "dat"); },
       0, "", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchData data;
    c.prepare(data);
    const std::string before = data.read(data.dat("my.dat"));
    const Outcome run = play(data, "click Button39\nclose\n");
    EXPECT_EQ(run.status, c.status) << run.output;
    EXPECT_NE(run.output.find(c.output), std::string::npos) << run.output;
    EXPECT_EQ(data.read(data.dat("my.dat")) != before, c.save_changed);
  }
}

TEST(ExitStatus, ASecondGameOnTheSameDataSaysSoAndLeavesItAlone) {
  ScratchData data;
  SaveLock running(data.dat("").string());
  ASSERT_EQ(running.state(), SaveLock::State::held);
  const std::string save = data.read(data.dat("my.dat"));
  const std::string items = data.read(data.dat("item.dat"));
  const Outcome run = play(data, "click Button39\nset money 5\nclose\n");
  EXPECT_EQ(run.status, 3) << run.output;
  EXPECT_NE(run.output.find("ほかのルシェラ２がすでに動いています"), std::string::npos) << run.output;
  EXPECT_EQ(run.output.find("error: "), std::string::npos) << "the script was not played";
  EXPECT_EQ(data.read(data.dat("my.dat")), save);
  EXPECT_EQ(data.read(data.dat("item.dat")), items);
}

}  // namespace
