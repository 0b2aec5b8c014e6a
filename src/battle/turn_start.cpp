// The start of the hero's turn: ailments, seals and confusion, a figure's help, the command prompt.
#include <string>

#include "battle/ailments.hpp"
#include "battle/battle.hpp"
#include "battle/turns.hpp"
#include "core/codes.hpp"
#include "core/game.hpp"
#include "core/operations.hpp"
#include "effects/effects.hpp"

namespace {

// The prompt "X の攻撃", without the usual pause, and the command buttons.
void prompt(Game& g, bool attack, bool magic) {
  show_message_quickly(g, g.hero.name + g.sj("の攻撃"));
  if (attack) g.form.show(ctl::w1_b);
  else g.form.hide(ctl::w1_b);
  if (magic) g.form.show(ctl::w2_b);
  else g.form.hide(ctl::w2_b);
  g.form.show(ctl::battle_box);
}

enum class Ailment { GoesOn, LosesTurn, SealedPrompt };

// A seal: 4 in 5 the hero gets the shortened prompt at once.
Ailment seal(Game& g, bool attack_sealed) {
  if (g.rng.draw(5) != 0) {
    prompt(g, !attack_sealed, attack_sealed);
    return Ailment::SealedPrompt;
  }
  show_message(g, g.hero.name + g.sj(attack_sealed ? "は攻撃技が使えるようになった" : "は魔法が使えるようになった"));
  g.hero.status = ailment::none;
  return Ailment::GoesOn;
}

Ailment hero_ailment(Game& g) {
  Hero& h = g.hero;
  switch (h.status) {
    case ailment::asleep:
    case ailment::poisoned:
    case ailment::stone:
    case ailment::healing:
    case ailment::frenzied:
      return shared_ailment(g, hero_side(g)) == AilmentOutcome::LosesTurn ? Ailment::LosesTurn
                                                                          : Ailment::GoesOn;
    case ailment::attack_sealed: return seal(g, true);
    case ailment::magic_sealed: return seal(g, false);
    case ailment::confused: {
      if (g.rng.draw(3) == 0) {
        show_message(g, g.hero.name + g.sj("は正気を取り戻した！"));
        h.status = ailment::none;
        return Ailment::GoesOn;
      }
      show_message(g, g.hero.name + g.sj("は混乱している････"));
      const int c = g.rng.draw(3);
      const int32_t n = h.spirit_power / 20;
      if (c == 0) {
        show_message(g, g.sj("何もしなかった"));
      } else if (c == 1) {
        show_message(g, g.sj("自分を攻撃した\r\r") + num(n) + g.sj("ダメージ受けた"));
        shake_window(g);
        h.hp -= n;
        refresh_status(g);
      } else {
        show_message(g, g.sj("敵を攻撃した\r\r") + num(n) + g.sj("ダメージ与えた"));
        flash_hit(g);
        g.enemy.hp -= n;
        refresh_status(g);
      }
      return Ailment::LosesTurn;
    }
    default:
      return Ailment::GoesOn;
  }
}

// The ten figures' assists: the change, then (but for the last) a refresh, then the message.
struct FigureAssist {
  void (*change)(Game&, std::string& extra);
  const char* message;
  bool refresh_after_message;
};

const FigureAssist kFigures[10] = {
    {[](Game& g, std::string& n) {
       const int32_t d = g.enemy.max_hp / 10;
       g.enemy.hp -= d;
       n = num(d) + g.sj("ダメージ与えた");
     },
     "【でこぴんlv1】\r↓\r↓\r敵に", false},
    {[](Game& g, std::string&) { g.enemy.status = ailment::poisoned; }, "【毒攻撃】\r↓\r↓\r敵を毒におかさせた！", false},
    {[](Game& g, std::string&) { g.enemy.status = ailment::asleep; }, "【眠りのキッス】\r↓\r↓\r敵を眠らせた！", false},
    {[](Game& g, std::string&) { g.enemy.status = ailment::stone; }, "【悪魔のベーゼ】\r↓\r↓\r敵を石化させた！", false},
    {[](Game& g, std::string& n) {
       g.hero.status = ailment::healing;
       n = g.hero.name + g.sj("を癒し状態にした");
     },
     "【優しさの傷跡】\r↓\r↓\r", false},
    {[](Game& g, std::string& n) {
       g.hero.hp = g.hero.max_hp;
       g.hero.status = ailment::none;
       n = g.hero.name + g.sj("のHpを完全回復させた");
     },
     "【神様の御水】\r↓\r↓\r", false},
    {[](Game& g, std::string& n) {
       g.hero.mp = g.hero.max_mp;
       n = g.hero.name + g.sj("のMpを完全回復させた");
     },
     "【沸き上がる力】\r↓\r↓\r", false},
    {[](Game& g, std::string& n) {
       g.hero.spirit_power += 33;
       n = g.hero.name + g.sj("の精霊を33上昇させた");
     },
     "【精霊への呼びかけ】\r↓\r↓\r", false},
    {[](Game& g, std::string&) { g.enemy.hp -= g.enemy.hp / 2; }, "【ｍ刻印】\r↓\r↓\r敵のHpを1/2にした！",
     false},
    {[](Game& g, std::string& n) {
       std::swap(g.hero.hp, g.enemy.hp);
       n = g.sj("敵と") + g.hero.name + g.sj("のHpを入れ替えてしまった！");
     },
     "【イタズラ】\r↓\r↓\r", true},
};

void figure_assist(Game& g) {
  int32_t l = 50 - g.hero.luck;
  if (l < 15) l = 15;
  if (g.rng.draw(l) != 0) return;
  int k = 1 + g.rng.draw(10);
  for (int again = 0; again < 10 && g.hero.item_count[34 + k] == 0; ++again) k = 1 + g.rng.draw(10);
  const Item& item = g.items[34 + k];
  if (g.hero.item_count[34 + k] != 1 || item.kind != item_kind::figure) return;
  rise_caption(g, item.name);
  show_message(g, g.sj("ﾌｨｷﾞｭｱ【") + item.name + g.sj("】の攻撃"));
  const FigureAssist& f = kFigures[k - 1];
  std::string tail;
  f.change(g, tail);
  if (!f.refresh_after_message) refresh_status(g);
  show_message(g, g.sj(f.message) + tail);
  if (f.refresh_after_message) refresh_status(g);
}

}  // namespace

NextTurn hero_turn(Game& g) {
  switch (hero_ailment(g)) {
    case Ailment::LosesTurn: return NextTurn::Opponent;
    case Ailment::SealedPrompt: return NextTurn::None;
    case Ailment::GoesOn: break;
  }
  refresh_status(g);
  figure_assist(g);
  prompt(g, true, true);
  return NextTurn::None;
}
