#include "startmaker/start_source.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string_view>

#include "common/comment_joins.h"
#include "common/shown_bytes.h"
#include "common/source_bytes.h"
#include "common/source_faults.h"
#include "common/source_lines.h"
#include "common/source_numbers.h"
#include "common/source_quotes.h"
#include "common/tool_files.h"
#include "creatures/creature_kinds.h"
#include "creatures/creature_treasure.h"
#include "rules/creature_record.h"
#include "rules/feat_ids.h"
#include "rules/feat_names.h"
#include "map/map_record.h"
#include "rules/item_tables.h"
#include "screens/game/figure_table.h"

namespace {

constexpr int kLastPreparedRow = kCraftedRows - 1;
// The crafted rows a source may fill itself: below the generated rows, and
// not the first 120, which the party's own crafted items use.
constexpr int kFirstSourceRow = 121;
constexpr int kLastSourceRow = kFirstGeneratedItemRow - 1;

// A name as the tables spell it, compared without case and with '_' and ' '
// alike.
bool SameName(const std::string& a, const char* b) {
  const size_t n = std::strlen(b);
  if (a.size() != n) return false;
  for (size_t i = 0; i < n; ++i) {
    char x = static_cast<char>(std::toupper(static_cast<unsigned char>(a[i])));
    char y = static_cast<char>(std::toupper(static_cast<unsigned char>(b[i])));
    if (x == '_') x = ' ';
    if (y == '_') y = ' ';
    if (x != y) return false;
  }
  return true;
}

// A line cut into words; a quoted word keeps its spaces and takes the
// escapes of every source (common/source_quotes.h).
struct Words {
  std::vector<std::string> words;
  std::vector<bool> quoted;
  std::string fault;
  size_t comment = std::string::npos;  // where the comment begins
};

Words Split(const std::string& line) {
  Words w;
  size_t i = 0;
  while (i < line.size()) {
    const char ch = line[i];
    if (BlankAt(line, i)) {
      ++i;
      continue;
    }
    if (ch == '#') {
      w.comment = i;
      break;
    }
    if (ch == '"') {
      QuotedValue value = ReadQuotedValue(line, i);
      if (!value.fault.empty()) {
        w.fault = value.fault;
        return w;
      }
      w.words.push_back(std::move(value.text));
      w.quoted.push_back(true);
      i = value.end;
      continue;
    }
    size_t end = i;
    while (end < line.size() && !BlankAt(line, end)) ++end;
    w.words.push_back(line.substr(i, end - i));
    w.quoted.push_back(false);
    i = end;
  }
  return w;
}

// A number read whole: "12" and a zero byte and junk after it is none.
bool ParseInt(const std::string& s, long long low, long long high, int* out) {
  long long v = 0;
  if (!ReadWholeNumber(s, low, high, &v)) return false;
  *out = static_cast<int>(v);
  return true;
}

struct NamedNumber {
  const char* name;
  int value;
};

const NamedNumber kSlots[] = {
    {"Head", kSlotHead},           {"Neck", kSlotNeck},           {"Torso", kSlotTorso},
    {"Cloak", kSlotCloak},         {"Waist", kSlotWaist},         {"Arms", kSlotArms},
    {"RightHand", kSlotRightHand}, {"LeftHand", kSlotLeftHand},   {"RightFinger", kSlotRightFinger},
    {"LeftFinger", kSlotLeftFinger}, {"Feet", kSlotFeet},         {"Ranged", kSlotRanged},
};
const NamedNumber kPartyClasses[] = {{"Knight", kClassKnight}, {"Cleric", kClassCleric}, {"Wizard", kClassWizard}};
const NamedNumber kRaces[] = {{"Human", kKindHuman}, {"Mul", kKindMul}, {"Half-Elf", kKindHalfElf}};
const NamedNumber kSides[] = {
    {"party", kAllegianceParty}, {"enemy", kAllegianceEnemy}, {"ally", kAllegianceAllyOther},
    {"talker", kAllegianceTalker}};

template <size_t N>
bool FindNamed(const NamedNumber (&table)[N], const std::string& name, int* out) {
  for (const NamedNumber& n : table)
    if (SameName(name, n.name)) {
      *out = n.value;
      return true;
    }
  return false;
}

int FindPreparedRow(const std::string& name) {
  for (int row = kFirstPreparedItemRow; row <= kLastPreparedRow; ++row)
    if (CraftedWeapons[row].name[0] != '\0' && SameName(name, CraftedWeapons[row].name)) return row;
  return -1;
}

int FindBaseItem(const std::string& name) {
  for (int row = 1; row < kItemRows; ++row)
    if (ItemTable[row].name[0] != '\0' && SameName(name, ItemTable[row].name))
      return static_cast<int>(kFirstBaseItemCode) + row;
  return -1;
}

// The fields of a creature's block and of a crafted row's.
const char* const kCreatureFields[] = {
    "party", "race", "gender", "colour", "kind", "class", "levels", "boost", "metamagic", "casting", "defensive",
    "weapons", "name", "text", "tag", "abilities", "hp", "alignment", "figure", "sight", "rating", "experience",
    "place", "side", "absent", "death", "group", "leader", "feat", "spell", "wear", "ammunition", "carry"};
const char* const kRowFields[] = {"copy", "name", "text"};
// The fields a block may give more than once (each feat, spell, slot and
// ammunition once); any other field is given once.
const char* const kRepeatedFields[] = {"text", "feat", "spell", "wear", "carry", "ammunition"};

template <size_t N>
bool IsField(const char* const (&fields)[N], const std::string& key) {
  return std::find_if(std::begin(fields), std::end(fields), [&](const char* f) { return key == f; }) != std::end(fields);
}

class Reader {
 public:
  Reader(const std::string& file, StartSource* out) : file_(file), out_(out) {}

