// Start-up: the creation step (the data read, the panels placed), a new hero, continuing.
#include <chrono>

#include "core/game.hpp"
#include "core/operations.hpp"
#include "core/savefile.hpp"
#include "audio/mixer_error.hpp"
#include "ui/technique_buttons.hpp"

namespace {

// The panels laid out below the visible area, and where start-up puts them.
struct Placement {
  ctl::Id panel;
  int x, y;
};
constexpr Placement kPlacements[] = {
    {ctl::end_box, 0, 0},   {ctl::help_box, 0, 0}, {ctl::item_box, 204, 0},
    {ctl::star_box, 0, 0},  {ctl::yado_box, 0, 0}, {ctl::dougu_box, 0, 0},
    {ctl::card_box, 0, 0},  {ctl::ken_box, 0, 0},  {ctl::start_box, 0, 0},
};

// The home's pictures in the order start-up loads them.
constexpr ctl::Id kHomeLoadOrder[] = {ctl::Image1, ctl::Image2, ctl::Image3, ctl::Image5,
                                      ctl::Image6, ctl::Image4, ctl::Image7, ctl::Image8,
                                      ctl::Image9, ctl::Image10};
constexpr ctl::Id kHomePictures[] = {ctl::Image1, ctl::Image2, ctl::Image3, ctl::Image4,
                                     ctl::Image5, ctl::Image6, ctl::Image7, ctl::Image8,
                                     ctl::Image9, ctl::Image10};

bool load_picture(Game& g, ctl::Id id, const char* file) {
  const bool ok = g.host.load_bitmap(g.path("cg", file), g.form[id].canvas);
  if (ok) g.form.touch();
  return ok;
}

// Gives a picture the pixels of one already loaded, as loading the same file again would: shared,
// so the map in its three places is held once until one of them is drawn on.
void share_picture(Game& g, ctl::Id id, ctl::Id from) {
  g.form[id].canvas.share(g.form[from].canvas);
  g.form.touch();
}

void load_pictures(Game& g) {
  g.ending_picture_due = false;
  // The map, its backdrop copy and the toy shop's preview are all the world map: it is read once.
  const bool map = load_picture(g, ctl::cg, "map.bmp");
  load_picture(g, ctl::bak, "unit19.bmp");
  if (map) share_picture(g, ctl::bakmap, ctl::cg);
  load_picture(g, ctl::f_bak, "f.bmp");
  if (map) {
    share_picture(g, ctl::cg_f, ctl::cg);
    Canvas& c = g.form[ctl::cg_f].canvas;
    c.brush = c.pen = cl::teal;
    c.fill_rect(0, 0, 160, 160);
    g.form.resize(ctl::cg_f, 160, 160);
  }
  load_picture(g, ctl::room, "room.bmp");
  // One group: the first picture that fails leaves the rest of the group empty.
  for (ctl::Id id : kHomeLoadOrder)
    if (!load_picture(g, id, "unit19.bmp")) return;
  // The last of the group, and the largest (more than the others together), is decoded when the
  // ending shows it; a broken file is told then, when its picture is missed.
  g.ending_picture_due = true;
}

void cut_figure_strip(Game& g) {
  const Canvas& strip = g.form[ctl::f_bak].canvas;
  for (int k = 0; k < 10; ++k)
    g.form[kHomePictures[k]].canvas.copy_rect(0, 0, 64, 64, strip, 64 * k, 0, 64 * k + 64, 64);
}


// A save kept apart from the pack goes into a folder of the player's that the first start makes,
// open to the player alone. A failure names the level that could not be made and why (a file in
// the way, a parent the player may not write).
void make_save_folder(const Game& g) {
  if (g.save_dir.empty()) return;
  if (const std::optional<FolderFailure> failed = make_folders(g.save_dir, true))
    throw IoError(failed->level + " を作れません（" + failed->error + "）");
}

// One game per save: a second start on the same folder says so and touches nothing. A folder that
// cannot be made or locked is refused the same way, with its reason: a game that could not tell
// whether another one runs there might overwrite that one's progress.
bool take_save_lock(Game& g) {
  if (g.save_lock && g.save_lock->state() == FolderLock::State::held) return true;
  const std::string folder = g.save_path("");
  std::string why;
  try {
    make_save_folder(g);
    g.save_lock = storage().lock_folder(folder);
    if (g.save_lock->state() == FolderLock::State::held) return true;
    if (g.save_lock->state() == FolderLock::State::busy)
      why = folder + " では、ほかのルシェラ２がすでに動いています。そちらを閉じてから始めてください。";
    else
      throw IoError(folder + " をロックできません（" + g.save_lock->error() +
                    "）。ほかのルシェラ２が同じセーブで動いていないと確かめられないので、始めません。");
  } catch (const IoError& e) {
    why = e.what();
    g.io_failed = true;
  }
  g.save_lock.reset();
  g.locked_out = true;
  g.host.show_error(g.sjis.from_utf8(why));
  return false;
}

// After a failed load the window stays, but nothing in it leads anywhere: the message window says
// what was wrong, without the folder the error box names, and that closing saves nothing. The
// status panel is hidden: no hero was read, and its zeros in the red of a fallen hero would look
// like one.
void tell_the_load_failed(Game& g, std::string what) {
  for (ctl::Id status : {ctl::state_l, ctl::star_l, ctl::hp_l, ctl::mp_l, ctl::z_l}) g.form.hide(status);
  for (const std::string& folder : {g.path("dat", ""), g.save_path("")})
    if (what.starts_with(folder)) what.erase(0, folder.size());
  g.form.set_caption(ctl::moji_l, g.sjis.from_utf8("データを読み込めませんでした。\r" + what +
                                                   "\rウィンドウを閉じると、セーブせずに終了します。"));
}
}  // namespace

