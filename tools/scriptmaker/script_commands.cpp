// The names of the script commands: each gives the operation code, the kinds
// of its arguments in order and any fixed values it writes before or after them.
#include "scriptmaker/script_commands.h"

#include <cstdint>
#include <cstring>
#include <type_traits>

#include "rules/creature_record.h"
#include "rules/record_words.h"

namespace {

// Argument kinds: l a local, f a flag, b a label, t a text, a digit that
// fixed number, a trailing '+' one to five further texts (the answers); any
// other letter a number or constant, i any 32-bit number, B set_behaviour's
// index (its range by the table before it), the others of the ranges below.
const CommandForm kForms[] = {
    {"end", 0, ""},
    {"else_flat", 1, ""},
    {"endif_flat", 2, ""},
    {"if_local", 3, "li"},
    {"if_flag", 4, "fi"},
    {"set_local", 5, "li"},
    {"set_flag", 6, "fi"},
    {"label", 7, "b"},
    {"goto", 8, "b"},
    {"give_item_to", 9, "Icq"},
    {"give_item", 10, "Iq"},
    {"play_sound", 21, "s"},
    {"set_side", 22, "ci"},
    {"set_present", 23, "ci"},
    {"recheck_combat", 24, ""},
    {"alert_opponents", 25, ""},
    {"surprise_party", 26, ""},
    {"distract", 27, "c"},
    {"alarm", 28, "c"},
    {"alarm_all", 29, ""},
    {"clear_square", 30, "mxy"},
    {"remove_event", 31, "im"},
    {"experience", 32, "i0"},
    {"gold", 32, "i1"},
    {"if_party", 33, "iii"},
    {"follow", 36, "C"},
    {"highlight", 37, "hc"},
    {"if_party_has", 38, "iii"},
    {"take_items", 39, "iii"},
    {"number_tag", 40, "ci"},
    {"take_from", 41, "cii"},
    {"if_alarmed", 42, "c"},
    {"set_event", 43, "mxyi"},
    {"reveal_area", 44, "miiii"},
    {"set_formation", 45, "cCiii"},
    {"set_death_script", 46, "ci"},
    {"walk_to", 47, "xyc"},
    {"set_state_word", 48, "ci"},
    {"set_tactic_word", 49, "ci"},
    {"set_square", 50, "Lwxyi"},
    {"if_not_in_combat", 51, ""},
    {"end_introduction", 52, ""},
    {"only_event_member", 53, ""},
    {"trade", 54, "c"},
    {"face", 55, "cF"},
    {"place", 56, "cmxy"},
    {"force_combat", 57, ""},
    {"if_roll_wins", 58, ""},
    {"encounter_choice", 59, ""},
    {"show_world_map", 60, ""},
    {"face_entry", 61, ""},
    {"if_present", 62, "ci"},
    {"remove_condition", 63, "1cn000"},
    {"add_condition", 63, "0c0nii"},
    {"set_sight", 64, "ci"},
    {"centre_on", 65, "c"},
    {"set_sides", 66, "cci"},
    {"set_map_flag", 67, "Wmi"},
    {"create_creature", 68, "mxyckieiiiiiiii"},
    {"decline", 69, ""},
    {"else", 70, ""},
    {"endif", 71, ""},
    {"hide_lower_panel", 72, ""},
    {"scroll_to", 73, "c"},
    {"if_group_sees_party", 74, "c"},
    {"if_map_alarm", 75, "m"},
    {"if_script_value", 76, "ci"},
    {"highlight_talker", 77, "h"},
    {"if_talker_value", 78, "i"},
    {"if_carries", 79, "ciii"},
    {"if_talker_carries", 80, "iii"},
    {"if_range_present", 81, "cci"},
    {"set_map_alarm", 82, "mi"},
    {"if_stands_on", 83, "ciii"},
    {"if_d100_above", 84, "i"},
    {"forget_area", 85, "miiii"},
    {"restore", 86, "c"},
    {"end_game", 87, ""},
    {"improve_weapon", 88, ""},
    {"if_crafted_weapon", 89, ""},
    {"ask_with_portrait", 90, "it+"},
    {"finish_moves", 91, ""},
    {"reset_path", 92, "c"},
    {"music", 93, "M"},
    {"quiet_start", 94, ""},
    {"journal", 95, "jt0i"},
    {"journal_append", 95, "jt1i"},
    {"journal_state", 96, "ji"},
    {"if_journal", 97, "ji"},
    {"show_picture", 98, ""},
    {"if_sees_party", 99, "c"},
    {"ask_with_music", 100, "itM+"},
    {"forget_music", 101, "M"},
    {"heal_party", 102, "iH"},
    {"set_goal", 103, "ciiW"},
    {"set_behaviour", 104, "cTBi"},
    {"if_running_away_can_fail", 105, ""},
    {"save_game", 106, ""},
    {"save_game_at", 107, "mxyg"},
    {"achievement", 108, "A"},
    {"add_to_flag", 109, "0fi"},
    {"subtract_from_flag", 109, "1fi"},
};

// The ranges the game takes: what it refuses when the script runs (an index
// out of its table, a quantity below 1, a heal of no mode) or passes over
// (a behaviour table but the two, an achievement number it grants nothing
// by) is refused here.
const struct {
  char kind;
  ArgumentRange range;
} kRanges[] = {
    {'c', {"a creature", {{0, 2099}}}},
    {'C', {"a creature or -1 (none)", {{-1, 2099}}}},
    {'m', {"a map", {{0, 40}}}},
    {'w', {"a map", {{0, 40}, {99, 99}}}},
    {'x', {"a square's x", {{0, 59}}}},
    {'y', {"a square's y", {{0, 59}}}},
    {'L', {"a map layer", {{0, 7}}}},
    {'h', {"a highlight colour", {{0, 5}}}},
    {'s', {"a sound effect", {{0, 57}}}},
    {'M', {"a music track", {{0, 17}}}},
    {'j', {"a journal entry", {{0, 199}}}},
    {'k', {"a creature kind", {{0, 92}}}},
    {'e', {"extra levels", {{INT32_MIN, 60}}}},
    {'n', {"a condition", {{1, 683}}}},
    {'I', {"an item code", {{1, 4999}, {5001, 6999}}}},
    {'q', {"a quantity", {{1, INT32_MAX}}}},
    {'F', {"a facing (8: towards the party)", {{0, 8}}}},
    {'g', {"a facing", {{0, 7}}}},
    {'W', {"a word", {{0, 2}}}},
    {'H', {"a mode", {{0, 3}}}},
    {'T', {"a behaviour table (0 the percentages, 1 the reaction words)", {{0, 1}}}},
    // The numbers the game grants an achievement by (src/adventure/
    // script_achievements.cpp): the summary check 0, the treasure check 5,
    // the story numbers of the main adventure, and 103 to 116 for the
    // introductory adventure's story.
    {'A', {"an achievement number",
           {{0, 0},   {3, 3},   {5, 5},   {12, 14}, {18, 21}, {25, 25}, {29, 29}, {30, 30}, {33, 36}, {40, 42},
            {46, 46}, {50, 50}, {54, 56}, {60, 62}, {66, 66}, {67, 67}, {71, 71}, {72, 72}, {76, 76}, {80, 80},
            {82, 82}, {84, 84}, {88, 90}, {94, 94}, {103, 116}}}},
};

// set_behaviour's index, by its table: a percentage of the behaviour words,
// or one of the words scripts set.
const ArgumentRange kBehaviourIndex = {"a percentage's index", {{0, kBehaviourWordCount - 1}}};
const ArgumentRange kReactionIndex = {
    "a reaction word's index", {{0, static_cast<int64_t>(std::extent_v<decltype(CreatureRecord::scriptWords)>) - 1}}};

constexpr uint32_t kConditionalOps[] = {3,  4,  16, 17, 18, 19, 20, 33, 38, 42, 51, 58, 62,
                                        74, 75, 76, 78, 79, 80, 81, 83, 84, 89, 97, 99, 105};

}  // namespace

