// The output every feature shares: the message window's typewriter, sounds, refusals, panels.
#include "audio/mixer_error.hpp"
#include "core/game.hpp"
#include "core/operations.hpp"

// Types the text out two bytes at a time, 10 ms a step, then holds it for the current pause.
// Each step adds its two bytes to the caption, so a long text costs time in proportion to its
// length, not to its square.
void show_message(Game& g, const std::string& text) {
  const size_t n = text.size();
  g.message_cursor = 0;
  g.host.message_shown(text);
  g.form.set_caption(ctl::moji_l, {});
  size_t shown = 0;
  while (2 * static_cast<size_t>(g.message_cursor) <= n + 1) {
    const size_t next = std::min(2 * static_cast<size_t>(g.message_cursor), n);
    g.form.append_caption(ctl::moji_l, std::string_view(text).substr(shown, next - shown));
    shown = next;
    ++g.message_cursor;
    g.host.repaint();
    g.host.sleep_ms(10);
  }
  g.message_cursor = 0;
  g.host.sleep_ms(g.message_delay_ms);
}

// Plays dat/NAME once on channel 0, after what is already queued there. Any failure (no such
// file, not a wave, no device, the mixer off) is passed over in silence.
void play_sound(Game& g, const char* name) {
  g.host.sound_played(name);
  Sound& s = g.sound;
  if (!s.mixer) return;
  try {
    Wave*& wave = s.waves[name];
    if (!wave) wave = s.mixer->load_wave(g.path("dat", name));
    s.current = wave;
    s.mixer->play_wave(0, wave, 0, 0);
  } catch (const MixerError&) {
    if (!s.waves[name]) s.waves.erase(name);
  }
}

void show_message_quickly(Game& g, const std::string& text) {
  const int32_t saved = g.message_delay_ms;
  g.message_delay_ms = 0;
  show_message(g, text);
  g.message_delay_ms = saved;
}

void refuse(Game& g, const char* message) {
  play_sound(g, "off1.wav");
  show_message(g, g.sj(message));
}

void switch_panels(Game& g, ctl::Id hide, ctl::Id show) {
  play_sound(g, "1.wav");
  g.form.hide(hide);
  g.form.show(show);
}
