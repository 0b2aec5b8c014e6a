// The item panel: the list of what the hero holds, and what each kind of item does.
#include <cstring>
#include <string>

#include "core/codes.hpp"
#include "core/game.hpp"
#include "core/operations.hpp"
#include "town/town.hpp"

namespace {

// The ordinary kinds 0 .. 24: each changes the state and returns the result text (`drawn` is
// the 1 .. 3 drawn for every use). Kinds 8 and 23 show their own message and keep the item.
struct ItemUse {
  const Item& item;
  int32_t v;
  int32_t drawn;
  const std::string& name;  // the hero's
};
using OrdinaryEffect = std::string (*)(Game&, const ItemUse&);

const OrdinaryEffect kOrdinary[25] = {
    [](Game& g, const ItemUse& u) {
      g.hero.hp += u.v * 10;
      return u.name + g.sj("のＨｐが") + num(u.v * 10) + g.sj("回復した。");
    },
    [](Game& g, const ItemUse& u) {
      g.hero.hp += u.v * 20;
      return u.name + g.sj("Ｈｐが") + num(u.v * 20) + g.sj("回復した。");
    },
    [](Game& g, const ItemUse& u) {
      g.hero.mp += u.v * 5;
      return u.name + g.sj("のＭｐが") + num(u.v * 5) + g.sj("回復した。");
    },
    [](Game& g, const ItemUse& u) {
      g.hero.mp += u.v * 10;
      return u.name + g.sj("のＭｐが") + num(u.v * 10) + g.sj("回復した。");
    },
    [](Game& g, const ItemUse& u) {
      g.hero.spirit_power += u.v * 5;
      return u.name + g.sj("の精霊を") + num(u.v * 5) + g.sj("引き出した。");
    },
    [](Game& g, const ItemUse& u) {
      g.hero.spirit_power += u.v * 10;
      return u.name + g.sj("の精霊を") + num(u.v * 10) + g.sj("引き出した。");
    },
    [](Game& g, const ItemUse& u) {
      g.hero.money += u.v * 100;
      return g.sj("お金を") + num(u.v * 100) + g.sj("円手に入れた。");
    },
    [](Game& g, const ItemUse& u) {
      g.hero.stars += u.v;
      return g.sj("星を") + num(u.v) + g.sj("個に入れた。");
    },
    [](Game& g, const ItemUse& u) {
      show_message(g, u.item.name + g.sj("のフィギュアだ････いざと言うときにこの人形が助けに来てくれればいいね"));
      return std::string();
    },
    [](Game& g, const ItemUse&) {
      g.hero.luck += 1;
      return g.sj("【運が1上がった。");
    },
    [](Game& g, const ItemUse&) {
      g.hero.attack += 1;
      return g.sj("【攻撃力】が1上がった。");
    },
    [](Game& g, const ItemUse&) {
      g.hero.magic += 1;
      return g.sj("【魔力】が1上がった。");
    },
    [](Game& g, const ItemUse&) {
      g.hero.defense += 1;
      return g.sj("【防御力】が1上がった。");
    },
    [](Game& g, const ItemUse&) {
      g.hero.attr_sun += 1;
      return g.sj("<太陽>の属性が1上がった。");
    },
    [](Game& g, const ItemUse&) {
      g.hero.attr_water += 1;
      return g.sj("<水>の属性が1上がった。");
    },
    [](Game& g, const ItemUse&) {
      g.hero.attr_magic += 1;
      return g.sj("<魔>の属性が1上がった。");
    },
    [](Game& g, const ItemUse&) {
      g.hero.attr_angel += 1;
      return g.sj("<天使>の属性が1上がった。");
    },
    [](Game& g, const ItemUse&) { return g.sj("何も起こらなかった"); },
    [](Game& g, const ItemUse& u) {
      g.hero.life += 10 * u.drawn;
      return u.name + g.sj("の【寿命】が") + num(10 * u.drawn) + g.sj("増えた!!");
    },
    [](Game& g, const ItemUse& u) {
      g.hero.hp = g.hero.max_hp;
      g.hero.mp = g.hero.max_mp;
      g.hero.status = ailment::none;
      return u.name + g.sj("は完全回復した");
    },
    [](Game& g, const ItemUse& u) {
      g.hero.max_hp += u.drawn;
      return u.name + g.sj("の【最大Ｈｐ】が") + num(u.drawn) + g.sj("上がった!!");
    },
    [](Game& g, const ItemUse& u) {
      g.hero.max_mp += u.drawn;
      return u.name + g.sj("の【最大Ｍｐ】が") + num(u.drawn) + g.sj("上がった!!");
    },
    [](Game& g, const ItemUse& u) {
      g.hero.max_hp += 5;
      g.hero.max_mp += 5;
      return u.name + g.sj("はスペシャリストの能力を引き継ぎ、大幅にパワーアップした！");
    },
    [](Game& g, const ItemUse&) {
      show_message(g, g.sj("何も起きなかった････"));
      return std::string();
    },
    [](Game& g, const ItemUse& u) {
      show_message(g, g.sj("ﾋﾟｱﾆｽﾄ･ﾅｲﾄ･ﾌｸﾗの演奏がどこからともなく聞こえる････\r") + u.item.name +
                          g.sj("の曲だ････"));
      show_message(g, g.sj("眠ってしまった・・・・"));
      dream(g, g.rng.draw(12));
      return std::string();
    },
};

struct DreamRow {
  const char* first;
  const char* second;  // nullptr: none
  void (*change)(Hero&);
};
const DreamRow kDreams[12] = {
    {"星が1つ降ってきた。\r星を1個手にいれた", nullptr, [](Hero& h) { h.stars += 1; }},
    {"恐い夢をみた････", "属性<魔>が1上がった", [](Hero& h) { h.attr_magic += 1; }},
    {"懐かしい夢をみた････", "属性<水>が1上がった", [](Hero& h) { h.attr_water += 1; }},
    {"暖かい夢をみた････", "【防御力】が1上がった", [](Hero& h) { h.defense += 1; }},
    {"夢を見たけど忘れてしまった", nullptr, [](Hero&) {}},
    {"へびの夢をみた････", "【運】が1上がった", [](Hero& h) { h.luck += 1; }},
    {"夏の夢をみた････", "属性<太陽>が1上がった", [](Hero& h) { h.attr_sun += 1; }},
    {"あの子の夢をみた････", "属性<天使>が1上がった", [](Hero& h) { h.attr_angel += 1; }},
    {"強い風の吹くの夢をみた････", "【攻撃力】が1上がった", [](Hero& h) { h.attack += 1; }},
    {"おいしいご飯の夢をみた････", "【運】が1上がった", [](Hero& h) { h.luck += 1; }},
    {"血の夢をみた････", "【魔力】が1上がった", [](Hero& h) { h.magic += 1; }},
    {"人を殺す夢を見た・・・・", "【裏切り】が1上がった", [](Hero&) {}},
};

}  // namespace

