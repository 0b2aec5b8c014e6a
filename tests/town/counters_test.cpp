#include <gtest/gtest.h>

#include "core/operations.hpp"
#include "game/input.hpp"
#include "support/test_game.hpp"
#include "town/town.hpp"

namespace {

using Lines = std::vector<std::string>;

// A hero at one of the two counters, holding one item at id 70.
struct Counter : TestGame {
  explicit Counter(ctl::Id shop, int kind, int value) {
    click(g(), ctl::Button1);
    g().hero.stars = 5;
    timer_tick(g());
    click(g(), ctl::Button14);
    g().items[70] = {sj(kind == 111 ? "card･テキ" : "古い剣"), "", kind, value};
    g().hero.item_count[70] = 1;
    click(g(), shop);
    const Control& list = g().form[ctl::item_list];
    for (size_t i = 0; i < list.items.size(); ++i)
      if (list.items[i] == g().items[70].name) list_select(g(), ctl::item_list, static_cast<int>(i));
    clear_transcript();
  }
  Hero& h() { return g().hero; }
  void use(bool answer = true) {
    host.answers.push_back(answer);
    click(g(), ctl::item_use);
  }
};

TEST(SwordShop, OpeningIt) {
  Counter c(ctl::ken_b, 103, 1);
  const Form& f = c.g().form;
  EXPECT_TRUE(f.shown(ctl::ken_box));
  EXPECT_TRUE(f.shown(ctl::item_box));
  EXPECT_EQ(f.window_rect(ctl::ken_box).x, 0);
  EXPECT_EQ(f.window_rect(ctl::item_box).x, 204) << "side by side";
  EXPECT_EQ(c.utf8(f[ctl::item_use].caption), "【剣】の解放");
  EXPECT_TRUE(f[ctl::item_mark].visible);
  EXPECT_EQ(c.utf8(f[ctl::ken_l2].caption), "解放料金 100円");
}

TEST(SwordShop, FeesAndTheQuestion) {
  {
    Counter c(ctl::ken_b, 103, 3);
    c.h().money = 299;
    c.use();
    EXPECT_EQ(c.messages(), Lines{"ｿｰﾄﾞﾏｽﾀｰ｢お金が足りないよ？」"});
    EXPECT_TRUE(c.lines("question: ").empty());
    EXPECT_EQ(c.h().item_count[70], 1);
  }
  {
    Counter c(ctl::ken_b, 103, 3);
    c.h().money = 300;
    c.use(false);
    EXPECT_EQ(c.lines("question: "), Lines{"この剣を解放してもらいますか？"});
    EXPECT_EQ(c.lines("sound: "), Lines{"off1.wav"});
    EXPECT_EQ(c.h().money, 300);
    EXPECT_EQ(c.h().item_count[70], 1);
  }
  {
    Counter c(ctl::ken_b, 103, 3);
    c.h().money = 300;
    c.use(true);
    EXPECT_EQ(c.lines("sound: "), (Lines{"off1.wav", "item.wav"}));
    EXPECT_EQ(c.messages(), Lines{"攻撃力が1上がった････"});
    EXPECT_EQ(c.h().money, 0);
    EXPECT_EQ(c.h().attack, 1);
    EXPECT_EQ(c.h().item_count[70], 0);
    EXPECT_EQ(c.utf8(c.g().form[ctl::ken_l2].caption), "解放料金 0円");
  }
}

TEST(SwordShop, EveryKind) {
  struct Case {
    const char* name;
    int kind;
    std::vector<int> draws;  // after the 1 .. 3 draw
    int tech_before;
    Lines messages;
    std::function<void(const Counter&)> check;
  } cases[] = {
      {"technique learned", 100, {3, 0}, 0, {"【技】の１つが解放された！", "【暗黒剣】を修得した！"},
       [](const Counter& c) { EXPECT_EQ(c.game->hero.tech_lv(5), 1); }},
      {"technique trained", 100, {12, 0}, 4, {"【Ｍ法】のLvが1あがった！", ""},
       [](const Counter& c) { EXPECT_EQ(c.game->hero.tech_lv(14), 5); }},
      {"technique at its height", 100, {3, 0}, 10, {"攻撃力が1上がった････", ""},
       [](const Counter& c) {
         EXPECT_EQ(c.game->hero.tech_lv(5), 10);
         EXPECT_EQ(c.game->hero.attack, 1);
       }},
      {"the other half", 100, {3, 1}, 0, {"攻撃力が1上がった････", ""},
       [](const Counter& c) { EXPECT_EQ(c.game->hero.tech_lv(5), 0); }},
      {"broken", 101, {}, 0, {"古い剣は音も無く崩れ去った････\\rｿｰﾄﾞﾏｽﾀｰ｢ご、ごめん、壊れちゃったみたい････｣"}, nullptr},
      {"the pipe", 102, {}, 0, {"精霊【パイプ】が出現した。"},
       [](const Counter& c) {
         EXPECT_EQ(c.game->hero.spirit_power, 99);
         EXPECT_EQ(c.game->sjis.to_utf8(c.game->hero.spirit_name), "パイプ");
       }},
      {"one and a half", 104, {}, 0, {"ライズの精霊が１．５倍になった!"},
       [](const Counter& c) { EXPECT_EQ(c.game->hero.spirit_power, 22); }},
      {"bought back", 105, {999}, 0, {"ｿｰﾄﾞﾏｽﾀｰ｢この剣は貴重品だよ。999円で買い取らせもらうね。"},
       [](const Counter& c) { EXPECT_EQ(c.game->hero.money, 1000 + 999 - 200); }},
      {"nothing", 108, {}, 0, {""}, [](const Counter& c) { EXPECT_EQ(c.game->hero.money, 800); }},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    Counter c(ctl::ken_b, k.kind, 2);
    c.h().money = 1000;
    c.h().tech_lv(5) = c.h().tech_lv(14) = static_cast<uint8_t>(k.tech_before);
    c.g().rng.rig(0);
    for (int d : k.draws) c.g().rng.rig(d);
    c.use();
    EXPECT_EQ(c.messages(), k.messages);
    EXPECT_EQ(c.h().item_count[70], 0);
    if (k.check) k.check(c);
    EXPECT_FALSE(c.game->rng.rigged());
  }
}

TEST(CardShop, EveryOutcome) {
  struct Case {
    int value;
    std::vector<int> draws;  // after the 1 .. 3 draw and d
    const char* result;
    std::function<void(const Hero&)> check;
  } cases[] = {
      {0, {}, "まあまあのカードかな。寿命を10増やしてあげるよ", [](const Hero& h) { EXPECT_EQ(h.life, 110); }},
      {1, {}, "結構いいカードかな。寿命を20増やしてあげるよ", [](const Hero& h) { EXPECT_EQ(h.life, 120); }},
      {2, {}, "結構マニア受けするカードだね。お金300円上げるよ", [](const Hero& h) { EXPECT_EQ(h.money, 300); }},
      {3, {}, "うーん。マニア受けするけど、大したことはないカードかな。星を1個あげるよ。", [](const Hero& h) { EXPECT_EQ(h.stars, 6); }},
      {4, {}, "ははは。ヘボカードだよ、これ。お金1円だけあげる。くすくす。", [](const Hero& h) { EXPECT_EQ(h.money, 1); }},
      {5, {}, "なんて恐ろしい！こ､これは呪いのカードだ････､ライズ君の寿命が1になり【最大Hp】が10上がった!",
       [](const Hero& h) {
         EXPECT_EQ(h.life, 1);
         EXPECT_EQ(h.max_hp, 40);
       }},
      {6, {}, "特殊なカードだね、<太陽>の属性を1上げよう。", [](const Hero& h) { EXPECT_EQ(h.attr_sun, 1); }},
      {7, {}, "特殊なカードだね、<水>の属性を1上げよう。", [](const Hero& h) { EXPECT_EQ(h.attr_water, 1); }},
      {8, {}, "特殊なカードだね、<魔>の属性を1上げよう。", [](const Hero& h) { EXPECT_EQ(h.attr_magic, 1); }},
      {9, {}, "特殊なカードだね、<天使>の属性を1上げよう。", [](const Hero& h) { EXPECT_EQ(h.attr_angel, 1); }},
      {10, {}, "雰囲気のいいカードだ。【防御力】を1上げよう。", [](const Hero& h) { EXPECT_EQ(h.defense, 1); }},
      {11, {}, "雰囲気のいいカードだ。【魔力】を1上げよう。", [](const Hero& h) { EXPECT_EQ(h.magic, 1); }},
      {12, {}, "雰囲気のいいカードだ。【攻撃力】を1上げよう。", [](const Hero& h) { EXPECT_EQ(h.attack, 1); }},
      {13, {}, "雰囲気のいいカードだ。【運】を1上げよう。", [](const Hero& h) { EXPECT_EQ(h.luck, 1); }},
      {14, {}, "特殊なカードだね、<水>の属性を2上げよう。", [](const Hero& h) { EXPECT_EQ(h.attr_water, 2); }},
      {15, {}, "特殊なカードだね、<魔>の属性を2上げよう。", [](const Hero& h) { EXPECT_EQ(h.attr_magic, 2); }},
      {16, {}, "なかなかいいカードだね。ライズ君の【レベル】を1上げてあげよう", [](const Hero& h) { EXPECT_EQ(h.level, 2); }},
      {17, {}, "なんて汚いカードだっ。ライズ君の【レベル】を1下げさせてもらうよ", [](const Hero& h) { EXPECT_EQ(h.level, 0); }},
      {18, {}, "こういうカード好きだな。ライズ君の【最大ＨＰ】を4上げてあげよう", [](const Hero& h) { EXPECT_EQ(h.max_hp, 34); }},
      {19, {}, "うん、このカード好きだな。ライズ君の【最大ＭＰ】を2上げてあげよう", [](const Hero& h) { EXPECT_EQ(h.max_mp, 12); }},
      {20, {17}, nullptr, [](const Hero& h) { EXPECT_EQ(h.item_count[68], 1); }},
      {21, {50}, nullptr, [](const Hero& h) { EXPECT_EQ(h.item_count[50], 1); }},
      {22, {}, "・・・・よくあるカードだな。精霊を3引き出して上げよう。", [](const Hero& h) { EXPECT_EQ(h.spirit_power, 18); }},
      {23, {}, "これこそ幸運のカードだ！ライズ君の【寿命】を50上げよう！", [](const Hero& h) { EXPECT_EQ(h.life, 150); }},
      {24, {}, "・・・・普通のカードだね。お金70円で交換だな。", [](const Hero& h) { EXPECT_EQ(h.money, 70); }},
      {25, {}, "まさしく幻のレアカード！星を10個あげるよ", [](const Hero& h) { EXPECT_EQ(h.stars, 15); }},
      {26, {}, "まさしく幻のレアカード！星を10個あげるよ", [](const Hero& h) { EXPECT_EQ(h.stars, 15); }},
      {28, {}, "", nullptr},
      {500, {}, "", nullptr},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.value);
    Counter c(ctl::card_b, 111, k.value);
    c.h().money = 10;
    c.h().life = 100;
    c.g().rng.rig(0);
    c.g().rng.rig(1);  // d = 2
    for (int d : k.draws) c.g().rng.rig(d);
    c.use();
    EXPECT_EQ(c.lines("question: "), Lines{"このカードを交換してもらいますか？"});
    const Lines m = c.messages();
    ASSERT_EQ(m.size(), 1u);
    if (k.value == 20) {
      EXPECT_EQ(m[0], "珍しいカードだ！「" + c.utf8(c.g().items[68].name) + "」と交換してあげるよ。");
    } else if (k.value == 21) {
      EXPECT_EQ(m[0], "希なカードだね。「" + c.utf8(c.g().items[50].name) + "」と交換しよう。");
    } else {
      EXPECT_EQ(m[0], k.result);
    }
    EXPECT_EQ(c.h().item_count[70], 0);
    if (k.check) k.check(c.h());
    EXPECT_EQ(c.utf8(c.g().items[70].name), "card･テキ") << "an exchanged card stays in the catalogue";
    EXPECT_FALSE(c.game->rng.rigged());
  }
}

