#pragma once
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/game.hpp"
#include "platform/headless/headless_host.hpp"

// A scratch copy of the default data pack, removed again at the end of the test.
class ScratchData {
 public:
  ScratchData();
  ~ScratchData();
  std::filesystem::path dir() const { return dir_; }
  std::filesystem::path dat(const std::string& file) const { return dir_ / "dat" / file; }
  std::filesystem::path cg(const std::string& file) const { return dir_ / "cg" / file; }
  // A save folder apart from the pack, as an installed game keeps in the player's home (made by
  // the game's first start).
  std::filesystem::path home(const std::string& file = "") const { return dir_ / "home" / "lushera" / file; }
  // The file as bytes, and writing bytes over it.
  std::string read(const std::filesystem::path& p) const;
  void write(const std::filesystem::path& p, const std::string& bytes) const;

 private:
  std::filesystem::path dir_;
};

// A game on the headless host over a scratch copy of the default data, with its creation step
// run unless asked not to.
struct TestGame {
  explicit TestGame(bool create = true, bool dev = false);
  ScratchData data;
  HeadlessHost host;
  std::unique_ptr<Game> game;
  Game& g() { return *game; }
  // Transcript lines that start with the prefix ("message: ", "sound: " ...), prefix removed.
  std::vector<std::string> lines(const std::string& prefix) const;
  std::vector<std::string> messages() const { return lines("message: "); }
  std::string utf8(const std::string& sjis) const { return game->sjis.to_utf8(sjis); }
  std::string sj(const std::string& utf8) const { return game->sjis.from_utf8(utf8); }
  void clear_transcript() { host.transcript.clear(); }
};