  void Line(int number, const std::string& text) {
    line_ = number;
    refusedHere_ = false;
    ReadingAt(file_, line_);
    if (const size_t at = RefusedLineByte(text, true, true); at != std::string::npos)
      return Refuse(RefusedLineByteMessage(text, at));
    Words w = Split(text);
    if (!w.fault.empty()) return Refuse(w.fault);
    if (w.comment != std::string::npos && !probing_) {  // a comment holds no whole line of a start source
      const std::string_view comment = std::string_view(text).substr(w.comment);
      const size_t at = JoinedLineAt(comment, [this](std::string_view tail) { return IsStartLine(tail); }, !w.words.empty());
      if (at != std::string::npos) return Refuse(JoinedLineMessage(comment, at));
      // A creature or item line written out of use leaves its lines to the block before it.
      const std::string heading = HeadingOutOfUse(comment, {"creature", "item"}, [this](std::string_view h) {
        return (h.rfind("creature", 0) == 0 || h.rfind("item", 0) == 0) && IsStartLine(h);
      });
      if (w.words.empty() && !heading.empty()) out_->faults.OutOfUse(file_, line_, heading);
    }
    if (w.words.empty()) return;
    words_ = std::move(w.words);
    quoted_ = std::move(w.quoted);
    const std::string key = quoted_[0] ? "" : words_[0];
    if (key == "creature" || key == "item") out_->faults.BlockBegins(file_, line_);
    else out_->faults.LineOfWords(file_, line_);
    if (key == "creature") return StartCreatureBlock();
    if (key == "item") return StartRowBlock();
    if (passing_) return;
    const bool creatureField = IsField(kCreatureFields, key), rowField = IsField(kRowFields, key);
    if (!creatureField && !rowField) return Refuse("unknown field " + QuotedBytes(words_[0]));
    // A field of no block, or of the other kind of block, is read for its own faults alone.
    if (creature_ == kNoBlock && row_ == kNoBlock) {
      Between(QuotedBytes(key) + " outside a creature or item block");
      return rowField ? RowLine(key) : CreatureLine(key);
    }
    if (row_ != kNoBlock && !rowField) {
      Between("unknown item field " + QuotedBytes(key));
      return CreatureLine(key);
    }
    if (creature_ != kNoBlock && !creatureField) {
      Between("unknown creature field " + QuotedBytes(key));
      return RowLine(key);
    }
    if (row_ != kNoBlock) RowLine(key);
    else CreatureLine(key);
    if (!refusedHere_ && !IsField(kRepeatedFields, key) && !given_.insert(key).second)
      Between(QuotedBytes(key) + " is given twice");
  }

 private:
  // Whether a text reads whole as a line of a creature's or an item's block.
  bool IsStartLine(std::string_view text) const {
    if (Split(std::string(text)).words.empty()) return false;
    for (const bool creature : {true, false}) {
      StartSource scratch;
      Reader probe(file_, &scratch);
      probe.probing_ = true;
      probe.OtherBlock(creature);
      probe.Line(line_, std::string(text));
      if (scratch.faults.Clean()) return true;
    }
    return false;
  }