TEST(CardShop, RareAndScarceItemsAlreadyOwned) {
  Counter rare(ctl::card_b, 111, 20);
  rare.h().money = 10;
  rare.h().item_count[51] = 1;
  rare.g().rng.rig(0);
  rare.g().rng.rig(0);
  rare.g().rng.rig(0);
  rare.use();
  EXPECT_EQ(rare.messages(), Lines{"珍しいカードだ。700円あげよう"});
  EXPECT_EQ(rare.h().money, 700);
  Counter scarce(ctl::card_b, 111, 21);
  scarce.h().money = 10;
  scarce.h().item_count[0] = 1;
  scarce.g().rng.rig(0);
  scarce.g().rng.rig(0);
  scarce.g().rng.rig(0);
  scarce.use();
  EXPECT_EQ(scarce.messages(), Lines{"希なカードだね。星を5個あげよう"});
  EXPECT_EQ(scarce.h().stars, 10);
}

TEST(CardShop, TheUnknownCardStaysAndCostsNothing) {
  Counter c(ctl::card_b, 111, 27);
  c.h().money = 10;
  c.use();
  EXPECT_EQ(c.messages(), Lines{"うーん？？････どうしてだろう、僕も知らないカードだ････。これは君がもっていた方がいい。"});
  EXPECT_EQ(c.h().item_count[70], 1);
  EXPECT_EQ(c.h().money, 10);
}

TEST(CardShop, TooLittleMoney) {
  Counter c(ctl::card_b, 111, 2);
  c.h().money = 9;
  c.use();
  EXPECT_EQ(c.messages(), Lines{"ｶｰﾄﾞﾏｽﾀｰ｢お金が足りないよ？」"});
  EXPECT_TRUE(c.lines("question: ").empty());
}

TEST(Counters, CancelClosesBothAndTheCaptionComesBack) {
  Counter c(ctl::card_b, 111, 2);
  click(c.g(), ctl::Button17);
  EXPECT_FALSE(c.g().form[ctl::card_box].visible);
  EXPECT_FALSE(c.g().form[ctl::item_box].visible);
  EXPECT_TRUE(c.g().form.shown(ctl::shop_box));
  click(c.g(), ctl::BitBtn1);
  EXPECT_EQ(c.utf8(c.g().form[ctl::item_use].caption), "アイテム使用");
}

}  // namespace