const ArgumentRange kAnyArgument = {"a number", {{INT32_MIN, INT32_MAX}}};

std::string ArgumentRange::Said() const {
  if (spans.size() == 1 && spans[0].low == INT32_MIN && spans[0].high != INT32_MAX)
    return std::to_string(spans[0].high) + " at most";
  std::string said = spans[0].low < spans[0].high ? "from " : "";
  for (size_t i = 0; i < spans.size(); ++i) {
    said += i == 0 ? "" : i + 1 == spans.size() ? " or " : ", ";
    said += std::to_string(spans[i].low);
    if (spans[i].high > spans[i].low) said += " to " + std::to_string(spans[i].high);
  }
  return said;
}

const ArgumentRange* ArgumentRangeOf(char kind, int64_t before) {
  if (kind == 'B') return before == 0 ? &kBehaviourIndex : &kReactionIndex;
  if (kind == 'i') return &kAnyArgument;
  for (const auto& r : kRanges)
    if (r.kind == kind) return &r.range;
  return nullptr;
}

bool OpensBlock(uint32_t op) {
  for (const uint32_t c : kConditionalOps)
    if (c == op) return true;
  return false;
}

const CommandForm* FindCommandForm(const std::string& name) {
  for (const CommandForm& form : kForms)
    if (name == form.name) return &form;
  return nullptr;
}