  // A line's own fault: the line is refused whole, and the lines after it
  // are passed over up to the next creature or item line.
  void Refuse(const std::string& message) {
    out_->faults.Line(file_, line_, message);
    passing_ = true;
    refusedHere_ = true;
  }
  void Between(const std::string& message) { out_->faults.Between(file_, line_, message); }
  bool Count(size_t low, size_t high) {
    if (words_.size() - 1 < low || words_.size() - 1 > high) {
      Refuse(QuotedBytes(words_[0]) + " takes " +
            (low == high ? std::to_string(low) : std::to_string(low) + " to " + std::to_string(high)) +
            (high == 1 ? " value" : " values"));
      return false;
    }
    return true;
  }
  bool Number(size_t i, long long low, long long high, int* out) {
    if (ParseInt(words_[i], low, high, out)) return true;
    Refuse(QuotedBytes(words_[0]) + " needs a number from " + std::to_string(low) + " to " + std::to_string(high) +
          ", not " + QuotedBytes(words_[i]));
    return false;
  }
  // A quoted text: a name or tag holds only what the game's fonts show, a
  // description the carriage return that ends a line of it too.
  bool Text(size_t i, size_t limit, std::string* out, bool lineEnds = false) {
    if (!quoted_[i]) {
      Refuse(QuotedBytes(words_[0]) + " needs a quoted text");
      return false;
    }
    const std::string text = WithGamePoundSigns(words_[i]);
    const size_t unshown = UnshownByte(text, lineEnds);
    if (unshown != std::string::npos) {
      Refuse(UnshownByteMessage(words_[0], text, unshown));
      return false;
    }
    if (text.empty() || text.size() > limit) {
      Refuse(text.empty() ? QuotedBytes(words_[0]) + " needs a text of 1 to " + std::to_string(limit) + " bytes, not ''"
                          : "the text is longer than " + std::to_string(limit) + " bytes");
      return false;
    }
    *out = text;
    return true;
  }
  StartCreature& C() { return creature_ >= 0 ? out_->creatures[static_cast<size_t>(creature_)] : refusedCreature_; }
  StartCraftedRow& R() { return row_ >= 0 ? out_->rows[static_cast<size_t>(row_)] : refusedRow_; }

  // The lines of a block read into a creature or row of no one (for their
  // own faults), until the block's heading makes it someone's.
  void OtherBlock(bool creature) {
    creature_ = creature ? kOtherBlock : kNoBlock;
    row_ = creature ? kNoBlock : kOtherBlock;
    refusedCreature_ = StartCreature{};
    refusedRow_ = StartCraftedRow{};
    given_.clear();
  }

  void StartCreatureBlock() {
    int id = 0;
    if (!Count(1, 1) || !Number(1, 0, kCreatureCount - 1, &id)) return;
    passing_ = false;
    OtherBlock(true);
    StartCreature c;
    c.file = file_;
    c.line = line_;
    c.id = id;
    out_->creatures.push_back(c);
    creature_ = static_cast<int>(out_->creatures.size()) - 1;
  }

  void StartRowBlock() {
    int row = 0;
    if (!Count(1, 1) || !Number(1, kFirstSourceRow, kLastSourceRow, &row)) return;
    passing_ = false;
    OtherBlock(false);
    StartCraftedRow r;
    r.file = file_;
    r.line = line_;
    r.row = row;
    out_->rows.push_back(r);
    row_ = static_cast<int>(out_->rows.size()) - 1;
  }

  // "+N" after an item name: its enhancement, 1 to 5.
  bool Enhancement(size_t i, int* out) {
    if (words_[i].size() < 2 || words_[i][0] != '+' || words_[i][1] == '+' || words_[i][1] == '-' ||
        !ParseInt(words_[i].substr(1), 1, 5, out)) {
      Refuse("an enhancement is written +1 to +5, not " + QuotedBytes(words_[i]));
      return false;
    }
    return true;
  }

