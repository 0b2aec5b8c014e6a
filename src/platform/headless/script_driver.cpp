#include "platform/headless/script_driver.hpp"

#include <sstream>
#include <string>
#include <vector>

#include "core/fields.hpp"
#include "core/game.hpp"
#include "core/operations.hpp"
#include "game/input.hpp"
#include "platform/headless/headless_host.hpp"
#include "platform/headless/screenshot.hpp"

namespace {

std::string trim(const std::string& s) {
  const size_t b = s.find_first_not_of(" \t\r");
  if (b == std::string::npos) return "";
  const size_t e = s.find_last_not_of(" \t\r");
  return s.substr(b, e - b + 1);
}

struct Driver {
  Game& g;
  HeadlessHost& host;
  Screenshots screenshots;

  void error(const std::string& text) { host.note("error: " + text); }

  ctl::Id control(const std::string& name) {
    const ctl::Id id = Form::find(name);
    if (id == ctl::count) error("no control named " + name);
    return id;
  }

  // Returns false when the window was closed.
  bool run(const std::string& line) {
    std::istringstream in(line);
    std::string cmd;
    in >> cmd;
    std::string rest;
    std::getline(in, rest);
    rest = trim(rest);

    if (cmd == "click") {
      const ctl::Id id = control(rest);
      if (id == ctl::count) return true;
      if (!g.form.clickable(id)) return error(rest + " cannot be clicked"), true;
      click(g, id);
    } else if (cmd == "hover") {
      if (rest == "form") return mouse_move(g, ctl::form), true;
      const ctl::Id id = control(rest);
      if (id == ctl::count) return true;
      // The window points at any part of a control that shows, its centre covered or not.
      const Rect r = g.form.visible_rect(id);
      if (!g.form.shown(id) || r.w <= 0 || r.h <= 0) return error(rest + " cannot be pointed at"), true;
      mouse_move(g, id);
    } else if (cmd == "select") {
      int n = 0;
      const Control& list = g.form[ctl::item_list];
      if (!parse_whole_number(rest, n)) return error("select needs an entry number"), true;
      if (!g.form.clickable(ctl::item_list)) return error("item_list cannot be clicked"), true;
      if (n < 0 || n >= static_cast<int>(list.items.size()))
        return error("item_list has no entry " + rest), true;
      list_select(g, ctl::item_list, n);
    } else if (cmd == "slider") {
      int n = 0;
      if (!parse_whole_number(rest, n)) return error("slider needs a position"), true;
      if (!g.form.clickable(ctl::e_sp_l)) return error("e_sp_l cannot be moved"), true;
      slider_changed(g, ctl::e_sp_l, n);
    } else if (cmd == "answer") {
      std::istringstream parts(rest);
      std::string word, extra;
      int ticks = 0;
      parts >> word;
      const bool counted = !(parts >> extra) || (parse_whole_number(extra, ticks) && ticks >= 0);
      if ((word != "yes" && word != "no") || !counted || (parts >> extra))
        return error("answer yes or answer no, then the ticks before it"), true;
      host.answers.push_back({word == "yes", ticks});
    } else if (cmd == "draws") {
      std::istringstream values(rest);
      std::string v;
      while (values >> v) {
        int n = 0;
        if (!parse_whole_number(v, n)) return error("not a draw: " + v), true;
        g.rng.rig(n);
      }
    } else if (cmd == "set") {
      std::istringstream parts(rest);
      std::string field;
      parts >> field;
      std::string value;
      std::getline(parts, value);
      if (!value.empty() && value.front() == ' ') value.erase(0, 1);
      if (auto err = FieldAccess::set(g, field, value)) error(*err);
    } else if (cmd == "get") {
      if (auto v = FieldAccess::get(g, rest)) host.note(rest + " = " + *v);
      else error("no field " + rest);
    } else if (cmd == "tick") {
      int n = 1;
      if (!rest.empty() && (!parse_whole_number(rest, n) || n < 0)) return error("tick needs a count"), true;
      for (int i = 0; i < n; ++i) timer_tick(g);
    } else if (cmd == "caption") {
      const ctl::Id id = control(rest);
      if (id != ctl::count) host.note("caption " + rest + " = " + g.sjis.to_utf8(g.form[id].caption));
    } else if (cmd == "visible") {
      const ctl::Id id = control(rest);
      if (id != ctl::count)
        host.note("visible " + rest + " = " + (g.form[id].visible ? "true" : "false"));
    } else if (cmd == "screenshot") {
      // screenshot FILE [SCALE]: the window as it stands, drawn as the window draws it, as a PNG
      std::istringstream parts(rest);
      std::string file;
      int scale = 1;
      parts >> file >> scale;
      if (file.empty() || scale < 1 || scale > 4) return error("screenshot FILE [SCALE 1-4]"), true;
      if (auto err = screenshots.take(g.form, g.sjis, file, scale)) error(*err);
    } else if (cmd == "close") {
      close_window(g);
      destroy_window(g);
      return false;
    } else {
      error("unknown command " + cmd);
    }
    return true;
  }
};

}  // namespace

void run_script(Game& g, HeadlessHost& host, std::istream& script, std::ostream& transcript) {
  host.keep_transcript = false;
  host.on_line = [&](const std::string& l) { transcript << l << '\n'; };
  host.on_timer = [&g] { timer_tick(g); };
  Driver d{g, host, {}};
  std::string line;
  while (std::getline(script, line)) {
    const size_t hash = line.find('#');
    if (hash != std::string::npos) line.erase(hash);
    line = trim(line);
    if (line.empty()) continue;
    const bool open = d.run(line);
    const std::string rig_error = g.rng.take_error();
    if (!rig_error.empty()) d.error(rig_error);
    if (!open) break;
  }
  transcript.flush();
}
