// The effects of the 24 techniques, by group.
#pragma once
#include "battle/techniques.hpp"

// attack (1 .. 8)
Afterwards flick(Game&, const TechContext&);
Afterwards swordsmanship(Game&, const TechContext&);
Afterwards bow_wolf(Game&, const TechContext&);
Afterwards machine(Game&, const TechContext&);
Afterwards dark_sword(Game&, const TechContext&);
Afterwards beast(Game&, const TechContext&);
Afterwards sealing_sword(Game&, const TechContext&);
Afterwards slap(Game&, const TechContext&);
// magic (9 .. 16)
Afterwards sorcery(Game&, const TechContext&);
Afterwards astrology(Game&, const TechContext&);
Afterwards dragon_tongue(Game&, const TechContext&);
Afterwards cat_summoning(Game&, const TechContext&);
Afterwards drain(Game&, const TechContext&);
Afterwards halving(Game&, const TechContext&);
Afterwards fairy_art(Game&, const TechContext&);
Afterwards dance(Game&, const TechContext&);
// special (17 .. 24)
Afterwards flick2(Game&, const TechContext&);
Afterwards onion_sword(Game&, const TechContext&);
Afterwards card_throw(Game&, const TechContext&);
Afterwards steal(Game&, const TechContext&);
Afterwards cry(Game&, const TechContext&);
Afterwards make_card(Game&, const TechContext&);
Afterwards eat(Game&, const TechContext&);
Afterwards star_gazing(Game&, const TechContext&);

// The success chance the halving and the card making show, by level (0 for any other level).
int shown_chance(int lv);
