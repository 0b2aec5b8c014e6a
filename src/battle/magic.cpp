// The magic group (まほう): techniques 9 to 16.
#include <string>

#include "battle/battle.hpp"
#include "battle/technique_effects.hpp"
#include "core/codes.hpp"
#include "core/game.hpp"
#include "core/operations.hpp"
#include "effects/effects.hpp"

namespace {

void direct_hit(Game& g, int32_t d) {
  flash_hit(g);
  g.enemy.hp -= d;
  refresh_status(g);
  show_message(g, num(d) + g.sj("ダメージ与えた"));
}

// The cat summoning: who comes, what they say, and what they do (the change and its refresh);
// `act` returns the last message.
struct Summon {
  const char* caption;
  const char* greeting;
  const char* attack;  // a second message, or nullptr
  std::string (*act)(Game&);
};

const Summon kSummons[8] = {
    {"ｶﾞﾆｭﾒｰﾄ", "ｶﾞﾆｭﾒｰﾄが現れた。\r「････牢ジカケを味わうがいい」", nullptr,
     [](Game& g) {
       g.enemy.status = ailment::stone;
       refresh_status(g);
       return g.enemy.name + g.sj("は石化した");
     }},
    {"アリラン", "アリランが現れた。\r「････オレ、手助けスル」", nullptr,
     [](Game& g) {
       g.enemy.status = ailment::poisoned;
       refresh_status(g);
       return g.enemy.name + g.sj("は毒を浴びた");
     }},
    {"ミルテ", "ミルテが現れた。\r「････あなたに癒しあれ」", nullptr,
     [](Game& g) {
       g.hero.status = ailment::healing;
       refresh_status(g);
       return g.hero.name + g.sj("は癒し状態になった");
     }},
    {"ジル", "ジルが現れた。\r「････俺の剣、うけてみよ」", "ジルの攻撃",
     [](Game& g) {
       const int32_t d = 20 * g.hero.level;
       flash_hit(g);
       g.enemy.hp -= d;
       refresh_status(g);
       return g.enemy.name + g.sj("に") + num(d) + g.sj("ダメージ与えた");
     }},
    {"ｼｭｰﾃｨﾝｸﾞ･ﾌﾗﾜｰ", "ｼｭｰﾃｨﾝｸﾞ･ﾌﾗﾜｰが現れた。\r「････ボクは争いを好まない」", nullptr,
     [](Game& g) {
       const int32_t h = 20 * g.hero.level;
       g.enemy.hp += h;
       g.hero.hp += h;
       refresh_status(g);
       return g.enemy.name + g.sj("は") + num(h) + g.sj("回復した") + "\r" + g.hero.name + g.sj("は") + num(h) +
              g.sj("回復した");
     }},
    {"スターダスト", "スターダストが現れた。\r「････冒険という名の闇へ」", "スターダンスの攻撃",
     [](Game& g) {
       flash_hit(g);
       g.enemy.hp = 1;
       g.hero.hp = 1;
       refresh_status(g);
       return g.enemy.name + g.sj("のHpが1になった。") + "\r" + g.hero.name + g.sj("のHpが1になった。");
     }},
    {"ビクトリー", "ビクトリーが現れた。\r「････にゃーーーん」", "ビクトリーの攻撃",
     [](Game& g) {
       flash_hit(g);
       if (g.rng.draw(4) != 0) return g.sj("0ダメージ与えた");
       g.enemy.hp = 0;
       refresh_status(g);
       return g.sj("9999ダメージ与えた");
     }},
    {"シルヴィア", "シルヴィアが現れた。\r「････力がほしいの？」", nullptr,
     [](Game& g) {
       g.hero.spirit_power += 20;
       refresh_status(g);
       return g.hero.name + g.sj("の精霊が20上昇した");
     }},
};
// By the draw 0 .. 11; -1: nobody comes.
constexpr int kSummonByDraw[12] = {0, 1, 2, 3, 4, 5, 6, 7, 1, -1, -1, -1};

// The dance's eleven outcomes; each is the whole sequence of its messages and changes.
using DanceStep = void (*)(Game&);
const DanceStep kDance[11] = {
    [](Game& g) {
      g.hero.mp += 30;
      refresh_status(g);
      show_message(g, g.hero.name + g.sj("のMpが30回復した"));
    },
    [](Game& g) {
      g.hero.exp += 30;
      refresh_status(g);
      show_message(g, g.hero.name + g.sj("の経験値が30上昇した"));
    },
    [](Game& g) {
      show_message(g, g.hero.name + g.sj("の魔力が解放する！"));
      shake_window(g);
      const int32_t d = 10 * g.hero.mp;
      g.enemy.hp -= d;
      refresh_status(g);
      show_message(g, num(d) + g.sj("ダメージ与えた"));
      g.hero.mp = 0;
      refresh_status(g);
      show_message(g, g.sj("Mpが0になった"));
    },
    [](Game& g) {
      shake_window(g);
      shake_window(g);
      show_message(g, g.sj("大地震が起きた！"));
      g.hero.hp = g.hero.max_hp / 10;
      g.enemy.hp = g.enemy.max_hp / 10;
      refresh_status(g);
      show_message(g, g.hero.name + g.sj("と敵のHpは最大Hpの1/10になった"));
    },
    [](Game& g) {
      std::swap(g.hero.attr_sun, g.hero.attr_water);
      std::swap(g.hero.attr_magic, g.hero.attr_angel);
      show_message(g, g.sj("地球と太陽の位置が逆転する"));
      refresh_status(g);
      show_message(g, g.hero.name + g.sj("の属性<太陽>と<水>、<魔>と<天使>がそれぞれ入れ替わった"));
    },
    [](Game& g) {
      g.hero.attack += 1;
      refresh_status(g);
      show_message(g, g.hero.name + g.sj("の【攻撃力】が1上昇した"));
      g.hero.mp = 0;
      refresh_status(g);
      show_message(g, g.sj("Mpが０になってしまった"));
    },
    [](Game& g) {
      g.hero.defense += 1;
      refresh_status(g);
      show_message(g, g.hero.name + g.sj("の【防御力】が1上昇した"));
      g.hero.mp = 0;
      refresh_status(g);
      show_message(g, g.sj("Mpが０になってしまった"));
    },
    [](Game& g) {
      show_message(g, g.hero.name + g.sj("に眠る過去の記憶が呼び覚まされた"));
      show_message(g, g.sj("【過去】が1上昇した"));
      show_message(g, g.sj("【裏切り】が1上昇した"));
      g.hero.mp = g.hero.mp / 3;
      refresh_status(g);
      show_message(g, g.sj("Mpが1/3になってしまった"));
    },
    [](Game& g) {
      flash_hit(g);
      flash_hit(g);
      show_message(g, g.sj("イナヅマが落ちた"));
      g.enemy.hp = 1;
      refresh_status(g);
      show_message(g, g.enemy.name + g.sj("のHpを1にした"));
    },
    [](Game& g) { show_message(g, g.sj("なにも起こらなかった････")); },
    [](Game& g) {
      show_message(g, g.sj("精霊達が") + g.enemy.name + g.sj("に味方した"));
      g.enemy.spirit_power += 100;
      g.enemy.spirit_name = g.sj("精霊神");
      refresh_status(g);
      show_message(g, g.enemy.name + g.sj("の精霊が100増えた"));
    },
};

}  // namespace