void show_ending(Game& g) {
  if (g.ending_picture_due) load_picture(g, ctl::end_cg, "title.bmp");
  g.ending_picture_due = false;
  g.form.show(ctl::end_box);
}

void create_window(Game& g) {
  create_window_but_sound(g);
  if (!g.locked_out) start_sound(g);
}

void create_window_but_sound(Game& g) {
  if (!take_save_lock(g)) return;
  g.rng.seed(g.fixed_seed ? *g.fixed_seed
                          : static_cast<uint64_t>(
                                std::chrono::steady_clock::now().time_since_epoch().count()));
  g.hero.name.clear();
  g.hero.money = 0;
  try {
    load_game(g);
  } catch (const IoError& e) {
    g.io_failed = true;
    // The window shows what it says before the error box stands over it.
    tell_the_load_failed(g, e.what());
    g.host.show_error(g.sjis.from_utf8(e.what()));
    return;
  }
  g.hero.money += 100;
  for (const Placement& p : kPlacements) g.form.move(p.panel, p.x, p.y);
  g.form.hide(ctl::e_state);
  g.message_delay_ms = 800;
  g.form.move(ctl::toy_box, 0, 0);
  g.form.move(ctl::my_box, 0, 0);
  load_pictures(g);
  cut_figure_strip(g);
}

// The window's sound component: switched on, with channels 0 and 1 open, and the first wave
// opened. Without a device, or if the mixer cannot start, the game runs silent.
void start_sound(Game& g) {
  AudioDevice* device = g.host.audio_device();
  if (!device) return;
  Sound& s = g.sound;
  // Started again (another window on the same game): the old mixer and the waves it loaded
  // hang on the old system, so they go first.
  s.current = nullptr;
  s.waves.clear();
  s.mixer.reset();
  s.system.reset();
  try {
    s.system = std::make_unique<MixerSystem>(*device);
    s.mixer = std::make_unique<SoundMixer>(*s.system);
    s.mixer->set_activated(true);
    s.mixer->set_channels(3);
  } catch (const MixerError&) {
    s.mixer.reset();
    s.system.reset();
    return;
  }
  // The first wave is opened, not played.
  try {
    Wave* w = s.mixer->load_wave(g.path("dat", "1.wav"));
    s.waves["1.wav"] = w;
    s.current = w;
  } catch (const MixerError&) {
  }
}

void continue_game(Game& g) { switch_panels(g, ctl::start_box, ctl::map_box); }

void new_hero(Game& g) {
  Hero& h = g.hero;
  play_sound(g, "1.wav");
  h.name = g.sj("ライズ");
  h.max_hp = 30;
  h.max_mp = 10;
  h.hp = 30;
  h.mp = 10;
  h.life = 100 + g.rng.draw(30);
  h.level = 1;
  h.luck = 0;
  h.spirit_power = 15;
  h.spirit_name = g.sj("ｽﾀｰﾀﾞﾝｽ");
  g.form.show(ctl::first_b);
  for (int t = 1; t <= kTechniques; ++t) h.tech_lv(t) = t == technique::flick ? 1 : 0;
  for (int t = 1; t <= kTechniques; ++t) h.tech_exp(t) = 0;
  h.world.fill(0);
  h.item_count.fill(0);
  h.owned_flags.fill(0);
  h.attr_sun = h.attr_water = h.attr_magic = h.attr_angel = 0;
  h.stars = 0;
  h.attack = h.magic = h.defense = 0;
  h.exp = 0;
  h.money = g.rng.draw(100);
  g.form.hide(ctl::start_box);
  g.form.show(ctl::map_box);
}

std::string random_name(Game& g) {
  // 92 units of two bytes: 66 full-width katakana, then 26 pairs of half-width ones.
  const std::string& units = g.sj(
      "アイウエオカキクケコサシスセソナニヌネノハヒフヘホマミムメモヤユヨラリルレロワヲンガギグゲゴ"
      "ザジズゼゾダヂヅデドバビブベボパピプペポﾁｬｷｬｼｬﾋｬﾋｭﾋｮｷｭｷｮｼｭｼｮﾁｭﾁｮﾐｬﾐｭﾐｮｱｯｲｯﾃｰｸｰﾏｰﾁｰﾉｯﾉｰﾗｰﾅｯﾐｰ");
  std::string name = g.name_pool[g.rng.draw(kNamePool)];
  if (g.rng.draw(100) == 1) {
    name.clear();
    for (int i = 0; i < 4; ++i) name += units.substr(2 * g.rng.draw(92), 2);
  }
  return name;
}

void destroy_window(Game& g) {
  Sound& s = g.sound;
  if (!s.mixer || !s.current) return;
  try {
    // The component stops its channels first, so nothing queued is left pointing at the wave.
    s.mixer->set_channels(0);
    s.mixer->release_wave(s.current);
    for (auto it = s.waves.begin(); it != s.waves.end(); ++it)
      if (it->second == s.current) it->second = nullptr;
    s.current = nullptr;
  } catch (const MixerError&) {
  }
}

// Saves, then lets the save go: the game is over, and another may start on it.
void close_window(Game& g) {
  if (g.loaded) {  // never overwrite files that were not read
    try {
      save_game(g);
    } catch (const IoError& e) {
      g.io_failed = true;
      g.host.show_error(g.sjis.from_utf8(e.what()));
    }
  }
  g.save_lock.reset();
}