  void RowLine(const std::string& key) {
    StartCraftedRow& r = R();
    if (key == "copy") {
      if (!Count(1, 2)) return;
      r.preparedRow = FindPreparedRow(words_[1]);
      if (r.preparedRow < 0) return Refuse("no prepared crafted row is named " + QuotedBytes(words_[1]));
      if (words_.size() == 3) Enhancement(2, &r.enhancement);
    } else if (key == "name") {
      if (Count(1, 1)) Text(1, 49, &r.name);
    } else if (key == "text") {
      std::string t;
      if (!Count(1, 1) || !Text(1, 401, &t, true)) return;
      r.text = r.text.empty() ? t : r.text + " " + t;
      if (r.text.size() > 401) Between("the text is longer than 401 bytes");
    } else {
      Refuse("unknown item field " + QuotedBytes(key));
    }
  }

  // An item by name: a prepared crafted row (copied, with an enhancement
  // after it when `enhanced`), a base item, or a crafted row of the sources
  // (looked up once all are read).
  bool Item(size_t i, StartItem* item, bool enhanced) {
    item->line = line_;
    item->preparedRow = FindPreparedRow(words_[i]);
    if (item->preparedRow >= 0) return !enhanced || words_.size() == i + 1 || Enhancement(i + 1, &item->enhancement);
    item->code = FindBaseItem(words_[i]);
    if (item->code < 0) {
      item->code = 0;
      item->rowName = words_[i];
    }
    return true;
  }