int shown_chance(int lv) {
  static constexpr int kChance[11] = {0, 10, 11, 12, 14, 16, 20, 25, 33, 40, 60};
  return lv >= 1 && lv <= 10 ? kChance[lv] : 0;
}

Afterwards sorcery(Game& g, const TechContext& c) {
  const int32_t h = (c.sp / 20 + 1) * c.lv + 15;
  g.hero.hp += h;
  flash_blue(g);
  refresh_status(g);
  show_message(g, g.hero.name + g.sj("は") + num(h) + g.sj("回復した"));
  if (g.hero.status != ailment::none) show_message(g, g.sj("ステータス状態が戻った"));
  g.hero.status = ailment::none;
  return Afterwards::Continue;
}

Afterwards astrology(Game& g, const TechContext& c) {
  int32_t m = c.sp / 15 + 1;
  const bool sun = g.enemy.attribute == attribute::sun;
  if (sun) {
    show_message(g, g.sj("あまり効かない"));
    m /= 3;
  }
  damage_enemy(g, (m + 5) * c.lv);
  const int32_t saved = g.message_delay_ms;
  g.message_delay_ms = 300;
  if (!sun) {
    const int stars = 1 + g.rng.draw(3);
    for (int i = 0; i < stars; ++i) {
      const int32_t s = g.rng.draw(5) + g.hero.level * c.lv;
      g.enemy.hp -= s;
      refresh_status(g);
      rise_caption(g, g.sj("☆"));
      flash_hit(g);
      show_message(g, g.sj("星が昇る\r") + num(s) + g.sj("ダメージ与えた"));
    }
  }
  g.message_delay_ms = saved;
  return Afterwards::Continue;
}

