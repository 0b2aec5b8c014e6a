// The sword and card counters: releasing swords and exchanging cards.
#include <string>

#include "core/game.hpp"
#include "core/names.hpp"
#include "core/operations.hpp"
#include "town/town.hpp"

namespace {

// A card's reward by its value 0 .. 26 (27 is the card the dealer does not know; 28 and any
// other value give nothing). `change` returns the dealer's words.
using CardReward = std::string (*)(Game&, int32_t d);
const CardReward kCardRewards[27] = {
    [](Game& g, int32_t) {
      g.hero.life += 10;
      return g.sj("まあまあのカードかな。寿命を10増やしてあげるよ");
    },
    [](Game& g, int32_t) {
      g.hero.life += 20;
      return g.sj("結構いいカードかな。寿命を20増やしてあげるよ");
    },
    [](Game& g, int32_t) {
      g.hero.money += 300;
      return g.sj("結構マニア受けするカードだね。お金300円上げるよ");
    },
    [](Game& g, int32_t) {
      g.hero.stars += 1;
      return g.sj("うーん。マニア受けするけど、大したことはないカードかな。星を1個あげるよ。");
    },
    [](Game& g, int32_t) {
      g.hero.money += 1;
      return g.sj("ははは。ヘボカードだよ、これ。お金1円だけあげる。くすくす。");
    },
    [](Game& g, int32_t) {
      g.hero.max_hp += 10;
      g.hero.life = 1;
      return g.sj("なんて恐ろしい！こ､これは呪いのカードだ････､") + g.hero.name +
             g.sj("君の寿命が1になり【最大Hp】が10上がった!");
    },
    [](Game& g, int32_t) {
      g.hero.attr_sun += 1;
      return g.sj("特殊なカードだね、<太陽>の属性を1上げよう。");
    },
    [](Game& g, int32_t) {
      g.hero.attr_water += 1;
      return g.sj("特殊なカードだね、<水>の属性を1上げよう。");
    },
    [](Game& g, int32_t) {
      g.hero.attr_magic += 1;
      return g.sj("特殊なカードだね、<魔>の属性を1上げよう。");
    },
    [](Game& g, int32_t) {
      g.hero.attr_angel += 1;
      return g.sj("特殊なカードだね、<天使>の属性を1上げよう。");
    },
    [](Game& g, int32_t) {
      g.hero.defense += 1;
      return g.sj("雰囲気のいいカードだ。【防御力】を1上げよう。");
    },
    [](Game& g, int32_t) {
      g.hero.magic += 1;
      return g.sj("雰囲気のいいカードだ。【魔力】を1上げよう。");
    },
    [](Game& g, int32_t) {
      g.hero.attack += 1;
      return g.sj("雰囲気のいいカードだ。【攻撃力】を1上げよう。");
    },
    [](Game& g, int32_t) {
      g.hero.luck += 1;
      return g.sj("雰囲気のいいカードだ。【運】を1上げよう。");
    },
    [](Game& g, int32_t) {
      g.hero.attr_water += 2;
      return g.sj("特殊なカードだね、<水>の属性を2上げよう。");
    },
    [](Game& g, int32_t) {
      g.hero.attr_magic += 2;
      return g.sj("特殊なカードだね、<魔>の属性を2上げよう。");
    },
    [](Game& g, int32_t) {
      g.hero.level += 1;
      return g.sj("なかなかいいカードだね。") + g.hero.name + g.sj("君の【レベル】を1上げてあげよう");
    },
    [](Game& g, int32_t) {
      g.hero.level -= 1;
      return g.sj("なんて汚いカードだっ。") + g.hero.name + g.sj("君の【レベル】を1下げさせてもらうよ");
    },
    [](Game& g, int32_t d) {
      g.hero.max_hp += 2 * d;
      return g.sj("こういうカード好きだな。") + g.hero.name + g.sj("君の【最大ＨＰ】を") + num(2 * d) +
             g.sj("上げてあげよう");
    },
    [](Game& g, int32_t d) {
      g.hero.max_mp += d;
      return g.sj("うん、このカード好きだな。") + g.hero.name + g.sj("君の【最大ＭＰ】を") + num(d) +
             g.sj("上げてあげよう");
    },
    [](Game& g, int32_t) {
      const int j = 51 + g.rng.draw(18);
      if (g.hero.item_count[j] == 1) {
        g.hero.money += 700;
        return g.sj("珍しいカードだ。700円あげよう");
      }
      g.hero.item_count[j] = 1;
      return g.sj("珍しいカードだ！「") + g.items[j].name + g.sj("」と交換してあげるよ。");
    },
    [](Game& g, int32_t) {
      const int j = g.rng.draw(51);
      if (g.hero.item_count[j] == 1) {
        g.hero.stars += 5;
        return g.sj("希なカードだね。星を5個あげよう");
      }
      g.hero.item_count[j] = 1;
      return g.sj("希なカードだね。「") + g.items[j].name + g.sj("」と交換しよう。");
    },
    [](Game& g, int32_t) {
      g.hero.spirit_power += 3;
      return g.sj("・・・・よくあるカードだな。精霊を3引き出して上げよう。");
    },
    [](Game& g, int32_t) {
      g.hero.life += 50;
      return g.sj("これこそ幸運のカードだ！") + g.hero.name + g.sj("君の【寿命】を50上げよう！");
    },
    [](Game& g, int32_t) {
      g.hero.money += 70;
      return g.sj("・・・・普通のカードだね。お金70円で交換だな。");
    },
    [](Game& g, int32_t) {
      g.hero.stars += 10;
      return g.sj("まさしく幻のレアカード！星を10個あげるよ");
    },
    [](Game& g, int32_t) {
      g.hero.stars += 10;
      return g.sj("まさしく幻のレアカード！星を10個あげるよ");
    },
};

void raise_attack(Game& g) {
  g.hero.attack += 1;
  show_message(g, g.sj("攻撃力が1上がった････"));
}

void open_counter(Game& g, ctl::Id box, ctl::Id name_label, ctl::Id fee_label, const char* button,
                  const char* fee, const char* greeting) {
  play_sound(g, "1.wav");
  Form& f = g.form;
  f.set_caption(ctl::item_use, g.sj(button));
  f.set_caption(name_label, "");
  f.set_caption(fee_label, g.sj(fee));
  refresh_item_list(g);
  f.show(box);
  f.show(ctl::item_box);
  f.set_caption(ctl::moji_l, g.sj(greeting));
  f[ctl::item_list].selected = -1;
  f.set_caption(ctl::item_about, "");
  f.show(ctl::item_mark);
}

}  // namespace

