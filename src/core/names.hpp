// The fixed texts the status panel shows for codes (UTF-8; converted where shown).
#pragma once

// Ailments 1 .. 8 (0 and anything else: nothing).
const char* ailment_text(int code);
// Attributes 0 .. 4 (anything else: nothing).
const char* attribute_text(int code);
// Opponent classes: 0 .. 20 by name, 21 .. 9999 stray cats, anything else nothing.
const char* class_name(int job);
// The short name of technique 1 .. 24, as the info panel and battle messages use it.
const char* tech_short_name(int t);