void dream(Game& g, int row) {
  const DreamRow& d = kDreams[row];
  show_message(g, g.sj(d.first));
  if (d.second) show_message(g, g.sj(d.second));
  d.change(g.hero);
}

void open_item_panel(Game& g) {
  play_sound(g, "1.wav");
  g.form.show(ctl::item_box);
  refresh_item_list(g);
  if (!g.form.shown(ctl::ken_box) && !g.form.shown(ctl::card_box))
    g.form.set_caption(ctl::item_use, g.sj("アイテム使用"));
}

void close_item_panel(Game& g) {
  play_sound(g, "1.wav");
  g.form.hide(ctl::card_box);
  g.form.hide(ctl::ken_box);
  g.form.hide(ctl::item_box);
  g.form.set_back(ctl::moji_l, cl::white);
}

void refresh_item_list(Game& g) {
  Control& list = g.form[ctl::item_list];
  list.items.clear();
  g.form.set_caption(ctl::item_about, "");
  for (int id = 0; id < kItems; ++id)
    if (g.hero.item_count[id] == 1) list.items.push_back(g.items[id].name);
  list.selected = -1;
  list.top_index = 0;
  g.form.touch();
}

void item_list_selected(Game& g) {
  g.selected_item = 0;
  const Control& list = g.form[ctl::item_list];
  if (list.selected < 0 || list.selected >= static_cast<int>(list.items.size())) return;
  const std::string& text = list.items[list.selected];
  // The last item held under that name. Only a few of the hundreds are held: found a run of
  // counts at a time rather than one by one.
  const uint8_t* const counts = g.hero.item_count.data();
  const uint8_t* const end = counts + kItems;
  for (const uint8_t* held = counts; (held = static_cast<const uint8_t*>(std::memchr(held, 1, end - held))); ++held)
    if (g.items[held - counts].name == text) g.selected_item = static_cast<int>(held - counts);
  const Item& it = g.items[g.selected_item];
  Form& f = g.form;
  f.set_caption(ctl::item_about, it.description);
  if (item_kind::is_sword(it.kind)) {
    f.set_caption(ctl::ken_l, it.name);
    f.set_caption(ctl::ken_l2, g.sj("解放料金 ") + num(it.value * 100) + g.sj("円"));
  } else {
    f.set_caption(ctl::ken_l, "");
    f.set_caption(ctl::ken_l2, g.sj("解放料金 0円"));
  }
  if (it.kind == item_kind::card) {
    f.set_caption(ctl::card_l, it.name);
    f.set_caption(ctl::card_l2, g.sj("交換料金 10円"));
    f.set_caption(ctl::item_about, g.sj("クロニクルカード number ") + num(g.selected_item));
  } else {
    f.set_caption(ctl::card_l, "");
    f.set_caption(ctl::card_l2, g.sj("交換料金 0円"));
  }
  if (it.kind == item_kind::figure)
    f.set_caption(ctl::item_about, g.sj("フィギュア - ") + num(g.selected_item - 34) + "\r" +
                                       g.sj("神様【") + it.name + g.sj("】") + "\r\r" +
                                       g.sj("（全10体）"));
}

