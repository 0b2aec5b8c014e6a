// The fixed texts of ailments, attributes, classes and techniques.
#include "core/names.hpp"

#include <array>

namespace {
constexpr std::array<const char*, 9> kAilments{
    "", "<眠>", "<毒>", "<石>", "<癒>", "<凶暴>", "<攻封>", "<魔封>", "<混乱>"};
constexpr std::array<const char*, 5> kAttributes{"<無>", "<太陽>", "<水>", "<魔>", "<天使>"};
constexpr std::array<const char*, 21> kClasses{
    "訓練生", "格闘家", "剣士", "機工士", "魔法使い", "毒使い", "魔剣士",
    "呪術士", "占い師", "催眠術師", "ドラゴン使い", "召喚士", "ﾎﾜｲﾄﾅｲﾄ", "ﾀﾞｰｸﾅｲﾄ",
    "ﾄﾞﾗｺﾞﾝﾅｲﾄ", "ゴート兵", "八ノ地教兵", "ｽﾍﾟｼｬﾘｽﾄ", "妖精", "猫", "コネコ"};
constexpr std::array<const char*, 25> kTechShort{
    "",       "でこぴん", "剣術", "弓矢狼", "機械", "暗黒剣", "獣", "封印剣", "ビンタ",
    "魔術",   "占星術", "竜言語魔法", "猫召喚", "呪術", "Ｍ法", "妖精術", "ダンス",
    "でこぴん２", "タマネギ剣", "カード投げ", "盗む", "泣く", "カード化", "食べる",
    "星を見上げる"};
}  // namespace

const char* ailment_text(int code) {
  return code >= 1 && code <= 8 ? kAilments[code] : "";
}

const char* attribute_text(int code) {
  return code >= 0 && code <= 4 ? kAttributes[code] : "";
}

const char* class_name(int job) {
  if (job >= 0 && job <= 20) return kClasses[job];
  if (job >= 21 && job <= 9999) return "野良猫";
  return "";
}

const char* tech_short_name(int t) { return t >= 1 && t <= 24 ? kTechShort[t] : ""; }
