#include <gtest/gtest.h>

#include "support/battle_game.hpp"
#include "town/town.hpp"

namespace {

using Lines = std::vector<std::string>;

struct Town : TestGame {
  Town() {
    click(g(), ctl::Button1);
    clear_transcript();
  }
  Hero& h() { return g().hero; }
  // Gives the hero an item of this kind and value at id (a scratch entry of the catalogue).
  void give(int id, int kind, int value, const char* name = "テスト品") {
    g().items[id] = {sj(name), sj("せつめい"), kind, value};
    h().item_count[id] = 1;
  }
  // Opens the item panel and picks the entry showing the item, as a player would.
  void pick(int id) {
    // The list is rebuilt when the panel opens; a test that hands items over meanwhile
    // rebuilds it as the next opening would.
    if (!g().form.shown(ctl::item_box)) click(g(), ctl::BitBtn1);
    else refresh_item_list(g());
    const Control& list = g().form[ctl::item_list];
    for (size_t i = 0; i < list.items.size(); ++i)
      if (list.items[i] == g().items[id].name) return list_select(g(), ctl::item_list, static_cast<int>(i));
    ADD_FAILURE() << "item " << id << " is not in the list";
  }
  void use(int id) {
    pick(id);
    clear_transcript();
    click(g(), ctl::item_use);
  }
};

TEST(ItemPanel, OpensAnywhereAndListsWhatIsHeld) {
  Town t;
  t.give(3, 0, 1, "パンA");
  t.give(300, 17, 0, "カラ箱");
  click(t.g(), ctl::BitBtn1);
  EXPECT_EQ(t.lines("sound: "), Lines{"1.wav"});
  const Control& list = t.g().form[ctl::item_list];
  ASSERT_EQ(list.items.size(), 2u);
  EXPECT_EQ(t.utf8(list.items[0]), "パンA");
  EXPECT_EQ(t.utf8(list.items[1]), "カラ箱");
  EXPECT_EQ(list.selected, -1);
  EXPECT_EQ(t.utf8(t.g().form[ctl::item_use].caption), "アイテム使用");
  EXPECT_TRUE(t.g().form.clickable(ctl::item_use));
  click(t.g(), ctl::Button17);
  EXPECT_FALSE(t.g().form[ctl::item_box].visible);
}

TEST(ItemPanel, SelectionResolvesToTheHighestIdOfTheName) {
  Town t;
  t.give(260, 111, 3, "card･ネコ");
  t.give(290, 111, 4, "card･ネコ");
  t.pick(290);
  EXPECT_EQ(t.g().selected_item, 290);
  EXPECT_EQ(t.utf8(t.g().form[ctl::item_about].caption), "クロニクルカード number 290");
  EXPECT_EQ(t.utf8(t.g().form[ctl::card_l2].caption), "交換料金 10円");
  t.give(37, 8, 0, "ニンギョウ");
  t.pick(37);
  EXPECT_EQ(t.utf8(t.g().form[ctl::item_about].caption), "フィギュア - 3\r神様【ニンギョウ】\r\r（全10体）");
  t.give(60, 103, 3, "ツルギ");
  t.pick(60);
  EXPECT_EQ(t.utf8(t.g().form[ctl::ken_l].caption), "ツルギ");
  EXPECT_EQ(t.utf8(t.g().form[ctl::ken_l2].caption), "解放料金 300円");
  EXPECT_EQ(t.utf8(t.g().form[ctl::card_l2].caption), "交換料金 0円");
  t.give(5, 0, 2, "パン");
  t.pick(5);
  EXPECT_EQ(t.utf8(t.g().form[ctl::item_about].caption), "せつめい");
  EXPECT_EQ(t.utf8(t.g().form[ctl::ken_l2].caption), "解放料金 0円");
}

TEST(ItemPanel, UseButtonChecksInOrder) {
  struct Case {
    const char* name;
    int kind;
    ctl::Id shop;  // ctl::form: none open
    const char* message;
  } cases[] = {
      {"a card outside the card shop", 111, ctl::form, "【カード】は【カードショップ】へ持っていこう。"},
      {"a plain item in the card shop", 0, ctl::card_b, "それは【カード】じゃないよ。"},
      {"a sword outside the sword shop", 104, ctl::form, "【剣タイプ】のアイテムは【ソードショップ】に持っていかないと使えません。"},
      {"a plain item in the sword shop", 0, ctl::ken_b, "それは【剣タイプ】のアイテムじゃないよ。"},
      {"a card in the sword shop", 111, ctl::ken_b, "【カード】は【カードショップ】へ持っていこう。"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Town t;
    t.h().stars = 10;
    refresh_status(t.g());
    t.give(70, c.kind, 1);
    if (c.shop != ctl::form) {
      click(t.g(), ctl::Button14);
      click(t.g(), c.shop);
    }
    t.use(70);
    EXPECT_EQ(t.lines("sound: "), Lines{"off1.wav"});
    EXPECT_EQ(t.messages(), Lines{c.message});
    EXPECT_EQ(t.h().item_count[70], 1);
  }
  Town t;
  t.give(70, 0, 1);
  t.use(70);
  t.clear_transcript();
  click(t.g(), ctl::item_use);
  EXPECT_EQ(t.messages(), Lines{"アイテムが選択されていません"}) << "a use clears the selection";
}

TEST(ItemPanel, AClickBelowTheEntriesSelectsNothing) {
  Town t;
  t.give(3, 0, 1);
  t.pick(3);
  list_select(t.g(), ctl::item_list, 7);  // below the only entry
  EXPECT_EQ(t.g().form[ctl::item_list].selected, -1);
  EXPECT_EQ(t.g().selected_item, 0);
  t.clear_transcript();
  click(t.g(), ctl::item_use);
  EXPECT_EQ(t.messages(), Lines{"アイテムが選択されていません"});
  EXPECT_EQ(t.h().item_count[3], 1);
}

TEST(ItemUse, OrdinaryKinds) {
  struct Case {
    int kind, value;
    std::vector<int> draws;  // after the 1 .. 3 draw
    int drawn;               // that draw
    const char* result;
    std::function<void(const Hero&)> check;
    bool kept;
  } cases[] = {
      {0, 3, {}, 0, "ライズのＨｐが30回復した。", [](const Hero& h) { EXPECT_EQ(h.hp, 40); }, false},
      {1, 2, {}, 0, "ライズＨｐが40回復した。", [](const Hero& h) { EXPECT_EQ(h.hp, 50); }, false},
      {2, 2, {}, 0, "ライズのＭｐが10回復した。", [](const Hero& h) { EXPECT_EQ(h.mp, 11); }, false},
      {3, 2, {}, 0, "ライズのＭｐが20回復した。", [](const Hero& h) { EXPECT_EQ(h.mp, 21); }, false},
      {4, 2, {}, 0, "ライズの精霊を10引き出した。", [](const Hero& h) { EXPECT_EQ(h.spirit_power, 25); }, false},
      {5, 2, {}, 0, "ライズの精霊を20引き出した。", [](const Hero& h) { EXPECT_EQ(h.spirit_power, 35); }, false},
      {6, 2, {}, 0, "お金を200円手に入れた。", [](const Hero& h) { EXPECT_EQ(h.money, 200); }, false},
      {7, 3, {}, 0, "星を3個に入れた。", [](const Hero& h) { EXPECT_EQ(h.stars, 3); }, false},
      {8, 0, {}, 0, "", nullptr, true},
      {9, 0, {}, 0, "【運が1上がった。", [](const Hero& h) { EXPECT_EQ(h.luck, 1); }, false},
      {10, 0, {}, 0, "【攻撃力】が1上がった。", [](const Hero& h) { EXPECT_EQ(h.attack, 1); }, false},
      {11, 0, {}, 0, "【魔力】が1上がった。", [](const Hero& h) { EXPECT_EQ(h.magic, 1); }, false},
      {12, 0, {}, 0, "【防御力】が1上がった。", [](const Hero& h) { EXPECT_EQ(h.defense, 1); }, false},
      {13, 0, {}, 0, "<太陽>の属性が1上がった。", [](const Hero& h) { EXPECT_EQ(h.attr_sun, 1); }, false},
      {14, 0, {}, 0, "<水>の属性が1上がった。", [](const Hero& h) { EXPECT_EQ(h.attr_water, 1); }, false},
      {15, 0, {}, 0, "<魔>の属性が1上がった。", [](const Hero& h) { EXPECT_EQ(h.attr_magic, 1); }, false},
      {16, 0, {}, 0, "<天使>の属性が1上がった。", [](const Hero& h) { EXPECT_EQ(h.attr_angel, 1); }, false},
      {17, 0, {}, 0, "何も起こらなかった", nullptr, false},
      {18, 0, {}, 2, "ライズの【寿命】が30増えた!!", [](const Hero& h) { EXPECT_EQ(h.life, 130); }, false},
      {19, 0, {}, 0, "ライズは完全回復した",
       [](const Hero& h) {
         EXPECT_EQ(h.hp, 30);
         EXPECT_EQ(h.mp, 10);
         EXPECT_EQ(h.status, 0);
       },
       false},
      {20, 0, {}, 1, "ライズの【最大Ｈｐ】が2上がった!!", [](const Hero& h) { EXPECT_EQ(h.max_hp, 32); }, false},
      {21, 0, {}, 2, "ライズの【最大Ｍｐ】が3上がった!!", [](const Hero& h) { EXPECT_EQ(h.max_mp, 13); }, false},
      {22, 0, {}, 0, "ライズはスペシャリストの能力を引き継ぎ、大幅にパワーアップした！",
       [](const Hero& h) {
         EXPECT_EQ(h.max_hp, 35);
         EXPECT_EQ(h.max_mp, 15);
       },
       false},
      {23, 0, {}, 0, "", nullptr, true},
      {25, 0, {}, 0, "", nullptr, false},
      {99, 0, {}, 0, "", nullptr, false},
      {112, 0, {}, 0, "", nullptr, true},
      {-1, 0, {}, 0, "", nullptr, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    Town t;
    Hero& h = t.h();
    h.hp = 10;
    h.mp = 1;
    h.money = 0;
    h.life = 100;
    h.status = 2;
    t.give(70, c.kind, c.value);
    t.g().rng.rig(c.drawn);
    for (int d : c.draws) t.g().rng.rig(d);
    t.use(70);
    EXPECT_EQ(t.lines("sound: "), Lines{"item.wav"});
    if (c.kind != 8 && c.kind != 23) {
      EXPECT_EQ(t.messages(), Lines{c.result});
    }
    EXPECT_EQ(t.g().form[ctl::moji_l].look.back, cl::yellow);
    EXPECT_EQ(t.g().form[ctl::moji_l].look.fore, cl::teal) << "the text keeps its colour";
    EXPECT_EQ(h.item_count[70], c.kept ? 1 : 0);
    if (c.check) c.check(h);
    EXPECT_TRUE(t.g().rng.take_error().empty());
  }
}

TEST(ItemUse, FigureAndNothingItemsShowTheirMessageAndStay) {
  Town t;
  t.give(36, 8, 0, "ネムリナ");
  for (int i = 0; i < 3; ++i) t.use(36);
  EXPECT_EQ(t.messages(), Lines{"ネムリナのフィギュアだ････いざと言うときにこの人形が助けに来てくれればいいね"});
  EXPECT_EQ(t.h().item_count[36], 1);
  t.give(71, 23, 0);
  t.use(71);
  EXPECT_EQ(t.messages(), Lines{"何も起きなかった････"});
  EXPECT_EQ(t.h().item_count[71], 1);
}

TEST(ItemUse, HealingIsCappedByTheNextRefreshAndTheMessageSaysAll) {
  Town t;
  t.h().hp = 20;
  t.give(3, 0, 3);
  t.use(3);
  EXPECT_EQ(t.messages(), Lines{"ライズのＨｐが30回復した。"});
  EXPECT_EQ(t.h().hp, 50);
  timer_tick(t.g());
  EXPECT_EQ(t.h().hp, 30);
}

TEST(ItemUse, TheMusicItemAndEveryDream) {
  const char* dreams[12][2] = {
      {"星が1つ降ってきた。\\r星を1個手にいれた", nullptr}, {"恐い夢をみた････", "属性<魔>が1上がった"},
      {"懐かしい夢をみた････", "属性<水>が1上がった"}, {"暖かい夢をみた････", "【防御力】が1上がった"},
      {"夢を見たけど忘れてしまった", nullptr}, {"へびの夢をみた････", "【運】が1上がった"},
      {"夏の夢をみた････", "属性<太陽>が1上がった"}, {"あの子の夢をみた････", "属性<天使>が1上がった"},
      {"強い風の吹くの夢をみた････", "【攻撃力】が1上がった"}, {"おいしいご飯の夢をみた････", "【運】が1上がった"},
      {"血の夢をみた････", "【魔力】が1上がった"}, {"人を殺す夢を見た・・・・", "【裏切り】が1上がった"},
  };
  for (int row = 0; row < 12; ++row) {
    SCOPED_TRACE(row);
    Town t;
    t.give(80, 24, 0, "月の歌");
    t.g().rng.rig(0);
    t.g().rng.rig(row);
    const Hero before = t.h();
    t.use(80);
    Lines expected{"ﾋﾟｱﾆｽﾄ･ﾅｲﾄ･ﾌｸﾗの演奏がどこからともなく聞こえる････\\r月の歌の曲だ････", "眠ってしまった・・・・", dreams[row][0]};
    if (dreams[row][1]) expected.push_back(dreams[row][1]);
    expected.push_back("");
    EXPECT_EQ(t.messages(), expected);
    const Hero& h = t.h();
    const int changes = (h.stars - before.stars) + (h.attr_magic - before.attr_magic) +
                        (h.attr_water - before.attr_water) + (h.defense - before.defense) +
                        (h.luck - before.luck) + (h.attr_sun - before.attr_sun) +
                        (h.attr_angel - before.attr_angel) + (h.attack - before.attack) +
                        (h.magic - before.magic);
    EXPECT_EQ(changes, row == 4 || row == 11 ? 0 : 1);
    EXPECT_EQ(h.item_count[80], 0);
  }
}

TEST(ItemUse, InBattleItCostsNoTurn) {
  BattleGame b;
  b.face(0);
  b.g().form.show(ctl::battle_box);
  b.g().hero.hp = 5;
  b.g().items[3] = {b.sj("パン"), "", 0, 1};
  b.g().hero.item_count[3] = 1;
  click(b.g(), ctl::BitBtn1);
  list_select(b.g(), ctl::item_list, 0);
  b.clear_transcript();
  click(b.g(), ctl::item_use);
  EXPECT_EQ(b.g().hero.hp, 15);
  EXPECT_EQ(b.messages(), Lines{"ライズのＨｐが10回復した。"});
  EXPECT_TRUE(b.g().form[ctl::battle_box].visible) << "the hero still has to act";
}

}  // namespace