  void CreatureLine(const std::string& key) {
    StartCreature& c = C();
    int n = 0;
    if (key == "party") {
      if (!Count(1, 1)) return;
      c.party = true;
      if (!FindNamed(kPartyClasses, words_[1], &c.creatureClass)) Refuse("a party member is a Knight, Cleric or Wizard");
    } else if (key == "race") {
      if (Count(1, 1) && !FindNamed(kRaces, words_[1], &c.race)) Refuse("a race is Human, Mul or Half-Elf");
    } else if (key == "gender") {
      if (!Count(1, 1)) return;
      if (words_[1] == "male") c.gender = 1;
      else if (words_[1] == "female") c.gender = 2;
      else Refuse("a gender is male or female");
    } else if (key == "colour") {
      if (Count(1, 1)) Number(1, 0, 7, &c.colour);
    } else if (key == "kind") {
      if (!Count(1, 1)) return;
      for (int k = 1; k < kKindRows; ++k)
        if (std::strcmp(KindNames[k], "-") != 0 && SameName(words_[1], KindNames[k]) && FindKindTemplate(k)) c.kind = k;
      if (c.kind == 0) Refuse("no creature kind with a template is named " + QuotedBytes(words_[1]));
    } else if (key == "class") {
      if (!Count(1, 1)) return;
      c.creatureClass = -1;
      for (int k = 1; k < 18; ++k)
        if (SameName(words_[1], ClassNames[k])) c.creatureClass = k;
      if (c.creatureClass < 0) Refuse("no class is named " + QuotedBytes(words_[1]));
    } else if (key == "levels") {
      if (Count(1, 1)) Number(1, 0, 20, &c.extraLevels);
    } else if (key == "boost") {
      if (Count(0, 0)) c.abilityBoost = 1;
    } else if (key == "metamagic") {
      if (Count(1, 1)) Number(1, 0, 8, &c.metamagic);
    } else if (key == "casting") {
      if (!Count(1, 1)) return;
      if (words_[1] == "fighting") c.castingStyle = 1;
      else if (words_[1] == "pure") c.castingStyle = 2;
      else Refuse("a casting style is fighting or pure");
    } else if (key == "defensive") {
      if (Count(0, 0)) c.defensiveStyle = 1;
    } else if (key == "weapons") {
      if (!Count(3, 3)) return;
      for (int w = 0; w < 3; ++w) {
        if (words_[1 + w] == "-") continue;
        const int row = FindPreparedRow(words_[1 + w]);
        if (row < 0) Refuse("no prepared crafted row is named " + QuotedBytes(words_[1 + w]));
        else c.weapons[w] = row - (kFirstPreparedItemRow - 1);
      }
    } else if (key == "name") {
      // The record, the log and the initiative list show 15 characters.
      if (Count(1, 1)) Text(1, 15, &c.name);
    } else if (key == "text") {
      std::string t;
      if (!Count(1, 1) || !Text(1, 401, &t, true)) return;
      c.text = c.text.empty() ? t : c.text + " " + t;
      if (c.text.size() > 401) Between("the text is longer than 401 bytes");
    } else if (key == "tag") {
      if (Count(1, 1)) Text(1, 19, &c.tag);
    } else if (key == "abilities") {
      if (!Count(6, 6)) return;
      c.hasAbilities = true;
      for (int a = 0; a < 6; ++a) Number(1 + static_cast<size_t>(a), 1, 50, &c.abilities[a]);
    } else if (key == "hp") {
      if (Count(1, 1)) Number(1, 1, 9999, &c.hitPoints);
    } else if (key == "alignment") {
      // By the name the character record shows, so that the source and the
      // game's record name one alignment alike.
      if (!Count(1, 1)) return;
      int named = 0;
      for (int a = 1; a <= 9 && named == 0; ++a)
        if (SameName(words_[1], AlignmentNames[a])) named = a;
      if (named == 0) Refuse("no alignment is named " + QuotedBytes(words_[1]));
      else c.alignment = named;
    } else if (key == "figure") {
      if (Count(1, 1)) Number(1, 1, kFigureCount - 1, &c.figure);  // a row of the figure table
    } else if (key == "sight") {
      if (Count(1, 1)) Number(1, 0, 600, &c.sight);
    } else if (key == "rating") {
      if (Count(1, 1)) Number(1, 0, 40, &c.challengeRating);
    } else if (key == "experience") {
      if (Count(1, 1)) Number(1, 0, 1000000, &c.experience);
    } else if (key == "place") {
      if (!Count(3, 4)) return;
      Number(1, 0, kStoredMapCount - 1, &c.map);
      Number(2, 0, kMapSide - 1, &c.x);
      Number(3, 0, kMapSide - 1, &c.y);
      if (words_.size() == 5) Number(4, 1, 8, &c.facing);
    } else if (key == "side") {
      if (Count(1, 1) && !FindNamed(kSides, words_[1], &c.allegiance)) Refuse("a side is party, enemy, ally or talker");
    } else if (key == "absent") {
      if (Count(0, 0)) c.absent = true;
    } else if (key == "death") {
      if (Count(1, 1)) Number(1, 1, 999, &c.deathScript);
    } else if (key == "group") {
      if (Count(1, 1)) Number(1, 0, kCreatureCount - 1, &c.group);
    } else if (key == "leader") {
      if (Count(1, 1)) Number(1, 0, kCreatureCount - 1, &c.leader);
    } else if (key == "feat") {
      if (!Count(1, 1)) return;
      for (n = 0; n < kFeatFlags; ++n)
        if (SameName(words_[1], FeatNameTable[n])) break;
      if (n == kFeatFlags) return Refuse("no feat is named " + QuotedBytes(words_[1]));
      // A feat is held once; Toughness is a count, given as often as it is taken.
      if (n != kFeatToughness && std::count(c.feats.begin(), c.feats.end(), n))
        return Between("the feat " + QuotedBytes(words_[1]) + " is given twice");
      c.feats.push_back(n);
    } else if (key == "spell") {
      if (!Count(1, 1)) return;
      for (n = 0; n < kSpellRows; ++n)
        if (SpellTable[n].name[0] != '\0' && SameName(words_[1], SpellTable[n].name)) break;
      if (n == kSpellRows) return Refuse("no spell is named " + QuotedBytes(words_[1]));
      if (std::count(c.spells.begin(), c.spells.end(), n))
        return Between("the spell " + QuotedBytes(words_[1]) + " is given twice");
      c.spells.push_back(n);
    } else if (key == "wear") {
      if (!Count(2, 3)) return;
      StartItem item;
      if (!FindNamed(kSlots, words_[1], &item.place)) return Refuse("no equipment slot is named " + QuotedBytes(words_[1]));
      if (!Item(2, &item, true)) return;
      if (words_.size() == 4 && item.preparedRow < 0)
        return Refuse(QuotedBytes(words_[3]) + ": only a prepared crafted row takes an enhancement");
      if (Holds(item.place)) return Between("the slot " + QuotedBytes(words_[1]) + " is given twice");
      AddItem(item);
    } else if (key == "ammunition") {
      if (!Count(2, 2)) return;
      StartItem item;
      item.place = kSlotAmmunition;
      int count = 0;
      if (!Item(1, &item, false) || !Number(2, 1, 999, &count)) return;
      if (Holds(kSlotAmmunition)) return Between("'ammunition' is given twice");
      AddItem(item, count);
    } else if (key == "carry") {
      if (!Count(1, 2)) return;
      StartItem item;
      if (!Item(1, &item, true)) return;
      int count = 1;
      if (words_.size() == 3 && item.preparedRow < 0 && words_[2][0] == '+')
        return Refuse(QuotedBytes(words_[2]) + ": only a prepared crafted row takes an enhancement");
      if (words_.size() == 3 && item.preparedRow < 0 && !Number(2, 1, 999, &count)) return;
      AddItem(item, count);
    } else {
      Refuse("unknown creature field " + QuotedBytes(key));
    }
  }