Afterwards dragon_tongue(Game& g, const TechContext&) {
  direct_hit(g, g.hero.max_hp - g.hero.hp);
  return Afterwards::Continue;
}

Afterwards cat_summoning(Game& g, const TechContext& c) {
  close_green(g);
  const int32_t d = (c.sp / 30 + 1 + 5) * c.lv;
  if (g.enemy.attribute == attribute::magic) {
    show_message(g, g.enemy.name + g.sj("は魔法を吸収した"));
    g.enemy.hp += d;
    refresh_status(g);
    show_message(g, g.enemy.name + g.sj("は") + num(d) + g.sj("回復した"));
    opponent_turn(g);
    return Afterwards::EndsAction;
  }
  if (g.enemy.attribute == attribute::angel) {
    show_message(g, g.enemy.name + g.sj("は魔法を反射した"));
    shake_window(g);
    g.hero.hp -= d;
    refresh_status(g);
    show_message(g, g.hero.name + g.sj("は") + num(d) + g.sj("ダメージ受けた"));
    opponent_turn(g);
    return Afterwards::EndsAction;
  }
  direct_hit(g, d);
  const int who = kSummonByDraw[g.rng.draw(12)];
  if (who < 0) {
    show_message(g, g.sj("誰も召喚されなかった"));
    return Afterwards::Continue;
  }
  const Summon& s = kSummons[who];
  rise_caption(g, g.sj(s.caption));
  show_message(g, g.sj(s.greeting));
  if (s.attack) show_message(g, g.sj(s.attack));
  show_message(g, s.act(g));
  return Afterwards::Continue;
}

Afterwards drain(Game& g, const TechContext& c) {
  const int32_t d = (c.sp / 20 + 1) * c.lv + 5;
  close_red(g);
  g.enemy.hp -= d;
  g.hero.hp += d;
  refresh_status(g);
  show_message(g, num(d) + g.sj("のダメージを吸い取った"));
  return Afterwards::Continue;
}

Afterwards halving(Game& g, const TechContext& c) {
  show_message(g, g.sj("成功確率") + num(shown_chance(c.lv)) + g.sj("％\r↓\r↓\r↓"));
  if (g.rng.draw(12 - c.lv) == 0) {
    flash_hit(g);
    g.enemy.hp /= 2;
    refresh_status(g);
    show_message(g, g.sj("↓\r↓\r") + g.enemy.name + g.sj("のHpを1/2にした！"));
    return Afterwards::Continue;
  }
  show_message(g, g.sj("↓\r↓\r失敗した"));
  opponent_turn(g);
  return Afterwards::EndsAction;
}

Afterwards fairy_art(Game& g, const TechContext& c) {
  show_message(g, g.sj("精霊【") + g.hero.spirit_name + g.sj("】達の妖精力が爆発する"));
  int32_t m = c.sp;
  if (g.enemy.attribute == attribute::none) {
    show_message(g, g.sj("あまり効かない"));
    m /= 2;
  }
  damage_enemy(g, 5 * c.lv + m);
  g.hero.spirit_power = c.sp / 3;
  refresh_status(g);
  show_message(g, g.hero.name + g.sj("の精霊が") + num(c.sp - c.sp / 3) + g.sj("減少した"));
  if (g.rng.draw(3) == 0) {
    g.enemy.status = ailment::healing;
    refresh_status(g);
    show_message(g, g.enemy.name + g.sj("は癒し状態になった"));
  }
  return Afterwards::Continue;
}

Afterwards dance(Game& g, const TechContext&) {
  close_green(g);
  kDance[g.rng.draw(11)](g);
  return Afterwards::Continue;
}
