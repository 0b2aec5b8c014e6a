// The town's operations: the item panel, the sword and card counters, and the shops.
#pragma once
#include <cstdint>
#include <string>

#include "ui/form.hpp"

struct Game;

// The item panel, open anywhere, also in battle.
void open_item_panel(Game& g);   // BitBtn1
void close_item_panel(Game& g);  // Button17
void refresh_item_list(Game& g);
void item_list_selected(Game& g);  // the list's mouse handler: resolves selected_item
void use_selected_item(Game& g);   // item_use
void apply_item(Game& g, int id);
// Row 0 .. 11 of the dream table: its texts, then its change.
void dream(Game& g, int row);

// The sword and card counters (they work through the item panel).
void open_sword_shop(Game& g);   // ken_b
void leave_sword_shop(Game& g);  // Button18
void open_card_shop(Game& g);    // card_b
void leave_card_shop(Game& g);   // Button30
// The sword and card branches of apply_item: false when the fee or the question stops it.
bool sword_shop_agrees(Game& g, int32_t value);
bool card_shop_agrees(Game& g);
// The outcome of a sword or card; the result text, or nothing when the item stays owned.
enum class Handed { Taken, Kept };
Handed release_sword(Game& g, int kind, const std::string& sword_name, std::string& result);
Handed exchange_card(Game& g, int32_t value, std::string& result);

// The town's shops.
void enter_inn(Game& g);         // Button19
void leave_inn(Game& g);         // Button20
void enter_tool_shop(Game& g);   // Button21
void leave_tool_shop(Game& g);   // Button31
void leave_star_shop(Game& g);   // Button10
void enter_toy_shop(Game& g);    // toy_b
void leave_toy_shop(Game& g);    // Button41
// A click on a goods button of one of the shops; false when the button sells nothing.
bool buy(Game& g, ctl::Id button);
// The mouse over a toy figure's button shows it in the preview; false for other controls.
bool preview_toy(Game& g, ctl::Id button);
