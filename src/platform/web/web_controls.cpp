// The game's controls published to the page, for its screen readers' buttons and for its tests.
#include "platform/web/web_host.hpp"

#include <string>

#include "core/game.hpp"
#include "platform/web/page_calls.hpp"

namespace {

// A UTF-8 text as a JSON string.
std::string json_string(const std::string& utf8) {
  std::string out = "\"";
  for (const char c : utf8) {
    if (c == '"' || c == '\\') out += '\\', out += c;
    else if (static_cast<unsigned char>(c) < 0x20) out += ' ';
    else out += c;
  }
  return out + '"';
}

}  // namespace

void WebHost::publish_controls() {
  const Form& form = game_->form;
  if (published_ && form.revision() == published_revision_ && form.focus == published_focus_ &&
      published_question_ == input_.asking())
    return;
  published_ = true;
  published_revision_ = form.revision();
  published_focus_ = form.focus;
  published_question_ = input_.asking();
  std::string json = "{";
  for (int i = 0; i < ctl::count; ++i) {
    const auto id = static_cast<ctl::Id>(i);
    const Control& c = form[id];
    const Rect r = form.window_rect(id);
    const bool button = c.kind == Kind::Button;
    // A button without a caption (a picture) is named by its tip.
    std::string caption = sjis_.to_utf8(c.caption);
    if (button && caption.empty() && c.look.hint) caption = c.look.hint;
    json += (i ? ",\"" : "\"") + std::string(Form::name(id)) + "\":[" + std::to_string(r.x) + "," +
            std::to_string(r.y) + "," + std::to_string(r.w) + "," + std::to_string(r.h) + "," +
            (form.clickable(id) ? "1" : "0") + "," + (form.focus == id ? "1" : "0") + "," +
            (button ? "1" : "0") + "," + json_string(caption) + "]";
  }
  const std::optional<QuestionView> asked = input_.ui().question;
  const std::string question = asked ? sjis_.to_utf8(asked->text) : std::string();
  web_publish_controls((json + "}").c_str(), asked ? question.c_str() : nullptr);
}