  // Whether the creature's block gives an item for the slot (or ammunition) already.
  bool Holds(int place) {
    return std::any_of(C().items.begin(), C().items.end(), [place](const StartItem& i) { return i.place == place; });
  }

  void AddItem(StartItem item, int count = 1) {
    item.count = count;
    C().items.push_back(item);
  }

  std::string file_;
  StartSource* out_;
  static constexpr int kNoBlock = -1, kOtherBlock = -2;
  int line_ = 0;
  int creature_ = kNoBlock;  // the block being read: an index, or one of the two above
  int row_ = kNoBlock;
  bool passing_ = false;  // a line was refused: passing over up to the next creature or item line
  bool refusedHere_ = false;  // the line being read was refused
  std::set<std::string> given_;  // the fields the block has given
  bool probing_ = false;  // reading a comment's text for a line it may hold
  StartCreature refusedCreature_;
  StartCraftedRow refusedRow_;
  std::vector<std::string> words_;
  std::vector<bool> quoted_;
};

}  // namespace

void ReadStartSource(const std::string& fileName, const std::string& text, StartSource* out) {
  Reader reader(fileName, out);
  int number = 0;
  for (const std::string& line : SourceLines(text)) reader.Line(++number, line);
  ReadingAt(fileName, 0);
  out->errors = out->faults.Messages();
}

void CheckStartSource(StartSource* source) {
  auto fault = [source](const std::string& file, int line, const std::string& message) {
    source->errors.push_back(file + ":" + std::to_string(line) + ": " + message);
  };
  // Items named after the sources' own crafted rows.
  for (StartCreature& c : source->creatures)
    for (StartItem& item : c.items) {
      if (item.rowName.empty()) continue;
      for (const StartCraftedRow& r : source->rows)
        if (r.preparedRow > 0 && SameName(item.rowName, (r.name.empty() ? CraftedWeapons[r.preparedRow].name
                                                                          : r.name.c_str())))
          item.code = r.row;
      if (item.code == 0) fault(c.file, item.line, "no item is named " + QuotedBytes(item.rowName));
    }

  std::map<int, const StartCreature*> byId;
  for (const StartCreature& c : source->creatures) {
    if (byId.count(c.id)) {
      fault(c.file, c.line, "creature " + std::to_string(c.id) + " is given twice");
      continue;
    }
    byId[c.id] = &c;
    if (c.name.empty()) fault(c.file, c.line, "creature " + std::to_string(c.id) + " has no name");
    if (c.map < 0) fault(c.file, c.line, "creature " + std::to_string(c.id) + " has no place");
    const bool partyId = c.id < kPartySize;
    if (partyId != c.party)
      fault(c.file, c.line, partyId ? "creatures 0 to 3 are the party: give their class with 'party'"
                                    : "only creatures 0 to 3 are party members");
    if (!c.party && c.kind == 0) fault(c.file, c.line, "a creature beyond the party needs its kind");
    if (c.party && c.creatureClass == 0) fault(c.file, c.line, "a party member needs its class");
    if (c.party && !c.hasAbilities) fault(c.file, c.line, "a party member needs its abilities");
    int carried = 0;
    for (const StartItem& item : c.items) carried += item.place == 0 ? 1 : 0;
    if (carried > kCarriedPairs) fault(c.file, c.line, "a creature carries at most 16 items");
  }
  for (int id = 0; id < kPartySize; ++id)
    if (!source->creatures.empty() && !byId.count(id))
      source->errors.push_back("the party member " + std::to_string(id) + " is missing");
  int expected = kPartySize;
  for (const auto& [id, c] : byId) {
    if (id < kPartySize) continue;
    if (id != expected) fault(c->file, c->line, "creature " + std::to_string(id) + " leaves a gap: the next id is " +
                                                    std::to_string(expected));
    expected = id + 1;
  }
  std::set<int> rows;
  for (const StartCraftedRow& r : source->rows) {
    if (!rows.insert(r.row).second) fault(r.file, r.line, "crafted row " + std::to_string(r.row) + " is given twice");
    if (r.preparedRow == 0) fault(r.file, r.line, "crafted row " + std::to_string(r.row) + " copies no prepared row");
  }
}