void use_selected_item(Game& g) {
  Form& f = g.form;
  f.set_back(ctl::moji_l, cl::white);
  const int kind = g.items[g.selected_item].kind;
  const bool card_shop = f.shown(ctl::card_box), sword_shop = f.shown(ctl::ken_box);
  if (f[ctl::item_list].selected < 0) return refuse(g, "アイテムが選択されていません");
  if (kind == item_kind::card && !card_shop) return refuse(g, "【カード】は【カードショップ】へ持っていこう。");
  if (kind != item_kind::card && card_shop) return refuse(g, "それは【カード】じゃないよ。");
  if (item_kind::is_sword(kind) && !sword_shop)
    return refuse(g, "【剣タイプ】のアイテムは【ソードショップ】に持っていかないと使えません。");
  if (!item_kind::is_sword(kind) && sword_shop) return refuse(g, "それは【剣タイプ】のアイテムじゃないよ。");
  apply_item(g, g.selected_item);
}

void apply_item(Game& g, int id) {
  const Item item = g.items[id];
  const int t = item.kind;
  const int32_t v = item.value;
  const std::string hero_name = g.hero.name;
  const int32_t drawn = 1 + g.rng.draw(3);
  if (item_kind::is_sword(t) && !sword_shop_agrees(g, v)) return;
  if (t == item_kind::card && !card_shop_agrees(g)) return;
  play_sound(g, "item.wav");
  g.form.set_back(ctl::moji_l, cl::yellow);

  std::string result;
  Handed handed = Handed::Taken;
  if (t >= 0 && t <= 24) {
    result = kOrdinary[t](g, ItemUse{item, v, drawn, hero_name});
    if (t == item_kind::figure || t == item_kind::nothing) handed = Handed::Kept;
  } else if (item_kind::is_sword(t)) {
    handed = release_sword(g, t, item.name, result);
  } else if (t == item_kind::card) {
    handed = exchange_card(g, v, result);
  }
  if (handed == Handed::Kept) {
    refresh_item_list(g);
    return;
  }
  if (t >= 0 && t <= 99) {
    g.hero.item_count[id] = 0;
  } else if (item_kind::is_sword(t)) {
    g.hero.item_count[id] = 0;
    g.hero.money -= v * 100;
    g.form.set_caption(ctl::ken_l, "");
    g.form.set_caption(ctl::ken_l2, g.sj("解放料金 0円"));
  } else if (t == item_kind::card) {
    g.hero.item_count[id] = 0;
    g.hero.money -= 10;
    g.form.set_caption(ctl::card_l, "");
    g.form.set_caption(ctl::card_l2, g.sj("交換料金 0円"));
  }
  show_message_quickly(g, result);
  refresh_item_list(g);
}