void open_sword_shop(Game& g) {
  open_counter(g, ctl::ken_box, ctl::ken_l, ctl::ken_l2, "【剣】の解放", "解放料金 0円",
               "ｿｰﾄﾞﾏｽﾀｰ「さぁ、あんたの持ってるアイテムの中から使いたい【剣】を選びな。選んだら【剣の解放】ボタンを押せ。」");
}

void open_card_shop(Game& g) {
  open_counter(g, ctl::card_box, ctl::card_l, ctl::card_l2, "【カード】の交換", "交換料金 0円",
               "ｶｰﾄﾞﾏｽﾀｰ「何かカードもってる？持っているカードを選択して、【カードの交換】ボタンを押してよ。」");
}

// Leaving a counter hides it and the item panel beside it; the shop panel stays behind them.
void leave_counter(Game& g, ctl::Id box) {
  play_sound(g, "1.wav");
  g.form.hide(box);
  g.form.hide(ctl::item_box);
}

void leave_sword_shop(Game& g) { leave_counter(g, ctl::ken_box); }
void leave_card_shop(Game& g) { leave_counter(g, ctl::card_box); }

bool sword_shop_agrees(Game& g, int32_t value) {
  if (g.hero.money < value * 100) {
    play_sound(g, "off1.wav");
    show_message(g, g.sj("ｿｰﾄﾞﾏｽﾀｰ｢お金が足りないよ？」"));
    return false;
  }
  play_sound(g, "off1.wav");
  return g.host.ask_yes_no(g.sj("この剣を解放してもらいますか？"));
}

bool card_shop_agrees(Game& g) {
  if (g.hero.money < 10) {
    play_sound(g, "off1.wav");
    show_message(g, g.sj("ｶｰﾄﾞﾏｽﾀｰ｢お金が足りないよ？」"));
    return false;
  }
  play_sound(g, "off1.wav");
  return g.host.ask_yes_no(g.sj("このカードを交換してもらいますか？"));
}

Handed release_sword(Game& g, int kind, const std::string& name, std::string& result) {
  Hero& h = g.hero;
  switch (kind) {
    case 100: {
      const int k = 2 + g.rng.draw(15);
      const std::string tech = g.sj(tech_short_name(k));
      if (g.rng.draw(2) != 0) {
        raise_attack(g);
      } else if (h.tech_lv(k) == 0) {
        h.tech_lv(k) = 1;
        show_message(g, g.sj("【技】の１つが解放された！"));
        result = g.sj("【") + tech + g.sj("】を修得した！");
      } else if (h.tech_lv(k) < 10) {
        h.tech_lv(k) += 1;
        show_message(g, g.sj("【") + tech + g.sj("】のLvが1あがった！"));
      } else {
        raise_attack(g);
      }
      break;
    }
    case 101:
      result = name + g.sj("は音も無く崩れ去った････") + "\r" + g.sj("ｿｰﾄﾞﾏｽﾀｰ｢ご、ごめん、壊れちゃったみたい････｣");
      break;
    case 102:
      result = g.sj("精霊【パイプ】が出現した。");
      h.spirit_name = g.sj("パイプ");
      h.spirit_power = 99;
      refresh_status(g);
      break;
    case 103:
      h.attack += 1;
      result = g.sj("攻撃力が1上がった････");
      break;
    case 104:
      h.spirit_power = h.spirit_power * 3 / 2;
      result = h.name + g.sj("の精霊が１．５倍になった!");
      break;
    case 105: {
      const int32_t m = g.rng.draw(1000);
      h.money += m;
      result = g.sj("ｿｰﾄﾞﾏｽﾀｰ｢この剣は貴重品だよ。") + num(m) + g.sj("円で買い取らせもらうね。");
      break;
    }
    default:
      break;
  }
  return Handed::Taken;
}

Handed exchange_card(Game& g, int32_t value, std::string& result) {
  const int32_t d = 1 + g.rng.draw(2);
  if (value == 27) {
    show_message(g, g.sj("うーん？？････どうしてだろう、僕も知らないカードだ････。これは君がもっていた方がいい。"));
    g.form.set_caption(ctl::card_l, "");
    g.form.set_caption(ctl::card_l2, g.sj("交換料金 0円"));
    return Handed::Kept;
  }
  if (value >= 0 && value <= 26) result = kCardRewards[value](g, d);
  return Handed::Taken;
}
