// The scripted driver: a script's commands played on the headless game, with the transcript.
#include "platform/headless/script_driver.hpp"

#include <optional>
#include <string>

#include "core/fields.hpp"
#include "core/game.hpp"
#include "core/operations.hpp"
#include "game/input.hpp"
#include "platform/headless/headless_host.hpp"
#include "platform/headless/screenshot.hpp"
#include "platform/headless/script_reader.hpp"

bool can_click(const Game& g, ctl::Id id) { return g.form.clickable(id); }

bool can_point_at(const Game& g, ctl::Id id) {
  // The window points at any part of a control that shows, its centre covered or not.
  const Rect r = g.form.visible_rect(id);
  return g.form.shown(id) && r.w > 0 && r.h > 0;
}

namespace {

using Kind = ScriptCommand::Kind;

struct Driver {
  Game& g;
  HeadlessHost& host;
  Screenshots screenshots;

  void error(const std::string& text) { host.note("error: ", text); }

  ctl::Id control(const std::string& name) {
    const ctl::Id id = Form::find(name);
    if (id == ctl::count) error("no control named " + name);
    return id;
  }

  // Returns false when the window was closed.
  bool run(const ScriptCommand& c) {
    const std::string& name = c.name;
    switch (c.kind) {
      case Kind::click: {
        const ctl::Id id = control(name);
        if (id == ctl::count) break;
        if (!can_click(g, id)) return error(name + " cannot be clicked"), true;
        click(g, id);
        break;
      }
      case Kind::hover: {
        if (name == "form") return mouse_move(g, ctl::form), true;
        const ctl::Id id = control(name);
        if (id == ctl::count) break;
        if (!can_point_at(g, id)) return error(name + " cannot be pointed at"), true;
        mouse_move(g, id);
        break;
      }
      case Kind::select: {
        const Control& list = g.form[ctl::item_list];
        if (!can_click(g, ctl::item_list)) return error("item_list cannot be clicked"), true;
        if (c.number < 0 || c.number >= static_cast<int>(list.items.size()))
          return error("item_list has no entry " + std::to_string(c.number)), true;
        list_select(g, ctl::item_list, c.number);
        break;
      }
      case Kind::slider:
        if (!g.form.clickable(ctl::e_sp_l)) return error("e_sp_l cannot be moved"), true;
        slider_changed(g, ctl::e_sp_l, c.number);
        break;
      case Kind::answer:
        host.answers.push_back({c.yes, c.number});
        break;
      case Kind::draws:
        for (int n : c.draws) g.rng.rig(n);
        break;
      case Kind::set:
        if (auto err = FieldAccess::set(g, name, c.value)) error(*err);
        break;
      case Kind::get:
        if (auto v = FieldAccess::get(g, name)) host.note(name + " = " + *v);
        else error("no field " + name);
        break;
      case Kind::tick:
        for (int i = 0; i < c.number; ++i) timer_tick(g);
        break;
      case Kind::caption: {
        const ctl::Id id = control(name);
        if (id != ctl::count) host.note("caption " + name + " = " + g.sjis.to_utf8(g.form[id].caption));
        break;
      }
      case Kind::visible: {
        const ctl::Id id = control(name);
        if (id != ctl::count) host.note("visible " + name + " = " + (g.form[id].visible ? "true" : "false"));
        break;
      }
      case Kind::screenshot:
        if (auto err = screenshots.take(g.form, g.sjis, name, c.number)) error(*err);
        break;
      case Kind::close:
        close_window(g);
        destroy_window(g);
        return false;
    }
    return true;
  }
};

}  // namespace

void run_script(Game& g, HeadlessHost& host, std::istream& script, std::ostream& transcript) {
  host.keep_transcript = false;
  host.on_line = [&](const std::string& l) { transcript.write(l.data(), static_cast<std::streamsize>(l.size())).put('\n'); };
  host.on_timer = [&g] { timer_tick(g); };
  Driver d{g, host, {}};
  ScriptReader reader(script);
  while (const std::optional<ScriptLine> line = reader.next()) {
    if (!line->command) {
      d.error(line->error);
      continue;
    }
    const bool open = d.run(*line->command);
    const std::string rig_error = g.rng.take_error();
    if (!rig_error.empty()) d.error(rig_error);
    if (!open) break;
  }
  transcript.flush();
}
